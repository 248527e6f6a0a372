// What every module's parameter-file reader refuses and what it reads as no
// result: a named file that is refused changes neither the live file nor
// the model and says which value it refused; a result no run can give is
// read as none.

#include "ViewModelTestSupport.h"

#include "ModelFileSupport.h"
#include "ViewAlternateModel.h"
#include "ViewDirectModel.h"
#include "ViewDistanceModel.h"
#include "ViewEnergyModel.h"
#include "ViewHarmonicModel.h"
#include "ViewOscillateModel.h"
#include "ViewOvercurrentModel.h"
#include "ViewParameterSetting.h"
#include "ViewRampingModel.h"
#include "ViewSlipFrequencyModel.h"
#include "ViewSlipVoltageModel.h"
#include "ViewStateSequenceModel.h"
#include "ViewStdSourceModel.h"

#include <QDomDocument>
#include <QTranslator>

#include <memory>
#include <tuple>
#include <utility>

namespace {

using VB = ViewBaseModel;

struct Module
{
    const char* folder;
    std::unique_ptr<VB> (*make)();
};

template <typename Model>
std::unique_ptr<VB> make()
{
    return std::make_unique<Model>();
}

const Module kAc{"AC", &make<ViewAlternateModel>};
const Module kDc{"DC", &make<ViewDirectModel>};
const Module kHarmonic{"Harmonic", &make<ViewHarmonicModel>};
const Module kOscillate{"Oscillate", &make<ViewOscillateModel>};
const Module kSequence{"Sequence", &make<ViewStateSequenceModel>};
const Module kRamping{"Ramping", &make<ViewRampingModel>};
const Module kOvercurrent{"Overcurrent", &make<ViewOvercurrentModel>};
const Module kDistance{"Distance", &make<ViewDistanceModel>};
const Module kEnergy{"Energy", &make<ViewEnergyModel>};
const Module kSlipFrequency{"SlipFrequency", &make<ViewSlipFrequencyModel>};
const Module kSlipVoltage{"SlipVoltage", &make<ViewSlipVoltageModel>};
const Module kStdSource{"StdSource", &make<ViewStdSourceModel>};

// A value at a "/"-separated path below the root, its elements made where missing.
struct Edit
{
    const char* path;
    const char* text;
};

QByteArray edited(const QByteArray& bytes, std::initializer_list<Edit> edits)
{
    QDomDocument doc;
    doc.setContent(bytes);
    for (const Edit& edit : edits) {
        QDomElement e = doc.documentElement();
        for (const QString& name : QString::fromLatin1(edit.path).split(QLatin1Char('/'))) {
            QDomElement child = e.firstChildElement(name);
            if (child.isNull())
                child = e.appendChild(doc.createElement(name)).toElement();
            e = child;
        }
        filetest::setText(doc, e, QString::fromLatin1(edit.text));
    }
    return doc.toByteArray(4);
}

class ParameterFileRefusal : public vmtest::ViewModelTest
{
protected:
    QString live(const Module& m) const { return appRoot() + "/parameters/" + m.folder + "/parameter.xml"; }

    // A model of the module, its page file saved.
    std::unique_ptr<VB> saved(const Module& m)
    {
        std::unique_ptr<VB> vm = m.make();
        vm->testActive();
        EXPECT_TRUE(vm->saveParameter());
        return vm;
    }
};

} // namespace

TEST_F(ParameterFileRefusal, ANamedFileNoVersionWroteChangesNeitherTheLiveFileNorTheModel)
{
    const struct
    {
        const Module& module;
        Edit edit;
    } rows[] = {
        {kAc, {"outputs/port0/range", "nan"}},
        {kAc, {"outputs/port1/angle", "-inf"}},
        {kOscillate, {"oscillateFrequency", "nan"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.module.folder) + " " + row.edit.path + " " + row.edit.text);
        std::unique_ptr<VB> vm = saved(row.module);
        const QByteArray liveBytes = sandbox.read(live(row.module));
        const QByteArray before = filetest::held(*vm, sandbox);
        sandbox.write(appRoot() + "/parameters_bk/" + row.module.folder + "/bad.xml", edited(liveBytes, {row.edit}));

        EXPECT_FALSE(vm->loadParmFromFile("bad.xml"));
        EXPECT_EQ(sandbox.read(live(row.module)), liveBytes);
        EXPECT_EQ(filetest::held(*vm, sandbox), before);
        const QString notice = vm->takeParameterFileNotice();
        EXPECT_TRUE(notice.startsWith(QLatin1String(row.edit.path))) << notice.toStdString();
    }
}

// Written under other ratings or by an earlier version: a finite value
// outside today's limits is held to the nearest, and named: by its key, or
// in a list by its row and field as the page shows them.
TEST_F(ParameterFileRefusal, AFileWithValuesOutsideThePagesLimitsLoadsThemHeldAndNamed)
{
    const struct
    {
        const Module& module;
        Edit edit;
        const char* held;    // as the model then saves it
        const char* named = nullptr;   // null: by its key
    } rows[] = {
        {kAc, {"outputs/port0/range", "1e308"}, "265"},
        {kAc, {"outputs/port1/angle", "-1e308"}, "-360"},
        {kAc, {"normalOutput/ports/port4/range", "1e308"}, "10"},
        {kAc, {"ramps/endRamp0/range", "275"}, "265"},   // a ramp's end past the device's 265 V
        {kAc, {"ramps/endRamp0/rrequency", "0"}, "10"},
        {kDc, {"ramps/endRamp8/range", "7"}, "5"},       // DC currents up to 5 A
        {kDc, {"outputs/port4/range", "5.5"}, "5"},
        {kHarmonic, {"outputs/port4/order0/range", "1e308"}, "20"},   // the page sums orders up to 20 A
        {kSequence, {"testStates/state0/ports/port4/range", "12"}, "10", "状态1：IA 幅值"},
        {kSequence, {"testStates/state1/outputTime", "-1"}, "0", "状态2：时间"},
        {kRamping, {"testStates/state0/points/point0/ramps/endRamp0/rrequency", "0"}, "10", "状态1：UA 终值"},
        {kRamping, {"testStates/state0/stepTime", "1e6"}, "300", "状态1：步长时间"},
        {kRamping, {"testStates/state0/points/point0/steps/setp0", "-1e6"}, "-265", "状态1：步长"},
        {kOvercurrent, {"testPoints/point0/iTest", "15"}, "10", "第1点：I test"},
        {kDistance, {"faultCurrentRange", "20"}, "10"},
        {kEnergy, {"points/point0/current", "20"}, "10", "第1点：Current"},
        {kEnergy, {"points/point0/frequency", "1"}, "10", "第1点：Frequency"},
        {kSlipFrequency, {"testPoints/point0/frequencyEnd", "0"}, "10", "第1点：频率终值"},
        {kSlipVoltage, {"testPoints/point0/voltageBegin", "1e308"}, "265", "第1点：电压始值"},
        {kStdSource, {"srcCurrentAmp", "1e308"}, "10"},
        {kOscillate, {"oscillateFrequency", "0"}, "0.001"},   // a swing of 0 Hz would be a DC offset
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.module.folder) + " " + row.edit.path + " " + row.edit.text);
        std::unique_ptr<VB> vm = saved(row.module);
        const QByteArray liveBytes = sandbox.read(live(row.module));
        const QByteArray file = edited(liveBytes, {row.edit});
        sandbox.write(appRoot() + "/parameters_bk/" + row.module.folder + "/old.xml", file);

        EXPECT_TRUE(vm->loadParmFromFile("old.xml"));
        EXPECT_EQ(sandbox.read(live(row.module)), file);
        const QString named = QString::fromUtf8(row.named ? row.named : row.edit.path) + " = ";
        const QString notice = vm->takeParameterFileNotice();
        EXPECT_TRUE(notice.contains(named)) << notice.toStdString();
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(filetest::held(*vm, sandbox)));
        QDomElement e = doc.documentElement();
        for (const QString& name : QString::fromLatin1(row.edit.path).split(QLatin1Char('/')))
            e = e.firstChildElement(name);
        EXPECT_EQ(e.text(), QLatin1String(row.held));

        // The page's own file opens the same at every start.
        std::unique_ptr<VB> next = row.module.make();
        next->testActive();
        EXPECT_TRUE(next->loadParameter());
        EXPECT_TRUE(next->takeParameterFileNotice().contains(named));
        EXPECT_EQ(filetest::held(*next, sandbox), filetest::held(*vm, sandbox));
    }
}

// Every value held is named, each on its line in the file's order, in the
// page's language: a point by the row the page shows (from 1) and its label.
TEST_F(ParameterFileRefusal, EveryValueHeldInAListIsNamedAsThePageNamesIt)
{
    std::unique_ptr<VB> vm = saved(kOvercurrent);
    auto* oc = static_cast<ViewOvercurrentModel*>(vm.get());
    for (int i = 0; i < 20; ++i)
        oc->addPoint();
    ASSERT_TRUE(vm->saveParameter());
    const QByteArray file = edited(sandbox.read(live(kOvercurrent)),
                                   {{"testPoints/point16/iTest", "500"}, {"testPoints/point3/iAngle", "1000"}});
    sandbox.write(appRoot() + "/parameters_bk/Overcurrent/old.xml", file);
    const char* const languages[][3] = {
        {"zh_cn", "第4点：电流角度 = 1000 超出此页范围，按 360 读入。", "第17点：试验电流 = 500 超出此页范围，按 10 读入。"},
        {"us_en", "Point 4: I-Angle = 1000 lies outside this page's limits: read as 360.",
         "Point 17: I test = 500 lies outside this page's limits: read as 10."},
        {"pt_pt", "Ponto 4: Ângulo I = 1000 está fora dos limites desta página: lido como 360.",
         "Ponto 17: I teste = 500 está fora dos limites desta página: lido como 10."},
    };
    for (const auto& l : languages) {
        SCOPED_TRACE(l[0]);
        QTranslator translator;
        if (!translator.load(QStringLiteral(":/") + l[0] + ".qm"))
            GTEST_SKIP() << "no compiled translations in this build";
        QCoreApplication::installTranslator(&translator);
        const bool loaded = vm->loadParmFromFile("old.xml");
        QCoreApplication::removeTranslator(&translator);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(vm->takeParameterFileNotice().split(QLatin1Char('\n')),
                  (QStringList{QString::fromUtf8(l[1]), QString::fromUtf8(l[2])}));
    }
}

TEST_F(ParameterFileRefusal, AListWithAnIndexTwiceIsRefusedNamingIt)
{
    const struct
    {
        const Module& module;
        Edit entry;   // made where the saved page has none
        const char* list;
        const char* index;
    } rows[] = {
        {kOvercurrent, {"testPoints/point0/iTest", "1"}, "testPoints", "point0"},
        {kSequence, {"testStates/state0/outputTime", "1"}, "testStates", "state0"},
        {kEnergy, {"points/point0/current", "1"}, "points", "point0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.module.folder) + " " + row.index);
        std::unique_ptr<VB> vm = saved(row.module);
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(edited(sandbox.read(live(row.module)), {row.entry})));
        QDomElement list = doc.documentElement().firstChildElement(row.list);
        list.appendChild(list.firstChildElement(row.index).cloneNode());
        sandbox.write(appRoot() + "/parameters_bk/" + row.module.folder + "/twice.xml", doc.toByteArray(4));
        const QByteArray before = filetest::held(*vm, sandbox);

        EXPECT_FALSE(vm->loadParmFromFile("twice.xml"));
        EXPECT_EQ(filetest::held(*vm, sandbox), before);
        const QString notice = vm->takeParameterFileNotice();
        EXPECT_TRUE(notice.startsWith(QLatin1String(row.list) + "/" + row.index)) << notice.toStdString();
    }
}

// The check for an index twice looks at each child of a list once, the
// entries in order or reversed, whatever the list's length.
TEST(ParameterRead, TheCheckForAnIndexTwiceLooksAtEachChildOnce)
{
    for (const int n : {10, 100, 1000, -10, -100, -1000}) {   // negative: reversed
        QDomDocument doc;
        QDomElement list = doc.createElement("list");
        list.appendChild(doc.createElement("entryCount"));
        for (int i = 0; i < std::abs(n); ++i)
            list.appendChild(doc.createElement("entry" + QString::number(n > 0 ? i : -n - 1 - i)));
        const quint64 before = BaseXmlUtilities::visitedChildren();
        EXPECT_EQ(ParameterRead::entries(&list, "entry", 1024).size(), size_t(std::abs(n)));
        EXPECT_EQ(BaseXmlUtilities::visitedChildren() - before, quint64(std::abs(n) + 1)) << n;
    }
}

TEST_F(ParameterFileRefusal, AResultNoRunCanGiveReadsAsNone)
{
    const struct
    {
        const Module& module;
        std::initializer_list<Edit> edits;   // the first is the result
        const char* read;                    // as the model then saves it
    } rows[] = {
        {kAc, {{"outputs/action0/actionTime", "-5"}, {"outputs/action0/actionValueList/actionValue_portCnt", "1"},
               {"outputs/action0/actionValueList/actionValue_val0", "5"}}, "nan"},
        {kDc, {{"outputs/action0/actionTime", "-5"}}, "nan"},
        {kHarmonic, {{"action0/actionTime", "0x1p3"}}, "nan"},
        {kOscillate, {{"outputs/action0/actionTime", "0x1p3"}, {"outputs/action0/actionValueList/actionValue_portCnt", "1"},
                      {"outputs/action0/actionValueList/actionValue_val0", "63.5"}}, "nan"},
        {kSequence, {{"testStates/state0/BI1/actionTime", "-5"}}, "nan"},
        {kRamping, {{"testStates/state0/BI1/actionTime", "inf"}}, "nan"},
        {kDistance, {{"checkedFactors/point0/BI1/actionTime", "-5"}}, "nan"},
        {kOvercurrent, {{"testPoints/point0/BI1/actionTime", "-5"}}, "nan"},
        {kSlipFrequency, {{"testPoints/point0/actionTime", "-5"}}, "-1"},   // the model's "no trip"
        {kEnergy, {{"points/point0/actualTime", "nan"}}, "0"},
    };
    for (const auto& row : rows) {
        const Edit& result = *row.edits.begin();
        SCOPED_TRACE(std::string(row.module.folder) + " " + result.path + " " + result.text);
        saved(row.module);
        sandbox.write(live(row.module), edited(sandbox.read(live(row.module)), row.edits));
        std::unique_ptr<VB> vm = row.module.make();
        vm->testActive();
        ASSERT_TRUE(vm->loadParameter());
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(filetest::held(*vm, sandbox)));
        QDomElement e = doc.documentElement();
        for (const QString& name : QString::fromLatin1(result.path).split(QLatin1Char('/')))
            e = e.firstChildElement(name);
        EXPECT_EQ(e.text(), QLatin1String(row.read));
        // A record without its time holds no values either.
        const QDomElement count = e.parentNode().firstChildElement("actionValueList").firstChildElement("actionValue_portCnt");
        EXPECT_TRUE(count.isNull() || count.text() == QLatin1String("0")) << count.text().toStdString();
    }
}

// The fourth ports of a three-phase unit are written with frequency 0: the
// file stays readable once the unit is set up for four phases.
TEST_F(ParameterFileRefusal, AFileSavedOnAThreePhaseUnitLoadsOnAFourPhaseOne)
{
    const auto phases = std::make_pair(config->volPhasesType, config->curPhasesType);
    for (const Module* module : {&kAc, &kDc, &kHarmonic, &kOscillate, &kSequence, &kRamping, &kOvercurrent,
                                 &kDistance, &kEnergy, &kSlipFrequency, &kSlipVoltage, &kStdSource}) {
        SCOPED_TRACE(module->folder);
        std::unique_ptr<VB> setup = module->make();
        setup->setVoltagePhasesType(VB::PHASES_TYPE_THREE);
        setup->setCurrentPhasesType(VB::PHASES_TYPE_THREE);
        saved(*module);
        setup->setVoltagePhasesType(VB::PHASES_TYPE_FOUR);
        setup->setCurrentPhasesType(VB::PHASES_TYPE_FOUR);
        std::unique_ptr<VB> vm = module->make();
        vm->testActive();
        EXPECT_TRUE(vm->loadParameter()) << vm->takeParameterFileNotice().toStdString();
    }
    std::tie(config->volPhasesType, config->curPhasesType) = phases;
}

// Ratings above what the device gives (20 A, 300 V on a 10 A, 265 V unit):
// the defaults a page saves are the ones it shows, and its file opens as
// saved at every start.
TEST_F(ParameterFileRefusal, ThePagesDefaultsUnderRatingsAboveTheDevicesOpenAsSaved)
{
    const auto ratings = std::make_pair(config->rateVoltage, config->rateCurrent);
    config->rateVoltage = 300.0;
    config->rateCurrent = 20.0;
    for (const Module* module : {&kAc, &kDc, &kHarmonic, &kOscillate, &kSequence, &kRamping, &kOvercurrent,
                                 &kDistance, &kEnergy, &kSlipFrequency, &kSlipVoltage, &kStdSource}) {
        SCOPED_TRACE(module->folder);
        const QByteArray shown = filetest::held(*saved(*module), sandbox);
        for (int start = 0; start < 2; ++start) {
            std::unique_ptr<VB> vm = module->make();
            vm->testActive();
            EXPECT_TRUE(vm->loadParameter());
            EXPECT_EQ(vm->takeParameterFileNotice().toStdString(), "");
            EXPECT_EQ(filetest::held(*vm, sandbox), shown);
        }
    }
    std::tie(config->rateVoltage, config->rateCurrent) = ratings;
}

TEST_F(ParameterFileRefusal, ATripListSavesABinaryOutputAsOneItsReaderTakes)
{
    for (const Module* module : {&kDistance, &kOvercurrent}) {
        SCOPED_TRACE(module->folder);
        std::unique_ptr<VB> vm = module->make();
        vm->testActive();
        auto* list = dynamic_cast<ViewTripListModel*>(vm.get());
        ASSERT_NE(list, nullptr);
        list->setOutputBOState(1, 2);
        ASSERT_TRUE(vm->saveParameter());

        std::unique_ptr<VB> back = module->make();
        back->testActive();
        EXPECT_TRUE(back->loadParameter()) << back->takeParameterFileNotice().toStdString();
        EXPECT_EQ(dynamic_cast<ViewTripListModel*>(back.get())->getOutputBOState(1), 1);
    }
}

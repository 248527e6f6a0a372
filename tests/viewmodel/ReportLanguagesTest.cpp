// Every module's report in each language of the interface: a Chinese or
// Portuguese report has no English yes/no left in it, no table row has more
// cells than the table's first row (its header), every image has a text,
// and the report passes the report check (sizes, column widths).

#include "ViewModelTestSupport.h"

#include "../distancemodel/DistanceModelSupport.h"
#include "../overcurrentmodel/OvercurrentModelSupport.h"
#include "../rampingmodel/RampingModelSupport.h"
#include "ModelFileSupport.h"
#include "ViewAlternateModel.h"
#include "ViewDirectModel.h"
#include "ViewDistanceModel.h"
#include "ViewEnergyModel.h"
#include "ViewHarmonicModel.h"
#include "ViewOscillateModel.h"
#include "ViewOvercurrentModel.h"
#include "ViewRampingModel.h"
#include "ViewSlipFrequencyModel.h"
#include "ViewSlipVoltageModel.h"
#include "ViewStateSequenceModel.h"

#include <QTranslator>

#include <functional>
#include <memory>
#include <tuple>

namespace {

struct Module
{
    const char* folder;
    std::function<std::unique_ptr<ViewBaseModel>()> make;
};

template <typename Model>
std::unique_ptr<ViewBaseModel> plain()
{
    return std::make_unique<Model>();
}

template <typename Model>
std::unique_ptr<ViewBaseModel> withPoint()
{
    auto vm = std::make_unique<Model>();
    vm->addPoint();
    return vm;
}

// A point and the chart the page puts in before it saves.
std::unique_ptr<ViewBaseModel> overcurrent()
{
    auto vm = std::make_unique<ViewOvercurrentModel>();
    vm->addPoint();
    vm->saveImage(ViewOvercurrentModel::FUNCTION_TYPE_51, QStringLiteral("iVBORw0KGgo="));
    return vm;
}

const Module kModules[] = {
    {"AC", plain<ViewAlternateModel>},           {"Harmonic", plain<ViewHarmonicModel>},
    {"Sequence", plain<ViewStateSequenceModel>}, {"Distance", withPoint<ViewDistanceModel>},
    {"Ramping", plain<ViewRampingModel>},        {"Overcurrent", overcurrent},
    {"DC", plain<ViewDirectModel>},              {"Energy", withPoint<ViewEnergyModel>},
    {"SlipFrequency", withPoint<ViewSlipFrequencyModel>}, {"SlipVoltage", withPoint<ViewSlipVoltageModel>},
    {"Oscillate", plain<ViewOscillateModel>},
};

void PrintTo(const Module& module, std::ostream* os)
{
    *os << module.folder;
}

const char* const kLanguages[] = {"us_en", "zh_cn", "pt_pt"};

class ReportLanguages : public vmtest::ViewModelTest,
                        public ::testing::WithParamInterface<std::tuple<Module, const char*>>
{
};

TEST_P(ReportLanguages, SayEverythingInTheLanguageAndLineUp)
{
    const Module& module = std::get<0>(GetParam());
    const QString language = QString::fromLatin1(std::get<1>(GetParam()));
    // Without compiled translations (builds without the interface) the
    // English report is still written from the source texts.
    QTranslator translator;
    const bool loaded = translator.load(":/" + language + ".qm");
    if (!loaded && language != "us_en")
        GTEST_SKIP() << "no compiled translations in this build";
    std::unique_ptr<ViewBaseModel> vm = module.make();
    vm->testActive();
    if (loaded)
        QCoreApplication::installTranslator(&translator);
    const bool saved = vm->saveReport(language + ".htm");
    QCoreApplication::removeTranslator(&translator);
    ASSERT_TRUE(saved);
    const QString path = appRoot() + "/report/" + module.folder + "/" + language + ".htm";
    vmtest::expectValidReport(path);

    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(path)));
    static const QRegularExpression english(QStringLiteral("^([Tt]rue|[Ff]alse)$"));
    const QDomNodeList tables = doc.elementsByTagName(QStringLiteral("table"));
    for (int t = 0; t < tables.size(); ++t) {
        // A table's own rows and cells, not those of tables in its cells.
        int header = -1;
        for (QDomElement tr = tables.at(t).firstChildElement("tr"); !tr.isNull(); tr = tr.nextSiblingElement("tr")) {
            int cells = 0;
            for (QDomElement td = tr.firstChildElement("td"); !td.isNull(); td = td.nextSiblingElement("td"), ++cells) {
                const QString text = td.text().trimmed();
                EXPECT_TRUE(language == "us_en" || !text.contains(english)) << "English in the report: " << text.toStdString();
            }
            header = header < 0 ? cells : header;
            EXPECT_LE(cells, header) << "a row wider than its header: " << tr.text().toStdString();
        }
    }
    const QDomNodeList images = doc.elementsByTagName(QStringLiteral("img"));
    for (int i = 0; i < images.size(); ++i)
        EXPECT_FALSE(images.at(i).toElement().attribute(QStringLiteral("alt")).isEmpty()) << "an image without a text";
}

INSTANTIATE_TEST_SUITE_P(, ReportLanguages, ::testing::Combine(::testing::ValuesIn(kModules),
                                                                ::testing::ValuesIn(kLanguages)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).folder) + "_" + std::get<1>(info.param);
                         });

// A point (ramping: an item) begun on a relay still operated says Not Reset
// in its trip-time cell, on the page and in the report, never a time it holds.
class NotResetReadings : public vmtest::ViewModelTest,
                         public ::testing::WithParamInterface<std::pair<const char*, const char*>>
{
};

TEST_P(NotResetReadings, TheTripTimeColumnSaysNotReset)
{
    QTranslator translator;
    if (!translator.load(QStringLiteral(":/") + GetParam().first + ".qm"))
        GTEST_SKIP() << "no compiled translations in this build";
    const std::string word = GetParam().second;
    omtest::OvercurrentModel oc;
    oc.setTdPickUp(omtest::VM::FUNCTION_TYPE_51, 0.1);
    oc.addAt(2.0);
    oc.complete(0, 0.4);   // a time a fault begun on an operated relay may hold
    oc.markNotReset(0);
    dmtest::DistanceModel ds;
    ds.addAt(1.0);
    ds.point(0)->testState = dmtest::VM::AO_STATE_TYPE_COMPLETED;
    ds.point(0)->relayNotReset = true;
    rmtest::RampingModel rm;
    rm.state(0).testState = rmtest::VM::AO_STATE_TYPE_COMPLETED;
    rm.state(0).relayNotReset = true;
    const struct
    {
        ViewBaseModel& vm;
        const char* folder;
        size_t column;   // of the report's trip time
        std::function<std::unique_ptr<ViewBaseModel>()> fresh;
    } models[] = {{oc, "Overcurrent", 7, [] { return std::make_unique<omtest::OvercurrentModel>(); }},
                  {ds, "Distance", 7, [] { return std::make_unique<dmtest::DistanceModel>(); }},
                  {rm, "Ramping", 5, [] { return std::make_unique<rmtest::RampingModel>(); }}};
    for (const auto& m : models) {
        SCOPED_TRACE(m.folder);
        m.vm.testActive();
        // And read back from the page's own file, as after a restart.
        ASSERT_TRUE(m.vm.saveParameter());
        const std::unique_ptr<ViewBaseModel> back = m.fresh();
        back->testActive();
        ASSERT_TRUE(back->loadParameter());
        QString pageWord, backWord;
        QCoreApplication::installTranslator(&translator);
        QMetaObject::invokeMethod(&m.vm, "getTripTimeWord", Q_RETURN_ARG(QString, pageWord), Q_ARG(int, 0));
        QMetaObject::invokeMethod(back.get(), "getTripTimeWord", Q_RETURN_ARG(QString, backWord), Q_ARG(int, 0));
        EXPECT_TRUE(m.vm.saveReport(QStringLiteral("r.htm")));
        QCoreApplication::removeTranslator(&translator);
        EXPECT_EQ(pageWord.toStdString(), word);
        EXPECT_EQ(backWord.toStdString(), word);
        std::vector<std::string> cells;   // the trip time of each row ending in the word
        for (const filetest::Table& t : filetest::tables(sandbox.read(appRoot() + "/report/" + m.folder + "/r.htm")))
            for (const filetest::Row& row : t)
                if (row.size() > m.column && row.back() == word)
                    cells.push_back(row[m.column]);
        EXPECT_EQ(cells, std::vector<std::string>{word});
    }
}

INSTANTIATE_TEST_SUITE_P(, NotResetReadings,
                         ::testing::Values(std::make_pair("zh_cn", "未复归"), std::make_pair("us_en", "Not Reset"),
                                           std::make_pair("pt_pt", "Sem rearme")),
                         [](const auto& info) { return std::string(info.param.first); });

} // namespace

// ViewStdSourceModel: the body of the standard-source parameter file and the
// report tables.
//
// File body after the base keys (doubles with six significant digits):
//   workMode, powerFactor, factorType, powerPhase, srcFrequency,
//   componentSel, srcVoltageAmp, srcCurrentAmp, activePower, reactivePower,
//   apprentPower, powerRadian,
//   port0..5/{outputRange, outputRadian, outputPhase, outputPower}
// The derived values are stored too and load as they are read (the page
// recomputes after a load). A missing value keeps the field; the mode, the
// factor, its sense and the selection pass what their setters accept, the
// amplitudes the device's maxima and the frequency the page's limits; else,
// or for an unreadable value, the file is refused (ViewParameterSetting.h).

#include "ViewStdSourceModel.h"

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

// A field read through `accept` (value, field) -> the value to keep; a value
// it does not keep is refused.
template <typename Stored, typename Field, typename Accept>
void mapAccepted(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, Field& field, Accept accept)
{
    mapSetting<Stored>(save, parent, doc, key, Stored(field), [&](Stored value) {
        const Stored kept = Stored(accept(value, Stored(field)));
        field = Field(kept);
        return kept == value;
    });
}

} // namespace

void ViewStdSourceModel::serializeBody(bool save, QDomElement* root, QDomDocument* doc)
{
    const ControllerConfiguration* config = center()->testConfiguration;
    mapAccepted<qint32>(save, root, doc, QStringLiteral("workMode"), workMode, acceptedWorkMode);
    mapAccepted<double>(save, root, doc, QStringLiteral("powerFactor"), powerFactor, acceptedPowerFactor);
    mapAccepted<qint32>(save, root, doc, QStringLiteral("factorType"), factorType, acceptedFactorType);
    mapSetting(save, root, doc, QStringLiteral("powerPhase"), powerPhase, -kAngle, kAngle);
    mapSetting(save, root, doc, QStringLiteral("srcFrequency"), srcFrequency, kMinFrequency, kMaxFrequency);
    const int mode = workMode;
    mapAccepted<qint32>(save, root, doc, QStringLiteral("componentSel"), componentSel,
                        [mode](int value, int current) { return acceptedComponent(value, current, mode); });
    mapSetting(save, root, doc, QStringLiteral("srcVoltageAmp"), srcVoltageAmp, 0.0, config->maxVRange);
    mapSetting(save, root, doc, QStringLiteral("srcCurrentAmp"), srcCurrentAmp, 0.0, config->maxIRange);
    mapSetting(save, root, doc, QStringLiteral("activePower"), activePower);
    mapSetting(save, root, doc, QStringLiteral("reactivePower"), reactivePower);
    mapSetting(save, root, doc, QStringLiteral("apprentPower"), apprentPower);
    mapSetting(save, root, doc, QStringLiteral("powerRadian"), powerRadian);
    for (int p = 0; p < 6; ++p) {
        QDomElement port;
        Xml::getElement(&port, root, doc, QStringLiteral("port") + QString::number(p), save);
        mapSetting(save, &port, doc, QStringLiteral("outputRange"), outputRange[p], 0.0,
                   p < 3 ? config->maxVRange : config->maxIRange);
        mapSetting(save, &port, doc, QStringLiteral("outputRadian"), outputRadian[p]);
        mapSetting(save, &port, doc, QStringLiteral("outputPhase"), outputPhase[p]);
        mapSetting(save, &port, doc, QStringLiteral("outputPower"), outputPower[p]);
    }
}

// ---- Report ------------------------------------------------------------------------------------

QString ViewStdSourceModel::getComponentSelStr() const
{
    switch (componentSel) {
    case COMPONENT_SELECT_ALL:
        if (workMode == WORK_MODE_SINGLE_ACTIVE_POWER)
            return tr("分元无效");                                    // not applicable
        return isThreeElementMode(workMode) ? tr("三元件") : tr("二元件");
    case COMPONENT_SELECT_A: return tr("A元件");
    case COMPONENT_SELECT_B: return tr("B元件");
    case COMPONENT_SELECT_C: return tr("C元件");
    }
    return QString();
}

void ViewStdSourceModel::appendTestSetting(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestSetting(doc, parent);
    const auto number = [this](double value, int decimals) { return doubleFormatToString(value, decimals); };
    const QString modes[9] = {
        tr("单项有功功率"),                  tr("三相四线(Y型接法)有功功率"),   tr("三相三线(V型接法)有功功率"),
        tr("三相三线(△型接法)有功功率"),    tr("三相四线(Y型接法)真无功功率"), tr("三相三线(V型接法)真无功功率"),
        tr("三相三线(△型接法)真无功功率"),  tr("三元件90°无功功率"),          tr("二元件90°无功功率"),
    };
    QString sense;
    if (factorType == POWER_FACTOR_TYPE_INDUCTIVE)
        sense = QStringLiteral("L");
    else if (factorType == POWER_FACTOR_TYPE_CAPACITIVE)
        sense = QStringLiteral("C");

    QStringList rows[6];
    rows[0] << tr("工作方式");
    if (workMode >= WORK_MODE_SINGLE_ACTIVE_POWER && workMode <= WORK_MODE_2COM_90_DEGREE_REACTIVE_POWER)
        rows[0] << modes[workMode];
    rows[1] << tr("功率因数") << number(powerFactor, 6) + sense << tr("功率相角")
            << number(powerPhase, 3) + QString::fromUtf8("°");
    rows[2] << tr("分元选择") << getComponentSelStr() << tr("频率") << number(srcFrequency, 3) + QStringLiteral("Hz");
    rows[3] << tr("电压幅值") << number(srcVoltageAmp, 3) + QStringLiteral("V") << tr("电流幅值")
            << number(srcCurrentAmp, 3) + QStringLiteral("A");
    rows[4] << tr("有功功率") << number(activePower, 3) + QStringLiteral("W") << tr("无功功率")
            << number(reactivePower, 3) + QStringLiteral("Var");
    rows[5] << tr("视在功率") << number(apprentPower, 3) + QStringLiteral("VA");
    appendTable(doc, parent, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, 6);
}

void ViewStdSourceModel::appendTestResult(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestResult(doc, parent);
    struct Row
    {
        const char* label;
        SinglePortType port;
        const char* power;
    };
    static const Row kUa{"Ua", SINGLE_PORT_UA, "Pa"}, kUb{"Ub", SINGLE_PORT_UB, "Pb"}, kUc{"Uc", SINGLE_PORT_UC, "Pc"},
        kIa{"Ia", SINGLE_PORT_IA, "Qa"}, kIb{"Ib", SINGLE_PORT_IB, "Qb"}, kIc{"Ic", SINGLE_PORT_IC, "Qc"},
        kUab{"Uab", SINGLE_PORT_UA, "Pa"}, kUcb{"Ucb", SINGLE_PORT_UC, "Pb"}, kUbc{"Ubc", SINGLE_PORT_UA, "Pa"},
        kUca{"Uca", SINGLE_PORT_UB, "Pb"}, kUabC{"Uab", SINGLE_PORT_UC, "Pc"};
    static const Row* const kSingle[] = {&kUa, &kIa, nullptr};
    static const Row* const kFourWire[] = {&kUa, &kUb, &kUc, &kIa, &kIb, &kIc, nullptr};
    static const Row* const kTwoWattmeter[] = {&kUab, &kUcb, &kIa, &kIc, nullptr};
    static const Row* const kThreeCross[] = {&kUbc, &kUca, &kUabC, &kIa, &kIb, &kIc, nullptr};
    static const Row* const kTwoCross[] = {&kUbc, &kUabC, &kIa, &kIc, nullptr};
    static const Row* const kNone[] = {nullptr};
    const Row* const* ports = kNone;
    switch (workMode) {
    case WORK_MODE_SINGLE_ACTIVE_POWER:
        ports = kSingle;
        break;
    case WORK_MODE_3P4W_Y_ACTIVE_POWER:
    case WORK_MODE_3P4W_Y_REACTIVE_POWER:
        ports = kFourWire;
        break;
    case WORK_MODE_3P3W_V_ACTIVE_POWER:
    case WORK_MODE_3P3W_TRIANGLE_ACTIVE_POWER:
    case WORK_MODE_3P3W_V_REACTIVE_POWER:
    case WORK_MODE_3P3W_TRIANGLE_REACTIVE_POWER:
        ports = kTwoWattmeter;
        break;
    case WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER:
        ports = kThreeCross;
        break;
    case WORK_MODE_2COM_90_DEGREE_REACTIVE_POWER:
        ports = kTwoCross;
        break;
    }

    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    QStringList rows[7];
    rows[0] << QStringLiteral(" ") << tr("幅值") << tr("相位") << QStringLiteral(" ") << tr("功率");
    for (int r = 0; ports[r]; ++r) {
        const Row& row = *ports[r];
        const bool voltage = row.port <= SINGLE_PORT_UC;
        const bool active = row.power[0] == 'P';
        rows[r + 1] << QLatin1String(row.label)
                    << number(getOutputRange(row.port)) + (voltage ? QStringLiteral("V") : QStringLiteral("A"))
                    << number(getOutputPhase(row.port)) + QString::fromUtf8("°") << QLatin1String(row.power)
                    << number(getOutputPower(row.port)) + (active ? QStringLiteral("W") : QStringLiteral("Var"));
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("20%"), QStringLiteral("center"),
                QStringLiteral("2"), QStringLiteral("Arial"), rows, 7);
}

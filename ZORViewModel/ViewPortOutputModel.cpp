// ViewPortOutputModel: the eight-port outputs and their quick-set keys.

#include "ViewPortOutputModel.h"

#include "ViewParameterSetting.h"

#include <cmath>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

ViewPortOutputModel::ViewPortOutputModel(TESTType type, QObject* parent)
    : ViewSourceTestModel(type, parent)
{
    defaultOutputs(outputRanges, outputAngles, outputFrequencies);
    ViewPortOutputModel::takeSnapshot();
    clearResults();
}

ViewPortOutputModel::~ViewPortOutputModel() = default;

bool ViewPortOutputModel::acceptsOutputValue(double) const
{
    return true;
}

void ViewPortOutputModel::pushOutputs(bool apply)
{
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTVI, -1, apply);
}

// ---- Outputs ------------------------------------------------------------------------------

void ViewPortOutputModel::setOutput(double values[8], AOPortType port, double value)
{
    if (!isPort(port) || !acceptsOutputValue(value))
        return;
    const bool changed = values[port] != value;
    values[port] = value;
    pushOutputs(changed && isTestRunning());
}

void ViewPortOutputModel::setOutputRange(AOPortType port, double range)
{
    setOutput(outputRanges, port, range);
}

void ViewPortOutputModel::setOutputAngle(AOPortType port, double angle)
{
    setOutput(outputAngles, port, angle);
}

void ViewPortOutputModel::setOutputFrequency(AOPortType port, double frequency)
{
    setOutput(outputFrequencies, port, frequency);
}

double ViewPortOutputModel::getOutputRange(AOPortType port) const
{
    return isPort(port) ? outputRanges[port] : 0.0;
}

double ViewPortOutputModel::getOutputAngle(AOPortType port) const
{
    return isPort(port) ? outputAngles[port] : 0.0;
}

double ViewPortOutputModel::getOutputFrequency(AOPortType port) const
{
    return isPort(port) ? outputFrequencies[port] : 0.0;
}

// ---- Quick-set keys -----------------------------------------------------------------------

void ViewPortOutputModel::setRateRange(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetRateRange(outputRanges, port);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setBalanceRange(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetBalanceRange(outputRanges, port);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setPositiveAngle(AOPortType port, bool pos)
{
    if (!isPort(port))
        return;
    quickSetPositiveAngle(outputAngles, port, pos);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setRateFrequency(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetRateFrequency(outputFrequencies, port);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setBalanceFrequency(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetBalanceFrequency(outputFrequencies, port);
    pushOutputs(isTestRunning());
}

// ---- Snapshot and results -------------------------------------------------------------------------

void ViewPortOutputModel::takeSnapshot()
{
    std::copy(std::begin(outputRanges), std::end(outputRanges), beginRanges);
    std::copy(std::begin(outputAngles), std::end(outputAngles), beginAngles);
    std::copy(std::begin(outputFrequencies), std::end(outputFrequencies), beginFrequencies);
}

void ViewPortOutputModel::restoreSnapshot()
{
    std::copy(std::begin(beginRanges), std::end(beginRanges), outputRanges);
    std::copy(std::begin(beginAngles), std::end(beginAngles), outputAngles);
    std::copy(std::begin(beginFrequencies), std::end(beginFrequencies), outputFrequencies);
}

void ViewPortOutputModel::swapSnapshot()
{
    std::swap_ranges(std::begin(outputRanges), std::end(outputRanges), beginRanges);
    std::swap_ranges(std::begin(outputAngles), std::end(outputAngles), beginAngles);
    std::swap_ranges(std::begin(outputFrequencies), std::end(outputFrequencies), beginFrequencies);
}

void ViewPortOutputModel::beginResults()
{
    testState = 0;
    clearResults();
    testState = -1;
    notRun = false;
}

void ViewPortOutputModel::startResults()
{
    beginResults();
    // Nothing has played for this start until the engine reports its run
    // begun; a start it refuses reports none.
    notRun = true;
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
}

void ViewPortOutputModel::settleResults()
{
    if (testState != 1)
        testState = 0;
    if (runBegunSinceStart())
        notRun = false;
}

void ViewPortOutputModel::clearResults()
{
    for (int i = 0; i < 4; ++i) {
        clearRecord(faultActionValues[i]);
        faultActionTimes[i] = kNaN;
    }
    if (testState != -1)
        testState = 0;
}

int ViewPortOutputModel::getTestState() const
{
    return testState;
}

QString ViewPortOutputModel::getNoActionText() const
{
    if (testState == -1 || notRun)
        return QString();
    return noActionWord();
}

QString ViewPortOutputModel::noActionWord() const
{
    return ViewBaseModel::tr("未动作");
}

void ViewPortOutputModel::quickChangeRange(AOPortType port, bool reset, double factor, bool toDevice)
{
    if (!isPort(port))
        return;
    if (reset)
        outputRanges[port] = beginRanges[port];
    else
        outputRanges[port] += beginRanges[port] * factor;
    if (toDevice)
        pushOutputs(isTestRunning());
}

bool ViewPortOutputModel::hasActionValue(int index) const
{
    return isRecordIndex(index) && faultActionValues[index].portCnt > 0;
}

double ViewPortOutputModel::actionTime(int index) const
{
    if (!isRecordIndex(index) || testState != 1)
        return kNaN;
    return faultActionTimes[index];
}

QString ViewPortOutputModel::actionFactorText() const
{
    if (testState != 1 || !hasActionValue(0) || !hasActionValue(1))
        return QString();
    const faultActionValStruct& action = faultActionValues[0];
    const faultActionValStruct& back = faultActionValues[1];
    QStringList parts;
    for (int k = 0; k < std::min(back.portCnt, 3); ++k) {
        if (std::fabs(action.actionVal[k]) < 1e-10)
            parts << QStringLiteral("0");
        else
            parts << doubleFormatToString(back.actionVal[k] / action.actionVal[k], 3);
    }
    return parts.join(QStringLiteral("; "));
}

QString ViewPortOutputModel::groupValuesText(const faultActionValStruct& record, int group) const
{
    int channels[3];
    const int count = groupChannels(group, channels);
    const int decimals = record.actionVal[0] >= 1000.0 ? 1 : 3;
    QStringList parts;
    for (int k = 0; k < count; ++k)
        parts << doubleFormatToString(testState == 1 ? record.actionVal[k] : kNaN, decimals);
    return parts.join(QStringLiteral("; "));
}

// ---- Parameter file ---------------------------------------------------------------------------

void ViewPortOutputModel::mapShownOutputs(bool save, QDomElement* outputs, QDomDocument* doc)
{
    mapPorts(save, outputs, doc, outputRanges, outputAngles, outputFrequencies, portRangeLimit(AO_PORT_TYPE_UA),
             portRangeLimit(AO_PORT_TYPE_IA));
}

void ViewPortOutputModel::mapRunResults(bool save, QDomElement* root, QDomElement* outputs, QDomDocument* doc,
                                        bool timeFirst)
{
    qint32 state = save && runSnapshotHeld() && testState == -1 ? 0 : testState;
    mapResultIndex(save, root, doc, QStringLiteral("testState"), state, -1, 1, 0);
    if (!save)
        testState = state;
    mapActionRecords(save, outputs, doc, timeFirst, faultActionTimes, faultActionValues);
    // A stored action is the result of a run that ended (as an action makes it).
    if (!save && hasActionValue(0))
        testState = 1;
}

void ViewPortOutputModel::mapNotRun(bool save, QDomElement* root, QDomDocument* doc)
{
    if (testState == 1)
        notRun = false;
    if (save || ParameterRead::present(root, QStringLiteral("notRun")))
        mapResultFlag(save, root, doc, QStringLiteral("notRun"), notRun);
    else
        notRun = true;
    if (!save && testState != 0)
        notRun = false;
}

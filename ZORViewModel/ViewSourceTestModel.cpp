// ViewSourceTestModel: the frame of the source-test view models.

#include "ViewSourceTestModel.h"

#include "BaseDataUtility.h"
#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ControllerTestor.h"
#include "ModelEntityCommon.h"
#include "ViewParameterSetting.h"
#include "ViewVerdict.h"

#include <algorithm>
#include <cmath>

ViewSourceTestModel::ViewSourceTestModel(TESTType type, QObject* parent)
    : ViewBaseModel(parent)
    , ownType(type)
{
}

ViewSourceTestModel::~ViewSourceTestModel() = default;

// ---- Start and exit -------------------------------------------------------------------

bool ViewSourceTestModel::testStart()
{
    // A start while a run is in progress would take the run's stepped
    // values as the settings to restore.
    if (isTestRunning() || !checkStart() || !instrumentReadyToStart())
        return false;
    takeSnapshot();
    snapshotHeld = true;
    const quint32 runs = runsBegun();
    if (!startFromPage()) {
        snapshotHeld = false;
        return false;
    }
    pageStarted = true;
    startAwaited = true;
    runsAtStart = runs;
    startResults();
    return true;
}

bool ViewSourceTestModel::runBegunSinceStart() const
{
    return pageStarted && runsBegun() != runsAtStart;
}

quint32 ViewSourceTestModel::runsBegun() const
{
    ControllerRuntime* rt = center()->testRuntime;
    rt->dataLock();
    const quint32 runs = rt->runsBegun;
    rt->dataUnlock();
    return runs;
}

void ViewSourceTestModel::startResults()
{
    beginResults();
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
}

// ---- Binary inputs and outputs ------------------------------------------------------------

void ViewSourceTestModel::setOutputBIState(int, int biindex, int bi) { setTriggerInput(biindex, bi); }
int ViewSourceTestModel::getOutputBIState(int, int biindex) const { return triggerInput(biindex); }
void ViewSourceTestModel::setOutputBILogic(int, AOBILogicType logic) { setTriggerLogic(logic); }
int ViewSourceTestModel::getOutputBILogic(int) const { return outputBILogicType; }
void ViewSourceTestModel::setOutputBOState(int boindex, int bo) { setTriggerOutput(boindex, bo); }
int ViewSourceTestModel::getOutputBOState(int boindex) const { return triggerOutput(boindex); }

// ---- Hooks ------------------------------------------------------------------------------------

void ViewSourceTestModel::doTestActive()
{
    center()->testActive(ownType);
    ViewBaseModel::doTestActive();
}

void ViewSourceTestModel::doUpdateVMToEnt(DATAType type, int subType)
{
    if (!isOwnEngineType())
        return;
    ViewBaseModel::doUpdateVMToEnt(type, subType);
    pushToEntity(type);
}

void ViewSourceTestModel::doUpdateEntToVM(DATAType type, int subType)
{
    if (isOwnEngineType()) {
        switch (type) {
        case DATA_TYPE_TEST_OUTPUTVI:
        case DATA_TYPE_TEST_OUTPUTPQ:
        case DATA_TYPE_TEST_OUTPUTDATA:
            pullOutputs();
            break;
        case DATA_TYPE_TEST_ACTIONDATA:
            if (entityFollowsRun())
                pullResults();
            break;
        default:
            break;
        }
    }
    ViewBaseModel::doUpdateEntToVM(type, subType);
}

void ViewSourceTestModel::doSwitchToStartState()
{
    if (getTestActiveType() != ownType)
        return;
    startAwaited = false;
    beginResults();
}

void ViewSourceTestModel::doSwitchToStopState()
{
    if (getTestActiveType() != ownType)
        return;
    // Only the snapshot of this run, which goes back into the entity too; a
    // run this page did not start (a PC's, say) or a second stop report
    // leaves the settings and the entity as they are.
    const bool ownRun = snapshotHeld;
    if (ownRun) {
        restoreSnapshot();
        snapshotHeld = false;
    }
    settleResults();
    if (ownRun)
        updateVMToEnt(DATA_TYPE_TEST_OUTPUTVI, -1, false);
    emit sigUpdateDataToView(DATA_TYPE_TEST_OUTPUTDATA, -1);
}

bool ViewSourceTestModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    ViewBaseModel::serialize(save, element, doc);
    // During a run the file keeps the settings from before it.
    const bool beforeRun = save && snapshotHeld;
    if (beforeRun)
        swapSnapshot();
    serializeBody(save, element, doc);
    if (beforeRun)
        swapSnapshot();
    return true;
}

// ---- Helpers ------------------------------------------------------------------------------------

bool ViewSourceTestModel::isOwnEngineType() const
{
    return int(center()->testTestor->testType.load()) == int(ownType);
}

bool ViewSourceTestModel::steppingAllowed() const
{
    return getPowerTMax() < getDeviceTResume() || isTestRunning();
}

int ViewSourceTestModel::groupChannels(int group, int channels[3])
{
    return ModelEntity::rampPortChannels(group, channels);
}

int ViewSourceTestModel::groupIndexOf(int group, int port)
{
    int channels[3];
    const int count = groupChannels(group, channels);
    for (int k = 0; k < count; ++k) {
        if (channels[k] == port)
            return k;
    }
    return -1;
}

double ViewSourceTestModel::foldAngle(double angle)
{
    return ModelEntity::foldAngle360(angle);
}

void ViewSourceTestModel::clearRecord(faultActionValStruct& record)
{
    ModelEntity::clearFaultAction(record);
}

void ViewSourceTestModel::takeRecord(faultActionValStruct& to, const faultActionValStruct& from)
{
    clearRecord(to);
    to.portCnt = std::clamp(from.portCnt, 0, 3);
    for (int k = 0; k < to.portCnt; ++k)
        to.actionVal[k] = from.actionVal[k];
}

void ViewSourceTestModel::defaultOutputs(double ranges[8], double angles[8], double frequencies[8]) const
{
    static const double kAngles[4] = {0.0, 240.0, 120.0, 0.0};
    for (int p = 0; p < 8; ++p) {
        const bool voltage = isVoltagePort(p);
        const int phase = p % 4;
        const bool fourth = phase == 3;
        const bool present = !fourth || (voltage ? volPhasesType : curPhasesType) == PHASES_TYPE_FOUR;
        ranges[p] = present ? (voltage ? rateVoltage : rateCurrent) : 0.0;
        angles[p] = kAngles[phase];
        frequencies[p] = present ? rateFrequency : 0.0;
    }
}

double ViewSourceTestModel::portRangeLimit(int port) const
{
    const ControllerConfiguration* config = center()->testConfiguration;
    return isVoltagePort(port) ? config->maxVRange : config->maxIRange;
}

void ViewSourceTestModel::quickSetRateRange(double ranges[8], int port) const
{
    if (isPort(port))
        ranges[port] = isVoltagePort(port) ? rateVoltage : rateCurrent;
}

void ViewSourceTestModel::quickSetBalanceRange(double ranges[8], int port)
{
    if (!isPort(port))
        return;
    const int first = isVoltagePort(port) ? AO_PORT_TYPE_UA : AO_PORT_TYPE_IA;
    const double value = ranges[port];
    for (int p = first; p < first + 3; ++p)
        ranges[p] = value;
}

void ViewSourceTestModel::quickSetPositiveAngle(double angles[8], int port, bool positive)
{
    if (!isPort(port) || port % 4 == 3)
        return;
    const double d = positive ? -120.0 : 120.0;
    const int a = isVoltagePort(port) ? AO_PORT_TYPE_UA : AO_PORT_TYPE_IA;
    const int b = a + 1;
    const int c = a + 2;
    const double angle = angles[port];
    auto f = [](double x) { return BaseDataUtility::formatAngle(x, true); };
    if (port == a) {
        angles[b] = f(angle + d);
        angles[c] = f(angle - d);
    } else if (port == b) {
        angles[a] = f(angle - d);
        angles[c] = f(angle + d);
    } else {
        angles[b] = f(angle - d);
        angles[a] = f(angle + d);
    }
}

void ViewSourceTestModel::quickSetRateFrequency(double frequencies[8], int port) const
{
    if (isPort(port))
        frequencies[port] = rateFrequency;
}

void ViewSourceTestModel::quickSetBalanceFrequency(double frequencies[8], int port)
{
    if (!isPort(port))
        return;
    const double value = frequencies[port];
    for (int p = 0; p < 8; ++p)
        frequencies[p] = value;
}

ViewBaseModel::RampPortType ViewSourceTestModel::rampPortFromRow(int row, RampPortType current) const
{
    const bool volThree = volPhasesType != PHASES_TYPE_FOUR;
    const bool curThree = curPhasesType != PHASES_TYPE_FOUR;
    int port;
    if (row >= 0 && row <= 2) {
        port = row;
    } else if (row >= 3 && row <= 9) {
        port = volThree ? row + 1 : row;
    } else if (row == 10) {
        port = !volThree ? RAMP_PORT_TYPE_IC : (!curThree ? RAMP_PORT_TYPE_IX : RAMP_PORT_TYPE_IAIB);
    } else if (row >= 11 && row <= 13) {
        port = row + (volThree ? 1 : 0) + (curThree ? 1 : 0);
    } else if (row == 14) {
        port = !volThree && !curThree ? RAMP_PORT_TYPE_ICIA : RAMP_PORT_TYPE_IAIBIC;
    } else if (row == 15) {
        port = RAMP_PORT_TYPE_IAIBIC;
    } else {
        return current;
    }
    return RampPortType(port);
}

int ViewSourceTestModel::rowFromRampPort(RampPortType port) const
{
    const int volLess = volPhasesType != PHASES_TYPE_FOUR ? 1 : 0;
    const int curLess = curPhasesType != PHASES_TYPE_FOUR ? 1 : 0;
    if (port < RAMP_PORT_TYPE_UA || port > RAMP_PORT_TYPE_IAIBIC)
        return 0;
    if (port <= RAMP_PORT_TYPE_UX)
        return port;
    if (port <= RAMP_PORT_TYPE_IX)
        return port - volLess;
    return port - volLess - curLess;
}

void ViewSourceTestModel::setRampTimeValue(double timeRamp)
{
    if (std::isfinite(timeRamp))
        actionRampTime = timeRamp;
}

double ViewSourceTestModel::getRampTimeValue() const
{
    return actionRampTime;
}

QString ViewSourceTestModel::rampProblem(const double* values, const int* channels, int count, int direction,
                                         double end, double step, double time)
{
    if (!(step > 0.0) || !std::isfinite(step))
        return tr("步长必须大于零。");
    if (!(time > 0.0) || !std::isfinite(time))
        return tr("自动时间必须大于零。");
    if (!std::isfinite(end))
        return tr("终值无效。");
    bool below = false;
    bool above = false;
    for (int k = 0; k < count; ++k) {
        below = below || values[channels[k]] < end;
        above = above || values[channels[k]] > end;
    }
    if (below && above)
        return tr("终值位于所选各相的输出之间，无法递变。");
    if (direction > 0 && above)
        return tr("终值低于当前输出，不能递增。");
    if (direction < 0 && below)
        return tr("终值高于当前输出，不能递减。");
    return QString();
}

bool ViewSourceTestModel::acceptRamp(const QString& problem)
{
    rampHandedOver = problem.isEmpty();
    if (!rampHandedOver)
        showUserMessage(problem);
    return rampHandedOver;
}

void ViewSourceTestModel::noteHandedRamp(int direction, double end)
{
    handedDirection = direction;
    handedEnd = end;
}

bool ViewSourceTestModel::checkRampStart()
{
    if (!rampHandedOver) {
        showUserMessage(tr("请先按“+”或“-”设定变化方向。"));
        return false;
    }
    const QString problem = heldRampProblem();
    if (problem.isEmpty())
        return true;
    showUserMessage(problem);
    return false;
}

QString ViewSourceTestModel::stepReachProblem(double stepTime, double settingTime, double deviation) const
{
    const double end = settingTime + std::fabs(deviation);
    if (!ViewVerdict::shorter(stepTime, end))
        return QString();
    const auto seconds = [this](double t) {
        return doubleFormatToString(t, ViewVerdict::decimalsOf(t)) + QStringLiteral("s");
    };
    return tr("动作时间范围止于%1，每步却只有%2：在其后动作的继电器会被记在下一步。请把步长时间设为至少%1。")
        .arg(seconds(end), seconds(stepTime));
}

void ViewSourceTestModel::mapAutoRamp(bool save, QDomElement* root, QDomDocument* doc, bool& enabled, double& time)
{
    BaseXmlUtilities::map(save, root, doc, QStringLiteral("autoRampEnabled"), enabled, enabled);
    mapSetting(save, root, doc, QStringLiteral("actionRampTime"), time, 0.0, PageLimits::kMaxRampTime);
}

void ViewSourceTestModel::mapRampTarget(bool save, QDomElement* root, QDomDocument* doc, RampPortType& port,
                                        RampItemType& item, RampItemType lastItem)
{
    mapChecked(save, root, doc, QStringLiteral("faultActionPort"), port, RAMP_PORT_TYPE_UA, RAMP_PORT_TYPE_IAIBIC);
    mapChecked(save, root, doc, QStringLiteral("faultActionItem"), item, RAMP_ITEM_TYPE_RANGE, lastItem);
}

void ViewSourceTestModel::mapRampTable(bool save, QDomElement* root, QDomDocument* doc,
                                       const std::function<void(QDomElement*, int)>& endRamp, double* steps,
                                       int count)
{
    QDomElement ramps;
    BaseXmlUtilities::getElement(&ramps, root, doc, QStringLiteral("ramps"), save);
    for (int g = 0; g < 16; ++g) {
        QDomElement begin;
        BaseXmlUtilities::getElement(&begin, &ramps, doc, indexed("beginRamp", g), save);
        while (save && !begin.firstChild().isNull())
            begin.removeChild(begin.firstChild());
        QDomElement end;
        BaseXmlUtilities::getElement(&end, &ramps, doc, indexed("endRamp", g), save);
        endRamp(&end, g);
    }
    QDomElement stepList;
    BaseXmlUtilities::getElement(&stepList, root, doc, QStringLiteral("steps"), save);
    for (int i = 0; i < count; ++i)
        mapSetting(save, &stepList, doc, indexed("setp", i), steps[i], 0.0, PageLimits::kMaxRampStep);
}

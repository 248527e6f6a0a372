// ViewRampingModel: states and points, the edit buffer, the expansion into
// the entity, results and verdict.

#include "ViewRampingModel.h"

#include "ControllerCenter.h"
#include "ModelRampingEntity.h"
#include "ViewVerdict.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

// ---- Point ----------------------------------------------------------------------------------

ViewRampingModel::ViewPointModel::ViewPointModel(const ViewRampingModel* owner)
    : faultActionPort(RAMP_PORT_TYPE_UA)
    , faultActionItem(RAMP_ITEM_TYPE_RANGE)
    , functionType(50)
    , settingTime(1.0)
    , devTime(0.1)
    , testResult(AO_Result_TYPE_NONE)
{
    for (int r = 0; r < 16; ++r) {
        endRampRanges[r] = isVoltageGroup(r) ? owner->rateVoltage : owner->rateCurrent;
        endRampAngles[r] = 360.0;
        endRampFrequencies[r] = owner->rateFrequency;
    }
    std::fill(std::begin(actionRampStep), std::end(actionRampStep), 1.0);
}

ViewRampingModel::ViewPointModel::~ViewPointModel() = default;

void ViewRampingModel::ViewPointModel::CopyFrom(const ViewPointModel& other)
{
    std::copy(std::begin(other.endRampRanges), std::end(other.endRampRanges), endRampRanges);
    std::copy(std::begin(other.endRampAngles), std::end(other.endRampAngles), endRampAngles);
    std::copy(std::begin(other.endRampFrequencies), std::end(other.endRampFrequencies), endRampFrequencies);
    std::copy(std::begin(other.actionRampStep), std::end(other.actionRampStep), actionRampStep);
    faultActionPort = other.faultActionPort;
    faultActionItem = other.faultActionItem;
    functionType = other.functionType;
    settingTime = other.settingTime;
    devTime = other.devTime;
    testResult = other.testResult;
}

double* ViewRampingModel::ViewPointModel::endItem(int item)
{
    switch (item) {
    case RAMP_ITEM_TYPE_ANGLE: return endRampAngles;
    case RAMP_ITEM_TYPE_FREQUENCY: return endRampFrequencies;
    default: return endRampRanges;
    }
}

double ViewRampingModel::ViewPointModel::endValue() const
{
    return const_cast<ViewPointModel*>(this)->endItem(faultActionItem)[faultActionPort];
}

// ---- State ----------------------------------------------------------------------------------

ViewRampingModel::ViewStateModel::ViewStateModel(const ViewRampingModel* owner)
    : testState(AO_STATE_TYPE_INITING)
    , outputLinkType(AO_LINKSTATE_TYPE_INITIATE)
    , stepTime(2.0)
    , outputBILogicType(AO_BILOGIC_TYPE_OR)
    , activePointIndex(0)
    , tempPoint(new ViewPointModel(owner))
    , owner(owner)
{
    static const double kAngles[8] = {0.0, 240.0, 120.0, 0.0, 0.0, 240.0, 120.0, 0.0};
    const double rated = owner->rateVoltage;
    for (int p = 0; p < 8; ++p) {
        outputRanges[p] = 0.0;
        outputAngles[p] = kAngles[p];
        outputFrequencies[p] = owner->rateFrequency;
    }
    outputRanges[AO_PORT_TYPE_UB] = rated;
    outputRanges[AO_PORT_TYPE_UC] = rated;
    if (owner->volPhasesType == PHASES_TYPE_FOUR)
        outputRanges[AO_PORT_TYPE_UX] = rated;
    std::fill(std::begin(outputBIStates), std::end(outputBIStates), qint32(AO_BI_STATE_ALL));
    std::fill(std::begin(outputBOStates), std::end(outputBOStates), 0);
    clearResults();
}

ViewRampingModel::ViewStateModel::~ViewStateModel() = default;

void ViewRampingModel::ViewStateModel::clearResults()
{
    for (int b = 0; b < 4; ++b) {
        actionTimes[b] = kNaN;
        clearRecord(actionValue[b]);
        actionBIStates[b] = -1;
    }
    relayNotReset = false;
}

void ViewRampingModel::ViewStateModel::CopyFrom(const ViewStateModel& other, bool withPoints)
{
    testState = other.testState;
    outputLinkType = other.outputLinkType;
    stepTime = other.stepTime;
    activePointIndex = other.activePointIndex;
    outputBILogicType = other.outputBILogicType;
    std::copy(std::begin(other.outputBIStates), std::end(other.outputBIStates), outputBIStates);
    std::copy(std::begin(other.outputBOStates), std::end(other.outputBOStates), outputBOStates);
    std::copy(std::begin(other.outputRanges), std::end(other.outputRanges), outputRanges);
    std::copy(std::begin(other.outputAngles), std::end(other.outputAngles), outputAngles);
    std::copy(std::begin(other.outputFrequencies), std::end(other.outputFrequencies), outputFrequencies);
    std::copy(std::begin(other.actionTimes), std::end(other.actionTimes), actionTimes);
    std::copy(std::begin(other.actionValue), std::end(other.actionValue), actionValue);
    std::copy(std::begin(other.actionBIStates), std::end(other.actionBIStates), actionBIStates);
    relayNotReset = other.relayNotReset;
    tempPoint->CopyFrom(*other.tempPoint);
    testPoints.clear();
    if (!withPoints)
        return;
    for (const auto& point : other.testPoints) {
        testPoints.emplace_back(new ViewPointModel(owner));
        testPoints.back()->CopyFrom(*point);
    }
}

double* ViewRampingModel::ViewStateModel::outputItem(int item)
{
    return const_cast<double*>(static_cast<const ViewStateModel*>(this)->outputItem(item));
}

const double* ViewRampingModel::ViewStateModel::outputItem(int item) const
{
    const double* values = itemArray(item, outputRanges, outputAngles, outputFrequencies);
    return values ? values : outputRanges;
}

ViewRampingModel::ViewPointModel& ViewRampingModel::ViewStateModel::firstPoint()
{
    return testPoints.empty() ? *tempPoint : *testPoints.front();
}

const ViewRampingModel::ViewPointModel& ViewRampingModel::ViewStateModel::firstPoint() const
{
    return testPoints.empty() ? *tempPoint : *testPoints.front();
}

// ---- Model ----------------------------------------------------------------------------------

ViewRampingModel::ViewRampingModel(QObject* parent)
    : ViewSourceTestModel(TEST_RAMPING, parent)
    , tempState(new ViewStateModel(this))
    , activeStateIndex(0)
{
    addState();
    normalTime = 1.0;
    intervalTime = 0.2;
    normalEnable = false;
    intervalEnable = false;
}

ViewRampingModel::~ViewRampingModel() = default;

ViewRampingModel::ViewStateModel& ViewRampingModel::stateAt(int index)
{
    return validState(index) ? *testStates[size_t(index)] : *tempState;
}

const ViewRampingModel::ViewStateModel& ViewRampingModel::stateAt(int index) const
{
    return validState(index) ? *testStates[size_t(index)] : *tempState;
}

ViewRampingModel::ViewPointModel& ViewRampingModel::pointAt(int index)
{
    return validState(index) ? testStates[size_t(index)]->firstPoint() : *tempState->tempPoint;
}

const ViewRampingModel::ViewPointModel& ViewRampingModel::pointAt(int index) const
{
    return validState(index) ? testStates[size_t(index)]->firstPoint() : *tempState->tempPoint;
}

// ---- Ramp settings of the buffer -----------------------------------------------------------------

void ViewRampingModel::setEndRampValue(double endRamp)
{
    ViewPointModel& point = *tempState->tempPoint;
    point.endItem(point.faultActionItem)[point.faultActionPort] = endRamp;
}

double ViewRampingModel::getEndRampValue() const
{
    return tempState->tempPoint->endValue();
}

void ViewRampingModel::setRampStepValue(double stepRamp)
{
    ViewPointModel& point = *tempState->tempPoint;
    point.actionRampStep[point.faultActionItem] = stepRamp;
}

double ViewRampingModel::getRampStepValue() const
{
    const ViewPointModel& point = *tempState->tempPoint;
    return point.actionRampStep[point.faultActionItem];
}

void ViewRampingModel::setStepTimeValue(double time)
{
    tempState->stepTime = time;
}

double ViewRampingModel::getStepTimeValue() const
{
    return tempState->stepTime;
}

void ViewRampingModel::setFaultActionPort(int port)
{
    ViewPointModel& point = *tempState->tempPoint;
    point.faultActionPort = rampPortFromRow(port, point.faultActionPort);
}

int ViewRampingModel::getFaultActionPort() const
{
    return rowFromRampPort(tempState->tempPoint->faultActionPort);
}

void ViewRampingModel::setFaultActionItem(RampItemType actionItem)
{
    if (isRampItem(actionItem))
        tempState->tempPoint->faultActionItem = actionItem;
}

int ViewRampingModel::getFaultActionItem() const
{
    return tempState->tempPoint->faultActionItem;
}

void ViewRampingModel::setLinkStateType(AOLinkStateType linkType)
{
    if (linkType == AO_LINKSTATE_TYPE_CONTINUE || linkType == AO_LINKSTATE_TYPE_INITIATE)
        tempState->outputLinkType = linkType;
}

int ViewRampingModel::getLinkStateType() const
{
    return tempState->outputLinkType;
}

void ViewRampingModel::setFunction(int function)
{
    tempState->tempPoint->functionType = function;
}

// ---- Per state ------------------------------------------------------------------------------

int ViewRampingModel::getFunction(int index) const
{
    return pointAt(index).functionType;
}

void ViewRampingModel::setSettingTime(int index, double time)
{
    tempState->tempPoint->settingTime = time;
    if (validState(index))
        pointAt(index).settingTime = time;
}

void ViewRampingModel::setDevTime(int index, double time)
{
    tempState->tempPoint->devTime = time;
    if (validState(index))
        pointAt(index).devTime = time;
}

double ViewRampingModel::getSettingTimes(int index) const
{
    return pointAt(index).settingTime;
}

double ViewRampingModel::getDevTimes(int index) const
{
    return pointAt(index).devTime;
}

int ViewRampingModel::getFaultActionPort(int rowIndex) const
{
    return validState(rowIndex) ? rowFromRampPort(pointAt(rowIndex).faultActionPort) : 0;
}

int ViewRampingModel::getFaultActionItemByIndex(int index) const
{
    return pointAt(index).faultActionItem;
}

int ViewRampingModel::getTestStates(int index) const
{
    return stateAt(index).testState;
}

bool ViewRampingModel::getRelayNotReset(int index) const
{
    const ViewStateModel& state = stateAt(index);
    return state.testState == AO_STATE_TYPE_COMPLETED && state.relayNotReset;
}

QString ViewRampingModel::getTripTimeWord(int index) const
{
    if (!validState(index))
        return QString();
    const ViewStateModel& state = stateAt(index);
    return tripTimeWord(state.testState == AO_STATE_TYPE_COMPLETED, state.relayNotReset, getActionTimes(index));
}

int ViewRampingModel::firstActionInput(const ViewStateModel& state) const
{
    for (int b = 0; b < 4; ++b) {
        if (!std::isnan(state.actionTimes[b]))
            return b;
    }
    return -1;
}

void ViewRampingModel::doCalculate(ViewStateModel& state)
{
    const int b = firstActionInput(state);
    ViewPointModel& point = state.firstPoint();
    const bool completed = state.testState == AO_STATE_TYPE_COMPLETED;
    if (completed && state.relayNotReset) {
        point.testResult = AO_Result_TYPE_FAILED;
    } else if (b < 0) {
        point.testResult = completed ? AO_Result_TYPE_FAILED : AO_Result_TYPE_NONE;
    } else if (completed) {
        point.testResult = ViewVerdict::timeWithin(point.settingTime, std::fabs(point.devTime), state.actionTimes[b])
                               ? AO_Result_TYPE_SUCCESS
                               : AO_Result_TYPE_FAILED;
    }
}

int ViewRampingModel::getTestResults(int index)
{
    ViewStateModel& state = stateAt(index);
    doCalculate(state);
    return state.firstPoint().testResult;
}

double ViewRampingModel::getActionTimes(int index) const
{
    const ViewStateModel& state = stateAt(index);
    const int b = firstActionInput(state);
    return state.actionTimes[b < 0 ? 0 : b];
}

QString ViewRampingModel::getActionValue(int index) const
{
    const ViewStateModel& state = stateAt(index);
    const int b = firstActionInput(state);
    return getActionValueStr(state.actionValue[b < 0 ? 0 : b]);
}

int ViewRampingModel::getBinaryInputIndex(int index) const
{
    const int b = firstActionInput(stateAt(index));
    return b < 0 ? -1 : b + 1;
}

QString ViewRampingModel::unitOf(int group, int item)
{
    switch (item) {
    case RAMP_ITEM_TYPE_ANGLE: return QString::fromUtf8("°");
    case RAMP_ITEM_TYPE_FREQUENCY: return QStringLiteral("Hz");
    default: return isVoltageGroup(group) ? QStringLiteral("V") : QStringLiteral("A");
    }
}

QString ViewRampingModel::getUnitText(int index) const
{
    const ViewPointModel& point = pointAt(index);
    return unitOf(point.faultActionPort, point.faultActionItem);
}

QString ViewRampingModel::getActionValueStr(const faultActionValStruct& actionValue) const
{
    QStringList parts;
    const int count = std::clamp(actionValue.portCnt, 0, 3);
    for (int k = 0; k < count; ++k) {
        const double value = actionValue.actionVal[k];
        parts << doubleFormatToString(value, value >= 1000.0 ? 1 : 3);
    }
    return parts.join(QStringLiteral("; "));
}

// ---- Binary inputs and outputs ------------------------------------------------------------------
// A setting of the active state goes to the buffer too, which holds its copy.

void ViewRampingModel::setOutputBIState(int index, int biindex, int bi)
{
    if (biindex < 0 || biindex > 3 || bi < AO_BI_STATE_NONE || bi > AO_BI_STATE_ALL)
        return;
    stateAt(index).outputBIStates[biindex] = bi;
    if (validState(index) && index == activeStateIndex)
        tempState->outputBIStates[biindex] = bi;
}

int ViewRampingModel::getOutputBIState(int index, int biindex) const
{
    return biindex >= 0 && biindex <= 3 ? stateAt(index).outputBIStates[biindex] : 0;
}

void ViewRampingModel::setOutputBILogic(int index, AOBILogicType logic)
{
    if (logic != AO_BILOGIC_TYPE_OR && logic != AO_BILOGIC_TYPE_AND)
        return;
    stateAt(index).outputBILogicType = logic;
    if (validState(index) && index == activeStateIndex)
        tempState->outputBILogicType = logic;
}

int ViewRampingModel::getOutputBILogic(int index) const
{
    return stateAt(index).outputBILogicType;
}

void ViewRampingModel::setOutputBOState(int index, int boindex, int bo)
{
    if (boindex < 0 || boindex > 3)
        return;
    stateAt(index).outputBOStates[boindex] = bo != 0 ? 1 : 0;
    if (validState(index) && index == activeStateIndex)
        tempState->outputBOStates[boindex] = bo != 0 ? 1 : 0;
}

int ViewRampingModel::getOutputBOState(int index, int boindex) const
{
    return boindex >= 0 && boindex <= 3 ? stateAt(index).outputBOStates[boindex] : 0;
}

void ViewRampingModel::setOutputBOState(int boindex, int bo)
{
    setOutputBOState(getActiveIndex(), boindex, bo);
}

int ViewRampingModel::getOutputBOState(int boindex) const
{
    return getOutputBOState(getActiveIndex(), boindex);
}

// ---- List --------------------------------------------------------------------------------------

int ViewRampingModel::getStatesCount() const
{
    return int(testStates.size());
}

int ViewRampingModel::getActiveIndex() const
{
    if (testStates.empty())
        return -1;
    return validState(activeStateIndex) ? activeStateIndex : 0;
}

void ViewRampingModel::setActiveIndex(int index)
{
    activeStateIndex = validState(index) ? index : 0;
    if (testStates.empty())
        return;
    const ViewStateModel& state = *testStates[size_t(activeStateIndex)];
    tempState->CopyFrom(state, true);
    // The page edits the state's ramp: its first point.
    tempState->tempPoint->CopyFrom(state.firstPoint());
}

void ViewRampingModel::addState()
{
    if (int(testStates.size()) >= kMaxStates)
        return;
    const ViewPointModel& judged = *tempState->tempPoint;
    const QString problem = stepReachProblem(tempState->stepTime, judged.settingTime, judged.devTime);
    if (!problem.isEmpty()) {
        showUserMessage(problem);
        return;
    }
    std::unique_ptr<ViewStateModel> state(new ViewStateModel(this));
    state->CopyFrom(*tempState, false);
    state->testPoints.emplace_back(new ViewPointModel(this));
    state->testPoints.back()->CopyFrom(*tempState->tempPoint);
    state->testPoints.back()->testResult = AO_Result_TYPE_NONE;
    state->clearResults();
    state->testState = AO_STATE_TYPE_INITING;
    testStates.push_back(std::move(state));
    setActiveIndex(int(testStates.size()) - 1);
}

void ViewRampingModel::removeState()
{
    if (!validState(activeStateIndex))
        return;
    testStates.erase(testStates.begin() + activeStateIndex);
    const int count = int(testStates.size());
    setActiveIndex(activeStateIndex < count ? activeStateIndex : count - 1);
}

// ---- Outputs -------------------------------------------------------------------------------------

template <typename Edit>
void ViewRampingModel::editOutputs(Edit edit)
{
    edit(*tempState);
    if (validState(activeStateIndex))
        edit(*testStates[size_t(activeStateIndex)]);
}

void ViewRampingModel::setOutputRange(AOPortType port, double range)
{
    if (isPort(port))
        editOutputs([&](ViewStateModel& s) { s.outputRanges[port] = range; });
}

void ViewRampingModel::setOutputAngle(AOPortType port, double angle)
{
    if (isPort(port))
        editOutputs([&](ViewStateModel& s) { s.outputAngles[port] = angle; });
}

void ViewRampingModel::setOutputFrequency(AOPortType port, double frequency)
{
    if (isPort(port))
        editOutputs([&](ViewStateModel& s) { s.outputFrequencies[port] = frequency; });
}

double ViewRampingModel::getOutputRange(AOPortType port) const
{
    return isPort(port) ? tempState->outputRanges[port] : 0.0;
}

double ViewRampingModel::getOutputAngle(AOPortType port) const
{
    return isPort(port) ? tempState->outputAngles[port] : 0.0;
}

double ViewRampingModel::getOutputFrequency(AOPortType port) const
{
    return isPort(port) ? tempState->outputFrequencies[port] : 0.0;
}

bool ViewRampingModel::getOutputEnable(AOPortType port, int index) const
{
    if (!isPort(port))
        return true;
    const ViewPointModel& point = *tempState->tempPoint;
    return !(index == point.faultActionItem && groupIndexOf(point.faultActionPort, port) >= 0);
}

void ViewRampingModel::setRateRange(AOPortType port)
{
    if (isPort(port))
        editOutputs([&](ViewStateModel& s) { quickSetRateRange(s.outputRanges, port); });
}

void ViewRampingModel::setBalanceRange(AOPortType port)
{
    if (!isPort(port))
        return;
    const int first = isVoltagePort(port) ? AO_PORT_TYPE_UA : AO_PORT_TYPE_IA;
    const double value = tempState->outputRanges[port];
    editOutputs([&](ViewStateModel& s) { std::fill(s.outputRanges + first, s.outputRanges + first + 4, value); });
}

void ViewRampingModel::setPositiveAngle(AOPortType port, bool pos)
{
    if (isPort(port))
        editOutputs([&](ViewStateModel& s) { quickSetPositiveAngle(s.outputAngles, port, pos); });
}

void ViewRampingModel::setRateFrequency(AOPortType port)
{
    if (isPort(port))
        editOutputs([&](ViewStateModel& s) { quickSetRateFrequency(s.outputFrequencies, port); });
}

void ViewRampingModel::setBalanceFrequency(AOPortType port)
{
    if (isPort(port))
        editOutputs([&](ViewStateModel& s) { quickSetBalanceFrequency(s.outputFrequencies, port); });
}

// ---- Start check and expansion ---------------------------------------------------------------------

double ViewRampingModel::slotBeginValue(int group, const double values[8], double end)
{
    int channels[3];
    const int count = groupChannels(group, channels);
    if (count == 0)
        return end;
    double begin = values[channels[0]];
    for (int k = 1; k < count; ++k) {
        const double v = values[channels[k]];
        if (std::fabs(end - v) > std::fabs(end - begin))
            begin = v;
    }
    return begin;
}

bool ViewRampingModel::checkStart()
{
    if (testStates.empty()) {
        showUserMessage(tr("没有测试状态，请先添加状态。"));
        return false;
    }
    const int count = std::min(int(testStates.size()), kMaxStates);
    for (int i = 0; i < count; ++i) {
        const ViewStateModel& state = *testStates[size_t(i)];
        const QString name = tr("状态%1：").arg(i + 1);
        if (!(state.stepTime > 0.0) || !std::isfinite(state.stepTime)) {
            showUserMessage(name + tr("步长时间必须大于零。"));
            return false;
        }
        const QString reach =
            stepReachProblem(state.stepTime, state.firstPoint().settingTime, state.firstPoint().devTime);
        if (!reach.isEmpty()) {
            showUserMessage(name + reach);
            return false;
        }
        const int points = std::min(int(state.testPoints.size()), kMaxPoints);
        for (int j = 0; j < points; ++j) {
            const ViewPointModel& point = *state.testPoints[size_t(j)];
            const double step = point.actionRampStep[point.faultActionItem];
            if (step == 0.0)
                continue;   // an unused slot
            int channels[3];
            const int n = groupChannels(point.faultActionPort, channels);
            const QString problem = rampProblem(state.outputItem(point.faultActionItem), channels, n,
                                                step > 0.0 ? 1 : -1, point.endValue(), std::fabs(step),
                                                state.stepTime);
            if (!problem.isEmpty()) {
                showUserMessage(name + problem);
                return false;
            }
        }
    }
    return true;
}

void ViewRampingModel::pushToEntity(DATAType type)
{
    // Each state is three: the pre-fault, the ramp and the interval.
    const auto writeStates = [this](ModelRampingEntity* entity) {
        using E = ModelRampingEntity;
        const int count = std::min(int(testStates.size()), kMaxStates);
        entity->stateCount = 3 * count;
        for (int i = 0; i < count; ++i) {
            const ViewStateModel& state = *testStates[size_t(i)];
            const int phases[3] = {3 * i, 3 * i + 1, 3 * i + 2};
            const OutputEntity* blocks[3] = {&normalOutput, nullptr, &intervalOutput};
            for (int k = 0; k < 3; ++k) {
                const int s = phases[k];
                const double* ranges = blocks[k] ? blocks[k]->outputRanges : state.outputRanges;
                const double* angles = blocks[k] ? blocks[k]->outputAngles : state.outputAngles;
                const double* frequencies = blocks[k] ? blocks[k]->outputFrequencies : state.outputFrequencies;
                std::copy(ranges, ranges + 8, entity->stateOutputRanges[s]);
                std::copy(angles, angles + 8, entity->stateOutputAngles[s]);
                std::copy(frequencies, frequencies + 8, entity->stateOutputFrequencies[s]);
                const bool ramp = k == 1;
                for (int b = 0; b < 4; ++b) {
                    entity->stateOutputBIStates[s][b] = ramp ? state.outputBIStates[b] : 0;
                    entity->stateOutputBOStates[s][b] = ramp ? state.outputBOStates[b] : 0;
                }
                entity->stateBILogicTypes[s] = ramp ? E::AOBILogicType(state.outputBILogicType)
                                                    : E::AOBILogicType(AO_BILOGIC_TYPE_OR);
                entity->stateTriggerTypes[s] = E::AOTriggerType(ramp ? AO_TRIGGER_TYPE_TIME_BINARY
                                                                     : AO_TRIGGER_TYPE_TIME);
                for (int j = 0; j < E::kRampSlots; ++j) {
                    entity->rampItems[s][j] = E::RampItemType(RAMP_ITEM_TYPE_RANGE);
                    entity->rampPorts[s][j] = E::RampPortType(RAMP_PORT_TYPE_UA);
                    entity->rampStepValues[s][j] = 0.0;
                    entity->rampBeginValues[s][j] = 0.0;
                    entity->rampEndValues[s][j] = 0.0;
                }
            }
            const bool preFault = normalEnable && (!outputOnceOnly || i == 0);
            entity->stateOutputTimes[phases[0]] = preFault ? normalTime : 0.0;
            entity->stateOutputTimes[phases[1]] = state.stepTime;
            entity->stateOutputTimes[phases[2]] = intervalEnable ? intervalTime : 0.0;
            entity->stateOutputLinkTypes[phases[0]] = E::AOLinkStateType(AO_LINKSTATE_TYPE_INITIATE);
            entity->stateOutputLinkTypes[phases[1]] = E::AOLinkStateType(state.outputLinkType);
            entity->stateOutputLinkTypes[phases[2]] = E::AOLinkStateType(AO_LINKSTATE_TYPE_CONTINUE);

            const int s = phases[1];
            const int points = std::min(int(state.testPoints.size()), int(E::kRampSlots));
            for (int j = 0; j < points; ++j) {
                const ViewPointModel& point = *state.testPoints[size_t(j)];
                const double end = point.endValue();
                entity->rampItems[s][j] = E::RampItemType(point.faultActionItem);
                entity->rampPorts[s][j] = E::RampPortType(point.faultActionPort);
                entity->rampStepValues[s][j] = point.actionRampStep[point.faultActionItem];
                entity->rampEndValues[s][j] = end;
                entity->rampBeginValues[s][j] = slotBeginValue(point.faultActionPort,
                                                               state.outputItem(point.faultActionItem), end);
            }
        }
        const ControllerConfiguration* config = center()->testConfiguration;
        entity->maxVoltage = config->maxVRange;
        entity->maxCurrent = config->maxIRange;
    };
    pushEntity(center()->testTestor->dataRamping, type, {DATA_TYPE_TEST_OUTPUTDATA}, writeStates);
}

// ---- Back from the entity ---------------------------------------------------------------------------

void ViewRampingModel::doUpdateEntToVM(DATAType type, int subType)
{
    // The frame brings the outputs back on types 6 to 8 only.
    if (type == DATA_TYPE_RT_STATE && isOwnEngineType() && !othersRun())
        pullStates();
    ViewSourceTestModel::doUpdateEntToVM(type, subType);
}

void ViewRampingModel::pullOutputs()
{
    pullStates();
}

void ViewRampingModel::pullStates()
{
    ModelRampingEntity* entity = center()->testTestor->dataRamping;
    QMutexLocker lock(&entity->entityLock);
    const int count = std::min(int(testStates.size()), kMaxStates);
    for (int i = 0; i < count; ++i) {
        testStates[size_t(i)]->testState = AOTestStateType(entity->stateTestStates[3 * i + 1]);
        testStates[size_t(i)]->relayNotReset = entity->stateBeganUnreset[3 * i + 1];
    }
    // The ramp as it runs; before a run and after it the buffer is the
    // active state's (the stop reloads it).
    if (!isTestRunning())
        return;
    std::copy(std::begin(entity->outputRanges), std::end(entity->outputRanges), tempState->outputRanges);
    std::copy(std::begin(entity->outputAngles), std::end(entity->outputAngles), tempState->outputAngles);
    std::copy(std::begin(entity->outputFrequencies), std::end(entity->outputFrequencies), tempState->outputFrequencies);
}

void ViewRampingModel::pullResults()
{
    ModelRampingEntity* entity = center()->testTestor->dataRamping;
    QMutexLocker lock(&entity->entityLock);
    const int count = std::min(int(testStates.size()), kMaxStates);
    for (int i = 0; i < count; ++i) {
        ViewStateModel& state = *testStates[size_t(i)];
        const int s = 3 * i + 1;
        for (int b = 0; b < 4; ++b) {
            state.actionTimes[b] = entity->stateActionTimes[s][b];
            takeRecord(state.actionValue[b], entity->stateActionValue[s][b]);
            state.actionBIStates[b] = entity->stateActionBIStates[s][b];
        }
        state.relayNotReset = entity->stateBeganUnreset[s];
    }
}

void ViewRampingModel::beginResults()
{
    const int count = std::min(int(testStates.size()), kMaxStates);
    for (int i = 0; i < count; ++i)
        testStates[size_t(i)]->testState = AO_STATE_TYPE_INITING;
    setActiveIndex(0);
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
}

void ViewRampingModel::startResults()
{
    for (const auto& state : testStates)
        state->clearResults();
    beginResults();
}

void ViewRampingModel::settleResults()
{
    ModelRampingEntity* entity = center()->testTestor->dataRamping;
    {
        QMutexLocker lock(&entity->entityLock);
        const int count = std::min(int(testStates.size()), kMaxStates);
        for (int i = 0; i < count; ++i) {
            ViewStateModel& state = *testStates[size_t(i)];
            if (state.testState != AO_STATE_TYPE_RUNNNING)
                continue;
            // A ramp the stop ended without a trip has not been tested.
            const int s = 3 * i + 1;
            const double(&times)[4] = entity->stateActionTimes[s];
            const bool tripped = std::any_of(std::begin(times), std::end(times), [](double t) { return !std::isnan(t); });
            const bool ended = entity->stateTestStates[s] == ModelEntity::AO_STATE_TYPE_COMPLETED;
            state.testState = tripped || ended ? AO_STATE_TYPE_COMPLETED : AO_STATE_TYPE_INITING;
            entity->stateTestStates[s] = ModelRampingEntity::AOTestStateType(state.testState);
        }
    }
    // The buffer showed the ramp: the active state's values again.
    setActiveIndex(activeStateIndex);
}

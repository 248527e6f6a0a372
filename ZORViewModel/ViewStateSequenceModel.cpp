// ViewStateSequenceModel: the state list, its quick-set keys, the push at a
// start and the run's marks and results.

#include "ViewStateSequenceModel.h"

#include "BaseDataPhaseValue.h"
#include "BaseModelDataDistance.h"
#include "ControllerCenter.h"
#include "ModelStateSequenceEntity.h"

#include <QCoreApplication>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool validInput(int k)
{
    return k >= 0 && k < 4;
}

ModelStateSequenceEntity* entityOf(ControllerCenter* center)
{
    return center->testTestor->dataStateSequence;
}

} // namespace

// ---- One state ---------------------------------------------------------------------------------

ViewStateSequenceModel::ViewSequenceStateModel::ViewSequenceStateModel()
    : outputTime(1.0)
    , triggerTime(kNaN)
    , outputTriggerType(AO_TRIGGER_TYPE_TIME)
    , outputLinkType(AO_LINKSTATE_TYPE_CONTINUE)
    , outputBILogicType(AO_BILOGIC_TYPE_OR)
    , testState(AO_STATE_TYPE_INITING)
{
    std::fill(std::begin(outputRanges), std::end(outputRanges), 0.0);
    std::fill(std::begin(outputAngles), std::end(outputAngles), 0.0);
    std::fill(std::begin(outputFrequencies), std::end(outputFrequencies), 0.0);
    std::fill(std::begin(outputBOStates), std::end(outputBOStates), 0);
    std::fill(std::begin(outputBIStates), std::end(outputBIStates), qint32(AO_BI_STATE_ALL));
    std::fill(std::begin(actionTimes), std::end(actionTimes), kNaN);
    std::fill(std::begin(actionBIStates), std::end(actionBIStates), -1);
}

void ViewStateSequenceModel::ViewSequenceStateModel::Initialize(double voltage, double current, double frequency,
                                                                PhasesType volPhases, PhasesType curPhases)
{
    *this = ViewSequenceStateModel();
    outputLinkType = AO_LINKSTATE_TYPE_INITIATE;
    static const double kAngles[4] = {0.0, 240.0, 120.0, 0.0};
    for (int p = 0; p < 8; ++p) {
        const bool voltagePort = p < 4;
        const bool present = p % 4 != 3 || (voltagePort ? volPhases : curPhases) == PHASES_TYPE_FOUR;
        outputRanges[p] = present ? (voltagePort ? voltage : current) : 0.0;
        outputAngles[p] = kAngles[p % 4];
        outputFrequencies[p] = present ? frequency : 0.0;
    }
}

// ---- The model ---------------------------------------------------------------------------------

ViewStateSequenceModel::ViewStateSequenceModel(QObject* parent)
    : ViewSourceTestModel(TEST_STATESEQUENCE, parent)
    , activeStateIndex(0)
    , activeAssessIndex(0)
    , lastBOEventState(-1)
{
    std::fill(&loggedActionTimes[0][0], &loggedActionTimes[0][0] + kMaxStates * 4, kNaN);
    for (int s = 0; s < 3; ++s) {
        testStates.push_back(initialisedState());
        if (s > 0)
            testStates.back().outputLinkType = AO_LINKSTATE_TYPE_CONTINUE;
    }
}

ViewStateSequenceModel::~ViewStateSequenceModel() = default;

ViewStateSequenceModel::ViewSequenceStateModel ViewStateSequenceModel::initialisedState() const
{
    ViewSequenceStateModel state;
    state.Initialize(rateVoltage, rateCurrent, rateFrequency, volPhasesType, curPhasesType);
    return state;
}

ViewStateSequenceModel::ViewSequenceStateModel ViewStateSequenceModel::newState() const
{
    ViewSequenceStateModel state;
    state.Initialize(0.0, 0.0, rateFrequency, volPhasesType, curPhasesType);
    state.outputLinkType = AO_LINKSTATE_TYPE_CONTINUE;
    return state;
}

void ViewStateSequenceModel::testKeyPress()
{
    center()->testKeyPress();
}

// ---- States ------------------------------------------------------------------------------------

void ViewStateSequenceModel::setOutputRange(int index, AOPortType port, double range)
{
    if (validState(index) && isPort(port))
        testStates[size_t(index)].outputRanges[port] = range;
}

void ViewStateSequenceModel::setOutputAngle(int index, AOPortType port, double angle)
{
    if (validState(index) && isPort(port))
        testStates[size_t(index)].outputAngles[port] = angle;
}

void ViewStateSequenceModel::setOutputFrequency(int index, AOPortType port, double frequency)
{
    if (validState(index) && isPort(port))
        testStates[size_t(index)].outputFrequencies[port] = frequency;
}

double ViewStateSequenceModel::getOutputRange(int index, AOPortType port) const
{
    return validState(index) && isPort(port) ? testStates[size_t(index)].outputRanges[port] : 0.0;
}

double ViewStateSequenceModel::getOutputAngle(int index, AOPortType port) const
{
    return validState(index) && isPort(port) ? testStates[size_t(index)].outputAngles[port] : 0.0;
}

double ViewStateSequenceModel::getOutputFrequency(int index, AOPortType port) const
{
    return validState(index) && isPort(port) ? testStates[size_t(index)].outputFrequencies[port] : 0.0;
}

void ViewStateSequenceModel::setOutputTime(int index, double time)
{
    if (validState(index))
        testStates[size_t(index)].outputTime = time;
}

double ViewStateSequenceModel::getOutputTime(int index) const
{
    return validState(index) ? testStates[size_t(index)].outputTime : 0.0;
}

void ViewStateSequenceModel::setOutputBOState(int index, int boindex, int bo)
{
    if (validState(index) && validInput(boindex))
        testStates[size_t(index)].outputBOStates[boindex] = bo != 0 ? 1 : 0;
}

int ViewStateSequenceModel::getOutputBOState(int index, int boindex) const
{
    return validState(index) && validInput(boindex) ? testStates[size_t(index)].outputBOStates[boindex] : 0;
}

void ViewStateSequenceModel::setOutputBIState(int index, int biindex, int bi)
{
    if (validState(index) && validInput(biindex) && bi >= AO_BI_STATE_NONE && bi <= AO_BI_STATE_ALL)
        testStates[size_t(index)].outputBIStates[biindex] = bi;
}

int ViewStateSequenceModel::getOutputBIState(int index, int biindex) const
{
    return validState(index) && validInput(biindex) ? testStates[size_t(index)].outputBIStates[biindex] : 0;
}

void ViewStateSequenceModel::setOutputBILogic(int index, AOBILogicType logic)
{
    if (validState(index) && (logic == AO_BILOGIC_TYPE_OR || logic == AO_BILOGIC_TYPE_AND))
        testStates[size_t(index)].outputBILogicType = logic;
}

int ViewStateSequenceModel::getOutputBILogic(int index) const
{
    return validState(index) ? testStates[size_t(index)].outputBILogicType : AO_BILOGIC_TYPE_OR;
}

void ViewStateSequenceModel::setOutputLinkType(int index, AOLinkStateType linkType)
{
    if (validState(index) && (linkType == AO_LINKSTATE_TYPE_CONTINUE || linkType == AO_LINKSTATE_TYPE_INITIATE))
        testStates[size_t(index)].outputLinkType = linkType;
}

int ViewStateSequenceModel::getOutputLinkType(int index) const
{
    return validState(index) ? testStates[size_t(index)].outputLinkType : AO_LINKSTATE_TYPE_INITIATE;
}

void ViewStateSequenceModel::setTriggerType(int index, AOTriggerType actionType)
{
    if (validState(index) && actionType >= AO_TRIGGER_TYPE_TIME && actionType <= AO_TRIGGER_TYPE_GPS_IRIGB)
        testStates[size_t(index)].outputTriggerType = actionType;
}

int ViewStateSequenceModel::getTriggerType(int index) const
{
    return validState(index) ? testStates[size_t(index)].outputTriggerType : AO_TRIGGER_TYPE_TIME;
}

int ViewStateSequenceModel::getTestStates(int index) const
{
    return validState(index) ? testStates[size_t(index)].testState : AO_STATE_TYPE_INITING;
}

double ViewStateSequenceModel::getActionTimes(int index, int biindex) const
{
    return validState(index) && validInput(biindex) ? testStates[size_t(index)].actionTimes[biindex] : kNaN;
}

int ViewStateSequenceModel::getActionBIStates(int index, int biindex) const
{
    return validState(index) && validInput(biindex) ? testStates[size_t(index)].actionBIStates[biindex] : -1;
}

// ---- The list ------------------------------------------------------------------------------------

int ViewStateSequenceModel::getStateCount() const
{
    return int(testStates.size());
}

int ViewStateSequenceModel::getActiveIndex() const
{
    return validState(activeStateIndex) ? activeStateIndex : 0;
}

void ViewStateSequenceModel::setActiveIndex(int index)
{
    if (validState(index))
        activeStateIndex = index;
}

void ViewStateSequenceModel::activePrevState()
{
    activeStateIndex = std::clamp(activeStateIndex - 1, 0, getStateCount() - 1);
}

void ViewStateSequenceModel::activeNextState()
{
    activeStateIndex = std::clamp(activeStateIndex + 1, 0, getStateCount() - 1);
}

void ViewStateSequenceModel::addState()
{
    if (getStateCount() >= kMaxStates)
        return;
    testStates.push_back(newState());
    testStates.front().outputLinkType = AO_LINKSTATE_TYPE_INITIATE;
    activeStateIndex = getStateCount() - 1;
}

void ViewStateSequenceModel::insertState(int index)
{
    if (getStateCount() >= kMaxStates || !validState(index))
        return;
    testStates.insert(testStates.begin() + index, newState());
    testStates.front().outputLinkType = AO_LINKSTATE_TYPE_INITIATE;
    activeStateIndex = index;
}

void ViewStateSequenceModel::removeState(int index)
{
    if (getStateCount() <= 1 || !validState(index))
        return;
    testStates.erase(testStates.begin() + index);
    testStates.front().outputLinkType = AO_LINKSTATE_TYPE_INITIATE;
    if (activeStateIndex >= getStateCount())
        activeStateIndex = getStateCount() - 1;
}

// ---- Quick-set keys --------------------------------------------------------------------------------

void ViewStateSequenceModel::setRateRange(AOPortType port)
{
    quickSetRateRange(testStates[size_t(getActiveIndex())].outputRanges, port);
}

void ViewStateSequenceModel::setBalanceRange(AOPortType port)
{
    if (!isPort(port))
        return;
    double* ranges = testStates[size_t(getActiveIndex())].outputRanges;
    const int first = isVoltagePort(port) ? AO_PORT_TYPE_UA : AO_PORT_TYPE_IA;
    const double value = ranges[port];
    std::fill(ranges + first, ranges + first + 4, value);
}

void ViewStateSequenceModel::setPositiveAngle(AOPortType port, bool pos)
{
    quickSetPositiveAngle(testStates[size_t(getActiveIndex())].outputAngles, port, pos);
}

void ViewStateSequenceModel::setRateFrequency(AOPortType port)
{
    quickSetRateFrequency(testStates[size_t(getActiveIndex())].outputFrequencies, port);
}

void ViewStateSequenceModel::setBalanceFrequency(AOPortType port)
{
    quickSetBalanceFrequency(testStates[size_t(getActiveIndex())].outputFrequencies, port);
}

bool ViewStateSequenceModel::doComputerDistance()
{
    BaseDataPhaseValue values[8];
    if (!BaseModelDataDistance::getInstance()->compute(values)) {
        // The AC page's text: the same dialog, the same fault.
        showUserMessage(QCoreApplication::translate("ViewAlternateModel",
                                                    "故障无法计算，输出值未改变：请检查短路阻抗和计算模型。"));
        return false;
    }
    if (!validState(activeStateIndex))
        return false;
    ViewSequenceStateModel& state = testStates[size_t(activeStateIndex)];
    for (int p = 0; p < 8; ++p) {
        state.outputRanges[p] = values[p].getRange();
        state.outputAngles[p] = values[p].getAngle();
    }
    return true;
}

// ---- Engine ------------------------------------------------------------------------------------------

void ViewStateSequenceModel::doUpdateEntToVM(DATAType type, int subType)
{
    // The frame takes the marks with the outputs (types 6 to 8); a state
    // change (type 3) brings them too.
    if (type == DATA_TYPE_RT_STATE && isOwnEngineType() && !othersRun())
        pullMarks();
    ViewSourceTestModel::doUpdateEntToVM(type, subType);
}

bool ViewStateSequenceModel::checkStart()
{
    // A GPS/IRIG-B state without trigger times is the start's own rule (it
    // reads the times the instrument holds), as for a PC's start.
    for (size_t i = 0; i < assessList.size(); ++i) {
        const QString problem = assessReachProblem(int(i) + 1, assessList[i]);
        if (!problem.isEmpty()) {
            showUserMessage(problem);
            return false;
        }
    }
    return true;
}

void ViewStateSequenceModel::pushToEntity(DATAType type)
{
    // The list goes to the engine at a start only.
    pushEntity(entityOf(center()), type, {DATA_TYPE_TEST_OUTPUTDATA}, [this](ModelStateSequenceEntity* entity) {
        const int count = std::min(getStateCount(), int(ModelStateSequenceEntity::kMaxStates));
        entity->stateCount = count;
        runStateCount = count;
        for (int i = 0; i < count; ++i) {
            const ViewSequenceStateModel& s = testStates[size_t(i)];
            std::copy(std::begin(s.outputRanges), std::end(s.outputRanges), entity->stateOutputRanges[i]);
            std::copy(std::begin(s.outputAngles), std::end(s.outputAngles), entity->stateOutputAngles[i]);
            std::copy(std::begin(s.outputFrequencies), std::end(s.outputFrequencies),
                      entity->stateOutputFrequencies[i]);
            entity->stateOutputTimes[i] = s.outputTime;
            std::copy(std::begin(s.outputBIStates), std::end(s.outputBIStates), entity->stateOutputBIStates[i]);
            std::copy(std::begin(s.outputBOStates), std::end(s.outputBOStates), entity->stateOutputBOStates[i]);
            std::copy(std::begin(s.outputBOStates), std::end(s.outputBOStates), runBOStates[i]);
            entity->stateOutputLinkTypes[i] = ModelEntity::AOLinkStateType(s.outputLinkType);
            entity->stateBILogicTypes[i] = ModelEntity::AOBILogicType(s.outputBILogicType);
            entity->stateTriggerTypes[i] = ModelEntity::AOTriggerType(s.outputTriggerType);
        }
        const ControllerConfiguration* config = center()->testConfiguration;
        entity->formatLimitValue(config->maxVRange, config->maxIRange);
        entity->stateOutputLinkTypes[0] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    });
}

void ViewStateSequenceModel::pullMarks()
{
    if (!entityFollowsRun())
        return;
    ModelStateSequenceEntity* entity = entityOf(center());
    QMutexLocker lock(&entity->entityLock);
    const int n = std::min({entity->stateCount, getStateCount(), int(ModelStateSequenceEntity::kMaxStates)});
    for (int i = 0; i < n; ++i) {
        testStates[size_t(i)].triggerTime = entity->stateTriggerTimes[i];
        const int mark = entity->stateTestStates[i];
        if (mark >= AO_STATE_TYPE_INITING && mark <= AO_STATE_TYPE_COMPLETED)
            testStates[size_t(i)].testState = AOTestStateType(mark);
    }
}

void ViewStateSequenceModel::pullOutputs()
{
    // The page keeps showing the settings: only the marks come back.
    pullMarks();
}

void ViewStateSequenceModel::pullResults()
{
    {
        ModelStateSequenceEntity* entity = entityOf(center());
        QMutexLocker lock(&entity->entityLock);
        const int n = std::min({entity->stateCount, getStateCount(), int(ModelStateSequenceEntity::kMaxStates)});
        for (int i = 0; i < n; ++i) {
            ViewSequenceStateModel& s = testStates[size_t(i)];
            std::copy(std::begin(entity->stateActionTimes[i]), std::end(entity->stateActionTimes[i]), s.actionTimes);
            std::copy(std::begin(entity->stateActionBIStates[i]), std::end(entity->stateActionBIStates[i]),
                      s.actionBIStates);
        }
    }
    addBIEventRecord();
}

void ViewStateSequenceModel::beginResults()
{
    activeStateIndex = 0;
    lastBOEventState = -1;
    followingRun = true;
    std::fill(&loggedActionTimes[0][0], &loggedActionTimes[0][0] + kMaxStates * 4, kNaN);
    const int n = std::min(getStateCount(), kMaxStates);
    for (int i = 0; i < n; ++i)
        testStates[size_t(i)].testState = AO_STATE_TYPE_INITING;
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
}

void ViewStateSequenceModel::startResults()
{
    for (ViewSequenceStateModel& state : testStates) {
        std::fill(std::begin(state.actionTimes), std::end(state.actionTimes), kNaN);
        std::fill(std::begin(state.actionBIStates), std::end(state.actionBIStates), -1);
        state.triggerTime = kNaN;
    }
    clearEventRecorder();
    beginResults();
}

void ViewStateSequenceModel::settleResults()
{
    ModelStateSequenceEntity* entity = entityOf(center());
    QMutexLocker lock(&entity->entityLock);
    const int n = std::min(getStateCount(), kMaxStates);
    for (int i = 0; i < n; ++i) {
        if (testStates[size_t(i)].testState != AO_STATE_TYPE_RUNNNING)
            continue;
        testStates[size_t(i)].testState = AO_STATE_TYPE_COMPLETED;
        entity->stateTestStates[i] = ModelEntity::AO_STATE_TYPE_COMPLETED;
    }
}

double ViewStateSequenceModel::stateBeginTime(int s) const
{
    double time = 0.0;
    for (int i = 0; i < s && i < getStateCount(); ++i)
        time += testStates[size_t(i)].triggerTime;
    return time;
}

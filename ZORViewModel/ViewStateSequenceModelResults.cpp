// ViewStateSequenceModel: assessments and the event recorder.

#include "ViewStateSequenceModel.h"

#include "ViewVerdict.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Two action times closer than this are the same action.
constexpr double kSameEventTime = 1e-6;

} // namespace

// ---- Assessments ---------------------------------------------------------------------------------

bool ViewStateSequenceModel::addAssess()
{
    if (int(assessList.size()) >= kMaxAssessments)
        return false;
    assessList.emplace_back();
    activeAssessIndex = int(assessList.size()) - 1;
    return true;
}

bool ViewStateSequenceModel::removeAssess(int index)
{
    if (assessList.size() <= 1 || !validAssess(index))
        return false;
    assessList.erase(assessList.begin() + index);
    if (activeAssessIndex >= int(assessList.size()))
        activeAssessIndex = int(assessList.size()) - 1;
    return true;
}

bool ViewStateSequenceModel::clearAssess()
{
    const bool removed = !assessList.empty();
    while (!assessList.empty())
        assessList.pop_back();
    setAssessIndex(0);
    return removed;
}

void ViewStateSequenceModel::setAssessIndex(int index)
{
    if (validAssess(index))
        activeAssessIndex = index;
}

int ViewStateSequenceModel::getAssessIndex()
{
    if (!validAssess(activeAssessIndex))
        activeAssessIndex = 0;
    return activeAssessIndex;
}

int ViewStateSequenceModel::getAssessCount()
{
    Calculation();
    return int(assessList.size());
}

void ViewStateSequenceModel::setAssessStart(int index, int stateIndex)
{
    if (validAssess(index))
        assessList[size_t(index)].stateStart = stateIndex;
}

void ViewStateSequenceModel::setAssessStop(int index, int stateIndex)
{
    if (validAssess(index))
        assessList[size_t(index)].stateStop = stateIndex;
}

void ViewStateSequenceModel::setSettingTime(int index, double time)
{
    if (validAssess(index))
        assessList[size_t(index)].settingTime = time;
}

void ViewStateSequenceModel::setDevTime(int index, double time)
{
    if (validAssess(index))
        assessList[size_t(index)].devTime = time;
}

int ViewStateSequenceModel::getAssessStart(int index) const
{
    return validAssess(index) ? assessList[size_t(index)].stateStart : 0;
}

int ViewStateSequenceModel::getAssessStop(int index) const
{
    return validAssess(index) ? assessList[size_t(index)].stateStop : 0;
}

double ViewStateSequenceModel::getSettingTime(int index) const
{
    return validAssess(index) ? assessList[size_t(index)].settingTime : 0.0;
}

double ViewStateSequenceModel::getDevTime(int index) const
{
    return validAssess(index) ? assessList[size_t(index)].devTime : 0.0;
}

double ViewStateSequenceModel::getActionTime(int index) const
{
    return validAssess(index) ? assessList[size_t(index)].actionTime : 0.0;
}

int ViewStateSequenceModel::getAssessResult(int index) const
{
    return validAssess(index) ? assessList[size_t(index)].result : AO_Result_TYPE_NONE;
}

void ViewStateSequenceModel::Calculation()
{
    for (int i = 0; i < int(assessList.size()); ++i)
        Calculation(i);
}

void ViewStateSequenceModel::Calculation(int index)
{
    if (!validAssess(index))
        return;
    ViewAssessModel& a = assessList[size_t(index)];
    // A span outside the list (a negative index comes only from a file)
    // cannot be measured and fails.
    if (!validState(a.stateStart) || !validState(a.stateStop)) {
        a.actionTime = kNaN;
        a.result = AO_Result_TYPE_FAILED;
        return;
    }
    // The states from the lower index up to the higher one, not counting
    // the higher: the time from entering the one to entering the other. A
    // state that did not complete or has no duration leaves it unmeasured.
    const int lo = std::min(a.stateStart, a.stateStop);
    const int hi = std::max(a.stateStart, a.stateStop);
    const auto duration = [this](int i) {
        const ViewSequenceStateModel& s = testStates[size_t(i)];
        return s.testState == AO_STATE_TYPE_COMPLETED ? s.triggerTime : kNaN;
    };
    double sum = lo == hi ? duration(lo) : 0.0;
    for (int i = lo; i < hi && !std::isnan(sum); ++i)
        sum += duration(i);
    a.actionTime = sum;
    if (std::isnan(a.actionTime) || std::isnan(a.settingTime) || std::isnan(a.devTime)) {
        a.result = AO_Result_TYPE_NONE;
        return;
    }
    a.result = ViewVerdict::timeWithin(a.settingTime, a.devTime, a.actionTime) ? AO_Result_TYPE_SUCCESS
                                                                               : AO_Result_TYPE_FAILED;
}

QString ViewStateSequenceModel::assessReachProblem(int number, const ViewAssessModel& a) const
{
    const int count = std::min(getStateCount(), kMaxStates);
    if (a.stateStart < 0 || a.stateStop < 0 || a.stateStart >= count || a.stateStop >= count)
        return QString();
    const int lo = std::min(a.stateStart, a.stateStop);
    const int last = a.stateStart == a.stateStop ? lo : std::max(a.stateStart, a.stateStop) - 1;
    double shortest = 0.0;
    double longest = 0.0;
    bool tripEnds = false;
    for (int i = lo; i <= last; ++i) {
        const ViewSequenceStateModel& s = testStates[size_t(i)];
        if (s.outputTriggerType == AO_TRIGGER_TYPE_TIME) {
            shortest += s.outputTime;
            longest += s.outputTime;
        } else {
            tripEnds = true;
            longest += s.outputTriggerType == AO_TRIGGER_TYPE_TIME_BINARY ? s.outputTime
                                                                           : std::numeric_limits<double>::infinity();
        }
    }
    const double low = a.settingTime - std::fabs(a.devTime);
    const double high = a.settingTime + std::fabs(a.devTime);
    const auto seconds = [this](double t) {
        return doubleFormatToString(t, ViewVerdict::decimalsOf(t)) + QStringLiteral("s");
    };
    if (ViewVerdict::shorter(longest, tripEnds ? high : low))
        return tr("评估%1的时间范围为%2至%3，所选状态却最长只持续%4，试验未开始。")
            .arg(number)
            .arg(seconds(low), seconds(high), seconds(longest));
    if (ViewVerdict::shorter(high, shortest))
        return tr("评估%1的时间范围为%2至%3，所选状态却至少持续%4，试验未开始。")
            .arg(number)
            .arg(seconds(low), seconds(high), seconds(shortest));
    return QString();
}

// ---- Event recorder ---------------------------------------------------------------------------------

int ViewStateSequenceModel::getEventRecorderCnt() const
{
    return int(eventRecorderList.size());
}

void ViewStateSequenceModel::clearEventRecorder()
{
    eventRecorderList.clear();
}

double ViewStateSequenceModel::getEventRecorderTime(int index) const
{
    return validEvent(index) ? eventRecorderList[size_t(index)].tripTime : kNaN;
}

int ViewStateSequenceModel::getEventRecorderType(int index) const
{
    return validEvent(index) ? eventRecorderList[size_t(index)].tripType : -1;
}

QString ViewStateSequenceModel::getEventRecorderSignalName(int index) const
{
    return validEvent(index) ? QString::number(eventRecorderList[size_t(index)].signalName) : QString();
}

QString ViewStateSequenceModel::getEventRecorderSlop(int index) const
{
    return validEvent(index) ? eventRecorderList[size_t(index)].slope : QString();
}

void ViewStateSequenceModel::addEventItem(double time, int type, int signal, const QString& slope)
{
    if (int(eventRecorderList.size()) >= kMaxEvents)
        return;
    ViewEventRecorderModel event;
    event.tripTime = time;
    event.tripType = type;
    event.signalName = signal;
    event.slope = slope;
    // In time order, after the events of the same time; an event without a
    // time stays where it was logged (a later one is not moved before it).
    auto at = eventRecorderList.end();
    if (!std::isnan(time)) {
        while (at != eventRecorderList.begin()) {
            const double before = std::prev(at)->tripTime;
            if (std::isnan(before) || before <= time)
                break;
            --at;
        }
    }
    eventRecorderList.insert(at, event);
}

QString ViewStateSequenceModel::getSlopeStr(int level)
{
    return level != 0 ? QStringLiteral("0->1") : QStringLiteral("1->0");
}

QString ViewStateSequenceModel::getBISlopeStr(int stateIndex, int biindex) const
{
    const int v = getActionBIStates(stateIndex, biindex);
    return QString::number((v >> 1) & 1) + QStringLiteral("->") + QString::number(v & 1);
}

bool ViewStateSequenceModel::addBIEventRecord()
{
    if (!followingRun)
        return false;
    // Every state up to the active one: a notice handled late may find the
    // page already on a later state. An action is logged once, again only
    // when the engine reports another time for it.
    const int last = std::min({activeStateIndex, getStateCount() - 1, kMaxStates - 1});
    bool any = false;
    for (int s = 0; s <= last; ++s) {
        int fresh[4];
        int count = 0;
        for (int k = 0; k < 4; ++k) {
            const double t = getActionTimes(s, k);
            if (std::isnan(t))
                continue;
            any = true;
            const double logged = loggedActionTimes[s][k];
            if (std::isnan(logged) || std::fabs(t - logged) > kSameEventTime)
                fresh[count++] = k;
        }
        // Several actions of one notice go in by time (ties by input).
        const double base = stateBeginTime(s);
        for (int i = 0; i < count; ++i) {
            const int k = fresh[i];
            loggedActionTimes[s][k] = getActionTimes(s, k);
            addEventItem(loggedActionTimes[s][k] + base, 0, k + 1, getBISlopeStr(s, k));
        }
    }
    return any;
}

int ViewStateSequenceModel::runBOState(int s, int boindex) const
{
    return s < runStateCount ? runBOStates[s][boindex] : getOutputBOState(s, boindex);
}

void ViewStateSequenceModel::addBOEventRecord(int stateIndex)
{
    // A notice handled late gives the newest index, perhaps twice, perhaps
    // past a state: each state's changes are logged once, in order.
    if (!validState(stateIndex) || stateIndex <= lastBOEventState)
        return;
    for (int s = lastBOEventState + 1; s <= stateIndex; ++s) {
        if (s == 0) {
            for (int k = 0; k < 4; ++k) {
                if (runBOState(0, k) == 1)
                    addEventItem(0.0, 1, k + 1, QStringLiteral("0->1"));
            }
            continue;
        }
        const double time = stateBeginTime(s);
        for (int k = 0; k < 4; ++k) {
            const int level = runBOState(s, k);
            if (level != runBOState(s - 1, k))
                addEventItem(time, 1, k + 1, getSlopeStr(level));
        }
    }
    lastBOEventState = stateIndex;
}

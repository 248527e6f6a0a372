// Run control of the single-page modules: AC, DC and harmonic (a steady
// output, or an automatic ramp one state per page), power swing and standard
// source (a steady output that every edit replaces). Each start and switch
// holds the entity's lock from the check to the last page sent; a page is
// named to the instrument only once written, and a trip is valued with the
// page it happened on (the run's ring, ControllerTestorRing.h). The modules'
// adaptor records are at the end; the module table names their quirks.

#include "ControllerTestor.h"

#include "CommDriverData.h"
#include "ControllerModuleAdaptors.h"
#include "ControllerTestorRing.h"
#include "ModelAlternateEntity.h"
#include "ModelDirectEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelOscillateEntity.h"
#include "ModelStdSourceEntity.h"
#include "ModuleStartDomains.h"
#include "driverbase.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

void raiseBIStateAction()
{
    if (CommDriverTestStatusData* status = globalTestStatusData)
        status->statusBIStateAction = 1;
}

}   // namespace

using namespace ModuleAdaptorParts;

// ---- Start -------------------------------------------------------------------------------

namespace {

ModuleStart refusedStart(const ModuleEntry& module)
{
    ModuleStart start;
    start.refused = true;
    start.reason = ControllerTestor::REFUSAL_VALUES;
    start.refusal = QStringLiteral("%1: a value to output is not finite or out of range").arg(QLatin1String(module.folder));
    return start;
}

// A value in thousandths of its unit, as a refusal's numbers carry it.
qint32 thousandths(double value)
{
    const double scaled = std::round(value * 1000.0);
    return qint32(std::clamp(scaled, double(std::numeric_limits<qint32>::min()),
                             double(std::numeric_limits<qint32>::max())));
}

// A ramp (or a harmonic test's steady output) that would take an output
// beyond what it gives is not started. The numbers name the channel, the
// item, the value and the range, and a sixth of 1 where the output itself,
// not a ramp, is set there.
template <typename Entity>
ModuleStart rampRangeRefusal(const ModuleEntry& module, const Entity& entity)
{
    const ModelEntity::RampBeyondOutputs beyond = entity.beyondOutputs();
    if (!beyond.beyond)
        return {};
    ModuleStart start;
    start.refused = true;
    start.reason = ControllerTestor::REFUSAL_RANGE;
    start.refusal = QStringLiteral("%1: the %2 would take %3 to %4 %5, outside the %6 to %7 %5 its output gives")
                        .arg(QLatin1String(module.folder),
                             beyond.steady ? QStringLiteral("output") : QStringLiteral("ramp"),
                             QLatin1String(ModelEntity::channelName(beyond.channel)))
                        .arg(beyond.value)
                        .arg(QLatin1String(ModelEntity::rampUnit(beyond.item, beyond.channel)))
                        .arg(beyond.low)
                        .arg(beyond.high);
    start.numbers = {beyond.channel, beyond.item, thousandths(beyond.value), thousandths(beyond.low),
                     thousandths(beyond.high)};
    if (beyond.steady)
        start.numbers.append(1);
    return start;
}

// An automatic ramp that watches a binary input: its steps against the
// debounce.
template <typename Entity>
ModuleStart stepDebounceRefusal(const ModuleEntry& module, const Entity& entity, double debounce)
{
    if (!entity.autoRampEnabled || !ModelEntity::watchesInput(entity.stateOutputBIStates))
        return {};
    return ::stepDebounceRefusal(module.folder, entity.actionRampTime, debounce);
}

// The settings' domains.
ModuleStart domainRefusal(const ModelAlternateEntity& entity, const StartConditions& conditions)
{
    return alternateDomainRefusal(entity, conditions);
}
ModuleStart domainRefusal(const ModelHarmonicEntity& entity, const StartConditions& conditions)
{
    return harmonicDomainRefusal(entity, conditions);
}
ModuleStart domainRefusal(const ModelDirectEntity& entity, const StartConditions& conditions)
{
    return directDomainRefusal(entity, conditions);
}

} // namespace

ModuleStart stepDebounceRefusal(const char* folder, double stepSeconds, double debounce)
{
    const CommDriverConfigureHardData* hard = globalConfigureHardData;
    if (!hard || hard->periodFrequency == 0)
        return {};
    const uint64_t rate = hard->periodFrequency;
    const uint64_t stepTicks = driverPageTicks(ModelEntity::recordFloat(stepSeconds), hard->periodFrequency);
    const uint64_t debounceUs = driverMicroseconds(debounce);
    if (stepTicks * 1000000u >= debounceUs * rate)
        return {};
    const double stepMs = double(stepTicks) * 1000.0 / double(rate);
    const double debounceMs = double(debounceUs) / 1000.0;
    ModuleStart start;
    start.refused = true;
    start.reason = ControllerTestor::REFUSAL_STEP_DEBOUNCE;
    start.refusal = QStringLiteral("%1: the ramp's steps of %2 ms are shorter than the debounce of %3 ms: a trip could "
                                   "not be valued with the step the contact moved on")
                        .arg(QLatin1String(folder))
                        .arg(stepMs)
                        .arg(debounceMs);
    start.numbers = {thousandths(stepMs), thousandths(debounceMs)};
    return start;
}

namespace {

// AC, DC and harmonic, after the reset: a setting outside its domain,
// values that cannot be output, a ramp beyond the outputs, steps shorter
// than the debounce.
template <typename Entity>
ModuleStart rampStartRefusal(const ModuleEntry& module, const Entity& entity, const StartConditions& conditions)
{
    QMutexLocker lock(&entity.entityLock);
    const ModuleStart domain = domainRefusal(entity, conditions);
    if (domain.refused)
        return domain;
    if (!entity.checkOutputValues())
        return refusedStart(module);
    for (const ModuleStart& refusal :
         {rampRangeRefusal(module, entity), stepDebounceRefusal(module, entity, conditions.debounce)}) {
        if (refusal.refused)
            return refusal;
    }
    return {};
}

// What a page of the entity plays, kept beside it for the trips valued with
// it; the power swing and the standard source value none.
template <typename Entity>
ModelEntity::PageOutputs outputsOf(const Entity& entity)
{
    return entity.pageOutputs();
}
ModelEntity::PageOutputs outputsOf(const ModelOscillateEntity&) { return {}; }
ModelEntity::PageOutputs outputsOf(const ModelStdSourceEntity&) { return {}; }

// The entity's state, as updateToDriverValue filled the output record, into
// the page after the last one written, with what it plays. It is not named.
template <typename Entity>
int writePage(ControllerTestor& testor, const Entity& entity)
{
    return runRing().write(testor, 0, outputsOf(entity));
}

// AC, DC and harmonic: the first state into page 0; with the ramp on also the
// state count and the second state into page 1.
template <typename Entity, Entity* ControllerTestor::*M>
ModuleStart startRamp(const ModuleEntry& module, ControllerTestor& testor)
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    if (module.clearsResultsFirst) {
        entity.resetActionValues();
        entity.switchToResetState();
    } else {
        entity.switchToResetState();
        entity.resetActionValues();
    }
    const ModuleStart refusal = rampStartRefusal(module, entity, StartConditions::inForce());
    if (refusal.refused)
        return refusal;
    entity.rampRanOut = false;
    ModuleStart start;
    entity.updateToDriverValue();
    start.errorSum = writePage(testor, entity);
    if (entity.autoRampEnabled) {
        start.errorSum += sendStateCount(entity);
        if (entity.switchToNextState()) {
            entity.updateToDriverValue();
            start.errorSum += writePage(testor, entity);
            runRing().nameWritten();
        }
    }
    return start;
}

ModuleStart startSwing(const ModuleEntry& module, ControllerTestor& testor)
{
    ModelOscillateEntity& entity = *testor.dataOscillate;
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    if (!entity.checkOutputValues())
        return refusedStart(module);
    ModuleStart start;
    entity.updateToDriverValue();
    start.errorSum = writePage(testor, entity);
    return start;
}

ModuleStart startStdSource(const ModuleEntry& module, ControllerTestor& testor)
{
    ModelStdSourceEntity& entity = *testor.dataStdSource;
    QMutexLocker lock(&entity.entityLock);
    entity.switchToResetState();
    if (!entity.checkOutputValues())
        return refusedStart(module);
    ModuleStart start;
    entity.updateToDriverValue();
    start.errorSum = writePage(testor, entity);
    return start;
}

}   // namespace

// ---- Switch ------------------------------------------------------------------------------

namespace {

// The entity's current state into the page after the one playing, named
// once written, and the instrument switched to it at once.
template <typename Entity>
int replacePage(ControllerTestor& testor, Entity& entity)
{
    entity.updateToDriverValue();
    const int errorSum = writePage(testor, entity);
    return errorSum + runRing().switchToLast(testor);
}

// Automatic ramp: the next state follows the page playing in the ring (the
// polling loop switches the instrument to it when the page playing ends);
// a switch finds it written already while the instrument has not reached
// it. The run ends once the instrument plays the last page written and the
// entity has no state after it; the ramp's last step (its time and the
// debounce) is played to its end first, unless a trip has ended the run.
// Steady output: the edited values replace the output at once, unless a trip
// ended the test; values not finite or beyond what the outputs give end it.
template <typename Entity, Entity* ControllerTestor::*M>
ModuleSwitch switchRamp(const ModuleEntry&, ControllerTestor& testor)
{
    Entity& entity = entityOf<Entity, M>(testor);
    ModuleSwitch outcome;
    QMutexLocker lock(&entity.entityLock);
    if (entity.autoRampEnabled) {
        SwitchedRing& ring = runRing();
        if (ring.ahead() > 0)
            return outcome;
        if (ring.playedToEnd >= 0 && ring.ended < ring.playedToEnd && entity.lastState)
            return outcome;
        const bool stepLeft = entity.switchToNextState();
        if (!stepLeft || !entity.checkOutputValues()) {
            entity.rampRanOut = !stepLeft;
            outcome.endRun = true;
            return outcome;
        }
        entity.updateToDriverValue();
        entity.resetActionValues();
        outcome.errorSum += writePage(testor, entity);
        if (entity.lastState) {
            // The end value's second state: the same step played on.
            ring.continueStep();
            ring.playedToEnd = ring.last;
        }
        ring.nameWritten();
        return outcome;
    }
    if ((entity.faultActionType != ModelEntity::ACTION_TYPE_CONTINUE && entity.lastState)
        || !entity.checkOutputValues() || entity.beyondOutputs().beyond) {
        outcome.endRun = true;
        return outcome;
    }
    entity.resetActionValues();
    outcome.errorSum += replacePage(testor, entity);
    return outcome;
}

// The switch asked from outside: a steady output again from the entity's
// settings, as switchRamp; an automatic ramp on to its next step at once:
// the step written ahead (written now where it is not yet) is switched to,
// the one after it written; past the end value the run ends. The ramp's last
// step, once its second state plays, plays to its end.
template <typename Entity, Entity* ControllerTestor::*M>
ModuleSwitch nextRampState(const ModuleEntry& module, ControllerTestor& testor)
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    SwitchedRing& ring = runRing();
    if (entity.autoRampEnabled && ring.ahead() == 0) {
        ModuleSwitch outcome;
        if (ring.playedToEnd >= 0 && ring.ended < ring.playedToEnd && entity.lastState) {
            outcome.refused = QStringLiteral("%1: the ramp's last step plays to its end, its time and the debounce")
                                  .arg(QLatin1String(module.folder));
            return outcome;
        }
        outcome = switchRamp<Entity, M>(module, testor);
        if (outcome.endRun || outcome.errorSum != 0 || ring.ahead() == 0)
            return outcome;
    }
    if (entity.autoRampEnabled && ring.ahead() > 0) {
        // The end value's second state only plays its step on: switched to,
        // nothing would change. The switch moves past the end value: the
        // ramp has run out.
        const SwitchedRing::Page* next = ring.page(ring.last);
        if (ring.ahead() == 1 && next && next->continues && ring.playedToEnd == ring.last) {
            entity.rampRanOut = true;
            ModuleSwitch outcome;
            outcome.endRun = true;
            return outcome;
        }
        const int switched = ring.switchToLast(testor);
        if (switched != 0) {
            ModuleSwitch outcome;
            outcome.errorSum = switched;
            return outcome;
        }
    }
    return switchRamp<Entity, M>(module, testor);
}

// Power swing: the edited values replace the output, unless a trip ended the test.
ModuleSwitch switchSwing(const ModuleEntry&, ControllerTestor& testor)
{
    ModelOscillateEntity& entity = *testor.dataOscillate;
    ModuleSwitch outcome;
    QMutexLocker lock(&entity.entityLock);
    if (entity.lastState || !entity.checkOutputValues()) {
        outcome.endRun = true;
        return outcome;
    }
    outcome.errorSum += replacePage(testor, entity);
    return outcome;
}

ModuleSwitch switchStdSource(const ModuleEntry&, ControllerTestor& testor)
{
    ModelStdSourceEntity& entity = *testor.dataStdSource;
    ModuleSwitch outcome;
    QMutexLocker lock(&entity.entityLock);
    if (!entity.checkOutputValues()) {
        outcome.endRun = true;
        return outcome;
    }
    outcome.errorSum += replacePage(testor, entity);
    return outcome;
}

}   // namespace

// ---- Trips -------------------------------------------------------------------------------

namespace {

// A trip that ends the run (a stop, or the return's) ends it as soon as the
// page playing ends: the ramp's last step need not be played to its end.
template <typename Entity>
void releaseLastStep(const Entity& entity)
{
    if (entity.faultActionType != ModelEntity::ACTION_TYPE_CONTINUE && entity.lastState)
        runRing().playedToEnd = -1;
}

// The polling loop's report of a page that ended (the state word): the ring
// follows the instrument.
std::vector<qint32> followRampPage(ControllerTestor&, qint32 index)
{
    runRing().noteEnded(index);
    return {};
}

// Every page of a steady output or automatic ramp is judged on its own:
// none must begin reset.
ContactJudgement::Role stepRole(qint32)
{
    return ContactJudgement::Role::State;
}

// The polling loop's report: flag word, input, stamp and the state index
// (bit 15: the trip ended the state). The edge goes into the run's record;
// a page's trip (its first watched change, as the judgement of contacts
// reads it) is valued with what that page played, however far the ring has
// been written since, and timed from its step's start.
template <typename Entity, Entity* ControllerTestor::*M>
int recordRampTrip(const ModuleEntry& module, ControllerTestor& testor, qint32 actionFlag, qint32 actionIndex,
                   qint64 stampUs, qint32 stateIndex)
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    SwitchedRing& ring = runRing();
    const SwitchedRing::Taken taken = ring.take(stateIndex, stampUs, actionIndex, actionFlag);
    if (taken.code == 0)
        return -1;
    const SwitchedRing::Recorded recorded = ring.judge(&stepRole);
    const int i = ContactJudgement::pageAt(recorded.record, taken.us);
    if (i < 0)
        return -1;
    const ContactJudgement::Judgement& j = recorded.judged[size_t(i)];
    const ContactJudgement::Page& p = recorded.record.pages[size_t(i)];
    if (j.outcome != ContactJudgement::Outcome::Trip || j.input != actionIndex || p.startUs + j.tripUs != taken.us)
        return -1;
    const qint64 number = recorded.number[size_t(i)];
    const float seconds = float(double(taken.us - recorded.stepStartUs(i)) / 1e6);
    if (entity.updateFromDriverAction(stateIndex, actionFlag, actionIndex, seconds, ring.outputsOf(number)) != 0)
        return -1;
    const bool complete = DriverStateWord(stateIndex).ended();
    switch (entity.faultActionType) {
    case ModelEntity::ACTION_TYPE_STOP:
        entity.lastState = complete;
        raiseBIStateAction();
        break;
    case ModelEntity::ACTION_TYPE_RETURN:
        entity.lastState = entity.currentRampFactor == -1 && complete;
        if (complete || module.turnsBackOnAnyTrip)
            entity.currentRampFactor = -1;
        raiseBIStateAction();
        break;
    default: break;
    }
    releaseLastStep(entity);
    // A steady output's trip confirmed on the page an edit has just replaced:
    // that page's end is not followed by a switch, and the replacing page
    // plays on with the contact already closed, so the run ends here.
    if (!entity.autoRampEnabled && entity.lastState && number < ring.last)
        QMetaObject::invokeMethod(&testor, "doTestSwitch", Qt::QueuedConnection);
    return 0;
}

// The two-input report: action flags of inputs 1 and 2, time, state number.
template <typename Entity, Entity* ControllerTestor::*M>
int recordRampTwoInputTrip(const ModuleEntry&, ControllerTestor& testor, qint32 bi1flag, qint32 bi2flag,
                           float actionTime, qint32 stateIndex, qint32, qint32)
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    if (entity.updateFromDriverAction(bi1flag, bi2flag, actionTime, stateIndex) != 0)
        return -1;
    switch (entity.faultActionType) {
    case ModelEntity::ACTION_TYPE_STOP:
        entity.lastState = true;
        raiseBIStateAction();
        break;
    case ModelEntity::ACTION_TYPE_RETURN:
        entity.lastState = entity.currentRampFactor == -1;
        entity.currentRampFactor = -1;
        raiseBIStateAction();
        break;
    default: break;
    }
    releaseLastStep(entity);
    return 0;
}

// Power swing: a complete trip ends the test at the next switch.
int recordSwingTrip(const ModuleEntry&, ControllerTestor& testor, qint32 actionFlag, qint32 actionIndex,
                    qint64 stampUs, qint32 stateIndex)
{
    ModelOscillateEntity& entity = *testor.dataOscillate;
    QMutexLocker lock(&entity.entityLock);
    const float seconds = float(ModelEntity::actionSeconds(stampUs));
    if (entity.updateFromDriverAction(stateIndex, actionFlag, actionIndex, seconds) != 0)
        return -1;
    entity.lastState = DriverStateWord(stateIndex).ended();
    return 0;
}

// ---- Output current --------------------------------------------------------------------------

// The harmonic test's channel current: the RMS value of its components.
double harmonicChannelCurrent(const ControllerTestor& testor, int channel)
{
    const ModelHarmonicEntity& entity = *testor.dataHarmonic;
    QMutexLocker lock(&entity.entityLock);
    return entity.getRMSnew(ModelEntity::AOPortType(channel));
}

// ---- Adaptor records -------------------------------------------------------------------------

// AC, DC and harmonic: one adaptor set, their differences are table data.
template <typename Entity, Entity* ControllerTestor::*M>
constexpr ModuleAdaptors rampAdaptors(double (*channelCurrent)(const ControllerTestor&, int) = nullptr)
{
    return {
        /* entityLock */ &entityLock<Entity, M>,
        /* start */ &startRamp<Entity, M>,
        /* switchState */ &switchRamp<Entity, M>,
        /* trip */ &recordRampTrip<Entity, M>,
        /* twoInputTrip */ &recordRampTwoInputTrip<Entity, M>,
        /* followState */ &followRampPage,
        /* boStates */ &boStates<Entity, M>,
        /* outputCurrentMax */ &outputCurrentMax<Entity, M>,
        /* channelCurrent */ channelCurrent,
        /* pulse */ nullptr,
        /* nextState */ &nextRampState<Entity, M>,
    };
}

}   // namespace

ModuleStart alternateStartRefusal(const ModelAlternateEntity& entity, const StartConditions& conditions)
{
    return rampStartRefusal(moduleEntry(ControllerTestor::TEST_ALTERNATE), entity, conditions);
}

ModuleStart harmonicStartRefusal(const ModelHarmonicEntity& entity, const StartConditions& conditions)
{
    return rampStartRefusal(moduleEntry(ControllerTestor::TEST_HARMONIC), entity, conditions);
}

namespace ModuleAdaptorSets {

using TT = ControllerTestor;

const ModuleAdaptors alternate = rampAdaptors<ModelAlternateEntity, &TT::dataAlternate>();
const ModuleAdaptors direct = rampAdaptors<ModelDirectEntity, &TT::dataDirect>();
const ModuleAdaptors harmonic = rampAdaptors<ModelHarmonicEntity, &TT::dataHarmonic>(&harmonicChannelCurrent);

const ModuleAdaptors oscillate = {
    /* entityLock */ &entityLock<ModelOscillateEntity, &TT::dataOscillate>,
    /* start */ &startSwing,
    /* switchState */ &switchSwing,
    /* trip */ &recordSwingTrip,
    /* twoInputTrip */ nullptr,
    /* followState */ nullptr,
    /* boStates */ &boStates<ModelOscillateEntity, &TT::dataOscillate>,
    /* outputCurrentMax */ &outputCurrentMax<ModelOscillateEntity, &TT::dataOscillate>,
    /* channelCurrent */ nullptr,
    /* pulse */ nullptr,
    /* nextState */ nullptr,
};

const ModuleAdaptors stdSource = {
    /* entityLock */ &entityLock<ModelStdSourceEntity, &TT::dataStdSource>,
    /* start */ &startStdSource,
    /* switchState */ &switchStdSource,
    /* trip */ nullptr,
    /* twoInputTrip */ nullptr,
    /* followState */ nullptr,
    /* boStates */ nullptr,
    /* outputCurrentMax */ &outputCurrentMax<ModelStdSourceEntity, &TT::dataStdSource>,
    /* channelCurrent */ nullptr,
    /* pulse */ nullptr,
    /* nextState */ nullptr,
};

}   // namespace ModuleAdaptorSets

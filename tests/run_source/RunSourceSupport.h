#pragma once

// Runs of the single-page modules through the whole engine: facade, testor,
// pages in the simulated instrument, relay models on its binary inputs,
// polling loop, entity results. Every TEST runs in a process of its own (see
// EngineFixture.h); rows of one TEST run one after the other on the same
// engine and instrument.

#include "../engine/EngineFixture.h"

#include "ConstTextUtility.h"
#include "ModelAlternateEntity.h"
#include "ModelDirectEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelOscillateEntity.h"
#include "ModelStdSourceEntity.h"
#include "SimHostFactory.h"
#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"
#include "zodrv_mcasp.h"
#include "zodrv_mcaspaccess.h"
#include "zodrv_mcaspport_host.h"

#include <QMutexLocker>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace runsource {

using enginetest::waitFor;
using TT = ControllerTestor;
using RT = ControllerRuntime;

// Told of each page the instrument enters while it runs, once per page.
class PageEntryModel : public zorsim::DutModel
{
public:
    void plugged(zorsim::DutContext& context) override { ctx = &context; }
    void unplugged() override { ctx = nullptr; }
    void outputsChanged() override
    {
        const zorsim::PlayedOutputs& out = ctx->outputs();
        if (!out.running || out.pageStartNs == lastStartNs)
            return;
        lastStartNs = out.pageStartNs;
        pageEntered(out);
    }

protected:
    virtual void pageEntered(const zorsim::PlayedOutputs& out) = 0;

private:
    zorsim::DutContext* ctx = nullptr;
    int64_t lastStartNs = -1;
};

// The pages the instrument enters while it runs, with the value of one
// channel's component 0 as the page holds it and the simulator time it
// began at.
class PageRecorder : public PageEntryModel
{
public:
    explicit PageRecorder(int channel)
        : channel(channel)
    {
    }
    std::string name() const override { return "page recorder"; }
    void pageEntered(const zorsim::PlayedOutputs& out) override
    {
        const auto& components = out.page.channels[size_t(channel)].components;
        std::lock_guard<std::mutex> lock(mutex);
        values.push_back(components.empty() ? 0.0 : components[0].amplitude);
        starts.push_back(out.pageStartNs);
    }
    std::vector<double> amplitudes() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return values;
    }
    // Each page's start, simulator ns, in the order entered.
    std::vector<int64_t> startTimes() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return starts;
    }
    // The value the instrument played at simulator time ns (NaN before the
    // first page): a page plays, and holds once ended, until the next begins.
    double playedAt(int64_t ns) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto after = std::upper_bound(starts.begin(), starts.end(), ns);
        return after == starts.begin() ? std::nan("") : values[size_t(after - starts.begin()) - 1];
    }
    // The time, s, the instrument shows for a contact that moved at
    // simulator time movedNs (NaN before the first page): from the start of
    // the step it played then (the first of the pages in a row that play its
    // value), the holds of ended pages between included.
    double shownTime(int64_t movedNs) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto after = std::upper_bound(starts.begin(), starts.end(), movedNs);
        if (after == starts.begin())
            return std::nan("");
        size_t k = size_t(after - starts.begin()) - 1;
        while (k > 0 && values[k - 1] == values[k])
            --k;
        return double(movedNs - starts[k]) / 1e9;
    }

private:
    int channel;
    mutable std::mutex mutex;
    std::vector<double> values;
    std::vector<int64_t> starts;
};

// Stands between the product's register accessor and the instrument's port,
// watching the frames the product sends. Installed while it lives.
class LinkTap : public zodrv::McaspRegisterPort
{
public:
    explicit LinkTap(zorsim::SimInstrument& instrument)
        : sim(instrument)
        , inner(zodrv::mcaspInstalledPort())
    {
        zodrv::mcaspInstallPort(this);
    }
    ~LinkTap() override { sim.attach(); }

    // Once `frame` has gone out, the transmitter does not become ready for
    // `polls` polls: with the product's write-poll limit set to polls
    // (drv_mcasp_set_poll_limits) the write of the next frame times out,
    // and the link is ready again right after.
    void failFrameAfter(uint32_t frame, uint32_t polls)
    {
        failTrigger = frame;
        pollLimit = polls;
    }
    // The same for the next frame `thread` sends, whatever it is.
    void failNextFrameOf(QThread* thread, uint32_t polls)
    {
        failThread.store(thread);
        pollLimit = polls;
    }
    bool failed() const { return failedPolls.load() >= pollLimit; }
    // A write frame of the test's own straight to the instrument: from a
    // probe (onFrames), where the sending thread holds the link between
    // two of its operations.
    void sendFrame(uint32_t frame) { inner->writeRegister(zodrv::MCASP0_BASE, kXbuf0, frame); }

    // fn runs on the sending thread whenever one of `frames` goes out,
    // before the instrument takes it. Set it before the product sends.
    // It may also be set while the product sends.
    void onFrames(std::vector<uint32_t> frames, std::function<void()> fn)
    {
        std::lock_guard<std::mutex> lock(probeMutex);
        probeFrames = std::move(frames);
        probe = std::move(fn);
    }

    bool mapBlock(uint32_t physAddr, uint32_t size) override { return inner->mapBlock(physAddr, size); }
    void unmapBlock(uint32_t physAddr) override { inner->unmapBlock(physAddr); }
    uint32_t readRegister(uint32_t physAddr, uint32_t offset) override
    {
        uint32_t value = inner->readRegister(physAddr, offset);
        const bool failing = armed.load() || (failThread.load() && QThread::currentThread() == failThread.load());
        if (physAddr == zodrv::MCASP0_BASE && offset == kSrctl0 && failing && failedPolls.load() < pollLimit) {
            ++failedPolls;
            value &= ~kTransmitReady;
        }
        return value;
    }
    void writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value) override
    {
        if (physAddr == zodrv::MCASP0_BASE && offset == kXbuf0) {
            std::function<void()> fn;
            {
                std::lock_guard<std::mutex> lock(probeMutex);
                if (probe && std::find(probeFrames.begin(), probeFrames.end(), value) != probeFrames.end())
                    fn = probe;
            }
            if (fn)
                fn();
            if (pollLimit > 0 && value == failTrigger)
                armed.store(true);
        }
        inner->writeRegister(physAddr, offset, value);
    }

private:
    static constexpr uint32_t kSrctl0 = 0x180;
    static constexpr uint32_t kXbuf0 = 0x200;
    static constexpr uint32_t kTransmitReady = 0x0010;

    zorsim::SimInstrument& sim;
    zodrv::McaspRegisterPort* inner;
    uint32_t failTrigger = 0;
    uint32_t pollLimit = 0;
    std::atomic<bool> armed{false};
    std::atomic<QThread*> failThread{nullptr};
    std::atomic<uint32_t> failedPolls{0};
    std::mutex probeMutex;
    std::vector<uint32_t> probeFrames;
    std::function<void()> probe;
};

// Frame that writes a page's trigger word: the last word of a page write.
inline uint32_t pageTriggerFrame(int page, uint16_t trigger)
{
    return (uint32_t(page * 768 + 482) << 16) | trigger;
}

// The timed (or threshold) relay a simulator setup text names.
inline std::shared_ptr<zorsim::TimedRelay> timedRelay(const QString& setup)
{
    auto relay = std::dynamic_pointer_cast<zorsim::TimedRelay>(zorsim::parseRelaySetup(setup).models.at(0));
    if (!relay)
        throw std::invalid_argument("not a timed relay: " + setup.toStdString());
    return relay;
}

// A steady AC (or DC) output of UA 57.735 V and IA `ia` A at 50 Hz that a
// trip stops, no binary input watched.
inline void setSteady(ModelActionRampEntity& e, double ia)
{
    for (int c = 0; c < 8; ++c) {
        e.outputRanges[c] = 0.0;
        e.outputAngles[c] = 0.0;
        e.outputFrequencies[c] = 50.0;
    }
    e.outputRanges[ModelEntity::AO_PORT_TYPE_UA] = 57.735;
    e.outputRanges[ModelEntity::AO_PORT_TYPE_IA] = ia;
    e.autoRampEnabled = false;
    e.faultActionType = ModelEntity::ACTION_TYPE_STOP;
    for (qint32& bi : e.stateOutputBIStates)
        bi = 0;
}

// Writes an entity's settings as a view model does: under its lock.
template <typename Entity, typename Fn>
void edit(Entity& entity, Fn fn)
{
    QMutexLocker lock(&entity.entityLock);
    fn(entity);
}

}   // namespace runsource

class RunSourceTest : public EngineTest
{
protected:
    using RT = ControllerRuntime;
    using TT = ControllerTestor;

    ControllerTestor& testor() { return *center->testTestor; }

    // Driver initialised; with polling, the status loop runs too.
    void initialise(bool polling = true)
    {
        if (polling) {
            startPolling();
            return;
        }
        center->testConfig();
        ASSERT_TRUE(runsource::waitFor([this] { return state(RT::STATE_TYPE_INIT) == 1; }));
    }

    int runNotices() { return gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_RUNNING); }
    int powerNotices() { return gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_POWERED); }
    int texts(const QString& title) const
    {
        int n = 0;
        for (const QString& t : gui.allTexts())
            n += t.contains(title) ? 1 : 0;
        return n;
    }

    // A start from a module page that the engine refuses: the page's
    // message once the refusal has reached it.
    template <typename Model>
    QString refusedStart(Model& vm)
    {
        const int reports = runNotices();
        if (!vm.testStart() || !runsource::waitFor([&] { return runNotices() > reports && vm.getExitEnabled(); })
            || !settle())
            return QStringLiteral("no refusal reported");
        return vm.getUserMessage();
    }

    // Starts the page's run and waits until it has ended. Its start and end
    // notices are counted: a short run may be over before the page is seen
    // running.
    template <typename Model>
    bool runToEnd(Model& vm)
    {
        const int notices = runNotices();
        return vm.testStart() && runsource::waitFor([&] { return runNotices() >= notices + 2; }) && waitEnded()
            && vm.getState(Model::STATE_TYPE_RUNNING) == 0;
    }

    // Starts the module; true when it runs.
    bool start(ControllerTestor::TESTType type)
    {
        center->testActive(type);
        center->testStart();
        return settle() && state(RT::STATE_TYPE_RUNNING) == 1;
    }

    // Waits until the run has ended, by a stop, a trip or its last state,
    // and everything it announced has arrived.
    bool waitEnded()
    {
        return runsource::waitFor([this] {
                   return !testor().runEnable.load() && state(RT::STATE_TYPE_RUNNING) == 0
                       && state(RT::STATE_TYPE_POWERED) == 0 && !sim->playerStatus().running;
               })
            && settle();
    }

    // True once a worker has handled everything queued to it so far.
    bool workerDone(QObject* worker)
    {
        auto done = std::make_shared<std::atomic<bool>>(false);
        QMetaObject::invokeMethod(
            worker, [done] { done->store(true); }, Qt::QueuedConnection);
        return runsource::waitFor([done] { return done->load(); });
    }
    // The testor has handled everything queued to it so far, a start's
    // settle included (its end is queued to it).
    bool testorDone()
    {
        return workerDone(center->testTestor) && runsource::waitFor([this] { return !testor().amplifiersSettling(); })
            && workerDone(center->testTestor);
    }

    // What the testor has been asked so far is done, the runtime store has
    // taken what it emitted, and the relays of the store have arrived here.
    bool settle()
    {
        if (!testorDone() || !workerDone(center->testRuntime))
            return false;
        QCoreApplication::sendPostedEvents();
        return true;
    }

    // The page as the instrument holds it, decoded with its own constants
    // (currentShift: the phase the current amplifiers add).
    zorsim::PageContent page(int index, double currentShift = 180.0) const
    {
        zorsim::HardwareConstants hw = sim->hardware();
        hw.currentPhaseShiftDeg = currentShift;
        return zorsim::decodePage(sim->pageWords(index).data(), hw);
    }
    zorsim::PageContent playingPage() const { return page(sim->playerStatus().currentPage); }

    QStringList powerStageCommands() const
    {
        return zoplat::host::recordedCommands().filter(QStringLiteral("setpwrgpio.sh pao"));
    }

    std::shared_ptr<zorsim::ThresholdRelay> plugRelay(int channel, double pickup, double delaySeconds = 0.0,
                                                      int input = 0)
    {
        zorsim::ThresholdRelaySettings settings;
        settings.channel = channel;
        settings.pickup = pickup;
        settings.pickupDelaySeconds = delaySeconds;
        settings.binaryInput = input;
        auto relay = std::make_shared<zorsim::ThresholdRelay>(settings);
        sim->plugIn(relay);
        return relay;
    }

    // A relay for stepped outputs: its pick-up and drop-off both take
    // `delaySeconds`, so a trip comes well inside a state and the engine has
    // the next state in the ring before the state playing ends.
    std::shared_ptr<zorsim::TimedRelay> plugTimedRelay(int channel, double pickup, double delaySeconds)
    {
        zorsim::TimedRelaySettings settings;
        settings.channel = channel;
        settings.pickup = pickup;
        settings.pickupDelaySeconds = delaySeconds;
        settings.dropoffDelaySeconds = delaySeconds;
        auto relay = std::make_shared<zorsim::TimedRelay>(settings);
        sim->plugIn(relay);
        return relay;
    }
};

// Angle difference folded into [-180, 180).
inline double angleError(double a, double b)
{
    return std::remainder(a - b, 360.0);
}

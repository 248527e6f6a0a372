// The standard-source model against the real engine and the simulated
// instrument. The element powers are checked against a meter wired as the
// mode says, on the six phasors decoded from the page the instrument plays;
// edits while running reach the played page at once; a stop leaves the
// settings as edited. Every TEST runs in a process of its own (see
// EngineFixture.h).

#include "../run_source/RunSourceSupport.h"
#include "StdSourceSupport.h"

#include <complex>

using namespace stdtest;
using enginetest::waitFor;
using Phasor = std::complex<double>;

namespace {

constexpr double kDeg = M_PI / 180.0;

class StdSourceEngine : public RunSourceTest
{
protected:
    // UA UB UC IA IB IC of the page playing.
    std::array<Phasor, 6> played()
    {
        const zorsim::PageContent page = playingPage();
        std::array<Phasor, 6> out{};
        const int channels[6] = {0, 1, 2, 4, 5, 6};
        for (int k = 0; k < 6; ++k) {
            const auto& components = page.channels[size_t(channels[k])].components;
            if (!components.empty())
                out[size_t(k)] = std::polar(components[0].amplitude, components[0].phaseDeg * kDeg);
        }
        return out;
    }
    // Component 0 of a channel in the page playing (zero when none).
    zorsim::Component playedComponent(int channel)
    {
        const zorsim::PageContent page = playingPage();
        const auto& components = page.channels[size_t(channel)].components;
        return components.empty() ? zorsim::Component{} : components[0];
    }
    double playedFrequency(int channel) { return playedComponent(channel).frequencyHz; }
    double playedAmplitude(int channel) { return playedComponent(channel).amplitude; }
    // Runs fn (an edit, or a push) and waits until the engine has switched to
    // a new page and handled everything asked of it.
    bool switched(const std::function<void()>& fn)
    {
        if (!settle())
            return false;
        const zorsim::PlayerStatus before = sim->playerStatus();
        fn();
        return waitFor([&] {
                   const zorsim::PlayerStatus now = sim->playerStatus();
                   return now.currentPage != before.currentPage || now.pageStartNs != before.pageStartNs;
               })
            && settle();
    }
    bool waitRunning(VM& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    void start(VM& vm)
    {
        initialise();
        vm.testActive();
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        EXPECT_EQ(vm.getTestState(), 0);
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitRunning(vm, true));
        EXPECT_EQ(vm.getTestState(), -1);
    }
};

// P and Q of elements A, B, C (indexes 0..2 and 3..5) of a meter connected as
// the mode wires it, from the phasors on the terminals.
std::array<double, 6> meter(int mode, const std::array<Phasor, 6>& v)
{
    const Phasor ua = v[0], ub = v[1], uc = v[2], ia = v[3], ib = v[4], ic = v[5];
    std::array<double, 6> pq{};
    const auto element = [&pq](int k, Phasor u, Phasor i) {
        const Phasor s = u * std::conj(i);
        pq[size_t(k)] = s.real();
        pq[size_t(k) + 3] = s.imag();
    };
    // A 90 degree cross connection reads Re(U I*); its reactive power is that times q.
    const auto cross = [&pq](int k, Phasor u, Phasor i, double q) {
        const double reading = (u * std::conj(i)).real();
        pq[size_t(k)] = reading;
        pq[size_t(k) + 3] = q * reading;
    };
    switch (mode) {
    case 0: case 1: case 4:
        element(0, ua, ia);
        element(1, ub, ib);
        element(2, uc, ic);
        break;
    case 2: case 3: case 5: case 6:   // two wattmeters: (Uab, Ia), (Ucb, Ic)
        element(0, ua - ub, ia);
        element(2, uc - ub, ic);
        break;
    case 7:   // (Ubc, Ia), (Uca, Ib), (Uab, Ic) on UA, UB, UC
        cross(0, ua, ia, 1.0 / std::sqrt(3.0));
        cross(1, ub, ib, 1.0 / std::sqrt(3.0));
        cross(2, uc, ic, 1.0 / std::sqrt(3.0));
        break;
    case 8:   // (Ubc, Ia), (Uab, Ic) on UA, UC
        cross(0, ua, ia, std::sqrt(3.0) / 2.0);
        cross(2, uc, ic, std::sqrt(3.0) / 2.0);
        break;
    }
    return pq;
}

// The line voltages Uab, Ubc, Uca the page names, the unnamed one closing
// the triangle; empty for the phase-voltage modes.
std::vector<Phasor> lineVoltages(int mode, const std::array<Phasor, 6>& v)
{
    switch (mode) {
    case 2: case 3: case 5: case 6: {
        const Phasor uab = v[0] - v[1], ubc = -(v[2] - v[1]);
        return {uab, ubc, -(uab + ubc)};
    }
    case 7:
        return {v[2], v[0], v[1]};
    case 8:
        return {v[2], v[0], -(v[2] + v[0])};
    }
    return {};
}

} // namespace

TEST_F(StdSourceEngine, ElementPowersAreWhatAMeterOnThePlayedPhasorsReads)
{
    StdModel vm;
    vm.setSrcVoltageAmp(100.0);
    vm.setSrcCurrentAmp(2.0);
    start(vm);
    const struct
    {
        double factor;
        int type;
    } factors[] = {{1.0, VM::POWER_FACTOR_TYPE_NONE},
                   {0.5, VM::POWER_FACTOR_TYPE_INDUCTIVE},
                   {0.5, VM::POWER_FACTOR_TYPE_CAPACITIVE},
                   {-0.8, VM::POWER_FACTOR_TYPE_CAPACITIVE}};
    const double tolerance = 2e-3;   // W or var at 100 V x 2 A
    for (int mode = 0; mode <= 8; ++mode) {
        for (int select : selections(mode)) {
            for (const auto& f : factors) {
                SCOPED_TRACE(testing::Message() << "mode " << mode << " select " << select << " PF " << f.factor
                                                << " sense " << f.type);
                configure(vm, mode, f.factor, f.type, select);
                ASSERT_TRUE(switched([&] { vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTVI, -1, true); }));
                const std::array<Phasor, 6> v = played();
                const std::array<double, 6> pq = meter(mode, v);
                double p = 0.0;
                double q = 0.0;
                for (int k = 0; k < 3; ++k) {
                    EXPECT_NEAR(vm.getOutputPower(port(k)), pq[size_t(k)], tolerance) << "P" << k;
                    EXPECT_NEAR(vm.getOutputPower(port(k + 3)), pq[size_t(k) + 3], tolerance) << "Q" << k;
                    p += pq[size_t(k)];
                    q += pq[size_t(k) + 3];
                }
                EXPECT_NEAR(vm.getActivePower(), p, tolerance);
                EXPECT_NEAR(vm.getReactivePower(), q, tolerance);
                EXPECT_NEAR(vm.getApprentPower(), std::hypot(p, q), tolerance);
                // All elements on: the named line voltages close a triangle of U.
                const std::vector<Phasor> lines = lineVoltages(mode, v);
                if (select == VM::COMPONENT_SELECT_ALL && !lines.empty()) {
                    EXPECT_NEAR(std::abs(lines[0] + lines[1] + lines[2]), 0.0, 1e-3);
                    for (const Phasor& line : lines)
                        EXPECT_NEAR(std::abs(line), 100.0, 1e-3);
                }
            }
        }
    }
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
}

TEST_F(StdSourceEngine, EditsWhileRunningReachThePlayedPageAndStopKeepsThem)
{
    StdModel vm;
    configure(vm, VM::WORK_MODE_3P4W_Y_ACTIVE_POWER, 1.0, VM::POWER_FACTOR_TYPE_NONE, VM::COMPONENT_SELECT_ALL);
    start(vm);
    const struct
    {
        const char* name;
        std::function<void()> edit;
    } edits[] = {
        {"factor", [&] { vm.setPowerFactor(0.8); }},
        {"sense", [&] { vm.setFactorType(VM::POWER_FACTOR_TYPE_CAPACITIVE); }},
        {"angle", [&] { vm.setPowerPhase(100.0); }},
        {"voltage", [&] { vm.setSrcVoltageAmp(80.0); }},
        {"current", [&] { vm.setSrcCurrentAmp(3.0); }},
        {"active power", [&] { vm.setActivePower(-200.0); }},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.name);
        ASSERT_TRUE(switched(e.edit));
        const std::array<Phasor, 6> v = played();
        for (int p = 0; p < 6; ++p) {
            EXPECT_NEAR(std::abs(v[size_t(p)]), vm.getOutputRange(port(p)), 1e-4) << p;
            EXPECT_NEAR(std::remainder(std::arg(v[size_t(p)]) / kDeg - vm.getOutputPhase(port(p)), 360.0), 0.0, 1e-4)
                << p;
        }
    }
    EXPECT_NEAR(vm.getActivePower(), -200.0, 1e-9);

    // A frequency is stored and reaches the output with the next push.
    ASSERT_TRUE(settle());
    const int before = sim->playerStatus().currentPage;
    vm.setSrcFrequency(60.0);
    ASSERT_TRUE(settle());
    EXPECT_EQ(sim->playerStatus().currentPage, before);
    EXPECT_NEAR(playedFrequency(0), 50.0, 1e-3);
    // Amplitudes above the device's maxima are clamped on the way out only.
    ASSERT_TRUE(switched([&] { vm.setSrcVoltageAmp(400.0); }));
    for (int c : {0, 1, 2, 4, 5, 6})
        EXPECT_NEAR(playedFrequency(c), 60.0, 1e-3) << c;
    EXPECT_NEAR(playedAmplitude(0), 265.0, 1e-3);
    EXPECT_EQ(vm.getOutputRange(port(0)), 400.0);
    EXPECT_EQ(playedAmplitude(3), 0.0);
    EXPECT_EQ(playedAmplitude(7), 0.0);

    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(vm.getSrcVoltageAmp(), 400.0);
    EXPECT_EQ(vm.getSrcFrequency(), 60.0);
    EXPECT_NEAR(vm.getPowerPhase(), 100.0, 1e-9);
    QMutexLocker lock(&entity().entityLock);
    EXPECT_EQ(entity().outputRanges[0], 265.0);
    EXPECT_EQ(entity().outputFrequencies[0], 60.0);
}

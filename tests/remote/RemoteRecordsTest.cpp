// The PC's parameter records decoded into entity values: records built by
// the client from the offset tables; refused records yield nothing.

#include "NetParameterRecords.h"
#include "RemoteClient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace pc::rec;
using pc::Bytes;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

NetRecordLimits limits()
{
    NetRecordLimits l;
    l.maxVRange = 130.0;
    l.maxIRange = 30.0;
    l.rateFrequency = 50.0;
    l.ditherTime = 0.005;
    return l;
}

Bytes acRecord()
{
    Bytes b(AC_SIZE);
    for (int k = 0; k < 8; ++k)
        phase(b, AC_OUTPUTS, k, k < 4 ? 57.7f : 1.0f, 120.0f * (k % 4), 50.0f);
    ramp(b, AC_RAMP, 0, 6, 0, 0, 70.0f, 0.5f, 2.9f);
    b.f32(AC_FAULT_TIME, 1.5f).u32(AC_RISE, 0x5).u32(AC_FALL, 0x6).u8(AC_LOGIC, 1).u8(AC_DIRECT_TYPE, 1);
    return b.f32(AC_DITHER, 0.0005f);
}

Bytes harmonicRecord()
{
    Bytes b(HA_SIZE);
    const float freqs[4] = {50.0f, 150.0f, 250.0f, 350.0f};
    for (int h = 0; h < 4; ++h) {
        b.f32(HA_WAVE + 168 + 4 * h, freqs[h]);
        b.f32(HA_WAVE + 252 * 4 + 4 * h, 1.0f + h);   // IA ranges
    }
    ramp(b, HA_RAMP, 0, 8, 2, 1, 40.0f, 0.1f, 1.0f);
    return b.f32(HA_FAULT_TIME, 0.75f).u32(HA_RISE, 0x1).f32(HA_DITHER, 0.0005f);
}

Bytes rampingRecord(uint32_t points = 2)
{
    Bytes b(RA_SIZE);
    b.u32(0, 7).u32(4, 9).u32(RA_POINTS, points);
    for (int k = 0; k < 8; ++k) {
        phase(b, RA_NORMAL, k, k < 4 ? 57.7f : 0.0f, 0.0f, 50.0f);
        phase(b, RA_INTERVAL, k, 0.0f, 0.0f, 50.0f);
        for (int t = 0; t < 8; ++t)
            phase(b, RA_FAULT + 96 * t, k, k < 4 ? 20.0f : 2.0f, 0.0f, 50.0f);
    }
    b.f32(RA_NORMAL_TIME, 1.0f).u8(RA_NORMAL_ENABLE, 1).u8(RA_NORMAL_ENABLE + 1, 1);
    b.u8(RA_INTERVAL_ENABLE, 1).f32(RA_INTERVAL_TIME, 0.5f);
    for (int t = 0; t < 8; ++t) {
        b.f32(RA_STEP + 4 * t, 0.1f).f32(RA_END + 4 * t, 5.0f + t).f32(RA_TIME + 4 * t, 0.2f);
        b.u8(RA_VARIABLE + t, 8).u8(RA_ITEM + t, 0).u8(RA_LINK + t, 0).u8(RA_BI_LOGIC + t, 1);
        b.u8(RA_BI_STATE + 4 * t + 1, 1).u8(RA_BO_STATE + 4 * t + 2, 1);
    }
    return b;
}

enum Kind { AC, HARMONIC, RAMPING, STATE };

bool decode(Kind kind, const Bytes& b)
{
    const u8* p = reinterpret_cast<const u8*>(b.data.constData());
    const u32 n = u32(b.data.size());
    switch (kind) {
    case AC: { NetAlternateSettings s; return netDecodeAlternate(p, n, limits(), s); }
    case HARMONIC: { NetHarmonicSettings s; return netDecodeHarmonic(p, n, limits(), s); }
    case RAMPING: { NetRampingSettings s; return netDecodeRamping(p, n, limits(), s); }
    case STATE: { NetStateSettings s; return netDecodeState(p, n, limits(), s); }
    }
    return false;
}

} // namespace

TEST(RemoteRecords, RecordsOutsideWhatTheEntitiesHoldAreRefusedWhole)
{
    struct Case
    {
        const char* name;
        Kind kind;
        std::function<void(Bytes&)> edit;
        bool accepted;
    };
    const Case cases[] = {
        {"AC as built", AC, [](Bytes&) {}, true},
        {"AC item frequency", AC, [](Bytes& b) { b.u8(AC_RAMP + 3, 2); }, true},
        {"AC item 3", AC, [](Bytes& b) { b.u8(AC_RAMP + 3, 3); }, false},
        {"AC factor NaN", AC, [](Bytes& b) { b.f32(AC_RAMP + 28, kNaN); }, false},
        {"AC factor beyond 32 bits", AC, [](Bytes& b) { b.f32(AC_RAMP + 28, 3e9f); }, false},
        {"AC port group 99", AC, [](Bytes& b) { b.u8(AC_RAMP + 1, 99); }, false},
        {"AC UA frequency NaN", AC, [](Bytes& b) { b.f32(AC_OUTPUTS + 8, kNaN); }, false},
        {"AC UA angle NaN", AC, [](Bytes& b) { b.f32(AC_OUTPUTS + 4, kNaN); }, false},
        {"AC step time NaN", AC, [](Bytes& b) { b.f32(AC_FAULT_TIME, kNaN); }, false},
        {"AC step time -1", AC, [](Bytes& b) { b.f32(AC_FAULT_TIME, -1.0f); }, false},
        {"AC frequency ramp to 5000 Hz", AC, [](Bytes& b) { b.u8(AC_RAMP + 3, 2).f32(AC_RAMP + 8, 5000.0f); }, false},
        {"AC UA at a fixed 5000 Hz", AC, [](Bytes& b) { b.u8(AC_RAMP, 1).f32(AC_OUTPUTS + 8, 5000.0f); }, false},
        {"AC fixed output", AC, [](Bytes& b) { b.u8(AC_RAMP, 1); }, true},
        {"harmonic as built", HARMONIC, [](Bytes&) {}, true},
        {"harmonic slot 4", HARMONIC, [](Bytes& b) { b.u8(HA_RAMP + 2, 4); }, false},
        {"harmonic factor infinite", HARMONIC, [](Bytes& b) { b.f32(HA_RAMP + 28, -kInf); }, false},
        {"harmonic fundamental 5 Hz", HARMONIC, [](Bytes& b) { b.f32(HA_WAVE + 168, 5.0f); }, false},
        {"harmonic fundamental infinite", HARMONIC, [](Bytes& b) { b.f32(HA_WAVE + 168, kInf); }, false},
        {"harmonic fundamental NaN", HARMONIC, [](Bytes& b) { b.f32(HA_WAVE + 168, kNaN); }, false},
        {"harmonic fundamental 0 keeps rated", HARMONIC, [](Bytes& b) { b.f32(HA_WAVE + 168, 0.0f); }, true},
        {"harmonic order NaN", HARMONIC, [](Bytes& b) { b.f32(HA_WAVE + 172, kNaN); }, false},
        {"harmonic order beyond 32 bits", HARMONIC, [](Bytes& b) { b.f32(HA_WAVE + 176, 1e12f); }, false},
        {"ramping as built", RAMPING, [](Bytes&) {}, true},
        {"ramping 0 points", RAMPING, [](Bytes& b) { b.u32(RA_POINTS, 0); }, false},
        {"ramping 9 points", RAMPING, [](Bytes& b) { b.u32(RA_POINTS, 9); }, false},
        {"ramping amplitude above range", RAMPING, [](Bytes& b) { b.f32(RA_FAULT + 96 + 48, 30.5f); }, false},
        {"ramping unused point unchecked", RAMPING, [](Bytes& b) { b.f32(RA_FAULT + 96 * 2, 999.0f); }, true},
        {"ramping angle 361", RAMPING, [](Bytes& b) { b.f32(RA_INTERVAL + 4, 361.0f); }, false},
        {"ramping amplitude NaN", RAMPING, [](Bytes& b) { b.f32(RA_NORMAL, kNaN); }, false},
        {"ramping frequency 5 Hz", RAMPING, [](Bytes& b) { b.f32(RA_NORMAL + 8, 5.0f); }, false},
        {"ramping end NaN", RAMPING, [](Bytes& b) { b.f32(RA_END + 4, kNaN); }, false},
        {"ramping current end above range", RAMPING, [](Bytes& b) { b.f32(RA_END, 31.0f); }, false},
        {"ramping item 5", RAMPING, [](Bytes& b) { b.u8(RA_ITEM, 5).f32(RA_END, 1e9f); }, false},
        {"ramping item 7", RAMPING, [](Bytes& b) { b.u8(RA_ITEM + 1, 7); }, false},
        {"ramping port group 16", RAMPING, [](Bytes& b) { b.u8(RA_VARIABLE, 16); }, false},
        {"ramping step NaN", RAMPING, [](Bytes& b) { b.f32(RA_STEP + 4, kNaN); }, false},
        {"ramping time NaN", RAMPING, [](Bytes& b) { b.f32(RA_TIME, kNaN); }, false},
        {"state 31", STATE, [](Bytes& b) { b.u32(0, 31); }, true},
        {"state 32", STATE, [](Bytes& b) { b.u32(0, 32); }, false},
        {"state time NaN", STATE, [](Bytes& b) { b.f32(ST_TIME, kNaN); }, false},
        {"state key press, time NaN unused", STATE, [](Bytes& b) { b.f32(ST_TIME, kNaN).u8(ST_TRIGGER, 3); }, true},
        {"state frequency NaN", STATE, [](Bytes& b) { phase(b, ST_OUTPUTS, 4, 1.0f, 0.0f, kNaN); }, false},
        {"state trigger kind 9", STATE, [](Bytes& b) { b.u8(ST_TRIGGER, 9); }, false},
        // What the start's check alone refuses.
        {"AC action on a trip 9", AC, [](Bytes& b) { b.u8(AC_DIRECT_TYPE, 9); }, false},
        {"AC steady output, ramp port group 99", AC, [](Bytes& b) { b.u8(AC_RAMP, 1).u8(AC_RAMP + 1, 99); }, false},
        {"harmonic ramp on port group 99", HARMONIC, [](Bytes& b) { b.u8(HA_RAMP + 1, 99); }, false},
        {"harmonic debounce 5000 s", HARMONIC, [](Bytes& b) { b.f32(HA_DITHER, 5000.0f).f32(HA_FAULT_TIME, 6000.0f); },
         false},
        {"harmonic debounce 11 s against steps of 20 s", HARMONIC,
         [](Bytes& b) { b.f32(HA_DITHER, 11.0f).f32(HA_FAULT_TIME, 20.0f); }, true},
        {"harmonic slot at 1050 Hz", HARMONIC, [](Bytes& b) { b.f32(HA_WAVE + 168 + 12, 1050.0f); }, false},
        {"ramping step time 0, no input watched", RAMPING,
         [](Bytes& b) {
             for (int t = 0; t < 8; ++t)
                 b.f32(RA_TIME + 4 * t, 0.0f).u8(RA_BI_STATE + 4 * t + 1, 0);
         },
         false},
        {"state GPS/IRIG-B with no trigger time", STATE, [](Bytes& b) { b.u8(ST_TRIGGER, 4); }, false},
        {"state UA 55 V at 5 Hz", STATE, [](Bytes& b) { phase(b, ST_OUTPUTS, 0, 55.0f, 0.0f, 5.0f); }, false},
        {"state UA angle 1e30", STATE, [](Bytes& b) { phase(b, ST_OUTPUTS, 0, 55.0f, 1e30f, 50.0f); }, false},
        {"state time -1", STATE, [](Bytes& b) { b.f32(ST_TIME, -1.0f); }, false},
    };
    for (const Case& c : cases) {
        Bytes b = c.kind == AC ? acRecord()
            : c.kind == HARMONIC ? harmonicRecord()
            : c.kind == RAMPING ? rampingRecord()
                                : Bytes(ST_SIZE).f32(ST_TIME, 1.0f);
        c.edit(b);
        EXPECT_EQ(decode(c.kind, b), c.accepted) << c.name;
    }
}

TEST(RemoteRecords, FieldsReachTheirEntityValues)
{
    const Bytes ac = acRecord();
    NetAlternateSettings a;
    ASSERT_TRUE(netDecodeAlternate(reinterpret_cast<const u8*>(ac.data.constData()), AC_SIZE, limits(), a));
    EXPECT_TRUE(a.autoRampEnabled);
    EXPECT_EQ(a.faultActionPort, 6);
    EXPECT_EQ(a.actionRampFactor, 2);
    EXPECT_FLOAT_EQ(a.endRampValue, 70.0);
    EXPECT_FLOAT_EQ(a.actionRampStep, 0.5);
    EXPECT_FLOAT_EQ(a.actionRampTime, 1.5);
    EXPECT_EQ(a.faultActionType, 1);
    EXPECT_FLOAT_EQ(a.outputs.ranges[0], 57.7);
    EXPECT_FLOAT_EQ(a.outputs.angles[2], 240.0);
    EXPECT_FLOAT_EQ(a.outputs.ranges[4], 1.0);
    // rise 0101, fall 0110: inputs 0 rising, 1 falling, 2 both, 3 none.
    const qint32 bi[4] = {1, 2, 3, 0};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a.stateOutputBIStates[i], bi[i]) << i;
    EXPECT_EQ(a.stateBILogicTypes, 1);
    EXPECT_LT(a.ditherTime, 0.0);   // 0.0005 is below the lower bound

    const Bytes ha = harmonicRecord();
    NetHarmonicSettings h;
    ASSERT_TRUE(netDecodeHarmonic(reinterpret_cast<const u8*>(ha.data.constData()), HA_SIZE, limits(), h));
    const qint32 orders[4] = {1, 3, 5, 7};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(h.outputOrders[s], orders[s]) << s;
        EXPECT_FLOAT_EQ(h.outputRanges[4][s], 1.0 + s) << s;
        EXPECT_FLOAT_EQ(h.outputFrequencies[7][s], 50.0) << s;
    }
    EXPECT_FALSE(h.rateFrequencyChanged);
    EXPECT_FLOAT_EQ(h.actionRampTime, 0.75);   // a float at an odd offset
    EXPECT_EQ(h.faultActionOrder, 2);
    EXPECT_EQ(h.faultActionItem, 1);
    EXPECT_LT(h.ditherTime, 0.0);   // as the AC record's
    Bytes ha60 = harmonicRecord();
    ha60.f32(HA_WAVE + 168, 60.0f).f32(HA_WAVE + 172, 180.0f).f32(HA_DITHER, 0.002f);
    ASSERT_TRUE(netDecodeHarmonic(reinterpret_cast<const u8*>(ha60.data.constData()), HA_SIZE, limits(), h));
    EXPECT_TRUE(h.rateFrequencyChanged);
    EXPECT_FLOAT_EQ(h.rateFrequency, 60.0);
    EXPECT_EQ(h.outputOrders[1], 3);
    EXPECT_FLOAT_EQ(h.ditherTime, 0.002f);

    const Bytes ra = rampingRecord();
    NetRampingSettings r;
    ASSERT_TRUE(netDecodeRamping(reinterpret_cast<const u8*>(ra.data.constData()), RA_SIZE, limits(), r));
    EXPECT_EQ(r.projectId, 7u);
    EXPECT_EQ(r.moduleId, 9u);
    ASSERT_EQ(r.stateCount, 6);
    // Normal shown once (only-once set), ramp by time or input, interval.
    const double times[6] = {1.0, 0.2, 0.5, 0.0, 0.2, 0.5};
    const qint32 triggers[6] = {0, 2, 0, 0, 2, 0};
    const qint32 links[6] = {1, 0, 0, 1, 0, 0};
    for (int s = 0; s < 6; ++s) {
        EXPECT_FLOAT_EQ(r.states[s].stateOutputTime, times[s]) << s;
        EXPECT_EQ(r.states[s].stateTriggerType, triggers[s]) << s;
        EXPECT_EQ(r.states[s].stateOutputLinkType, links[s]) << s;
    }
    EXPECT_FLOAT_EQ(r.states[4].rampEndValue, 6.0);
    EXPECT_EQ(r.states[4].rampPort, 8);
    EXPECT_EQ(r.states[4].stateOutputBIStates[1], 1);
    EXPECT_EQ(r.states[4].stateOutputBOStates[2], 1);
    EXPECT_EQ(r.states[5].stateOutputBIStates[1], 0);
    EXPECT_FLOAT_EQ(r.states[4].outputs.ranges[5], 2.0);

    Bytes st(ST_SIZE);
    st.u32(0, 3).f32(ST_TIME, 0.6f).u32(ST_BO, 0x9).u32(ST_RISE, 0x2).u32(ST_FALL, 0x2);
    st.u8(ST_LINK, 1).u8(ST_TRIGGER, 3).u8(ST_LOGIC, 1);
    phase(st, ST_OUTPUTS, 7, 2.5f, 30.0f, 60.0f);
    NetStateSettings s;
    ASSERT_TRUE(netDecodeState(reinterpret_cast<const u8*>(st.data.constData()), ST_SIZE, limits(), s));
    EXPECT_EQ(s.state, 3);
    EXPECT_FLOAT_EQ(s.stateOutputTime, 0.6f);
    const qint32 bo[4] = {1, 0, 0, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.stateOutputBOStates[i], bo[i]) << i;
    EXPECT_EQ(s.stateOutputBIStates[1], 3);
    EXPECT_EQ(s.stateOutputLinkType, 1);
    EXPECT_EQ(s.stateTriggerType, 3);
    EXPECT_FLOAT_EQ(s.outputs.frequencies[7], 60.0);
}

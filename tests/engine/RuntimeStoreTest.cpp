// The runtime store on its own: what each update stores and announces.

#include "ControllerRuntime.h"
#include "ControllerTestor.h"

#include <gtest/gtest.h>

#include <QMutexLocker>

#include <utility>
#include <vector>

namespace {

using Notice = std::pair<qint32, qint32>;
using Notices = std::vector<Notice>;

// Records every notice of a store, the way a listener on the store's own
// thread sees it, and checks that the store's locks are free meanwhile.
class Listener
{
public:
    explicit Listener(ControllerRuntime& store)
        : rt(store)
    {
        QObject::connect(&rt, &ControllerRuntime::sigUpdateDataToView, &rt,
                         [this](qint32 type, qint32 sub) {
                             notices.emplace_back(type, sub);
                             lockedDuringNotice += takeLocks() ? 0 : 1;
                         },
                         Qt::DirectConnection);
        QObject::connect(&rt, &ControllerRuntime::sigUpdateSOEToView, &rt,
                         [this](const QString& text) {
                             texts.push_back(text);
                             lockedDuringNotice += takeLocks() ? 0 : 1;
                         },
                         Qt::DirectConnection);
    }

    Notices take()
    {
        Notices out;
        out.swap(notices);
        return out;
    }

    Notices notices;
    std::vector<QString> texts;
    int lockedDuringNotice = 0;

private:
    bool takeLocks()
    {
        if (!rt.dataMutex.tryLock())
            return false;
        rt.dataMutex.unlock();
        if (!rt.soeMutex.tryLock())
            return false;
        rt.soeMutex.unlock();
        return true;
    }

    ControllerRuntime& rt;
};

CommSOEEntity event(CommSOEEntity::SOEType type, int stateIndex = 0)
{
    CommSOEEntity e;
    e.soeType = type;
    e.outputStateIndex = stateIndex;
    e.eventUtcTime = QDateTime::currentDateTime();
    return e;
}

std::vector<int> storedStateIndices(ControllerRuntime& rt)
{
    QMutexLocker lock(&rt.soeMutex);
    std::vector<int> out;
    for (const CommSOEEntity* e : rt.SOE)
        out.push_back(e->outputStateIndex);
    return out;
}

} // namespace

TEST(RuntimeStore, KeepsTheNineteenNewestEvents)
{
    ControllerRuntime rt;
    Listener listener(rt);
    for (int i = 1; i <= 25; ++i)
        rt.updateSwitchState(event(CommSOEEntity::SOE_TYPE_AO_SWITCH, i), ControllerTestor::TEST_STATESEQUENCE);

    std::vector<int> expected;
    for (int i = 7; i <= 25; ++i)
        expected.push_back(i);
    EXPECT_EQ(storedStateIndices(rt), expected);
    EXPECT_EQ(listener.texts.size(), 25u);
    EXPECT_TRUE(listener.notices.empty());   // a state-sequence switch announces no data

    rt.emptySOEList();
    EXPECT_TRUE(storedStateIndices(rt).empty());
}

TEST(RuntimeStore, UpdatesStoreAndAnnounceAsListed)
{
    ControllerRuntime rt;
    Listener listener(rt);
    const CommSOEEntity none = event(CommSOEEntity::SOE_TYPE_NONE);

    rt.updateTestStateIndex(none, 4);
    EXPECT_EQ(listener.take(), (Notices{{3, 9}}));
    EXPECT_EQ(listener.texts.size(), 1u);
    rt.updateTestStateIndex(none, 4);   // unchanged: nothing
    EXPECT_EQ(listener.take(), Notices{});
    EXPECT_EQ(listener.texts.size(), 1u);

    rt.updateRunState(none, true);   // untyped: no event, but every notice and the index reset
    EXPECT_EQ(listener.take(), (Notices{{3, 1}, {9, -1}, {3, 9}, {8, -1}}));
    EXPECT_EQ(rt.STATE[ControllerRuntime::STATE_TYPE_STATEINDEX], 0);
    EXPECT_EQ(rt.STATE[ControllerRuntime::STATE_TYPE_RUNNING], 1);
    EXPECT_EQ(listener.texts.size(), 1u);

    rt.updateRunState(event(CommSOEEntity::SOE_TYPE_BOPLUSE_STOP), false);
    EXPECT_EQ(listener.take(), (Notices{{3, 1}, {9, -1}}));
    {
        QMutexLocker lock(&rt.soeMutex);
        EXPECT_EQ(rt.SOE.last()->runtimeType, CommSOEEntity::RUNTIME_TYPE_IDLE);
    }

    rt.updateAlarmState(0x05);
    EXPECT_EQ(listener.take(), (Notices{{2, -1}}));
    EXPECT_EQ(rt.ALARM[0], 1);
    EXPECT_EQ(rt.ALARM[1], 0);
    EXPECT_EQ(rt.ALARM[2], 1);
    rt.updateAlarmState(0x05);
    EXPECT_EQ(listener.take(), Notices{});

    rt.updateAOTempState(30, 31, 32, 33, 30);
    rt.updateAOTempState(30, 31, 32, 33, 30);
    rt.updateAOTempSensor(0, 1, 0, 0);
    EXPECT_EQ(listener.take(), (Notices{{4, -1}, {4, -1}}));

    rt.updateSwitchState(event(CommSOEEntity::SOE_TYPE_AO_SWITCH), ControllerTestor::TEST_CALIBRATION);
    rt.updateSwitchState(event(CommSOEEntity::SOE_TYPE_AO_SWITCH), ControllerTestor::TEST_ALTERNATE);
    rt.updateCalState(ControllerRuntime::STATE_TYPE_CALLOADED, true);
    rt.updateCalState(99, true);   // not a state: refused
    rt.updateLoadConfig(1);
    rt.updateSyncClock(true, 1234);
    rt.updateSyncClock(true, 1234);
    EXPECT_EQ(listener.take(), (Notices{{11, -1}, {8, -1}, {3, 8}, {10, 1}, {12, -1}, {12, -1}}));

    rt.updateBatteryState(1, 80);
    rt.updateBatteryState(1, 80);
    ModelBatteryEntity pack;
    pack.infoFETState = 1;
    rt.updateBatteryInfo(pack);
    rt.updateBatteryInfo(pack);
    EXPECT_EQ(rt.batteryMOSState, 2);
    rt.updateBatteryMOSState(3);
    EXPECT_EQ(rt.batteryInfoData->infoFETState, 0);
    EXPECT_EQ(listener.take(), (Notices{{5, -1}, {5, 10}, {5, 10}}));

    EXPECT_EQ(listener.lockedDuringNotice, 0);
}

TEST(RuntimeStore, BinaryChangesBecomeEventsWithTheirDirections)
{
    ControllerRuntime rt;
    Listener listener(rt);
    CommSOEEntity sent = event(CommSOEEntity::SOE_TYPE_BO_SWITCH);
    sent.outputBOStates[3] = 7;   // an unchanged channel keeps what the sender gave

    rt.updateBOState(sent, 1, 1, 0, 0);
    rt.updateBOState(sent, 1, 1, 0, 0);
    rt.updateBOState(sent, 1, 0, 0, 0);
    EXPECT_EQ(listener.take(), (Notices{{0, -1}, {0, -1}, {0, -1}}));
    {
        QMutexLocker lock(&rt.soeMutex);
        ASSERT_EQ(rt.SOE.size(), 2);
        const CommSOEEntity* last = rt.SOE.last();
        EXPECT_EQ(last->soeType, CommSOEEntity::SOE_TYPE_BO_SWITCH);
        EXPECT_EQ(std::vector<int>(last->outputBOStates, last->outputBOStates + 4), (std::vector<int>{0, 1, 0, 7}));
    }

    rt.updateRunState(event(CommSOEEntity::SOE_TYPE_NONE), true);
    listener.take();
    CommSOEEntity input = event(CommSOEEntity::SOE_TYPE_NONE);   // the store types the event itself
    rt.updateBIState(input, 0, 1, 0, 0);
    EXPECT_EQ(listener.take(), (Notices{{1, -1}}));
    {
        QMutexLocker lock(&rt.soeMutex);
        const CommSOEEntity* last = rt.SOE.last();
        EXPECT_EQ(last->soeType, CommSOEEntity::SOE_TYPE_BI_SWITCH);
        EXPECT_EQ(last->runtimeType, CommSOEEntity::RUNTIME_TYPE_RUNNING);
        EXPECT_EQ(last->outputBIStates[1], CommSOEEntity::BIO_SWITCH_TYPE_OFF2ON);
    }
    EXPECT_EQ(rt.BI[1], 1);
    EXPECT_TRUE(listener.texts.back().endsWith(QString::fromUtf8(" 开入量2 由开到合\n")));
    EXPECT_EQ(listener.lockedDuringNotice, 0);
}

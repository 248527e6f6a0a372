// Event records: copies and the texts shown for them.

#include "CommDriverData.h"
#include "CommSOEEntity.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

#include <memory>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

CommSOEEntity outputEvent(CommSOEEntity::SOEType type)
{
    CommSOEEntity e;
    e.soeType = type;
    e.outputEnable = true;
    const double ranges[8] = {57.735, 57.735, 57.735, 10.0, 1.0, 1.0, 1.0, 0.5};
    const double angles[8] = {0.0, -120.0, 120.0, 0.0, -120.0, 120.0, 0.0, 0.0};
    for (int c = 0; c < 8; ++c) {
        e.outputRanges[c] = ranges[c];
        e.outputAngles[c] = angles[c];
        e.outputFrequencies[c] = 50.0;
    }
    return e;
}

// Points the driver's hardware record at a local one for the test's duration.
class HardwareRecord
{
public:
    HardwareRecord(uint8_t volPhases, uint8_t curPhases)
        : saved(globalConfigureHardData)
    {
        record.volPhaseType = volPhases;
        record.curPhaseType = curPhases;
        globalConfigureHardData = &record;
    }
    ~HardwareRecord() { globalConfigureHardData = saved; }

private:
    CommDriverConfigureHardData record;
    CommDriverConfigureHardData* saved;
};

} // namespace

TEST(EventText, TitlesAndChannelLines)
{
    const QString lines = "  UA: 57.735,  0.0 IA: 1.000,-120.0\n"
                          "  UB: 57.735,-120.0 IB: 1.000,120.0\n"
                          "  UC: 57.735,120.0 IC: 1.000,  0.0\n";
    struct Row
    {
        CommSOEEntity::SOEType type;
        bool outputEnable;
        QString expected;
    };
    const Row rows[] = {
        {CommSOEEntity::SOE_TYPE_AO_START, false, utf8("开始输出\n")},
        {CommSOEEntity::SOE_TYPE_AO_START, true, utf8("开始输出\n") + lines},
        {CommSOEEntity::SOE_TYPE_AO_SWITCH, true, utf8("改变输出\n") + lines},
        {CommSOEEntity::SOE_TYPE_AO_STATE, true, utf8("输出状态3\n") + lines},
        {CommSOEEntity::SOE_TYPE_AO_STOP, true, utf8("停止输出\n")},
        {CommSOEEntity::SOE_TYPE_BOPLUSE_START, true, utf8("开始测试\n")},
        {CommSOEEntity::SOE_TYPE_BOPLUSE_STOP, true, utf8("停止测试\n")},
        {CommSOEEntity::SOE_TYPE_NONE, true, QString()},
    };
    for (const Row& row : rows) {
        CommSOEEntity e = outputEvent(row.type);
        e.outputEnable = row.outputEnable;
        e.outputStateIndex = 3;
        EXPECT_EQ(e.getEventText(), row.expected) << "type " << row.type;
    }
}

TEST(EventText, FourthLineFollowsThePhaseKinds)
{
    const CommSOEEntity e = outputEvent(CommSOEEntity::SOE_TYPE_AO_START);
    const QString fourth[4] = {
        QString(),                                   // both three-phase
        "  UX: 10.000,  0.0 IX:     -,    -\n",     // voltage side four-phase
        "  UX:      -,    - IX: 0.500,  0.0\n",      // current side four-phase
        "  UX: 10.000,  0.0 IX: 0.500,  0.0\n",      // both
    };
    for (int kinds = 0; kinds < 4; ++kinds) {
        HardwareRecord hard(kinds & 1, (kinds >> 1) & 1);
        EXPECT_TRUE(e.getEventText().endsWith("  UC: 57.735,120.0 IC: 1.000,  0.0\n" + fourth[kinds]))
            << e.getEventText().toStdString();
    }
}

TEST(EventText, ChangeLinesListOpeningsBeforeClosings)
{
    CommSOEEntity bi;
    bi.soeType = CommSOEEntity::SOE_TYPE_BI_SWITCH;
    bi.outputBIStates[0] = CommSOEEntity::BIO_SWITCH_TYPE_OFF2ON;
    bi.outputBIStates[1] = CommSOEEntity::BIO_SWITCH_TYPE_ON2OFF;
    bi.outputBIStates[3] = CommSOEEntity::BIO_SWITCH_TYPE_OFF2ON;   // inputs 3 and 4 are not listed
    EXPECT_EQ(bi.getEventText(), utf8("开入量2 由合到开\n开入量1 由开到合\n"));

    CommSOEEntity bo;
    bo.soeType = CommSOEEntity::SOE_TYPE_BO_SWITCH;
    bo.outputBOStates[0] = CommSOEEntity::BIO_SWITCH_TYPE_ON2OFF;
    bo.outputBOStates[1] = CommSOEEntity::BIO_SWITCH_TYPE_OFF2ON;
    bo.outputBIStates[0] = CommSOEEntity::BIO_SWITCH_TYPE_OFF2ON;   // inputs do not show in an output event
    EXPECT_EQ(bo.getEventText(), utf8("开出量1 由合到开\n开出量2 由开到合\n"));
}

TEST(EventText, LongAndShortTextsCarryTheirTimes)
{
    CommSOEEntity e;
    e.soeType = CommSOEEntity::SOE_TYPE_AO_STOP;
    e.eventUtcTime = QDateTime(QDate(2024, 3, 1), QTime(9, 5, 3, 7));
    e.eventRunTime = 1.5;
    EXPECT_EQ(e.getEventLongText(), utf8("09:05:03:007 停止输出\n"));
    e.runtimeType = CommSOEEntity::RUNTIME_TYPE_IDLE;
    EXPECT_EQ(e.getEventShortText(), utf8("09:05:03:007 停止输出\n"));
    e.runtimeType = CommSOEEntity::RUNTIME_TYPE_RUNNING;
    EXPECT_EQ(e.getEventShortText(), utf8("1.500s 停止输出\n"));
}

TEST(EventText, CopiesCarryEveryFieldButTheParent)
{
    QObject owner;
    CommSOEEntity source = outputEvent(CommSOEEntity::SOE_TYPE_AO_STATE);
    source.runtimeType = CommSOEEntity::RUNTIME_TYPE_RUNNING;
    source.eventUtcTime = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 6));
    source.eventRunTime = 2.25;
    source.outputStateIndex = 7;
    source.outputBOStates[2] = 1;
    source.outputBIStates[3] = 2;

    std::unique_ptr<CommSOEEntity> copy(source.clone());
    CommSOEEntity child(source, &owner);
    for (const CommSOEEntity* c : {copy.get(), &child}) {
        EXPECT_EQ(c->getEventShortText(), source.getEventShortText());
        EXPECT_EQ(c->eventUtcTime, source.eventUtcTime);
        EXPECT_EQ(c->outputBOStates[2], 1);
        EXPECT_EQ(c->outputBIStates[3], 2);
        EXPECT_EQ(c->outputFrequencies[7], 50.0);
    }
    EXPECT_EQ(copy->parent(), nullptr);
    EXPECT_EQ(child.parent(), &owner);
}

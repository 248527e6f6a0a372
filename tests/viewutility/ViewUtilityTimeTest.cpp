#include <gtest/gtest.h>

#include "ViewUtilityHelper.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <limits>

using H = ViewUtilityHelper;

TEST(ViewUtilityTime, RoundsTimes)
{
    const QTime t(12, 34, 57, 789);
    const std::pair<QTime, QTime> cases[] = {
        {H::roundTime10sec(t, 1), QTime(12, 35, 0)},
        {H::roundTime10sec(t, -6), QTime(12, 33, 50)},
        {H::roundTime10sec(t, 0, -8 * 3600), QTime(4, 34, 50)},
        {H::roundTime10sec(QTime(23, 59, 55), 1), QTime(0, 0, 0)},
        {H::roundTime1min(t, 0), QTime(12, 34, 0)},
        {H::roundTime1min(t, 30), QTime(13, 4, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.first, c.second) << c.first.toString("hh:mm:ss.zzz").toStdString();
    const int huge = std::numeric_limits<int>::max();
    EXPECT_TRUE(H::roundTime10sec(t, huge, huge).isValid());
    EXPECT_TRUE(H::roundTime1min(t, -huge).isValid());

    // Crossing midnight moves the date: a start time is never a day early.
    const QDateTime late(QDate(2024, 2, 28), QTime(23, 59, 55, 500));
    EXPECT_EQ(H::roundDateTime10sec(late, 1), QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    EXPECT_EQ(H::roundDateTime10sec(QDateTime(QDate(2024, 3, 1), QTime(0, 0, 5)), -1),
              QDateTime(QDate(2024, 2, 29), QTime(23, 59, 50)));
}

TEST(ViewUtilityTime, WritesGivenAndCurrentTimes)
{
    ViewUtilityHelper& h = *ViewUtilityHelper::getInstance();
    const QString fmt = "yyyy-MM-dd hh:mm:ss";
    EXPECT_EQ(h.getDateTimeString(2024, 2, 29, 13, 5, 9, fmt), "2024-02-29 13:05:09");
    EXPECT_EQ(h.getDateTimeString(2023, 2, 29, 13, 5, 9, fmt), "");
    EXPECT_EQ(h.getDateTimeString(2023, 2, 28, 24, 0, 0, fmt), "");
    // Whatever the clock shows, rounded seconds end in 0.
    EXPECT_TRUE(h.getNowTimeRound10sec(3, "ss").endsWith('0'));
    EXPECT_TRUE(h.getNowTimeRound10secByTZ(1, "ss", 3600).endsWith('0'));
    EXPECT_EQ(h.getNowTimeRound1min(1, "ss"), "00");
    EXPECT_TRUE(h.getNowDateTimeRound10sec(1, fmt).endsWith('0'));
}

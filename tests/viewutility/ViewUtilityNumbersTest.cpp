#include <gtest/gtest.h>

#include "ViewUtilityHelper.h"

#include <QString>

#include <cmath>
#include <limits>

namespace {

ViewUtilityHelper& helper()
{
    return *ViewUtilityHelper::getInstance();
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

} // namespace

// Texts as the panels type them or as doubleFormatToString wrote them.
TEST(ViewUtilityNumbers, ParsesEditedTextsByLocale)
{
    struct Case {
        const char* text;
        const char* locale;
        double expected;
    };
    const Case cases[] = {
        {"-12.5.3", "us_EN", -12.5}, {".5", "us_EN", 0.5}, {"7.", "us_EN", 7.0}, {"abc", "us_EN", 0.0},
        {"--1", "us_EN", -1.0}, {"12-", "zh_CN", -12.0}, {"1,234.500", "zh_CN", 1234.5}, {"1e5", "us_EN", 15.0},
        {"12,5", "pt_PT", 12.5}, {"-1\u00a0234,500", "ru_RU", -1234.5}, {"0,25,7", "ru_RU", 0.25},
        {"12.5", "ru_RU", 12.5},       // the panel's point key in a decimal-comma locale
        {"1.234,5", "de_DE", 1234.5},  // where '.' groups thousands
        {"1.234,5", "pt_BR", 1234.5}, {"\u22123,5", "sv_SE", -3.5}, {"-3,5", "sv_SE", -3.5},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(helper().stringFormatToDouble(QString::fromUtf8(c.text), c.locale), c.expected)
            << c.text << " in " << c.locale;
    EXPECT_TRUE(std::isnan(helper().stringFormatToDouble(QString(400, '9'), "us_EN")));
}

// What an edit box shows reads back as the same number in every locale.
TEST(ViewUtilityNumbers, FormattedTextsParseBack)
{
    for (const char* locale : {"zh_CN", "us_EN", "pt_PT", "ru_RU", "de_DE", "ja_JP"}) {
        for (double v : {-1234.567, 0.5, -0.001, 0.0, 9999999999.999}) {
            const QString text = helper().doubleFormatToString(v, 3, locale);
            EXPECT_DOUBLE_EQ(helper().stringFormatToDouble(text, locale), QString::number(v, 'f', 3).toDouble())
                << qPrintable(text) << " in " << locale;
        }
    }
}

TEST(ViewUtilityNumbers, FormatsNumbersDurationsAndColours)
{
    const std::pair<QString, const char*> cases[] = {
        {helper().doubleFormatToString(kNaN, 3, "zh_CN"), "NaN"},
        {helper().doubleFormatToString(1234.5, 3, "us_EN"), "1234.500"},
        {helper().doubleFormatToString(1234.5, 3, "zh_CN"), "1234.500"},
        {helper().doubleFormatToString(-12.5, 2, "pt_PT"), "-12,50"},
        {helper().doubleFormatToStringForTime(0.0255, 1, "us_EN"), "25.5ms"},
        {helper().doubleFormatToStringForTime(1.0, 3, "us_EN"), "1.000s"},
        {helper().doubleFormatToStringForTime(0.5, 3, "ru_RU"), "500,000ms"},
        {helper().doubleFormatToStringForTime(2.25, 2, "pt_PT"), "2,25s"},
        {helper().doubleFormatToStringForTime(kNaN, 3, "us_EN"), "NaN"},
        {helper().intFormatToRGBString(0x0A0B0Cu, false), "#0a0b0c"},
        {helper().intFormatToRGBString(0x0A0B0Cu, true), "#0c0b0a"},
        {helper().intFormatToRGBString(0xFF00F0E1u, false), "#00f0e1"},
        {helper().stringRemove("1 234 5", ' '), "12345"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.first, QString::fromUtf8(c.second));
}

TEST(ViewUtilityNumbers, TruncatesToIntWithoutOverflow)
{
    const int max = std::numeric_limits<int>::max();
    const int min = std::numeric_limits<int>::min();
    const std::pair<double, int> cases[] = {
        {2.7, 2}, {-2.7, -2}, {kNaN, 0}, {kInf, max}, {-kInf, min},
        {1e300, max}, {-1e300, min}, {2147483647.9, max}, {-2147483648.9, min},
    };
    for (const auto& c : cases)
        EXPECT_EQ(helper().doubleFormatToInt(c.first), c.second) << c.first;
}

TEST(ViewUtilityNumbers, ComparesTextsAndMarkers)
{
    EXPECT_TRUE(helper().stringToDoubleEqual("", "0"));
    EXPECT_TRUE(helper().stringToDoubleEqual("1.0", "1"));
    EXPECT_TRUE(helper().stringToDoubleEqual("abc", ""));
    EXPECT_FALSE(helper().stringToDoubleEqual("1.5", "1.50001"));
    EXPECT_TRUE(helper().stringEqualNoCase("ZOR300", "zor300"));
    EXPECT_TRUE(helper().qmlIsNaN(helper().qmlNaN()));
    EXPECT_TRUE(helper().qmlIsMax(-std::numeric_limits<double>::max()));
    EXPECT_FALSE(helper().qmlIsMax(kInf));
}

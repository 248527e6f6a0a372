// Number texts of the interface utility: what the on-screen panels type,
// in any locale, and numbers formatted back. In the locales the interface
// reads and writes numbers in, a number shown reads back as the number its
// text shows (the round trip of a field), and a duration's text has its
// unit; the conversion to int stays within its bounds.

#include "FuzzSupport.h"
#include "ViewUtilityHelper.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The first six are the ones the interface uses or promises.
const char* const kLocales[] = {"zh_CN", "us_EN", "pt_PT", "ru_RU", "de_DE", "ja_JP", "ar_EG", ""};
constexpr int kPromised = 6;

// text, shown with precision decimals, reads back as the C locale's text of
// value with as many.
void expectReadBack(const QString& text, double value, int precision, const QString& locale)
{
    const double back = ViewUtilityHelper::getInstance()->stringFormatToDouble(text, locale);
    const double shown = QString::number(value, 'f', precision).toDouble();
    if (!(back == shown))
        fuzz::fail("a number shown does not read back as shown",
                   locale + QStringLiteral(": \"") + text + QStringLiteral("\" read as ") + QString::number(back, 'g', 17)
                       + QStringLiteral(", shown ") + QString::number(shown, 'g', 17));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 + sizeof(double) + 1)
        return 0;
    const int localeIndex = data[0] % 8;
    const QString locale = QLatin1String(kLocales[localeIndex]);
    double number;
    std::memcpy(&number, data + 1, sizeof number);
    const int precision = int(int8_t(data[1 + sizeof number]));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 2 + sizeof number,
                                           int(size - 2 - sizeof number));

    ViewUtilityHelper* helper = ViewUtilityHelper::getInstance();
    const double typed = helper->stringFormatToDouble(text, locale);
    helper->stringRemove(text, QLatin1Char('.'));
    helper->stringToDoubleEqual(text, helper->doubleFormatToString(typed, 3, locale));
    const QString shown = helper->doubleFormatToString(number, precision, locale);
    const QString duration = helper->doubleFormatToStringForTime(number, precision, locale);
    helper->qmlIsMax(number);

    for (const double value : {number, typed}) {
        const int whole = helper->doubleFormatToInt(value);
        const bool within = std::isnan(value) ? whole == 0
                            : value >= double(std::numeric_limits<int>::max()) ? whole == std::numeric_limits<int>::max()
                            : value <= double(std::numeric_limits<int>::min()) ? whole == std::numeric_limits<int>::min()
                                                                                : whole == int(std::trunc(value));
        if (!within)
            fuzz::fail("a number converted to int is not its whole part within int", QString::number(value, 'g', 17));
    }

    if (std::isnan(number) && (shown != QStringLiteral("NaN") || duration != QStringLiteral("NaN")))
        fuzz::fail("NaN is not shown as NaN", shown + QStringLiteral(" / ") + duration);
    if (localeIndex >= kPromised || !std::isfinite(number) || precision < 0 || precision > 17)
        return 0;
    expectReadBack(shown, number, precision, locale);
    const bool milliseconds = number < 1.0;
    const QString unit = milliseconds ? QStringLiteral("ms") : QStringLiteral("s");
    if (!duration.endsWith(unit))
        fuzz::fail("a duration is shown without its unit", duration);
    const double scaled = milliseconds ? number * 1000.0 : number;
    if (std::isfinite(scaled))
        expectReadBack(duration.chopped(unit.size()), scaled, precision, locale);
    return 0;
}

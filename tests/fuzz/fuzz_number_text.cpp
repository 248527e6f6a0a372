// Number texts of the interface utility: what the on-screen panels type,
// in any locale, and numbers formatted back.

#include "FuzzSupport.h"
#include "ViewUtilityHelper.h"

#include <cmath>
#include <cstring>

namespace {

const char* const kLocales[] = {"zh_CN", "us_EN", "pt_PT", "ru_RU", "de_DE", "ja_JP", "ar_EG", ""};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 + sizeof(double) + 1)
        return 0;
    const QString locale = QLatin1String(kLocales[data[0] % 8]);
    double number;
    std::memcpy(&number, data + 1, sizeof number);
    const int precision = int(int8_t(data[1 + sizeof number]));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 2 + sizeof number,
                                           int(size - 2 - sizeof number));

    ViewUtilityHelper* helper = ViewUtilityHelper::getInstance();
    const double typed = helper->stringFormatToDouble(text, locale);
    helper->stringRemove(text, QLatin1Char('.'));
    helper->stringToDoubleEqual(text, helper->doubleFormatToString(typed, 3, locale));
    helper->doubleFormatToString(number, precision, locale);
    helper->doubleFormatToStringForTime(number, precision, locale);
    helper->doubleFormatToInt(number);
    helper->doubleFormatToInt(typed);
    helper->qmlIsMax(number);
    return 0;
}

#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace zorsim {

// printf-style text for violation messages.
__attribute__((format(printf, 1, 2))) inline std::string strf(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

} // namespace zorsim

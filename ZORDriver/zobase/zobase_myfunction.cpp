#include "zobase_myfunction.h"

#include "zoplatform.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

unsigned char lowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// sscanf "%d" on [begin, end): white space, a sign and digits; false when no digit.
bool readInt(const char* begin, const char* end, int& value)
{
    const char* p = begin;
    while (p < end && isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    if (p >= end || !isdigit(static_cast<unsigned char>(*p)))
        return false;
    long long v = 0;
    while (p < end && isdigit(static_cast<unsigned char>(*p))) {
        if (v < 1LL << 40)
            v = v * 10 + (*p - '0');
        ++p;
    }
    if (negative)
        v = -v;
    value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
    return true;
}

} // namespace

char* _my_strupr(char* str)
{
    for (char* p = str; p && *p; ++p) {
        if (*p >= 'a' && *p <= 'z')
            *p = char(*p - 'a' + 'A');
    }
    return str;
}

char* _my_strlwr(char* str)
{
    for (char* p = str; p && *p; ++p) {
        if (*p >= 'A' && *p <= 'Z')
            *p = char(*p - 'A' + 'a');
    }
    return str;
}

int _my_stricmp(const char* str1, const char* str2)
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(str1 ? str1 : "");
    const unsigned char* b = reinterpret_cast<const unsigned char*>(str2 ? str2 : "");
    for (; *a; ++a, ++b) {
        const int d = int(lowerAscii(*a)) - int(lowerAscii(*b));
        if (d != 0)
            return d;
    }
    return 0 - int(*b);
}

void _my_exeshell(const char* shell, char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return;
    memset(buffer, 0, size_t(size));
    if (shell == nullptr || *shell == '\0') {
        printf("_my_exeshell: no command\n");
        return;
    }
    const zoplat::CommandResult r = zoplat::runCommand(QString::fromLocal8Bit(shell));
    if (r.status == -1) {
        printf("_my_exeshell: cannot run %s\n", shell);
        return;
    }
    const int n = qMin(r.output.size(), size - 1);
    memcpy(buffer, r.output.constData(), size_t(n));
}

int _my_getstrline(const char* head, const char* tail, char* text, int size)
{
    if (head == nullptr || tail == nullptr || text == nullptr)
        return 0;
    int count = 0;
    for (const char* p = head; p < tail && count < size; ++p) {
        text[count++] = *p;
        if (*p == '\n' || *p == '\r')
            break;
    }
    return count;
}

u32 _my_getverfromstr(const char* str, int)
{
    int parts[3] = {0, 0, 0};
    if (str == nullptr)
        return 0;
    const char* pos = str;
    for (int& part : parts) {
        const char* point = strchr(pos, '.');
        if (point != nullptr) {
            int v;
            if (readInt(pos, point, v))
                part = v;
            pos = point + 1;
        } else if (*pos != '\0' && strcmp(pos, "\n") != 0) {
            int v;
            if (readInt(pos, pos + strlen(pos), v))
                part = v;
        }
    }
    return u32(parts[0]) | (u32(parts[1]) << 8) | (u32(parts[2]) << 24);
}

int _my_combinepath(char* fullpath, const char* path)
{
    if (fullpath == nullptr)
        return -1;
    size_t length = strlen(fullpath);
    if (length > 0 && fullpath[length - 1] != '/' && fullpath[length - 1] != '\\')
        fullpath[length++] = '/';
    if (path != nullptr) {
        const size_t add = strlen(path);
        memcpy(fullpath + length, path, add);
        length += add;
    }
    fullpath[length] = '\0';
    return int(length);
}

int _my_combinepath2(char* fullpath, const char* path1, const char* path2)
{
    if (_my_combinepath(fullpath, path1) < 0)
        return -1;
    return _my_combinepath(fullpath, path2);
}

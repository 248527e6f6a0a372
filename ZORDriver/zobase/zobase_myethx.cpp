#include "zobase_myethx.h"

#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QByteArray>
#include <QFileInfo>
#include <QList>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kNameMax = IFNAMSIZ - 1;   // 15 characters are used
constexpr int kLineChunk = 511;             // "ip route" lines are read 512 characters at a time

// ifreq query on an AF_INET stream socket; the socket is closed on every path.
bool queryInterface(const char* ethx, unsigned long request, ifreq& ifr)
{
    if (ethx == nullptr)
        return false;
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return false;
    memset(&ifr, 0, sizeof ifr);
    strncpy(ifr.ifr_name, ethx, kNameMax);
    const bool ok = ioctl(s, request, &ifr) == 0;
    close(s);
    return ok;
}

int getAddress(const char* ethx, char* addr, unsigned long request)
{
    ifreq ifr{};
    if (addr == nullptr || !queryInterface(ethx, request, ifr))
        return -1;
    const sockaddr_in* in = reinterpret_cast<const sockaddr_in*>(&ifr.ifr_addr);
    char text[INET_ADDRSTRLEN];
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) == nullptr)
        return -1;
    strcpy(addr, text);
    return 0;
}

// A dotted IPv4 address text: four decimal parts 0..255.
bool isDottedIpv4(const char* text)
{
    if (text == nullptr || strnlen(text, INET_ADDRSTRLEN) >= INET_ADDRSTRLEN)
        return false;
    int parts = 0;
    const char* p = text;
    for (;;) {
        int digits = 0;
        int value = 0;
        while (*p >= '0' && *p <= '9' && digits < 4) {
            value = value * 10 + (*p - '0');
            ++p;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        ++parts;
        if (*p == '\0')
            return parts == 4;
        if (*p != '.' || parts == 4)
            return false;
        ++p;
    }
}

QList<QByteArray> words(const QByteArray& line)
{
    return line.simplified().split(' ');
}

// A line that opens a stanza in an interfaces file.
bool opensStanza(const QByteArray& line)
{
    const QByteArray first = words(line).value(0);
    return first == "iface" || first == "auto" || first == "mapping" || first == "source"
        || first == "source-directory" || first.startsWith("allow-");
}

bool isStaticStanzaOf(const QByteArray& line, const QByteArray& ethx)
{
    const QList<QByteArray> w = words(line);
    return w.size() >= 4 && w[0] == "iface" && w[1] == ethx && w[2] == "inet" && w[3] == "static";
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

int _my_get_ethx_mac(const char* ethx, char* addr)
{
    ifreq ifr{};
    if (addr == nullptr || !queryInterface(ethx, SIOCGIFHWADDR, ifr))
        return -1;
    const unsigned char* m = reinterpret_cast<const unsigned char*>(ifr.ifr_hwaddr.sa_data);
    sprintf(addr, "%02X:%02X:%02X:%02X:%02X:%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
    return 0;
}

int _my_get_ethx_ip(const char* ethx, char* addr)
{
    return getAddress(ethx, addr, SIOCGIFADDR);
}

int _my_get_ethx_mask(const char* ethx, char* addr)
{
    return getAddress(ethx, addr, SIOCGIFNETMASK);
}

int _my_get_ethx_gate(const char* ethx, char* addr)
{
    if (ethx == nullptr || addr == nullptr || *ethx == '\0')
        return -1;
    const QByteArray name = QByteArray(ethx).left(int(kNameMax));
    const zoplat::CommandResult r = zoplat::runCommand(QStringLiteral("ip route"));
    if (r.status == -1)
        return -1;
    for (const QByteArray& whole : r.output.split('\n')) {
        // Lines are taken as a 512-character reader gives them.
        for (int at = 0; at < whole.size() || at == 0; at += kLineChunk) {
            const QByteArray line = whole.mid(at, kLineChunk);
            const QByteArray trimmed = line.trimmed();
            if (!trimmed.startsWith("default") || !line.contains(name))
                continue;
            const QList<QByteArray> w = words(line);
            // The gateway is the third word; one too long for an address is not taken.
            if (w.size() < 3 || w[2].size() >= INET_ADDRSTRLEN)
                return -1;
            memcpy(addr, w[2].constData(), size_t(w[2].size()));
            addr[w[2].size()] = '\0';
            return 0;
        }
    }
    return -1;
}

int _my_set_ethx_ip(const char* ethx, const char* addr)
{
    if (ethx == nullptr || *ethx == '\0' || strnlen(ethx, kNameMax + 1) > kNameMax) {
        printf("_my_set_ethx_ip: bad interface name\n");
        return -1;
    }
    if (!isDottedIpv4(addr)) {
        printf("_my_set_ethx_ip: not an IPv4 address\n");
        return -1;
    }

    const QByteArray path = zoplat::devicePath(QStringLiteral("/etc/network/interfaces")).toLocal8Bit();
    FILE* in = fopen(path.constData(), "r");
    if (in == nullptr) {
        printf("无法打开文件\n");
        return -1;
    }
    struct stat st{};
    const mode_t mode = fstat(fileno(in), &st) == 0 ? (st.st_mode & 07777) : 0644;

    // Copy line by line; in the interface's static stanza the "address" line
    // is replaced (or added after the header when the stanza has none).
    const QByteArray ethxName(ethx);
    const QByteArray newLine = QByteArray("      address ") + addr + '\n';
    QByteArray out;
    bool inStanza = false;
    bool replaced = false;
    bool found = false;
    char* buf = nullptr;
    size_t cap = 0;
    ssize_t n;
    bool readFailed = false;
    while ((n = getline(&buf, &cap, in)) > 0) {
        QByteArray line(buf, int(n));
        const bool comment = line.trimmed().startsWith('#');
        if (!comment && opensStanza(line)) {
            if (inStanza && !replaced)
                out += newLine;
            inStanza = isStaticStanzaOf(line, ethxName);
            replaced = false;
            found = found || inStanza;
            if (!line.endsWith('\n'))
                line += '\n';
            out += line;
            continue;
        }
        if (inStanza && !comment && words(line).value(0) == "address") {
            if (!replaced)
                out += newLine;
            replaced = true;
            continue;
        }
        out += line;
    }
    readFailed = ferror(in) != 0;
    free(buf);
    fclose(in);
    if (inStanza && !replaced) {
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += '\n';
        out += newLine;
    }
    if (readFailed) {
        printf("无法打开文件\n");
        return -1;
    }
    if (!found) {
        printf("_my_set_ethx_ip: no static stanza for %s\n", ethx);
        return -1;
    }

    // A temporary file beside the old one, flushed, then renamed over it.
    const QFileInfo target(QString::fromLocal8Bit(path));
    const QByteArray folder = QFileInfo(target.absolutePath()).canonicalFilePath().toLocal8Bit();
    const zoplat::HeldFolder held(folder);
    QByteArray tmp = folder + "/.interfaces.XXXXXX";
    const int fd = held.isOpen() ? mkstemp(tmp.data()) : -1;
    if (fd < 0) {
        printf("无法创建临时文件\n");
        return -1;
    }
    const bool written = writeAll(fd, out) && fchmod(fd, mode | 0111) == 0 && fsync(fd) == 0;
    const QByteArray tmpName = tmp.mid(tmp.lastIndexOf('/') + 1);
    const QByteArray name = target.fileName().toLocal8Bit();
    if (close(fd) != 0 || !written || !held.renameOver(tmpName.constData(), name.constData())) {
        unlink(tmp.constData());
        printf("_my_set_ethx_ip: writing %s failed (errno: %d)\n", path.constData(), errno);
        return -1;
    }
    printf("IP change successfully\n");
    return 0;
}

int _my_set_ethx_mask(const char*, const char*)
{
    return -1;
}

int _my_set_ethx_gate(const char*, const char*)
{
    return -1;
}

#include "PlatformTestSupport.h"
#include "zobase_myethx.h"
#include "zobase_myfunction.h"

#include <QFileInfo>

#include <cstring>

using namespace zoplat;

namespace {

const QByteArray kInterfaces =
    "# The loopback network interface\n"
    "auto lo\n"
    "iface lo inet loopback\n"
    "\n"
    "auto eth0\n"
    "iface eth0 inet static\n"
    "      netmask 255.255.255.0\n"
    "      address 192.168.1.100\n"
    "      gateway 192.168.1.1\n"
    "# iface eth0 inet static\n"
    "\n"
    "iface eth1 inet static\n"
    "      address 10.0.0.5\n";

using EthernetSettings = PlatformTest;

TEST_F(EthernetSettings, AddressRewriteReplacesOnlyTheStanzasAddressLine)
{
    writeDevice("/etc/network/interfaces", kInterfaces);
    EXPECT_EQ(_my_set_ethx_ip("eth0", "10.20.30.40"), 0);
    QByteArray expected = kInterfaces;
    expected.replace("      address 192.168.1.100\n", "      address 10.20.30.40\n");
    EXPECT_EQ(readDevice("/etc/network/interfaces"), expected);
    EXPECT_EQ(QDir(root + "/etc/network").entryList(QDir::Files | QDir::Hidden), QStringList{"interfaces"});
    EXPECT_TRUE(host::recordedCommands().isEmpty());

    // A stanza without an address line gets one after its header.
    writeDevice("/etc/network/interfaces", "iface eth0 inet static\n      netmask 255.0.0.0\nauto eth1\n");
    EXPECT_EQ(_my_set_ethx_ip("eth0", "10.0.0.2"), 0);
    EXPECT_EQ(readDevice("/etc/network/interfaces"),
              QByteArray("iface eth0 inet static\n      netmask 255.0.0.0\n      address 10.0.0.2\nauto eth1\n"));
}

TEST_F(EthernetSettings, FailedRewriteLeavesTheOldFile)
{
    writeDevice("/etc/network/interfaces", kInterfaces);
    const std::string longName(40, 'e');
    const struct
    {
        const char* ethx;
        const char* addr;
    } rows[] = {
        {"eth0", "1.2.3"},
        {"eth0", "256.1.1.1"},
        {"eth0", "1.2.3.4; reboot"},
        {"eth0", "1.2.3.4\n      gateway 6.6.6.6"},
        {"eth0", " 1.2.3.4"},
        {"eth0", ""},
        {"eth0", nullptr},
        {"eth0", "0001.2.3.4"},
        {"eth2", "1.2.3.4"},         // no static stanza
        {"", "1.2.3.4"},
        {nullptr, "1.2.3.4"},
        {longName.c_str(), "1.2.3.4"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(_my_set_ethx_ip(row.ethx, row.addr), -1) << (row.addr ? row.addr : "(null)");
        EXPECT_EQ(readDevice("/etc/network/interfaces"), kInterfaces);
    }
    // Read-only folder: the temporary file cannot be made.
    QFile::setPermissions(root + "/etc/network", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (access((root + "/etc/network/x").toLocal8Bit().constData(), F_OK) != 0 && geteuid() != 0) {
        EXPECT_EQ(_my_set_ethx_ip("eth0", "1.2.3.4"), -1);
        EXPECT_EQ(readDevice("/etc/network/interfaces"), kInterfaces);
    }
    QFile::setPermissions(root + "/etc/network", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::remove(root + "/etc/network/interfaces");
    EXPECT_EQ(_my_set_ethx_ip("eth0", "1.2.3.4"), -1);
}

TEST_F(EthernetSettings, GatewayComesFromTheDefaultRouteOfTheInterface)
{
    const struct
    {
        const char* routes;
        int status;
        int result;
        const char* gateway;
    } rows[] = {
        {"default via 192.168.1.1 dev eth0 onlink\n192.168.1.0/24 dev eth0 proto kernel\n", 0, 0, "192.168.1.1"},
        {"default via 10.0.0.1 dev wlan0\n  default via 172.16.0.1 dev eth0 metric 5\n", 0, 0, "172.16.0.1"},
        {"192.168.1.0/24 dev eth0 proto kernel scope link\n", 0, -1, "unchanged"},
        {"default via 10.0.0.1 dev wlan0\n", 0, -1, "unchanged"},
        {"default via 123456789012345678.1 dev eth0\n", 0, -1, "unchanged"},   // not an address's length
        {"", -1, -1, "unchanged"},                                             // "ip" could not be run
    };
    for (const auto& row : rows) {
        host::scriptCommand("ip route", {row.status, row.routes});
        char addr[16] = "unchanged";
        EXPECT_EQ(_my_get_ethx_gate("eth0", addr), row.result) << row.routes;
        EXPECT_STREQ(addr, row.gateway) << row.routes;
    }
    EXPECT_EQ(host::recordedCommands().size(), int(std::size(rows)));
}

TEST(EthernetQueries, LoopbackInterface)
{
    char text[32];
    ASSERT_EQ(_my_get_ethx_ip("lo", text), 0);
    EXPECT_STREQ(text, "127.0.0.1");
    ASSERT_EQ(_my_get_ethx_mask("lo", text), 0);
    EXPECT_STREQ(text, "255.0.0.0");
    ASSERT_EQ(_my_get_ethx_mac("lo", text), 0);
    EXPECT_STREQ(text, "00:00:00:00:00:00");
    EXPECT_EQ(_my_get_ethx_ip("zor-no-such0", text), -1);
    EXPECT_EQ(_my_get_ethx_mac(nullptr, text), -1);
    EXPECT_EQ(_my_set_ethx_mask("eth0", "255.0.0.0"), -1);
    EXPECT_EQ(_my_set_ethx_gate("eth0", "1.1.1.1"), -1);
}

TEST(StringHelpers, CompareCaseAndPaths)
{
    EXPECT_EQ(_my_stricmp("abc", "ABC"), 0);
    EXPECT_EQ(_my_stricmp("ab", "abc"), -99);
    EXPECT_EQ(_my_stricmp("abd", "ABC"), 1);
    EXPECT_EQ(_my_stricmp("", ""), 0);
    char word[] = "Zor-1a";
    EXPECT_STREQ(_my_strupr(word), "ZOR-1A");
    EXPECT_STREQ(_my_strlwr(word), "zor-1a");

    const struct
    {
        const char* full;
        const char* path;
        const char* result;
    } rows[] = {{"/a/", "b", "/a/b"}, {"/a", "b", "/a/b"}, {"", "b", "b"}, {"C:\\d\\", "e", "C:\\d\\e"}};
    for (const auto& row : rows) {
        char full[64];
        strcpy(full, row.full);
        EXPECT_EQ(_my_combinepath(full, row.path), int(strlen(row.result)));
        EXPECT_STREQ(full, row.result);
    }
    char full[64] = "/media";
    EXPECT_EQ(_my_combinepath2(full, "usb", "report.html"), 22);
    EXPECT_STREQ(full, "/media/usb/report.html");

    const char text[] = "line one\r\nline two";
    char out[32];
    EXPECT_EQ(_my_getstrline(text, text + sizeof text - 1, out, sizeof out), 9);
    EXPECT_EQ(std::string(out, 9), "line one\r");
    EXPECT_EQ(_my_getstrline(text, text + sizeof text - 1, out, 4), 4);
    EXPECT_EQ(_my_getstrline(text + 10, text + sizeof text - 1, out, sizeof out), 8);
}

TEST(StringHelpers, VersionTextsParseWithoutTouchingTheInput)
{
    const struct
    {
        const char* text;
        u32 a, b, c;
    } rows[] = {
        {"2.0.4", 2, 0, 4}, {"1.2", 1, 2, 2}, {"5", 5, 5, 5}, {"3.x.7", 3, 0, 7}, {"", 0, 0, 0}, {"\n", 0, 0, 0},
        {"2.1.", 2, 1, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(_my_getverfromstr(row.text, 0), row.a | row.b << 8 | row.c << 24) << row.text;   // literals stay intact
}

using ShellOutput = PlatformTest;

TEST_F(ShellOutput, ExeShellReturnsTerminatedOutput)
{
    host::scriptCommand("cat /proc/version", {0, "Linux version 4.19\n"});
    char buf[8];
    memset(buf, 'x', sizeof buf);
    _my_exeshell("cat /proc/version", buf, sizeof buf);
    EXPECT_STREQ(buf, "Linux v");
    char big[64];
    _my_exeshell("cat /proc/version", big, sizeof big);
    EXPECT_STREQ(big, "Linux version 4.19\n");
    host::scriptCommand("missing-tool", {-1, {}});
    _my_exeshell("missing-tool", big, sizeof big);
    EXPECT_STREQ(big, "");
    EXPECT_EQ(host::recordedCommands(), QStringList({"cat /proc/version", "cat /proc/version", "missing-tool"}));
}

} // namespace

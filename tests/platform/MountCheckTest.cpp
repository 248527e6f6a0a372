// The host's mount check: a test's scripted answer, else the sandbox (a file
// system is mounted where its folder exists). Always recorded.

#include "PlatformTestSupport.h"

#include "zoplatform.h"

#include <optional>

namespace {

using namespace zoplat;

class MountCheck : public PlatformTest
{
};

TEST_F(MountCheck, AnswersFromTheSandboxUnlessScripted)
{
    struct Row
    {
        const char* name;
        const char* path;
        const char* folder;          // made in the sandbox (device path), or null
        const char* file;            // a plain file made there, or null
        std::optional<int> script;   // scripted status of the check
        bool mounted;
    };
    const Row rows[] = {
        {"folder present", "/media/usb", "/media/usb", nullptr, std::nullopt, true},
        {"no folder", "/media/usb", nullptr, nullptr, std::nullopt, false},
        {"a file in its place", "/media/usb", nullptr, "/media/usb", std::nullopt, false},
        {"only a parent", "/media/usb", "/media", nullptr, std::nullopt, false},
        {"SD card", "/mnt/sdp1", "/mnt/sdp1", nullptr, std::nullopt, true},
        {"scripted absent over a folder", "/media/usb", "/media/usb", nullptr, 1, false},
        {"scripted present without one", "/media/usb", nullptr, nullptr, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        host::clearCommandScripts();
        host::clearRecordedCommands();
        if (row.folder)
            QDir().mkpath(root + row.folder);
        if (row.file)
            writeDevice(row.file);
        if (row.script)
            host::scriptCommand(QStringLiteral("mountpoint -q ") + row.path, {*row.script, {}});
        EXPECT_EQ(isMounted(row.path), row.mounted);
        EXPECT_EQ(host::recordedCommands(), QStringList{QStringLiteral("mountpoint -q ") + row.path});
    }
}

} // namespace

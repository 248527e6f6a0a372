// The host's mount check: a test's scripted answer, else the sandbox (a file
// system is mounted where its folder exists). Always recorded.

#include "PlatformTestSupport.h"

#include "zoplatform.h"

#include <optional>

namespace {

using namespace zoplat;

using MountCheck = PlatformTest;

TEST_F(MountCheck, AnswersFromTheSandboxUnlessScripted)
{
    struct Row
    {
        const char* name;
        const char* folder;          // made in the sandbox (device path), or null
        const char* file;            // a plain file made there, or null
        std::optional<int> script;   // scripted status of the check
        bool mounted;
    };
    const Row rows[] = {
        {"folder present", "/media/usb", nullptr, std::nullopt, true},
        {"no folder", nullptr, nullptr, std::nullopt, false},
        {"a file in its place", nullptr, "/media/usb", std::nullopt, false},
        {"scripted absent over a folder", "/media/usb", nullptr, 1, false},
        {"scripted present without one", nullptr, nullptr, 0, true},
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
            host::scriptCommand(QStringLiteral("mountpoint -q /media/usb"), {*row.script, {}});
        EXPECT_EQ(isMounted(QStringLiteral("/media/usb")), row.mounted);
        EXPECT_EQ(host::recordedCommands(), QStringList{QStringLiteral("mountpoint -q /media/usb")});
    }
}

} // namespace

// Software upgrade: the package chosen on the stick, the copy to the fixed
// name, and the upgrade script run through the platform's runner with a
// scripted exit status.

#include "FileManagerTestSupport.h"

#include <string>
#include <utility>
#include <vector>

using fmtest::FileManagerTest;

namespace {

class Upgrade : public FileManagerTest
{
protected:
    // The script run blocking, then as the dialog runs it (on the background
    // queue, the result and what is said of it by signal): result both times.
    void expectRun(ViewBaseModel& vm, int result)
    {
        EXPECT_EQ(vm.runUpgradeShell(), result);
        std::vector<std::pair<int, std::string>> finished;
        const QMetaObject::Connection link = QObject::connect(
            &vm, &ViewBaseModel::sigUpgradeShellFinished,
            [&finished](int r, const QString& notice) { finished.emplace_back(r, notice.toStdString()); });
        EXPECT_TRUE(vm.startUpgradeShell());
        EXPECT_TRUE(vmtest::waitUntil([&finished] { return !finished.empty(); }));
        QObject::disconnect(link);
        const char* said = result == 0 ? "升级成功!正在自动重启。" : "升级失败！请联系技术支持。";
        EXPECT_EQ(finished, (std::vector<std::pair<int, std::string>>{{result, said}}));
    }

    // Package files, the first one the newest.
    void putPackages(const QStringList& names)
    {
        QDir(stick("upgrade")).removeRecursively();
        const QDateTime newest = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < names.size(); ++i) {
            QFile f(write(stick("upgrade/" + names.at(i)), fmtest::emptyZip(names.at(i).toUtf8())));
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(newest.addSecs(-60 * i), QFileDevice::FileModificationTime));
        }
    }
};

} // namespace

TEST_F(Upgrade, ChoosesThePackageByTheSelectionRules)
{
    // Software version "2.0.0004": major 2.
    const std::pair<QStringList, QString> cases[] = {
        {{"zorupgrade-v2.0.0004.zip", "zorupgrade-v2.1.0001.zip"}, "zorupgrade-v2.1.0001.zip"},
        {{"zorupgrade-v2.1.0001.zip", "zorupgrade-v2.0.0004.zip"}, "zorupgrade-v2.1.0001.zip"},
        {{"zorupgrade-v3.0.0000.zip"}, ""},
        {{"zorupgrade-v3.0.0000.zip", "zorupgrade-v2.0.0001.zip"}, "zorupgrade-v2.0.0001.zip"},
        // Texts, not numbers: "9" is after "10".
        {{"zorupgrade-v2.10.0000.zip", "zorupgrade-v2.9.0000.zip"}, "zorupgrade-v2.9.0000.zip"},
        {{"zorupgrade-v2.0.0004.zip.zip", "zorupgrade-v2.0.0001.zip"}, "zorupgrade-v2.0.0001.zip"},
        {{"ZORUPGRADE-V2.0.0004.ZIP"}, "ZORUPGRADE-V2.0.0004.ZIP"},
        {{"zorupgrade-v2.0.0004.Zip", "ZorUpgrade-v2.0.0004.zip"}, "zorupgrade-v2.0.0004.Zip"},   // the newer file
        {{"ZorUpgrade-v2.0.0004.zip", "zorupgrade-v2.0.0004.Zip"}, "ZorUpgrade-v2.0.0004.zip"},
        {{"zorupgrade.zip", "zorupgrade-v2.0.004.zip", "zorupgrade-v0.1.0000.zip", "upgrade.zip"}, ""},
        {{"zorupgrade-v2.0.0004.zip.txt"}, ""},
    };
    ViewBaseModel vm;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first.join(", ").toStdString());
        putPackages(c.first);
        const QString found = vm.findUpdateFileName();
        EXPECT_EQ(found, c.second.isEmpty() ? QString() : "/media/usb/upgrade/" + c.second);
        EXPECT_EQ(vm.checkUpgradeFileExist(found), !c.second.isEmpty());
    }
    mountStick(false);
    putPackages({"zorupgrade-v2.0.0004.zip"});
    EXPECT_EQ(vm.findUpdateFileName(), "");
}

TEST_F(Upgrade, PreparesTheChosenPackageNeverAnOldOne)
{
    putPackages({"zorupgrade-v2.1.0001.zip", "zorupgrade-v2.0.0004.zip"});
    write(stick("upgrade/zorupgrade.zip"), "a package prepared long ago");
    ViewBaseModel vm;
    const QString chosen = vm.findUpdateFileName();
    ASSERT_TRUE(vm.runUpgradePrepare(chosen));
    EXPECT_EQ(read(stick("upgrade/zorupgrade.zip")), fmtest::emptyZip("zorupgrade-v2.1.0001.zip"));

    // What is not a package of the upgrade folder is refused; the fixed
    // name itself is no choice.
    write(deviceRoot() + "/etc/zorupgrade-v2.9.0000.zip", "elsewhere");
    for (const QString& bad : {QStringLiteral("/media/usb/upgrade/zorupgrade.zip"),
                               QStringLiteral("/media/usb/upgrade/../../../etc/zorupgrade-v2.9.0000.zip"),
                               QStringLiteral("/etc/zorupgrade-v2.9.0000.zip"),
                               QStringLiteral("/media/usb/upgrade/zorupgrade-v2.2.0000.zip"),
                               QStringLiteral("media/usb/upgrade/zorupgrade-v2.0.0004.zip"), QString()}) {
        EXPECT_FALSE(vm.runUpgradePrepare(bad)) << bad.toStdString();
    }
    EXPECT_EQ(read(stick("upgrade/zorupgrade.zip")), fmtest::emptyZip("zorupgrade-v2.1.0001.zip"));

    // An old package that cannot be removed fails the preparation.
    QFile::remove(stick("upgrade/zorupgrade.zip"));
    QDir().mkpath(stick("upgrade/zorupgrade.zip"));
    EXPECT_FALSE(vm.runUpgradePrepare(chosen));

    mountStick(false);
    QDir(stick("upgrade/zorupgrade.zip")).removeRecursively();
    EXPECT_FALSE(vm.runUpgradePrepare(chosen));
    EXPECT_FALSE(exists(stick("upgrade/zorupgrade.zip")));
    EXPECT_TRUE(shellFileCommands().isEmpty()) << shellFileCommands().join('\n').toStdString();
}

TEST_F(Upgrade, RunsTheUpgradeScriptAndReportsItsExitStatus)
{
    ViewBaseModel vm;
    const struct
    {
        bool usbScript;
        int status;
        const char* command;
        int result;
    } cases[] = {
        {true, 0, "sh /opt/zor/script/updateusb.sh", 0},
        {true, 1, "sh /opt/zor/script/updateusb.sh", -1},
        {false, 0, "sh /opt/zor/script/upgradesd.sh", 0},
        {false, -1, "sh /opt/zor/script/upgradesd.sh", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        QFile::remove(deviceRoot() + "/opt/zor/script/updateusb.sh");
        if (c.usbScript)
            write(deviceRoot() + "/opt/zor/script/updateusb.sh", "#!/bin/sh\n");
        zoplat::host::scriptCommand(c.command, {c.status, {}});
        zoplat::host::clearRecordedCommands();
        expectRun(vm, c.result);
        EXPECT_EQ(zoplat::host::recordedCommands(), (QStringList{c.command, c.command}));
    }
}

TEST_F(Upgrade, APackageThatIsALinkIsRefusedAndNamed)
{
    write(sandbox.filePath("elsewhere/zorupgrade-v2.1.0001.zip"), fmtest::emptyZip());
    QDir().mkpath(stick("upgrade"));
    ASSERT_TRUE(QFile::link(sandbox.filePath("elsewhere/zorupgrade-v2.1.0001.zip"),
                            stick("upgrade/zorupgrade-v2.1.0001.zip")));
    ViewBaseModel vm;
    const QString chosen = vm.findUpdateFileName();
    ASSERT_EQ(chosen, "/media/usb/upgrade/zorupgrade-v2.1.0001.zip");
    EXPECT_FALSE(vm.runUpgradePrepare(chosen));
    EXPECT_EQ(vm.takeFileCopyNotice(),
              QString::fromUtf8("升级文件无法使用：/media/usb/upgrade/zorupgrade-v2.1.0001.zip（链接）"));
    EXPECT_FALSE(exists(stick("upgrade/zorupgrade.zip")));
}

TEST_F(Upgrade, TheHostsScriptFailsOnAPackageThatIsNoCompleteZip)
{
    const QByteArray zip = fmtest::emptyZip("package");
    QByteArray pastItsEnd = zip;
    pastItsEnd[16] = 1;   // a directory said to start past the end record
    // One stored entry "a" holding "x".
    const QByteArray oneFile = QByteArray::fromHex(
        "504b0304140000000000000021508316dc8c0100000001000000010000006178504b01021403140000000000000021508316dc8c"
        "010000000100000001000000000000000000000080010000000061504b050600000000010001002f000000200000000000");
    QByteArray directoryCut = oneFile;
    directoryCut[oneFile.size() - 22 + 12] = 0x40;   // a directory longer than what is before the end record
    const std::pair<QByteArray, int> cases[] = {
        {oneFile, 0},
        {directoryCut, -1},
        {QByteArray(), -1},
        {zip.left(zip.size() - 1), -1},
        {pastItsEnd, -1},
        {zip, -1},   // no entries: nothing to install
    };
    ViewBaseModel vm;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first.toHex().toStdString());
        write(stick("upgrade/zorupgrade-v2.1.0001.zip"), c.first);
        ASSERT_TRUE(vm.runUpgradePrepare(vm.findUpdateFileName()));
        expectRun(vm, c.second);
    }
}

TEST_F(Upgrade, AMountCheckOfAnOddPathIsOneShellWord)
{
    zoplat::host::clearCommandScripts();
    zoplat::host::clearRecordedCommands();
    QDir().mkpath(deviceRoot() + "/media/it's here");
    EXPECT_TRUE(zoplat::isMounted("/media/usb"));
    EXPECT_TRUE(zoplat::isMounted("/media/it's here"));
    EXPECT_FALSE(zoplat::isMounted(""));
    EXPECT_EQ(zoplat::host::recordedCommands(),
              (QStringList{"mountpoint -q /media/usb", "mountpoint -q '/media/it'\\''s here'"}));
    zoplat::host::scriptCommand("mountpoint -q /media/usb", {32, {}});
    EXPECT_FALSE(zoplat::isMounted("/media/usb"));
}

import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import "qrc:/"
import "qrc:/QMLPages/FileManager"
import "gallery"

// A module page's file dialog (save as, overwrite question, configure from
// a file) and the upgrade dialog's states.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }

    FileManagerFakeModel { id: model }

    ModuleFileDialog {
        id: moduleFiles
        viewModel: model
        prefix: "Distance_"
    }

    UpgradeDialog {
        id: upgrade
        viewModel: model
        autoTick: false
    }

    SignalSpy { id: loadedSpy; target: moduleFiles; signalName: "parametersLoaded" }

    TestCase {
        name: "FileManagerDialogs"
        when: windowShown

        function init() {
            model.calls = []
            model.backups = ["zone 1.xml", "区段 2.xml"]
            model.reports = ["Distance_old.htm"]
            model.saveResult = true
            model.loadResult = true
            model.packagePath = ""
            model.prepareResult = true
            model.copyNotice = ""
            model.shellRuns = 0
            loadedSpy.clear()
        }

        function cleanup() {
            var dialogs = [moduleFiles.fileDialog, moduleFiles.confirmDialog, moduleFiles.infoDialog, upgrade]
            for (var i = 0; i < dialogs.length; ++i) {
                dialogs[i].close()
                tryCompare(dialogs[i], "opened", false)
            }
        }

        function button(dialog, name) {
            var item = findChild(dialog.contentItem, name)
            verify(item, "no " + name)
            return item
        }

        function accept(dialog) {
            tryCompare(dialog, "opened", true)
            mouseClick(button(dialog, "acceptButton"))
        }

        // Opens the file dialog in a mode (0 report, 1 parameters, 2 from a file).
        function openIn(mode) {
            moduleFiles.open()
            var dialog = moduleFiles.fileDialog
            tryCompare(dialog, "opened", true)
            compare(dialog.nameBox.text, "Distance_")
            var modes = ["reportMode", "parameterMode", "loadMode"]
            mouseClick(button(dialog, modes[mode]))
            compare(dialog.mode, mode)
            return dialog
        }

        function test_savesParametersUnderANewName() {
            var dialog = openIn(1)
            dialog.nameBox.text = "Distance_zone 3"
            accept(dialog)
            tryCompare(moduleFiles.infoDialog, "opened", true)
            compare(moduleFiles.confirmDialog.opened, false)
            compare(model.calls, ["backupParameter(Distance_zone 3.xml)"])
            compare(moduleFiles.infoDialog.content, "保存参数成功！")
        }

        function test_overwritingAsksFirst() {
            var dialog = openIn(1)
            dialog.nameBox.text = "zone 1"
            accept(dialog)
            tryCompare(moduleFiles.confirmDialog, "opened", true)
            compare(moduleFiles.confirmDialog.content, "参数文件已存在, 确定要覆盖文件?")
            mouseClick(button(moduleFiles.confirmDialog, "rejectButton"))
            tryCompare(moduleFiles.confirmDialog, "opened", false)
            compare(model.calls, [])
            compare(moduleFiles.infoDialog.opened, false)

            dialog = openIn(1)
            dialog.nameBox.text = "zone 1"
            model.saveResult = false
            accept(dialog)
            accept(moduleFiles.confirmDialog)
            tryCompare(moduleFiles.infoDialog, "content", "保存参数失败！")
            compare(model.calls, ["backupParameter(zone 1.xml)"])
        }

        function test_savesAReportAskingBeforeOverwriting() {
            var dialog = openIn(0)
            dialog.nameBox.text = "Distance_old"
            accept(dialog)
            tryCompare(moduleFiles.confirmDialog, "opened", true)
            compare(moduleFiles.confirmDialog.content, "报告文件已存在, 确定要覆盖文件?")
            accept(moduleFiles.confirmDialog)
            tryCompare(moduleFiles.infoDialog, "content", "保存报告成功！")
            compare(model.calls, ["saveReport(Distance_old.htm)"])
        }

        function test_configuresFromASavedFile() {
            var dialog = openIn(2)
            compare(dialog.fileBox.count, 2)
            dialog.fileBox.currentIndex = 1
            accept(dialog)
            tryCompare(moduleFiles.infoDialog, "content", "导入参数成功！")
            compare(model.calls, ["loadParmFromFile(区段 2.xml)"])
            compare(loadedSpy.count, 1)

            model.loadResult = false
            moduleFiles.infoDialog.close()
            dialog = openIn(2)
            accept(dialog)
            tryCompare(moduleFiles.infoDialog, "content", "导入参数失败！")
            compare(loadedSpy.count, 1)

            // The reason the model gives follows.
            model.loadNotice = "normalTime = 1e+308"
            moduleFiles.infoDialog.close()
            dialog = openIn(2)
            accept(dialog)
            tryCompare(moduleFiles.infoDialog, "content", "导入参数失败！\nnormalTime = 1e+308")

            // Nothing to choose from: "确定" stays disabled.
            model.backups = []
            moduleFiles.infoDialog.close()
            dialog = openIn(2)
            compare(button(dialog, "acceptButton").enabled, false)
        }

        function test_upgradeLooksForAPackageEveryTick() {
            upgrade.open()
            tryCompare(upgrade, "opened", true)
            compare(upgrade.upgradeFileName, "/media/usb/upgrade/zorupgrade.zip")
            compare(upgrade.upgradeFileStateText, "升级文件不存在！请重新插入U盘。")
            // Accepting without a package prepares nothing.
            mouseClick(button(upgrade, "acceptButton"))
            compare(upgrade.upgradeState, 0)

            model.packagePath = "/media/usb/upgrade/zorupgrade-v2.1.0001.zip"
            upgrade.tick()
            compare(upgrade.upgradeFileName, model.packagePath)
            compare(upgrade.upgradeFileStateText, "文件已找到,请核对版本号!点击确定开始升级！")
        }

        function test_upgradeSaysWhyAPackageWasRefused() {
            model.packagePath = "/media/usb/upgrade/zorupgrade-v2.1.0001.zip"
            model.prepareResult = false
            model.copyNotice = "升级文件无法使用：/media/usb/upgrade/zorupgrade-v2.1.0001.zip（链接）"
            upgrade.open()
            tryCompare(upgrade, "opened", true)
            mouseClick(button(upgrade, "acceptButton"))
            compare(upgrade.upgradeState, 0)
            upgrade.tick()
            compare(upgrade.upgradeFileStateText, "升级文件无法使用：/media/usb/upgrade/zorupgrade-v2.1.0001.zip（链接）")
        }

        function test_upgradeRunsTheScriptOnTheSecondTickAndShowsSuccess() {
            model.packagePath = "/media/usb/upgrade/zorupgrade-v2.1.0001.zip"
            upgrade.open()
            tryCompare(upgrade, "opened", true)
            mouseClick(button(upgrade, "acceptButton"))
            compare(model.calls, ["runUpgradePrepare(/media/usb/upgrade/zorupgrade-v2.1.0001.zip)"])
            compare(upgrade.upgradeState, 1)
            compare(upgrade.upgradeAcceptEnabled, false)
            compare(upgrade.upgradeFileStateText, "正在升级!升级完成自动重启。")

            upgrade.tick()
            compare(model.shellRuns, 0)
            upgrade.tick()
            compare(model.shellRuns, 1)
            compare(upgrade.upgradeState, 3)
            model.sigUpgradeShellFinished(0, "升级成功!正在自动重启。")
            compare(upgrade.upgradeFileStateText, "升级成功!正在自动重启。")
        }

        // A script that fails says so at once; one that never ends, after
        // three minutes.
        function test_upgradeFailureShowsAtOnceOrAfterThreeMinutes() {
            model.packagePath = "/media/usb/upgrade/zorupgrade-v2.1.0001.zip"
            upgrade.open()
            tryCompare(upgrade, "opened", true)
            mouseClick(button(upgrade, "acceptButton"))
            upgrade.tick()
            upgrade.tick()
            model.sigUpgradeShellFinished(-1, "升级失败！请联系技术支持。")
            compare(upgrade.upgradeFileStateText, "升级失败！请联系技术支持。")
            upgrade.tick()
            compare(upgrade.upgradeFileStateText, "升级失败！请联系技术支持。")
            compare(upgrade.upgradeAcceptEnabled, false)

            upgrade.close()
            tryCompare(upgrade, "opened", false)
            upgrade.open()
            tryCompare(upgrade, "opened", true)
            mouseClick(button(upgrade, "acceptButton"))
            while (upgrade.upgradeState < 180)
                upgrade.tick()
            compare(upgrade.upgradeFileStateText, "正在升级!升级完成自动重启。")
            upgrade.tick()
            compare(upgrade.upgradeFileStateText, "升级失败！请联系技术支持。")
            compare(model.shellRuns, 2)

            // A failed preparation leaves the dialog looking.
            upgrade.close()
            tryCompare(upgrade, "opened", false)
            model.prepareResult = false
            upgrade.open()
            tryCompare(upgrade, "opened", true)
            mouseClick(button(upgrade, "acceptButton"))
            compare(upgrade.upgradeState, 0)
            compare(upgrade.upgradeAcceptEnabled, true)
        }
    }
}

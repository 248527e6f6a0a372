import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The main window's once-a-second housekeeping, one tick at a time (the timer
// is stopped): the order of the view-model calls, the clock, the battery
// prompts and dialogs, the empty-battery switch-off, the large-current limit,
// the blinking level, the restart after a language change and the low-storage
// check.
Item {
    id: root
    width: 800
    height: 480

    SystemViewModelStub { id: viewBaseModel }

    QtObject {
        id: hostWindow
        property int x: 0
        property int y: 0
        property int height: 480
        property bool visible: true
    }

    MainWindowContent {
        id: mainWindow
        hostWindow: hostWindow
    }

    // The upgrade dialog as the file-manager module provides it.
    Component {
        id: fakeUpgradeDialog
        Popup {
            property int ticks: 0
            function tick() { ticks += 1 }
            width: 650
            height: 380
        }
    }

    TestCase {
        name: "Housekeeping"
        when: windowShown

        readonly property var header: mainWindow.statusHeader
        readonly property var settings: mainWindow.settingsPage

        function ticks(n) {
            for (var i = 0; i < n; ++i)
                mainWindow.housekeepingTick()
        }

        function count(call) {
            return viewBaseModel.stubCallsStartingWith(call).length
        }

        function initTestCase() {
            mainWindow.housekeepingTimer.stop()
            var notice = mainWindow.mainWindowPage.safetyNotice
            tryCompare(notice, "opened", true)
            notice.close()
            tryCompare(notice, "opened", false)
        }

        function init() {
            viewBaseModel.batteryState = -1
            viewBaseModel.batteryPercent = -1
            viewBaseModel.batteryPDType = ViewBaseModel.BAT_PD_TYPE_NONE
            viewBaseModel.batteryConfig = [30, 20, 10, 5, 95, 10]
            viewBaseModel.bigCurrentLimit = -1
            viewBaseModel.clkSyncEnabled = false
            viewBaseModel.timeZoneOffset = 0
            viewBaseModel.calls = []
            mainWindow.tickCount = 0
            mainWindow.batTipEnabled = false
            mainWindow.continueTime = 0
            mainWindow.bigCurrentContinueTime = 0
            mainWindow.twinkleCount = 0
            mainWindow.secondCnt = 0
            mainWindow.showTipEnabled = false
            hostWindow.visible = true
        }

        function cleanup() {
            mainWindow.batteryDialog.close()
            mainWindow.lowBatteryDialog.close()
            tryCompare(mainWindow.batteryDialog, "opened", false)
            // Back to the start page (a language change leaves everything hidden).
            if (!mainWindow.mainWindowPage.visible) {
                settings.visible = false
                mainWindow.showStartPage()
            }
            settings.upgradeSlot.sourceComponent = null
        }

        function test_callsRunInOrder_data() {
            return [
                { tag: "no battery data", state: -1,
                  calls: ["checkRunSuspend()", "loadBattery()", "updateMaxBigCurrentContinueTime()"] },
                { tag: "battery read", state: 0,
                  calls: ["checkRunSuspend()", "loadBattery()", "getBatteryPDType()", "updateMaxBigCurrentContinueTime()"] }
            ]
        }

        function test_callsRunInOrder(data) {
            viewBaseModel.batteryState = data.state
            viewBaseModel.batteryPercent = 50
            ticks(1)
            compare(viewBaseModel.calls, data.calls)
        }

        function test_clockFollowsTheSynchronisedZone() {
            ticks(1)
            var local = Date.parse(mainWindow.currentTime.replace(" ", "T"))
            verify(Math.abs(local - Date.now()) < 5000, mainWindow.currentTime)
            compare(header.homeText, mainWindow.currentTime)
            viewBaseModel.clkSyncEnabled = true
            viewBaseModel.timeZoneOffset = 120
            ticks(1)
            var shifted = Date.parse(mainWindow.currentTime.replace(" ", "T"))
            verify(Math.abs(shifted - Date.now() - 7200000) < 5000, mainWindow.currentTime)
        }

        function test_batteryPrompts_data() {
            return [
                { tag: "TEN_OFF", type: ViewBaseModel.BAT_PD_TYPE_TEN_OFF, dialog: true,
                  prompt: "电量不足30%,禁止5A及以上电流输出,请及时充电" },
                { tag: "FIVE_OFF", type: ViewBaseModel.BAT_PD_TYPE_FIVE_OFF, dialog: true,
                  prompt: "电量不足20%,禁止2A及以上电流输出,请及时充电" },
                { tag: "TEN_ON", type: ViewBaseModel.BAT_PD_TYPE_TEN_ON, dialog: false,
                  prompt: "电量不足30%,请及时充电" },
                { tag: "FIVE_ON", type: ViewBaseModel.BAT_PD_TYPE_FIVE_ON, dialog: false,
                  prompt: "电量不足20%,请及时充电" },
                { tag: "TWO", type: ViewBaseModel.BAT_PD_TYPE_TWO, dialog: false,
                  prompt: "电量不足10%,禁止实验,请及时充电" },
                { tag: "ZERO", type: ViewBaseModel.BAT_PD_TYPE_ZERO, dialog: false,
                  prompt: "电量不足5%,关闭电池放电,请及时充电" },
                { tag: "NONE", type: ViewBaseModel.BAT_PD_TYPE_NONE, dialog: false, prompt: "" }
            ]
        }

        function test_batteryPrompts(data) {
            viewBaseModel.batteryState = 0
            viewBaseModel.batteryPercent = 25
            viewBaseModel.batteryPDType = data.type
            viewBaseModel.batteryConfig = [30, 20, 10, 5, 95, 1000]
            var shown = []
            for (var i = 0; i < 6; ++i) {
                ticks(1)
                shown.push(header.homeText === data.prompt)
                if (header.homeText === data.prompt)
                    compare(header.homeTextColor, mainWindow.globalConfig.customRed)
            }
            compare(mainWindow.batteryPrompt, data.prompt)
            // Prompt and time alternate in 3 s spells.
            compare(shown, data.prompt === "" ? [false, false, false, false, false, false]
                                               : [false, false, true, true, true, false])
            compare(mainWindow.batteryDialog.opened, data.dialog)
            if (data.dialog) {
                compare(mainWindow.batteryDialog.content, data.prompt)
                compare(mainWindow.batteryDialog.title, "系统提示")
            }
        }

        function test_noPromptWithoutBatteryData() {
            viewBaseModel.batteryState = -1
            viewBaseModel.batteryPDType = ViewBaseModel.BAT_PD_TYPE_ZERO
            viewBaseModel.batteryConfig = [30, 20, 10, 5, 95, 2]
            ticks(6)
            compare(mainWindow.batteryPrompt, "")
            compare(count("setBatteryMosState"), 0)
        }

        function test_emptyBatterySwitchesTheBatteryOff() {
            viewBaseModel.batteryState = 0
            viewBaseModel.batteryPercent = 3
            viewBaseModel.batteryPDType = ViewBaseModel.BAT_PD_TYPE_ZERO
            ticks(9)
            compare(count("setBatteryMosState"), 0)
            ticks(1)
            compare(count("setBatteryMosState"), 1)
            // The count starts again.
            ticks(9)
            compare(count("setBatteryMosState"), 1)
            ticks(1)
            compare(count("setBatteryMosState"), 2)
            // Another class resets it.
            ticks(5)
            viewBaseModel.batteryPDType = ViewBaseModel.BAT_PD_TYPE_TWO
            ticks(1)
            viewBaseModel.batteryPDType = ViewBaseModel.BAT_PD_TYPE_ZERO
            ticks(9)
            compare(count("setBatteryMosState"), 2)
            ticks(1)
            compare(count("setBatteryMosState"), 3)
        }

        function test_largeCurrentStopsTheRunAtItsLimit() {
            // 15 A: 120 - 3 x 15 = 75 s.
            viewBaseModel.bigCurrentLimit = 75
            ticks(75)
            compare(count("testInterrupt"), 0)
            ticks(1)
            compare(count("testInterrupt"), 1)
            // Below 12 A the count is cleared.
            viewBaseModel.bigCurrentLimit = 0
            ticks(1)
            compare(mainWindow.bigCurrentContinueTime, 0)
            viewBaseModel.bigCurrentLimit = 75
            ticks(75)
            compare(count("testInterrupt"), 1)
        }

        function test_noLimitBelowTwelveAmperes() {
            viewBaseModel.bigCurrentLimit = 0
            ticks(200)
            compare(count("testInterrupt"), 0)
        }

        function test_batteryLevelBlinks_data() {
            return [
                { tag: "8 %", percent: 8, colours: ["customRed", "customRed", "customYellow",
                                                     "customRed", "customRed", "customYellow"] },
                { tag: "15 %", percent: 15, colours: ["customYellow", "customYellow", "customYellow",
                                                       "customYellow", "customYellow", "customRed"] },
                { tag: "50 %", percent: 50, colours: ["customGreen", "customGreen", "customGreen",
                                                       "customGreen", "customGreen", "customGreen"] }
            ]
        }

        function test_batteryLevelBlinks(data) {
            viewBaseModel.batteryState = 1
            viewBaseModel.batteryPercent = data.percent
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
            for (var i = 0; i < data.colours.length; ++i) {
                ticks(1)
                compare(header.batteryLevelItem.lavelColor, mainWindow.globalConfig[data.colours[i]], "tick " + (i + 1))
                if (data.percent <= 20)
                    compare(header.batteryLevelItem.textColor, mainWindow.globalConfig[data.colours[i]])
            }
        }

        function test_languageChangeRestartsOnce() {
            mouseClick(mainWindow.mainWindowPage.settingsButton)
            tryCompare(settings, "visible", true)
            settings.languageBox.activated(1)
            var dialog = settings.languageDialog
            tryCompare(dialog, "opened", true)
            mouseClick(findChild(dialog.contentItem, "acceptButton"))
            tryCompare(dialog, "opened", false)
            compare(viewBaseModel.stubCallsStartingWith("setLanuageType"), ["setLanuageType(1)"])
            compare(settings.languageChangeState, 1)
            // First tick: everything hidden, no restart yet.
            ticks(1)
            compare(settings.visible, false)
            compare(hostWindow.visible, false)
            compare(count("reboot"), 0)
            // Second tick: the restart, once.
            ticks(1)
            compare(count("reboot"), 1)
            ticks(5)
            compare(count("reboot"), 1)
            compare(settings.languageChangeState, 0)
            compare(count("saveConfig"), 0)
        }

        function test_upgradeDialogStepsWhileShown() {
            settings.upgradeSlot.sourceComponent = fakeUpgradeDialog
            var dialog = settings.upgradeSlot.item
            mouseClick(mainWindow.mainWindowPage.settingsButton)
            tryCompare(settings, "visible", true)
            ticks(2)
            compare(dialog.ticks, 0)
            mouseClick(settings.upgradeButton)
            tryCompare(dialog, "opened", true)
            // Over the whole window, not inside the page.
            compare(dialog.parent.width, root.width)
            compare(dialog.parent.height, root.height)
            ticks(3)
            compare(dialog.ticks, 3)
            dialog.close()
            tryCompare(dialog, "opened", false)
            ticks(1)
            compare(dialog.ticks, 3)
        }

        function test_lowStorageIsCheckedEvery30thTick() {
            viewBaseModel.lowStorageChanged = true
            viewBaseModel.alarmEnable = true
            viewBaseModel.alarmLabel = "!(1)"
            viewBaseModel.alarmText = "1.内部存储较低\r\n"
            ticks(29)
            compare(count("getAlarmLowStorageChanged"), 0)
            compare(header.alarmLabel.visible, false)
            ticks(1)
            compare(count("getAlarmLowStorageChanged"), 1)
            compare(header.alarmLabel.visible, true)
            compare(header.alarmLabel.text, "!(1)")
            viewBaseModel.alarmEnable = false
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_ALARM, -1)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The main window against a stub system view model: start-up, the header's
// reaction to engine notifications, navigation to pages and back through the
// exit dialog, remote control, the auxiliary DC output and the window lift for
// the input panels.
Item {
    id: root
    width: 800
    height: 480

    SystemViewModelStub { id: viewBaseModel }

    // The window the content moves and hides.
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

    // A module page as later modules provide it.
    Component {
        id: fakePage
        Item {
            signal exitEnable(bool enable)
            property int saves: 0
            property bool startShownAtSave: true
            function saveParameter() {
                saves += 1
                startShownAtSave = mainWindow.mainWindowPage.visible
            }
        }
    }

    SignalSpy { id: timedStartAccepted; target: mainWindow.childTestTimeDialog; signalName: "accept" }

    TestCase {
        id: test
        name: "MainWindow"
        when: windowShown

        readonly property var startPage: mainWindow.mainWindowPage
        readonly property var header: mainWindow.statusHeader

        function button(popup, name) {
            var item = findChild(popup.contentItem, name)
            verify(item, "no " + name)
            return item
        }

        function accept(dialog) {
            tryCompare(dialog, "opened", true)
            mouseClick(button(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
        }

        function reject(dialog) {
            tryCompare(dialog, "opened", true)
            mouseClick(button(dialog, "rejectButton"))
            tryCompare(dialog, "opened", false)
        }

        // Swipes the tiles to page index and waits until they stand still.
        function showTiles(index) {
            var swipe = startPage.swipeView
            swipe.currentIndex = index
            tryCompare(swipe.contentItem, "contentX", index * swipe.width)
        }

        // Back to the start page through the exit dialog.
        function leave() {
            mouseClick(header.homeButton)
            accept(mainWindow.exitDialog)
        }

        function initTestCase() {
            mainWindow.housekeepingTimer.stop()
            // Start-up, before anything else was called.
            var calls = viewBaseModel.calls
            verify(calls.indexOf("conectSuspendEvent()") >= 0)
            verify(calls.indexOf("loadConfig(0)") >= 0)
            verify(calls.indexOf("conectSuspendEvent()") < calls.indexOf("checkCurrentDateTime()"))
            compare(header.title, "继电保护测试仪")
            compare(header.homeIcon, mainWindow.globalConfig.imageClock)
            verify(header.homeText.length === 19, header.homeText)
            // The battery safety notice opens once, with "确定" only.
            var notice = startPage.safetyNotice
            tryCompare(notice, "opened", true)
            compare(notice.width, 700)
            compare(notice.height, 420)
            compare(button(notice, "rejectButton").visible, false)
            verify(notice.content.indexOf("三元锂电池") >= 0)
            // Damage found in the files read at start waits for it.
            viewBaseModel.stubTellStartupNotice("配置文件 softinfo.xml 无法读取")
            verify(!startPage.startupNotice.visible)
            accept(notice)
            tryCompare(startPage.startupNotice, "opened", true)
            compare(startPage.startupNotice.content, "配置文件 softinfo.xml 无法读取")
            compare(button(startPage.startupNotice, "rejectButton").visible, false)
            compare(viewBaseModel.startupNotice, "")
            accept(startPage.startupNotice)
        }

        function init() {
            if (!startPage.visible)
                leave()
            viewBaseModel.calls = []
            viewBaseModel.connectedEnabled = false
            viewBaseModel.energyEnabled = true
            viewBaseModel.softwareType = 1
            viewBaseModel.states = [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
            mainWindow.showTipEnabled = true
            showTiles(0)
            hostWindow.x = 0
            hostWindow.y = 0
            hostWindow.height = 480
        }

        function cleanup() {
            mainWindow.alternatePage.sourceComponent = null
            mainWindow.fileManagePage.sourceComponent = null
            mainWindow.lowBatteryDialog.close()
            startPage.auxDCDialog.close()
            startPage.auxDCQuestion.close()
            mainWindow.triggerTimeDialog.close()
            var panels = ["inputNumberPanel", "inputCharNumberPanel", "inputTimePanel", "inputDateTimePanel"]
            for (var i = 0; i < panels.length; ++i) {
                var panel = findChild(mainWindow, panels[i])
                panel.close()
                tryCompare(panel, "opened", false)
            }
        }

        // Later damage is told when it is found; nothing new opens nothing.
        function test_startupNoticeOpensOncePerNewText() {
            var notice = startPage.startupNotice
            viewBaseModel.stubTellStartupNotice("")
            verify(!notice.visible)
            viewBaseModel.stubTellStartupNotice("以下校准文件已损坏")
            tryCompare(notice, "opened", true)
            compare(notice.content, "以下校准文件已损坏")
            accept(notice)
            verify(!notice.visible)
            // Longer than its box: the text scrolls within it, "确定" stays on screen.
            viewBaseModel.stubTellStartupNotice(Array(41).join("配置文件 softinfo.xml 中的 RATE_VOLTAGE 为 1e308。\n"))
            tryCompare(notice, "opened", true)
            var scroller = findChild(notice, "messageScroller")
            verify(scroller.contentHeight > 2 * scroller.height)
            var ok = button(notice, "acceptButton")
            verify(ok.mapToItem(null, 0, ok.height).y <= hostWindow.height)
            accept(notice)
        }

        function test_headerFollowsTheEngine() {
            viewBaseModel.alarmEnable = true
            viewBaseModel.alarmLabel = "!(2)"
            viewBaseModel.alarmText = "1.功放高温告警\r\n2.电流IA开路告警\r\n"
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_ALARM, -1)
            compare(header.alarmLabel.visible, true)
            compare(header.alarmLabel.text, "!(2)")
            compare(header.alarmLabel.toolTipText, viewBaseModel.alarmText)
            viewBaseModel.alarmEnable = false
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_ALARM, -1)
            compare(header.alarmLabel.visible, false)

            viewBaseModel.powerTMaxText = "45℃"
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_TEMP, -1)
            compare(header.temperatureLabel.text, "45℃")
            compare(header.temperatureLabel.toolTipText, viewBaseModel.powerTDetailText)

            // The lamp follows the running flag, on its own notice only.
            viewBaseModel.states = [1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_POWERED)
            compare(header.running, false)
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_RUNNING)
            compare(header.running, true)
            compare(header.runningLamp.stateColor, mainWindow.globalConfig.customRunning)
            viewBaseModel.states = [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, -1)
            compare(header.running, false)

            // The clock-synchronisation mark with the first pulse time.
            viewBaseModel.clkSyncState = true
            viewBaseModel.ppxTimes = ["2024-05-01 12:00:00"]
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_CLOCK_STATE, 0)
            compare(header.clockSyncMark.visible, true)
            compare(header.clockSyncMark.width, 30)
            compare(header.clockSyncToolTip, "2024-05-01 12:00:00")
            viewBaseModel.clkSyncState = false
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_CLOCK_STATE, 0)
            compare(header.clockSyncMark.visible, false)
            compare(header.clockSyncMark.width, 1)
        }

        function test_notInitialisedTitle() {
            viewBaseModel.states = [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_INIT)
            compare(header.title, "设备未初始化")
            compare(header.titleColor, mainWindow.globalConfig.customRed)
            // Other pages keep the notice in the title.
            mouseClick(startPage.settingsButton)
            tryCompare(mainWindow.settingsPage, "visible", true)
            compare(header.title, "设备未初始化")
            viewBaseModel.states = [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_INIT)
            compare(header.title, "系统配置")
            compare(header.titleColor, mainWindow.globalConfig.customTitleForeground)
        }

        function test_batteryLevel_data() {
            return [
                { tag: "no reading yet", percent: -1, state: 0, shown: false },
                { tag: "no charging state", percent: 50, state: -1, shown: false },
                { tag: "charging", percent: 65, state: 1, shown: true, colour: "customGreen", charging: true,
                  dialog: false },
                { tag: "at 20 %", percent: 20, state: 0, shown: true, colour: "customYellow", charging: false,
                  dialog: false },
                { tag: "at 10 % on battery", percent: 10, state: 0, shown: true, colour: "customRed",
                  charging: false, dialog: true },
                { tag: "at 8 % charging", percent: 8, state: 1, shown: true, colour: "customRed", charging: true,
                  dialog: false }
            ]
        }

        function test_batteryLevel(data) {
            viewBaseModel.batteryPercent = data.percent
            viewBaseModel.batteryState = data.state
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
            compare(header.batteryLevelItem.visible, data.shown)
            if (!data.shown)
                return
            compare(header.batteryLevelItem.lavelValue, data.percent)
            compare(header.batteryLevelItem.lavelColor, mainWindow.globalConfig[data.colour])
            compare(header.batteryChargingItem.visible, true)
            compare(header.batteryChargingItem.isCharging, data.charging)
            compare(mainWindow.lowBatteryDialog.opened, data.dialog)
            if (!data.dialog)
                return
            // Once only: dismissed, it does not come back with the next reading.
            accept(mainWindow.lowBatteryDialog)
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
            compare(mainWindow.lowBatteryDialog.opened, false)
        }

        function test_lowBatteryDialogClosesAsTheLevelRises() {
            viewBaseModel.batteryState = 0
            viewBaseModel.batteryPercent = 9
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
            tryCompare(mainWindow.lowBatteryDialog, "opened", true)
            viewBaseModel.batteryPercent = 15
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
            tryCompare(mainWindow.lowBatteryDialog, "opened", false)
        }

        function test_homeButtonOnTheStartPageDoesNothing() {
            mouseClick(header.homeButton)
            wait(0)
            compare(mainWindow.exitDialog.opened, false)
            compare(startPage.visible, true)
        }

        function test_tileWithoutAPageOpensNothing() {
            mouseClick(startPage.tileButton(1))
            compare(startPage.modelActiveIndex, 1)
            compare(startPage.visible, true)
            compare(mainWindow.alternatePage.visible, false)
            compare(header.title, "继电保护测试仪")
        }

        function test_settingsOpenAndCloseWithTheConfiguration() {
            mouseClick(startPage.settingsButton)
            tryCompare(mainWindow.settingsPage, "visible", true)
            compare(startPage.visible, false)
            compare(startPage.modelActiveIndex, 0)
            compare(header.title, "系统配置")
            compare(header.homeIcon, mainWindow.globalConfig.imageHome)
            // Asking and declining changes nothing.
            mouseClick(header.homeButton)
            compare(mainWindow.exitDialog.content, "是否退出?")
            compare(mainWindow.exitDialog.title, "系统提示")
            reject(mainWindow.exitDialog)
            compare(mainWindow.settingsPage.visible, true)
            compare(viewBaseModel.stubCallsStartingWith("saveConfig"), [])
            leave()
            compare(mainWindow.settingsPage.visible, false)
            compare(startPage.visible, true)
            var calls = viewBaseModel.calls
            verify(calls.indexOf("saveConfig(0,true)") >= 0)
            verify(calls.indexOf("saveConfig(0,true)") < calls.indexOf("testConfig()"))
            compare(header.title, "继电保护测试仪")
            compare(header.homeIcon, mainWindow.globalConfig.imageClock)
        }

        function test_leavingAModulePageSavesItsParameters_data() {
            return [
                { tag: "AC test", slot: "alternatePage", tile: 1, caption: "交流试验", saves: 1 },
                { tag: "file manager", slot: "fileManagePage", tile: 12, caption: "文件管理", saves: 0 }
            ]
        }

        function test_leavingAModulePageSavesItsParameters(data) {
            var slot = mainWindow[data.slot]
            slot.sourceComponent = fakePage
            tryCompare(slot, "available", true)
            showTiles(data.tile > 8 ? 1 : 0)
            mouseClick(startPage.tileButton(data.tile))
            tryCompare(slot, "visible", true)
            compare(startPage.visible, false)
            compare(header.title, data.caption)
            // The page fills the area below the header.
            compare(slot.item.width, 800)
            compare(slot.item.height, 480 - header.height)
            compare(slot.item.mapToItem(mainWindow, 0, 0).y, header.height)
            // A running page keeps the user on it.
            slot.item.exitEnable(false)
            compare(header.homeButton.enabled, false)
            slot.item.exitEnable(true)
            compare(header.homeButton.enabled, true)
            leave()
            compare(slot.visible, false)
            compare(startPage.visible, true)
            compare(slot.item.saves, data.saves)
            if (data.saves > 0)
                compare(slot.item.startShownAtSave, false)
        }

        function test_remoteControlLocksTheStartPage() {
            mouseClick(startPage.remoteCheckBox)
            compare(viewBaseModel.calls, ["setConnectedEnabled(true)"])
            compare(startPage.remoteCheckBox.checked, true)
            compare(startPage.settingsButton.enabled, false)
            compare(startPage.auxDCButton.enabled, false)
            for (var i = 1; i <= 12; ++i)
                compare(startPage.tileButton(i).enabled, false, "tile " + i)
            mouseClick(startPage.settingsButton)
            compare(mainWindow.settingsPage.visible, false)
            mouseClick(startPage.remoteCheckBox)
            compare(viewBaseModel.stubCallsStartingWith("setConnectedEnabled"),
                    ["setConnectedEnabled(true)", "setConnectedEnabled(false)"])
            compare(startPage.settingsButton.enabled, true)
        }

        function test_refusedRemoteControlUnticksAndTells() {
            viewBaseModel.connectRefused = true
            mouseClick(startPage.remoteCheckBox)
            viewBaseModel.connectRefused = false
            compare(viewBaseModel.calls, ["setConnectedEnabled(true)"])
            compare(startPage.remoteCheckBox.checked, false)
            compare(startPage.settingsButton.enabled, true)
            compare(startPage.tileButton(1).enabled, true)
            var notice = startPage.remoteRefusedNotice
            tryCompare(notice, "opened", true)
            compare(notice.content, "TCP 10901: Address already in use")
            accept(notice)
        }

        // What the start page shows is read again each time it is shown.
        function test_startPageFollowsTheDevice_data() {
            return [
                { tag: "no energy meter", energy: false, type: 1, aux: true, tiles: true },
                { tag: "other software", energy: true, type: 2, aux: true, tiles: false },
                { tag: "no auxiliary DC", energy: true, type: 1, aux: false, tiles: true }
            ]
        }

        function test_startPageFollowsTheDevice(data) {
            mouseClick(startPage.settingsButton)
            tryCompare(mainWindow.settingsPage, "visible", true)
            viewBaseModel.energyEnabled = data.energy
            viewBaseModel.softwareType = data.type
            viewBaseModel.auxDCEnable = data.aux
            leave()
            compare(startPage.tileButton(11).enabled, data.energy)
            compare(startPage.tileButton(10).enabled, true)
            compare(findChild(startPage, "tileArea").visible, data.tiles)
            compare(startPage.auxDCButton.visible, data.aux)
            viewBaseModel.auxDCEnable = true
        }

        function test_auxiliaryDC_data() {
            return [
                { tag: "switched off", choice: 0, answer: "", calls: ["testAuxDC(false)"] },
                { tag: "48 V, yes", choice: 2, answer: "acceptButton", calls: ["testAuxDC(true)"] },
                { tag: "48 V, no", choice: 2, answer: "rejectButton", calls: [] }
            ]
        }

        function test_auxiliaryDC(data) {
            mouseClick(startPage.auxDCButton)
            var dialog = startPage.auxDCDialog
            tryCompare(dialog, "opened", true)
            // The output is off: the choice starts cleared.
            compare(viewBaseModel.calls.slice(0, 2), ["setAuxDCVSwitch(0)", "setAuxDCVSwitchValue(0)"])
            mouseClick(findChild(dialog.contentItem, "choice" + data.choice))
            mouseClick(button(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            if (data.answer !== "") {
                tryCompare(startPage.auxDCQuestion, "opened", true)
                compare(startPage.auxDCQuestion.content, "Output Aux.DC or not?")
                mouseClick(button(startPage.auxDCQuestion, data.answer))
                tryCompare(startPage.auxDCQuestion, "opened", false)
            }
            compare(viewBaseModel.stubCallsStartingWith("testAuxDC"), data.calls)
        }

        function test_auxiliaryDCRunningKeepsItsChoiceAndTurnsRed() {
            viewBaseModel.states = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
            viewBaseModel.auxDCSwitch = ViewBaseModel.AUXDC_SWITCH_110V
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_AUXDCV)
            compare(startPage.auxDCButton.foreground, mainWindow.globalConfig.customRed)
            mouseClick(startPage.auxDCButton)
            tryCompare(startPage.auxDCDialog, "opened", true)
            compare(viewBaseModel.stubCallsStartingWith("setAuxDCV"), [])
            compare(startPage.auxDCDialog.chosen, ViewBaseModel.AUXDC_SWITCH_110V)
            mouseClick(button(startPage.auxDCDialog, "rejectButton"))
            tryCompare(startPage.auxDCDialog, "opened", false)
            viewBaseModel.states = [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_AUXDCV)
            compare(startPage.auxDCButton.foreground, mainWindow.globalConfig.customForeground)
        }

        // A field the opening panel would cover lifts the window; it comes
        // back when the panel closes.
        function test_inputPanelLiftsTheWindow() {
            mouseClick(startPage.settingsButton)
            tryCompare(mainWindow.settingsPage, "visible", true)
            var rated = mainWindow.settingsPage.ratedVoltage.box
            mouseClick(rated)
            var numberPanel = findChild(mainWindow, "inputNumberPanel")
            tryCompare(numberPanel, "opened", true)
            compare(hostWindow.height, 480)
            compare(hostWindow.y, 0)
            numberPanel.close()
            tryCompare(numberPanel, "opened", false)

            // The system time lies in the upper half of the date-time panel's area.
            var timeBox = mainWindow.settingsPage.systemTimeBox
            var panel = findChild(mainWindow, "inputDateTimePanel")
            mouseClick(timeBox)
            tryCompare(panel, "opened", true)
            var lift = Math.round(panel.height / 2)
            compare(hostWindow.height, 480 + lift)
            compare(hostWindow.y, -lift)
            var bottom = timeBox.mapToItem(mainWindow, 0, timeBox.height).y
            verify(bottom - lift <= 480 - panel.height)
            panel.close()
            tryCompare(panel, "opened", false)
            compare(hostWindow.height, 480)
            compare(hostWindow.y, 0)
        }

        function test_inputPanelLiftsByItsWholeHeightNearTheBottom() {
            var dialog = mainWindow.triggerTimeDialog
            dialog.open()
            tryCompare(dialog, "opened", true)
            var start = dialog.startBox
            var panel = findChild(mainWindow, "inputTimePanel")
            // The start time placed near the bottom edge.
            dialog.y += 470 - start.mapToItem(mainWindow, 0, start.height).y
            var bottom = start.mapToItem(mainWindow, 0, start.height).y
            verify(bottom > 480 - panel.height / 2, "the field lies in the lower half: " + bottom)
            mouseClick(start)
            tryCompare(panel, "opened", true)
            compare(hostWindow.height, 480 + Math.round(panel.height))
            compare(hostWindow.y, -Math.round(panel.height))
            panel.close()
            tryCompare(panel, "opened", false)
            compare(hostWindow.height, 480)
        }

        // Placed in the window though nothing opens it: opening presets both times.
        function test_timedStartDialog() {
            var dialog = mainWindow.childTestTimeDialog
            dialog.open()
            tryCompare(dialog, "opened", true)
            compare(dialog.title, "定时设置")
            compare(dialog.width, 510)
            compare(dialog.height, 246)
            var seconds = function(text) {
                var parts = text.split(":")
                return Number(parts[0]) * 3600 + Number(parts[1]) * 60 + Number(parts[2])
            }
            var start = dialog.startTimeBox.text
            verify(/^\d\d:\d\d:\d0$/.test(start), start)
            compare((seconds(dialog.turnTimeBox.text) - seconds(start) + 86400) % 86400, 30)
            var now = new Date()
            var late = (seconds(start) - (now.getHours() * 3600 + now.getMinutes() * 60 + now.getSeconds()) + 86400) % 86400
            verify(late > 0 && late <= 20, "start " + start)
            timedStartAccepted.clear()
            mouseClick(button(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            compare(timedStartAccepted.count, 1)
        }

        function test_pulseTimesApplyOnAccept() {
            var dialog = mainWindow.triggerTimeDialog
            viewBaseModel.ppxTimes = []
            dialog.open()
            tryCompare(dialog, "opened", true)
            compare(dialog.timeCount, 0)
            // A clock notice while it is open re-reads the list.
            viewBaseModel.ppxTimes = ["2024-05-01 12:00:00", "2024-05-01 12:00:01"]
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_CLOCK_STATE, 0)
            compare(dialog.timeCount, 2)
            // A dialog opened again gives its last field the focus, whose panel
            // would cover the buttons here (the stand-in window does not grow).
            var timePanel = findChild(mainWindow, "inputTimePanel")
            timePanel.close()
            tryCompare(timePanel, "opened", false)
            mouseClick(button(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            compare(viewBaseModel.stubCallsStartingWith("setClockPPXConfig"), ["setClockPPXConfig()"])
        }
    }
}

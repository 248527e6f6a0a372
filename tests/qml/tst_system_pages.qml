import QtQuick 2.15
import QtTest 1.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The pages inside the system settings, reached as a user does: the
// read-only hardware configuration, the battery page with its ordered
// thresholds and the clock-synchronisation page.
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

    TestCase {
        name: "SystemPages"
        when: windowShown

        readonly property var settings: mainWindow.settingsPage
        readonly property var hardware: settings.hardwarePage
        readonly property var battery: settings.batteryPage
        readonly property var timeSync: settings.timeSyncPage
        property var numberPanel: null

        function button(popup, name) {
            var item = findChild(popup.contentItem, name)
            verify(item, "no " + name)
            return item
        }

        function leave() {
            mouseClick(mainWindow.statusHeader.homeButton)
            tryCompare(mainWindow.exitDialog, "opened", true)
            mouseClick(button(mainWindow.exitDialog, "acceptButton"))
            tryCompare(mainWindow.exitDialog, "opened", false)
        }

        function openHardware() {
            mouseClick(mainWindow.mainWindowPage.settingsButton)
            tryCompare(settings, "visible", true)
            mouseClick(settings.hardwareButton)
            tryCompare(hardware, "visible", true)
        }

        function openBattery() {
            openHardware()
            mouseClick(hardware.batteryButton)
            tryCompare(battery, "visible", true)
        }

        function openTimeSync() {
            mouseClick(mainWindow.mainWindowPage.settingsButton)
            tryCompare(settings, "visible", true)
            mouseClick(settings.timeSyncButton)
            tryCompare(timeSync, "visible", true)
        }

        function enter(box, keys) {
            mouseClick(box)
            tryCompare(numberPanel, "opened", true)
            for (var i = 0; i < keys.length; ++i)
                mouseClick(findChild(numberPanel.contentItem, keys[i]))
            mouseClick(findChild(numberPanel.contentItem, "keyConfirm"))
            tryCompare(numberPanel, "opened", false)
        }

        function choose(combo, index) {
            mouseClick(combo)
            tryCompare(combo.popup, "opened", true)
            var list = combo.popup.contentItem
            tryVerify(function() { return list.itemAtIndex(index) !== null })
            mouseClick(list.itemAtIndex(index))
            tryCompare(combo.popup, "opened", false)
        }

        function initTestCase() {
            mainWindow.housekeepingTimer.stop()
            numberPanel = findChild(mainWindow, "inputNumberPanel")
            var notice = mainWindow.mainWindowPage.safetyNotice
            tryCompare(notice, "opened", true)
            notice.close()
            tryCompare(notice, "opened", false)
        }

        function init() {
            viewBaseModel.auxDCType = 1
            viewBaseModel.voltagePhases = ViewBaseModel.PHASES_TYPE_FOUR
            viewBaseModel.currentPhases = ViewBaseModel.PHASES_TYPE_THREE
            viewBaseModel.batteryConfig = [30, 20, 10, 5, 95, 10]
            viewBaseModel.batteryProtectedState = "0x0"
            viewBaseModel.clkSyncEnabled = false
            viewBaseModel.clockSource = 0
            viewBaseModel.timeZoneIndex = 0
            viewBaseModel.timeZoneListRefused = false
            viewBaseModel.extInputType = 0
            viewBaseModel.extInputMode = 0
            viewBaseModel.extOutputType = 0
            viewBaseModel.extOutputMode = 0
            viewBaseModel.calls = []
        }

        function cleanup() {
            battery.activateDialog.close()
            numberPanel.close()
            tryCompare(numberPanel, "opened", false)
            while (settings.visible)
                leave()
        }

        // ---- Hardware configuration ---------------------------------------------------------
        function test_hardwareIsShownReadOnly() {
            openHardware()
            compare(hardware.deviceModel.text, "ZOR-A1")
            compare(hardware.deviceCode.text, "20240101")
            compare(hardware.tAlarm.box.text, "80")
            compare(hardware.tResume.box.text, "70")
            compare(hardware.vMaxRange.box.text, "300.000")
            compare(hardware.vLevel.box.text, "120.000")
            compare(hardware.iMaxRange.box.text, "20.000")
            compare(hardware.iLevel.box.text, "2.500")
            compare(hardware.voltageThree.checked, false)
            compare(hardware.voltageFour.checked, true)
            compare(hardware.currentThree.checked, true)
            compare(hardware.currentFour.visible, false)
            compare(hardware.powerAmpType.currentIndex, 0)
            compare(hardware.auxDCType.currentIndex, 1)
            compare(hardware.auxDCMax.visible, true)
            compare(hardware.auxDCLevelLow.visible, false)
            compare(hardware.auxDCEnable.checked, true)
            // Nothing can be edited or switched.
            var controls = [hardware.deviceModel, hardware.tAlarm.box, hardware.vMaxRange.box, hardware.voltageThree,
                            hardware.powerAmpType, hardware.auxDCType, hardware.auxDCMax.box, hardware.auxDCEnable]
            for (var i = 0; i < controls.length; ++i)
                compare(controls[i].enabled, false, "control " + i)
            mouseClick(hardware.tAlarm.box)
            mouseClick(hardware.voltageThree)
            compare(numberPanel.opened, false)
            compare(hardware.voltageThree.checked, false)
            compare(viewBaseModel.calls.filter(function(c) { return c.indexOf("set") === 0 }), [])
        }

        function test_hardwareFollowsConfigurationNotices() {
            openHardware()
            viewBaseModel.tAlarm = 85
            viewBaseModel.auxDCType = 0
            viewBaseModel.auxDCLevelType = 1
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_SYSTEM_CONFIG, 1)
            compare(hardware.tAlarm.box.text, "85")
            // A constant output shows its pair of levels instead of the maximum.
            compare(hardware.auxDCMax.visible, false)
            compare(hardware.auxDCLevelLow.visible, true)
            compare(hardware.auxDCLevelHigh.checked, true)
            viewBaseModel.tAlarm = 80
            viewBaseModel.auxDCLevelType = 0
        }

        // ---- Battery -----------------------------------------------------------------------------
        function test_batteryInformationIsReadWhileShown() {
            openBattery()
            compare(viewBaseModel.stubCallsStartingWith("setBatterInfoEnable"), ["setBatterInfoEnable(true)"])
            var expected = ["50.400 V", "4.200 V", "4.213 V", "4.188 V", "25 mV", "-1.250 A", "20000 mAh",
                            "15000 mAh", "12", "1.2", "0x0", "充电开/放电开"]
            for (var i = 0; i < expected.length; ++i)
                compare(findChild(battery, "info" + i).text, expected[i])
            compare(battery.activateButton.visible, false)
            // The pack reports the state that needs activation.
            viewBaseModel.batteryProtectedState = "0x1a04"
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, ViewBaseModel.STATE_TYPE_BATTERY_MOS)
            compare(battery.activateButton.visible, true)
            compare(findChild(battery, "info10").text, "0x1a04")
            // The button row makes room for it on the next layout.
            tryVerify(function() { return battery.activateButton.x + battery.activateButton.width < battery.closeButton.x })
            mouseClick(battery.activateButton)
            tryCompare(battery.activateDialog, "opened", true)
            compare(battery.activateDialog.content, "是否需要激活充电？")
            mouseClick(button(battery.activateDialog, "acceptButton"))
            tryCompare(battery.activateDialog, "opened", false)
            compare(viewBaseModel.stubCallsStartingWith("saveBattery"), ["saveBattery(0)"])
            // Closing stores the configuration and applies it.
            mouseClick(battery.closeButton)
            tryCompare(battery, "visible", false)
            compare(hardware.visible, true)
            compare(viewBaseModel.stubCallsStartingWith("setBatterInfoEnable"),
                    ["setBatterInfoEnable(true)", "setBatterInfoEnable(false)"])
            var calls = viewBaseModel.calls
            verify(calls.indexOf("saveBatteryConfig()") >= 0)
            verify(calls.indexOf("saveBatteryConfig()") < calls.indexOf("testConfig()"))
        }

        function test_otherBatteryNoticesLeaveThePage() {
            openBattery()
            viewBaseModel.batteryProtectedState = "0x1000"
            viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
            compare(battery.activateButton.visible, false)
        }

        // PD5 > PD1 > PD2 > PD3 > PD4 >= 0, each bound one away from its neighbour.
        function test_thresholdsStayOrdered_data() {
            return [
                { tag: "PD2 up to PD1 refused", row: "pd2Row", keys: ["key3", "key0"], call: "" },
                { tag: "PD2 below PD1", row: "pd2Row", keys: ["key2", "key9"], call: "setBatteryConfig(1,29)" },
                { tag: "PD1 up to PD5 refused", row: "pd1Row", keys: ["key9", "key5"], call: "" },
                { tag: "PD1 down to PD2 refused", row: "pd1Row", keys: ["key2", "key0"], call: "" },
                { tag: "PD3 above PD4", row: "pd3Row", keys: ["key6"], call: "setBatteryConfig(2,6)" },
                { tag: "PD4 down to 0", row: "pd4Row", keys: ["key0"], call: "setBatteryConfig(3,0)" },
                { tag: "PD4 below 0 refused", row: "pd4Row", keys: ["keyMinus", "key1"], call: "" },
                { tag: "PD5 up to 100", row: "pd5Row", keys: ["key1", "key0", "key0"], call: "setBatteryConfig(4,100)" },
                { tag: "PD5 above 100 refused", row: "pd5Row", keys: ["key1", "key0", "key1"], call: "" },
                { tag: "continue time", row: "continueRow", keys: ["key5", "key0"], call: "setBatteryConfig(5,50)" }
            ]
        }

        function test_thresholdsStayOrdered(data) {
            openBattery()
            enter(battery[data.row].box, data.keys)
            compare(viewBaseModel.stubCallsStartingWith("setBatteryConfig"), data.call === "" ? [] : [data.call])
        }

        function test_boundsFollowAChange() {
            openBattery()
            enter(battery.pd2Row.box, ["key2", "key5"])
            compare(battery.pd1Row.box.dataMin, 26)
            compare(battery.pd3Row.box.dataMax, 24)
            // PD1 may now come down to 26, not to 25.
            enter(battery.pd1Row.box, ["key2", "key5"])
            compare(battery.pd1Row.box.text, "30")
            enter(battery.pd3Row.box, [])
            enter(battery.pd1Row.box, ["key2", "key6"])
            compare(viewBaseModel.stubCallsStartingWith("setBatteryConfig"),
                    ["setBatteryConfig(1,25)", "setBatteryConfig(0,26)"])
        }

        function test_batteryType() {
            openBattery()
            compare(battery.batteryTypeBox.displayText, "Battery 1")
            choose(battery.batteryTypeBox, 1)
            compare(viewBaseModel.stubCallsStartingWith("setBatteryType"), ["setBatteryType(1)"])
            viewBaseModel.batteryType = 0
        }

        // ---- Clock synchronisation ------------------------------------------------------------------
        function test_clockSettingsNeedTheReference() {
            openTimeSync()
            compare(timeSync.syncCheckBox.checked, false)
            var controls = [timeSync.sourceGps, timeSync.timeZoneBox, timeSync.inputRising, timeSync.outputMinutePulse]
            for (var i = 0; i < controls.length; ++i)
                compare(controls[i].enabled, false, "control " + i)
            mouseClick(timeSync.sourceIrigB)
            compare(viewBaseModel.stubCallsStartingWith("setClockSource"), [])
            mouseClick(timeSync.syncCheckBox)
            compare(viewBaseModel.stubCallsStartingWith("setClkSyncEnabled"), ["setClkSyncEnabled(true)"])
            for (i = 0; i < controls.length; ++i)
                compare(controls[i].enabled, true, "control " + i)
            compare(timeSync.applyButton.enabled, true)
            compare(timeSync.dstCheckBox.visible, false)
        }

        function test_clockChoices_data() {
            return [
                { tag: "IRIG-B", control: "sourceIrigB", call: "setClockSource(1)" },
                { tag: "GPS", control: "sourceGps", call: "setClockSource(0)" },
                { tag: "external pulse in", control: "inputExternalPulse", call: "setExtTriggerInputType(1)" },
                { tag: "rising edge in", control: "inputRising", call: "setExtTriggerInputMode(1)" },
                { tag: "pulse per second out", control: "outputSecondPulse", call: "setExtTriggerOutputType(1)" },
                { tag: "pulse per minute out", control: "outputMinutePulse", call: "setExtTriggerOutputType(2)" },
                { tag: "rising edge out", control: "outputRising", call: "setExtTriggerOutputMode(1)" },
                { tag: "apply", control: "applyButton", call: "setClockSyncConfig()" }
            ]
        }

        function test_clockChoices(data) {
            viewBaseModel.clkSyncEnabled = true
            // Something else chosen first, so that every choice is a change.
            viewBaseModel.clockSource = data.control === "sourceGps" ? 1 : 0
            openTimeSync()
            mouseClick(timeSync[data.control])
            compare(viewBaseModel.calls.filter(function(c) { return c.indexOf("set") === 0 }), [data.call])
        }

        function test_timeZone() {
            viewBaseModel.clkSyncEnabled = true
            viewBaseModel.timeZoneIndex = 1
            openTimeSync()
            compare(timeSync.timeZoneBox.count, 3)
            compare(timeSync.timeZoneBox.displayText, "(UTC+09:00) 东京")
            choose(timeSync.timeZoneBox, 1)
            compare(viewBaseModel.calls.filter(function(c) { return c.indexOf("Zone") >= 0 }), [])
            choose(timeSync.timeZoneBox, 2)
            compare(viewBaseModel.calls.filter(function(c) { return c.indexOf("Zone") >= 0 }),
                    ["setTimeZoneCurrentIndex(2)", "updateTimeZoneOffset(2)"])
        }

        function test_aRefusedZoneListIsSaid() {
            openTimeSync()
            verify(!timeSync.zoneListRefusedText.visible)
            viewBaseModel.timeZoneListRefused = true
            timeSync.refresh()
            verify(timeSync.zoneListRefusedText.visible)
            compare(timeSync.zoneListRefusedText.text, "时区列表无法读取：不显示时区，时钟不按时区偏移。")
        }

        function test_pageShowsTheStoredChoices() {
            viewBaseModel.clkSyncEnabled = true
            viewBaseModel.clockSource = 1
            viewBaseModel.extInputType = 1
            viewBaseModel.extInputMode = 1
            viewBaseModel.extOutputType = 2
            viewBaseModel.extOutputMode = 0
            openTimeSync()
            compare(timeSync.syncCheckBox.checked, true)
            compare(timeSync.sourceIrigB.checked, true)
            compare(timeSync.inputExternalPulse.checked, true)
            compare(timeSync.inputRising.checked, true)
            compare(timeSync.outputMinutePulse.checked, true)
            compare(timeSync.outputFalling.checked, true)
            compare(timeSync.sourceGps.checked, false)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The system settings page in the main window, driven through its controls
// and the on-screen panels against a stub view model: what each field sets,
// unchanged entries, limits, the clock lock, theme, language and output
// choices, the calibration access code and the way back through the pages.
Item {
    id: root
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        vMaxRange: 265.0
        iMaxRange: 10.0
    }

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

    // The output-calibration page as the calibration module provides it.
    Component {
        id: fakeCalibrationPage
        Item {}
    }

    TestCase {
        name: "SystemSettings"
        when: windowShown

        readonly property var page: mainWindow.settingsPage
        readonly property var header: mainWindow.statusHeader
        property var numberPanel: null
        property var charPanel: null

        function button(popup, name) {
            var item = findChild(popup.contentItem, name)
            verify(item, "no " + name)
            return item
        }

        function leave() {
            mouseClick(header.homeButton)
            tryCompare(mainWindow.exitDialog, "opened", true)
            mouseClick(button(mainWindow.exitDialog, "acceptButton"))
            tryCompare(mainWindow.exitDialog, "opened", false)
        }

        function openSettings() {
            mouseClick(mainWindow.mainWindowPage.settingsButton)
            tryCompare(page, "visible", true)
        }

        // Types keys into a number field through the number panel and confirms.
        function enter(box, keys) {
            mouseClick(box)
            tryCompare(numberPanel, "opened", true)
            compare(numberPanel.owner, box)
            for (var i = 0; i < keys.length; ++i) {
                var key = findChild(numberPanel.contentItem, keys[i])
                verify(key, "no key " + keys[i])
                mouseClick(key)
            }
            mouseClick(findChild(numberPanel.contentItem, "keyConfirm"))
            tryCompare(numberPanel, "opened", false)
        }

        // Picks an entry of a drop-down list by tapping it.
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
            charPanel = findChild(mainWindow, "inputCharNumberPanel")
            var notice = mainWindow.mainWindowPage.safetyNotice
            tryCompare(notice, "opened", true)
            notice.close()
            tryCompare(notice, "opened", false)
        }

        function init() {
            viewBaseModel.rateVoltage = 57.735
            viewBaseModel.rateCurrent = 1.0
            viewBaseModel.rateFrequency = 50.0
            viewBaseModel.ditherTime = 0.015
            viewBaseModel.suspendTime = 3000
            viewBaseModel.clkSyncEnabled = false
            viewBaseModel.paoOnEnabled = true
            viewBaseModel.powerAmpEnabled = true
            viewBaseModel.languageType = 0
            viewBaseModel.beepEnabled = true
            viewBaseModel.systemStyle = 0
            viewBaseModel.calls = []
            openSettings()
        }

        function cleanup() {
            page.passwordDialog.close()
            page.languageDialog.close()
            numberPanel.close()
            charPanel.close()
            tryCompare(numberPanel, "opened", false)
            while (page.visible)
                leave()
            page.calibrationSlot.sourceComponent = null
        }

        function test_showingReadsTheConfiguration() {
            compare(viewBaseModel.calls.indexOf("loadConfig(0)"), 0)
            compare(page.ratedVoltage.box.text, "57.735")
            compare(page.ratedCurrent.box.text, "1.000")
            compare(page.ratedFrequency.box.text, "50.000")
            compare(page.ditherTime.box.text, "0.015")
            compare(page.suspendTime.box.dataValue, 3000)
            compare(page.beepCheckBox.checked, true)
            compare(page.styleDefault.checked, true)
            compare(page.languageBox.currentIndex, 0)
            compare(page.outputModeBox.currentIndex, 0)
            compare(page.deviceModelText.text, "ZOR-A1")
            compare(page.softwareVersionText.text, "2.0.0004")
            compare(page.deviceCodeText.text, "20240101")
            compare(page.fpgaVersionText.text, "1.0.0003")
            verify(/^\d{4}-\d\d-\d\d \d\d:\d\d:\d0$/.test(page.systemTimeBox.text), page.systemTimeBox.text)
        }

        function test_fieldsSetTheirValue_data() {
            return [
                { tag: "rated voltage", field: "ratedVoltage", keys: ["key1", "key0", "key0"], call: "setRateVRange(100)" },
                { tag: "rated voltage quick key", field: "ratedVoltage", keys: ["quick2"], call: "setRateVRange(110)" },
                { tag: "rated voltage held to the device", field: "ratedVoltage", keys: ["key2", "key8", "key0"], call: "setRateVRange(265)" },
                { tag: "rated current clamped", field: "ratedCurrent", keys: ["key2", "key5"], call: "setRateIRange(10)" },
                { tag: "rated frequency", field: "ratedFrequency", keys: ["key6", "key0"], call: "setRateFrequency(60)" },
                { tag: "rated frequency too low", field: "ratedFrequency", keys: ["key5"], call: "" },
                { tag: "debounce time", field: "ditherTime", keys: ["key0", "keyPoint", "key5"], call: "setDitherTime(0.5)" },
                { tag: "screen saver", field: "suspendTime", keys: ["key3", "key0", "key0"], call: "setSuspendTime(300)" },
                { tag: "screen saver too short", field: "suspendTime", keys: ["key5"], call: "" }
            ]
        }

        function test_fieldsSetTheirValue(data) {
            var row = page[data.field]
            enter(row.box, data.keys)
            var setter = data.call === "" ? [] : [data.call]
            var prefix = { ratedVoltage: "setRateVRange", ratedCurrent: "setRateIRange",
                           ratedFrequency: "setRateFrequency", ditherTime: "setDitherTime",
                           suspendTime: "setSuspendTime" }[data.field]
            compare(viewBaseModel.stubCallsStartingWith(prefix), setter)
        }

        function test_theSameEntrySetsNothing() {
            // Confirmed untouched, then typed again as it stands.
            enter(page.ratedVoltage.box, [])
            enter(page.ratedVoltage.box, ["key5", "key7", "keyPoint", "key7", "key3", "key5"])
            compare(viewBaseModel.stubCallsStartingWith("setRateVRange"), [])
            // A changed entry is shown as the view model keeps it.
            viewBaseModel.rateCurrent = 5.0
            enter(page.ratedCurrent.box, ["key2"])
            compare(viewBaseModel.stubCallsStartingWith("setRateIRange"), ["setRateIRange(2)"])
            compare(page.ratedCurrent.box.text, "2.000")
            compare(page.ratedCurrent.box.dataOldText, "2.000")
        }

        function test_systemTimeIsLockedWhileSynchronised() {
            mouseClick(page.systemTimeButton)
            var set = viewBaseModel.stubCallsStartingWith("setSystemTime")
            compare(set, ["setSystemTime(" + page.systemTimeBox.text + ")"])
            leave()
            viewBaseModel.clkSyncEnabled = true
            openSettings()
            compare(page.systemTimeBox.enabled, false)
            compare(page.systemTimeButton.enabled, false)
            mouseClick(page.systemTimeButton)
            mouseClick(page.systemTimeBox)
            compare(findChild(mainWindow, "inputDateTimePanel").opened, false)
            compare(viewBaseModel.stubCallsStartingWith("setSystemTime").length, 1)
        }

        // Synchronised, the system time is the header's clock (in the
        // synchronised zone) and follows it; free, it keeps its preset.
        function test_systemTimeFollowsTheHeaderWhileSynchronised_data() {
            return [
                { tag: "synchronised", synchronised: true },
                { tag: "free", synchronised: false }
            ]
        }

        function test_systemTimeFollowsTheHeaderWhileSynchronised(data) {
            leave()
            viewBaseModel.clkSyncEnabled = data.synchronised
            viewBaseModel.timeZoneOffset = -241
            mainWindow.housekeepingTick()
            openSettings()
            var preset = page.systemTimeBox.text
            compare(preset === mainWindow.currentTime, data.synchronised)
            viewBaseModel.timeZoneOffset = 125
            mainWindow.housekeepingTick()
            compare(page.systemTimeBox.text, data.synchronised ? mainWindow.currentTime : preset)
            compare(header.homeText, mainWindow.currentTime)
            viewBaseModel.timeZoneOffset = 0
        }

        function test_systemTimeFromTheDateTimePanel() {
            var panel = findChild(mainWindow, "inputDateTimePanel")
            mouseClick(page.systemTimeBox)
            tryCompare(panel, "opened", true)
            panel.yearWheel.setValue(2031)
            panel.close()
            tryCompare(panel, "opened", false)
            compare(page.systemTimeBox.text.substring(0, 5), "2031-")
            mouseClick(page.systemTimeButton)
            compare(viewBaseModel.stubCallsStartingWith("setSystemTime"), ["setSystemTime(" + page.systemTimeBox.text + ")"])
        }

        function test_beepAndTheme() {
            mouseClick(page.beepCheckBox)
            compare(viewBaseModel.stubCallsStartingWith("setBeepEnabled"), ["setBeepEnabled(false)"])
            var palette = mainWindow.globalConfig
            mouseClick(page.styleBlack)
            compare(viewBaseModel.stubCallsStartingWith("setSystemStyle"), ["setSystemStyle(1)"])
            compare(palette.customStyleName, "Black")
            compare(palette.customBackground, "#ffffff")
            compare(palette.customPrimary, "#3399ff")
            mouseClick(page.styleDefault)
            compare(viewBaseModel.stubCallsStartingWith("setSystemStyle"), ["setSystemStyle(1)", "setSystemStyle(0)"])
            compare(palette.customStyleName, "Default")
            compare(palette.customPrimary, "#70ad47")
        }

        function test_outputMode() {
            choose(page.outputModeBox, 1)
            compare(viewBaseModel.stubCallsStartingWith("setDevicePowerAmpEnabled"), ["setDevicePowerAmpEnabled(false)"])
            choose(page.outputModeBox, 0)
            compare(viewBaseModel.stubCallsStartingWith("setDevicePowerAmpEnabled"),
                    ["setDevicePowerAmpEnabled(false)", "setDevicePowerAmpEnabled(true)"])
        }

        // Without the small-signal option the amplifier is forced and the choice greyed.
        function test_outputModeWithoutSmallSignal() {
            leave()
            viewBaseModel.paoOnEnabled = false
            viewBaseModel.powerAmpEnabled = false
            viewBaseModel.calls = []
            openSettings()
            compare(viewBaseModel.stubCallsStartingWith("setDevicePowerAmpEnabled"), ["setDevicePowerAmpEnabled(true)"])
            compare(page.outputModeBox.enabled, false)
            compare(page.outputModeBox.currentIndex, 0)
        }

        function test_languageChangeAsksFirst() {
            choose(page.languageBox, 2)
            tryCompare(page.languageDialog, "opened", true)
            compare(page.languageDialog.content, "是否需要切换系统语言？")
            mouseClick(button(page.languageDialog, "rejectButton"))
            tryCompare(page.languageDialog, "opened", false)
            compare(page.languageBox.currentIndex, 0)
            compare(viewBaseModel.stubCallsStartingWith("setLanuageType"), [])
            compare(page.languageChangeState, 0)
            // The language already in use asks nothing.
            choose(page.languageBox, 0)
            compare(page.languageDialog.opened, false)
        }

        function test_calibrationNeedsTheAccessCode_data() {
            return [
                { tag: "wrong code", code: ["key1", "key2", "key3"], page: true, opens: false },
                { tag: "right code", code: ["key5", "key8", "key3", "key0", "key2", "key9", "key1", "key4"],
                  page: true, opens: true },
                { tag: "right code, no page yet", code: ["key5", "key8", "key3", "key0", "key2", "key9", "key1", "key4"],
                  page: false, opens: false }
            ]
        }

        function test_calibrationNeedsTheAccessCode(data) {
            if (data.page)
                page.calibrationSlot.sourceComponent = fakeCalibrationPage
            var dialog = page.passwordDialog
            mouseClick(page.calibrationButton)
            tryCompare(dialog, "opened", true)
            compare(dialog.title, "请输入密码...")
            mouseClick(dialog.passwordBox)
            tryCompare(charPanel, "opened", true)
            for (var i = 0; i < data.code.length; ++i)
                mouseClick(findChild(charPanel.currentPage, data.code[i]))
            charPanel.close()
            mouseClick(button(dialog, "acceptButton"))
            if (data.tag === "wrong code") {
                compare(dialog.opened, true)
                compare(dialog.title, "请重新输入密码...")
                compare(page.calibrationSlot.visible, false)
                return
            }
            tryCompare(dialog, "opened", false)
            compare(page.calibrationSlot.visible, data.opens)
            compare(header.title, data.opens ? "输出校准" : "系统配置")
            if (!data.opens)
                return
            // Back one level: the settings again.
            leave()
            compare(page.visible, true)
            compare(page.calibrationSlot.visible, false)
            compare(header.title, "系统配置")
        }

        // Each page inside the settings goes back one level; the settings
        // themselves save and apply the configuration and close.
        function test_wayBackThroughThePages() {
            mouseClick(page.hardwareButton)
            tryCompare(page.hardwarePage, "visible", true)
            compare(header.title, "硬件配置")
            mouseClick(page.hardwarePage.batteryButton)
            tryCompare(page.batteryPage, "visible", true)
            compare(header.title, "电池配置")
            leave()
            compare(page.batteryPage.visible, false)
            compare(page.hardwarePage.visible, true)
            compare(header.title, "硬件配置")
            leave()
            compare(page.hardwarePage.visible, false)
            compare(header.title, "系统配置")
            mouseClick(page.timeSyncButton)
            tryCompare(page.timeSyncPage, "visible", true)
            compare(header.title, "对时设置")
            // Synchronised meanwhile: the system time locks on the way back.
            viewBaseModel.clkSyncEnabled = true
            leave()
            compare(page.timeSyncPage.visible, false)
            compare(page.systemTimeBox.enabled, false)
            compare(viewBaseModel.stubCallsStartingWith("saveConfig"), [])
            leave()
            compare(page.visible, false)
            compare(mainWindow.mainWindowPage.visible, true)
            compare(viewBaseModel.stubCallsStartingWith("saveConfig"), ["saveConfig(0,true)"])
            compare(viewBaseModel.stubCallsStartingWith("testConfig"), ["testConfig()"])
        }

        function test_hardwarePageCloseReloadsTheSettings() {
            mouseClick(page.hardwareButton)
            tryCompare(page.hardwarePage, "visible", true)
            viewBaseModel.rateVoltage = 100
            mouseClick(page.hardwarePage.closeButton)
            tryCompare(page.hardwarePage, "visible", false)
            compare(header.title, "系统配置")
            compare(page.ratedVoltage.box.text, "100.000")
        }

        // The panel covers the page's buttons; whatever hides the page closes it.
        function test_leavingAPageClosesItsPanel() {
            mouseClick(page.ratedVoltage.box)
            tryCompare(numberPanel, "opened", true)
            page.openHardware()
            tryCompare(page.hardwarePage, "visible", true)
            tryCompare(numberPanel, "opened", false)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewCalibrationModel 1.0

// The calibration page and its access code on the simulated instrument, with
// the English translation (CMakeLists.txt runs this file with it): the
// access-code dialog keeps its buttons above the character keys and empties
// its field after a wrong code; the kinds' texts stand apart from the next
// kind's circle; after a switch to the low-level outputs the engine's notices
// (which copy the engine's kind and cells into the page's model) keep the
// low-level kind, and "开始" runs the low-level cell ticked.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_CALIBRATION
        pageSource: "qrc:/QMLPages/System/ModelSettingsPage.qml"
        relays: "none"
    }

    SignalSpy {
        id: notices
        target: testCase.cal ? testCase.cal.viewModel : null
        signalName: "sigUpdateDataToView"
    }

    ModulePageTestCase {
        id: testCase
        name: "CalibrationPageEnglish"
        harness: harness

        readonly property var settings: harness.page
        readonly property var dialog: settings ? settings.passwordDialog : null
        readonly property var cal: settings ? settings.calibrationSlot.item : null
        property real temperature: 25

        // Waits for an engine notice (a new amplifier temperature brings one).
        function notice() {
            notices.clear()
            temperature += 1
            pageBench.setAmplifierTemperature(temperature)
            tryVerify(function() { return notices.count > 0 }, 30000, "an engine notice")
        }

        function calRunning() {
            return cal.viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
        }

        // The harness's character panel.
        function keyboard() {
            for (var i = 0; i < harness.data.length; ++i) {
                if ("letterPage" in harness.data[i])
                    return harness.data[i]
            }
            return null
        }

        function rect(item) {
            return item.mapToItem(root, 0, 0, item.width, item.height)
        }

        function init() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            if (!harness.pageArea.visible) {
                harness.pageArea.visible = true
                tryCompare(settings, "visible", true)
            }
        }

        function test_1_accessCode() {
            mouseClick(settings.calibrationButton)
            tryCompare(dialog, "opened", true)
            var keys = keyboard()
            mouseClick(dialog.passwordBox)
            tryCompare(keys, "opened", true)
            var keysTop = rect(keys.contentItem).y - keys.topPadding
            var buttons = ["acceptButton", "rejectButton"]
            for (var b = 0; b < buttons.length; ++b) {
                var button = rect(popupButton(dialog, buttons[b]))
                verify(button.y + button.height <= keysTop, buttons[b] + " under the keys")
                verify(button.y >= 0, buttons[b] + " above the window")
            }
            var code = ["1", "2", "3"]
            for (var i = 0; i < code.length; ++i)
                mouseClick(findChild(keys.currentPage, "key" + code[i]))
            compare(dialog.passwordBox.text, "123")
            mouseClick(popupButton(dialog, "acceptButton"))
            compare(dialog.opened, true)
            compare(settings.calibrationSlot.visible, false)
            compare(dialog.passwordBox.text, "")
            mouseClick(popupButton(dialog, "rejectButton"))
            tryCompare(dialog, "opened", false)
        }

        // Every kind's text ends at least 6 px before the next kind's circle,
        // whole, on both output groups.
        function test_2_kindTextsStandApart() {
            dialog.open()
            dialog.accept("58302914")
            tryCompare(cal, "visible", true)
            var groups = [
                { name: "groupPower", kinds: [2, 1, 3, 4, 5, 7, 6] },
                { name: "groupLowLevel", kinds: [9, 8, 10] }
            ]
            for (var g = 0; g < groups.length; ++g) {
                tap(groups[g].name)
                var kinds = groups[g].kinds
                var previous = null
                for (var k = 0; k < kinds.length; ++k) {
                    var radio = control("kind" + kinds[k])
                    if (!radio.visible)
                        continue
                    var text = radio.contentItem
                    verify(!text.truncated, text.text + " cut")
                    if (previous) {
                        var end = rect(previous.contentItem).x + previous.contentItem.leftPadding
                                + previous.contentItem.contentWidth
                        verify(rect(radio.indicator).x - end >= 6,
                               previous.text + " ends at " + end + ", " + radio.text + " starts at "
                               + rect(radio.indicator).x)
                    }
                    previous = radio
                }
            }
        }

        function test_3_lowLevelCellRunsAfterTheGroupSwitch() {
            tap("groupLowLevel")
            notice()
            tap("cell" + ViewCalibrationModel.CAL_TYPE_LLOAMP + "_0_0")
            notice()
            tap("startButton")
            tryVerify(calRunning, 30000, "the run started")
            compare(cal.viewModel.getCurrentCalType(), ViewCalibrationModel.CAL_TYPE_LLOAMP)
            compare(cal.viewModel.getCurrentPortIndex(), 0)
            cal.saveClicked()
            tryVerify(function() { return !calRunning() }, 30000)
            tryCompare(cal.messageDialog, "opened", true)
            mouseClick(popupButton(cal.messageDialog, "rejectButton"))
        }
    }
}

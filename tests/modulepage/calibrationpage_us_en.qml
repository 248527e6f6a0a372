import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewCalibrationModel 1.0

// The calibration page and its access code with the English translation
// (CMakeLists.txt runs this file with it): the kinds' texts stand apart from
// the next kind's circle, and the access-code dialog keeps its buttons above
// the character keys and empties its field after a wrong code.
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

    ModulePageTestCase {
        name: "CalibrationPageEnglish"
        harness: harness

        readonly property var settings: harness.page
        readonly property var dialog: settings ? settings.passwordDialog : null
        readonly property var cal: settings ? settings.calibrationSlot.item : null

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
    }
}

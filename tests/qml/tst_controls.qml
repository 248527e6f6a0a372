import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import "qrc:/"

// Check boxes, radio buttons, switches, the binary-input edge box and the
// combo box, driven by taps.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }

    ToolCheckBox { id: beep; x: 20; y: 20; text: "按键音" }
    Row {
        x: 20; y: 70
        ToolRadioButton { id: defaultStyle; text: "系统默认"; checked: true }
        ToolRadioButton { id: blackStyle; text: "黑色高亮" }
    }
    ToolBinaryButton { id: output1; x: 20; y: 120; width: 48; height: 32 }
    ToolBinarCheckBox { id: input1; x: 100; y: 120; textValue: "A" }
    ToolComboBox { id: language; x: 20; y: 170; width: 200; model: ["中文", "英文", "葡萄牙文"] }
    // Read-only choices, as the hardware page shows them.
    Item {
        id: readOnly
        x: 300; y: 120
        enabled: false
        ToolCheckBox { id: readOnlyCheck; text: "3"; checked: true }
        ToolRadioButton { id: readOnlyRadio; y: 40; text: "110/220V"; checked: true }
        ToolComboBox { id: readOnlyCombo; y: 80; width: 200; model: ["模拟功放"] }
    }
    LabelBatteryLevel { id: battery; x: 300; y: 20 }
    ToolTextButton { id: button; x: 300; y: 70; text: "设置" }

    SignalSpy { id: beepSpy; target: beep; signalName: "toggled" }
    SignalSpy { id: outputSpy; target: output1; signalName: "clicked" }
    SignalSpy { id: inputSpy; target: input1; signalName: "clicked" }
    SignalSpy { id: activatedSpy; target: language; signalName: "activated" }
    SignalSpy { id: buttonSpy; target: button; signalName: "clicked" }

    TestCase {
        name: "Controls"
        when: windowShown

        function init() {
            beepSpy.clear()
            outputSpy.clear()
            inputSpy.clear()
            activatedSpy.clear()
            buttonSpy.clear()
        }

        function test_checkBoxToggles() {
            beep.checked = false
            mouseClick(beep)
            compare(beep.checked, true)
            mouseClick(beep)
            compare(beep.checked, false)
            compare(beepSpy.count, 2)
        }

        function test_radioButtonsAreExclusive() {
            mouseClick(blackStyle)
            compare(blackStyle.checked, true)
            compare(defaultStyle.checked, false)
            mouseClick(defaultStyle)
            compare(defaultStyle.checked, true)
            compare(blackStyle.checked, false)
        }

        function test_binaryButton() {
            output1.setChecked(false)
            mouseClick(output1)
            compare(output1.checked, true)
            compare(outputSpy.count, 1)
            output1.reversed()
            compare(output1.checked, false)
            output1.setChecked(1)
            compare(output1.checked, true)
            compare(outputSpy.count, 1)
        }

        // A tap moves none -> both -> on-to-off -> off-to-on -> none.
        function test_binaryInputEdgeCycle() {
            input1.setStateValue(0)
            var expected = [3, 2, 1, 0, 3]
            for (var i = 0; i < expected.length; ++i) {
                mouseClick(input1)
                compare(input1.stateValue, expected[i])
            }
            compare(inputSpy.count, expected.length)
            input1.setStateValue(7)
            compare(input1.stateValue, 0)
        }

        function test_comboSetDataValueIsSilent() {
            language.setDataValue(2)
            compare(language.currentText, "葡萄牙文")
            compare(activatedSpy.count, 0)
            mouseClick(language)
            tryCompare(language.popup, "opened", true)
            var list = language.popup.contentItem
            tryVerify(function() { return list.itemAtIndex(1) !== null })
            mouseClick(list.itemAtIndex(1))
            tryCompare(language, "currentIndex", 1)
            compare(activatedSpy.count, 1)
        }

        function test_batteryLevelIsDrawnWithinRange_data() {
            return [
                { tag: "unknown", value: -1, shown: 0 },
                { tag: "half", value: 50, shown: 50 },
                { tag: "over", value: 130, shown: 100 }
            ]
        }

        function test_batteryLevelIsDrawnWithinRange(data) {
            battery.lavelValue = data.value
            compare(battery.shownLevel, data.shown)
        }

        // Nothing of a disabled choice keeps an active colour.
        function test_disabledChoicesAreGrey_data() {
            return [
                { tag: "check box fill", item: function() { return readOnlyCheck.indicator } },
                { tag: "check box border", item: function() { return readOnlyCheck.indicator.border } },
                { tag: "check box text", item: function() { return readOnlyCheck.contentItem } },
                { tag: "radio dot", item: function() { return readOnlyRadio.indicator.children[0] } },
                { tag: "radio ring", item: function() { return readOnlyRadio.indicator.border } },
                { tag: "radio text", item: function() { return readOnlyRadio.contentItem } },
                { tag: "combo text", item: function() { return readOnlyCombo.contentItem } },
                { tag: "combo arrow", item: function() { return readOnlyCombo.indicator } },
                { tag: "combo border", item: function() { return readOnlyCombo.background.border } }
            ]
        }

        function test_disabledChoicesAreGrey(data) {
            compare(String(data.item().color), String(globalConfiguration.customGray))
        }

        function test_disabledButtonIgnoresTaps() {
            button.enabled = false
            mouseClick(button)
            compare(buttonSpy.count, 0)
            button.enabled = true
            mouseClick(button)
            compare(buttonSpy.count, 1)
        }
    }
}

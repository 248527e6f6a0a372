import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QMLControls 1.0
import ZOR.ViewUtilityHelper 1.0
import "qrc:/"

// Number and text fields typed through the number panel, as on the device.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    EditNumberBox {
        id: voltage
        x: 20; y: 20; width: 200; height: 40
        unit: "V"
        dataMin: 0
        dataMax: 300
        quick1Value: "57.735"
        quick2Value: "220.0"
    }
    EditNumberBox {
        id: current
        x: 300; y: 20; width: 200; height: 40
        unit: "A"
        dataMin: 0
        dataMax: 20
        dataAutoToLimit: true
    }
    EditTextBox {
        id: deviceModel
        x: 20; y: 80; width: 200; height: 40
        quick1Value: "ZOR"
        quick2Value: "ZIZ"
    }
    // Something that takes the focus away from the fields.
    TextInput { id: elsewhere; x: 600; y: 20; width: 100; height: 40 }

    SignalSpy { id: enteredSpy; target: voltage; signalName: "dataValueEntered" }
    SignalSpy { id: quick1Spy; target: voltage; signalName: "quick1Clicked" }

    TestCase {
        name: "EditNumberBox"
        when: windowShown

        function init() {
            voltage.ToolTip.hide()
            elsewhere.forceActiveFocus()
            tryCompare(inputNumberPanel, "opened", false)
            voltage.dataAutoToLimit = false
            voltage.invalidEnable = false
            voltage.invalidUnitEnable = false
            voltage.signalEnable = false
            voltage.setDataValue(100)
            voltage.dataOldText = voltage.text
            current.setDataValue(1)
            deviceModel.text = ""
            enteredSpy.clear()
            quick1Spy.clear()
            viewBaseModel.beepRequests = 0
        }

        function key(name) {
            var button = findChild(inputNumberPanel.contentItem, name)
            verify(button, "no key " + name)
            mouseClick(button)
        }

        // Taps the field and waits for the panel to open for it.
        function edit(field) {
            mouseClick(field)
            tryCompare(field, "inputFocus", true)
            tryCompare(inputNumberPanel, "opened", true)
            compare(inputNumberPanel.owner, field)
        }

        function type(keys) {
            for (var i = 0; i < keys.length; ++i)
                key(keys[i])
        }

        function test_typedNumberIsEnteredWithConfirm() {
            edit(voltage)
            compare(voltage.inputItem.selectedText, "100.000")
            type(["key1", "key2", "keyPoint", "key5"])
            compare(voltage.text, "12.5")
            key("keyConfirm")
            tryCompare(inputNumberPanel, "opened", false)
            compare(voltage.dataValue, 12.5)
            compare(voltage.text, "12.500")
            compare(enteredSpy.count, 1)
            compare(voltage.dataOldText, "12.500")
            compare(viewBaseModel.beepRequests, 5)
        }

        function test_backspaceAndMinus() {
            edit(current)
            type(["key7", "key3", "keyBackspace"])
            compare(current.text, "7")
            key("keyConfirm")
            tryCompare(current, "dataValue", 7)
            edit(current)
            type(["keyMinus", "key4"])
            key("keyConfirm")
            // -4 lies below 0: clamped to the limit.
            tryCompare(current, "dataValue", 0)
            compare(current.text, "0.000")
        }

        // A field that does not clamp refuses a value beyond its range and
        // shows the range; one that clamps takes the nearer bound silently.
        function test_limits_data() {
            return [
                { tag: "inside", auto: false, keys: ["key2", "key5", "key0"], value: 250, refused: false },
                { tag: "above kept", auto: false, keys: ["key5", "key0", "key0"], value: 100, refused: true },
                { tag: "above clamped", auto: true, keys: ["key5", "key0", "key0"], value: 300, refused: false },
                { tag: "below kept", auto: false, keys: ["keyMinus", "key5"], value: 100, refused: true },
                { tag: "below clamped", auto: true, keys: ["keyMinus", "key5"], value: 0, refused: false },
                { tag: "upper bound", auto: false, keys: ["key3", "key0", "key0"], value: 300, refused: false }
            ]
        }

        function test_limits(data) {
            voltage.dataAutoToLimit = data.auto
            edit(voltage)
            type(data.keys)
            key("keyConfirm")
            tryCompare(inputNumberPanel, "opened", false)
            compare(voltage.dataValue, data.value)
            compare(voltage.text, ViewUtilityHelper.doubleFormatToString(data.value, 3, "zh_CN"))
            compare(enteredSpy.count, 1)
            compare(voltage.ToolTip.visible, data.refused)
            if (data.refused)
                compare(voltage.ToolTip.toolTip.text, "超出范围: 0.000 ~ 300.000 V")
        }

        // A field that kept the focus after its panel closed selects its
        // whole text again when tapped: new digits replace the old value.
        function test_tapAgainSelectsTheText() {
            edit(voltage)
            type(["key5"])
            key("keyConfirm")
            tryCompare(inputNumberPanel, "opened", false)
            compare(voltage.inputFocus, true)
            edit(voltage)
            compare(voltage.inputItem.selectedText, "5.000")
            type(["key7"])
            key("keyConfirm")
            tryCompare(voltage, "dataValue", 7)
        }

        function test_invalidValue() {
            voltage.invalidEnable = true
            voltage.setDataValue(NaN)
            compare(voltage.text, "无效值")
            verify(ViewUtilityHelper.qmlIsNaN(voltage.dataValue))
            compare(voltage.unitShown, false)
            voltage.invalidUnitEnable = true
            compare(voltage.unitShown, true)
            voltage.setDataValue(5)
            compare(voltage.text, "5.000")
            compare(voltage.unitShown, true)
        }

        // Opening and leaving a field without typing keeps its value: the
        // invalid text is not read as 0.
        function test_untouchedInvalidFieldStaysInvalid() {
            voltage.invalidEnable = true
            voltage.setDataValue(NaN)
            edit(voltage)
            key("keyConfirm")
            tryCompare(inputNumberPanel, "opened", false)
            verify(ViewUtilityHelper.qmlIsNaN(voltage.dataValue))
            compare(voltage.text, "无效值")
            elsewhere.forceActiveFocus()
            verify(ViewUtilityHelper.qmlIsNaN(voltage.dataValue))
            verify(enteredSpy.count >= 1)
        }

        // Closing the panel by tapping outside it enters the text too.
        function test_pressOutsideEntersText() {
            edit(voltage)
            type(["key4", "key2"])
            mouseClick(window, 700, 200)
            tryCompare(inputNumberPanel, "opened", false)
            compare(voltage.dataValue, 42)
            compare(enteredSpy.count, 1)
            // The field keeps the focus; a tap opens the panel again.
            mouseClick(voltage)
            tryCompare(inputNumberPanel, "opened", true)
        }

        // Moving to another field enters the first and binds the panel anew.
        function test_panelFollowsTheFocus() {
            edit(voltage)
            type(["key9"])
            edit(current)
            compare(voltage.dataValue, 9)
            compare(enteredSpy.count, 1)
            type(["key3"])
            key("keyConfirm")
            tryCompare(current, "dataValue", 3)
            compare(voltage.dataValue, 9)
        }

        function test_readOnlyFieldOpensNoPanel() {
            voltage.readOnly = true
            mouseClick(voltage)
            tryCompare(voltage, "inputFocus", true)
            compare(inputNumberPanel.opened, false)
            voltage.readOnly = false
        }

        function test_quickKeysReplaceTheText() {
            edit(voltage)
            compare(findChild(inputNumberPanel.contentItem, "quick1").text, "57.735")
            key("quick2")
            compare(voltage.text, "220.0")
            key("keyConfirm")
            tryCompare(voltage, "dataValue", 220)
        }

        function test_signalQuickKeysOnlySignal() {
            voltage.signalEnable = true
            edit(voltage)
            key("quick1")
            compare(quick1Spy.count, 1)
            compare(voltage.text, "100.000")
            compare(viewBaseModel.beepRequests, 1)
        }

        function test_deviceModelKeys_data() {
            return [
                { tag: "ZOR before three digits", text: "123", keys: ["quick1"], result: "ZOR123" },
                { tag: "ZOR again changes nothing", text: "123", keys: ["quick1", "quick1"], result: "ZOR123" },
                { tag: "ZOR on an empty field", text: "", keys: ["quick1"], result: "ZOR" },
                { tag: "ZOR on a short text", text: "12", keys: ["quick1"], result: "ZOR" },
                { tag: "ZIZ after the text", text: "460", keys: ["quick2"], result: "460ZIZ" },
                { tag: "both", text: "460", keys: ["quick1", "quick2", "quick2"], result: "ZOR460ZIZ" }
            ]
        }

        function test_deviceModelKeys(data) {
            deviceModel.text = data.text
            edit(deviceModel)
            type(data.keys)
            compare(deviceModel.text, data.result)
        }

        function test_keysBeepOnlyWhenEnabled() {
            viewBaseModel.beepEnabled = false
            viewBaseModel.beepCount = 0
            edit(voltage)
            type(["key1", "key2"])
            compare(viewBaseModel.beepRequests, 2)
            compare(viewBaseModel.beepCount, 0)
            viewBaseModel.beepEnabled = true
            type(["key3"])
            compare(viewBaseModel.beepCount, 1)
        }

        // A slow tap (held past the long-press time) still types its key;
        // the hold is the input here, not a wait for a result.
        function test_slowTapTypes() {
            edit(voltage)
            var button = findChild(inputNumberPanel.contentItem, "key8")
            mousePress(button)
            mouseRelease(button, button.width / 2, button.height / 2, Qt.LeftButton, Qt.NoModifier, 1000)
            compare(voltage.text, "8")
        }

        function test_fieldLimitsItsLength() {
            edit(voltage)
            for (var i = 0; i < 20; ++i)
                key("key1")
            compare(voltage.text.length, 16)
        }
    }
}

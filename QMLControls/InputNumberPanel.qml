import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewUtilityHelper 1.0

// The on-screen number keys for EditNumberBox and EditTextBox. The main
// window places it along the bottom edge; a field opens it for itself
// (openFor) when it is tapped, never when the focus merely comes back to it;
// opening selects the field's whole text, so that typing replaces it. Digits, point, minus and backspace reach
// the field as real key events; "确认" closes the panel, and closing it by any
// means sends Enter to the field while the field still has the focus. Every
// key calls viewBaseModel.setBeep().
//
// The two quick keys show the field's quick1Value and quick2Value. A quick key
// replaces the field's text with its own, except on the device-model field:
// "ZOR" goes in front of a text of three or more characters that does not
// hold it yet, "ZIZ" is appended to such a text. With the field's
// signalEnable the quick keys only emit its quick1Clicked() / quick2Clicked().
Popup {
    id: panel

    // The edit box the panel types for.
    property Item owner: null
    readonly property Item target: owner ? owner.inputItem : null
    readonly property string quick1Text: owner ? owner.quick1Value : ""
    readonly property string quick2Text: owner ? owner.quick2Value : ""
    readonly property real keyboardWidth: width * 0.92
    readonly property int keyFontSize: globalConfiguration.customFontL2Size

    x: 0
    y: parent ? parent.height - height : 0
    z: 99
    width: parent ? parent.width : 800
    height: 0.23 * 480
    padding: 4
    modal: false
    focus: false
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    function openFor(box) {
        if (owner !== box) {
            if (opened)
                close()
            owner = box
        }
        if (!visible) {
            box.inputItem.selectAll()
            open()
        }
    }

    function closeFor(box) {
        if (owner === box && opened)
            close()
    }

    function sendKey(key) {
        viewBaseModel.setBeep()
        if (target)
            ViewUtilityHelper.virtualKeyEmit(target, key)
    }

    function quickKey(index) {
        viewBaseModel.setBeep()
        if (!owner)
            return
        if (owner.signalEnable) {
            if (index === 1)
                owner.quick1Clicked()
            else
                owner.quick2Clicked()
            return
        }
        var key = index === 1 ? quick1Text : quick2Text
        var current = target.text
        var next = key
        if ((key === "ZOR" || key === "ZIZ") && current.length >= 3)
            next = current.indexOf(key) >= 0 ? current : (key === "ZOR" ? key + current : current + key)
        target.text = next
    }

    function confirm() {
        viewBaseModel.setBeep()
        close()
    }

    onClosed: {
        if (target && target.activeFocus)
            ViewUtilityHelper.virtualKeyEmit(target, Qt.Key_Enter)
    }

    background: Rectangle {
        color: globalConfiguration.customBackground
        border.color: globalConfiguration.customPrimary
        border.width: 1
    }

    contentItem: Item {
        Grid {
            id: keys
            anchors.centerIn: parent
            columns: 8
            spacing: 4
            readonly property real keyWidth: (panel.keyboardWidth - spacing * (columns - 1)) / columns
            readonly property real keyHeight: (parent.height - spacing) / 2

            // Row 1: quick 1, 1..5, point, backspace. Row 2: quick 2, 6..9, 0, minus, confirm.
            ToolTextButton {
                objectName: "quick1"
                width: keys.keyWidth; height: keys.keyHeight
                text: panel.quick1Text
                enabled: text !== ""
                font.pixelSize: panel.keyFontSize
                onClicked: panel.quickKey(1)
            }
            Repeater {
                model: ["1", "2", "3", "4", "5"]
                ToolTextButton {
                    objectName: "key" + modelData
                    width: keys.keyWidth; height: keys.keyHeight
                    text: modelData
                    font.pixelSize: panel.keyFontSize
                    onClicked: panel.sendKey(Qt.Key_0 + Number(modelData))
                }
            }
            ToolTextButton {
                objectName: "keyPoint"
                width: keys.keyWidth; height: keys.keyHeight
                text: "."
                font.pixelSize: panel.keyFontSize
                onClicked: panel.sendKey(Qt.Key_Period)
            }
            ToolTextButton {
                objectName: "keyBackspace"
                width: keys.keyWidth; height: keys.keyHeight
                text: qsTr("回退")
                font.pixelSize: panel.keyFontSize
                onClicked: panel.sendKey(Qt.Key_Backspace)
            }
            ToolTextButton {
                objectName: "quick2"
                width: keys.keyWidth; height: keys.keyHeight
                text: panel.quick2Text
                enabled: text !== ""
                font.pixelSize: panel.keyFontSize
                onClicked: panel.quickKey(2)
            }
            Repeater {
                model: ["6", "7", "8", "9", "0"]
                ToolTextButton {
                    objectName: "key" + modelData
                    width: keys.keyWidth; height: keys.keyHeight
                    text: modelData
                    font.pixelSize: panel.keyFontSize
                    onClicked: panel.sendKey(Qt.Key_0 + Number(modelData))
                }
            }
            ToolTextButton {
                objectName: "keyMinus"
                width: keys.keyWidth; height: keys.keyHeight
                text: "-"
                font.pixelSize: panel.keyFontSize
                onClicked: panel.sendKey(Qt.Key_Minus)
            }
            ToolTextButton {
                objectName: "keyConfirm"
                width: keys.keyWidth; height: keys.keyHeight
                text: qsTr("确认")
                font.pixelSize: panel.keyFontSize
                onClicked: panel.confirm()
            }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewUtilityHelper 1.0

// The on-screen character keys for EditCharTextBox: a digit page ("_",
// "ABC", 1..9, ".", 0, "-", "回退", "确认") and a letter page ("Caps", the
// letters, "回退", "123", "确认"). Keys reach the field as real key events;
// letters in upper case while capsEnable is on ("Caps" toggles it). "确认"
// closes the panel, and closing it by any means sends Enter to the field
// while the field still has the focus. Every key calls viewBaseModel.setBeep().
Popup {
    id: panel

    property Item owner: null
    readonly property Item target: owner ? owner.inputItem : null
    property bool capsEnable: false
    property bool letterPage: false
    readonly property real keyboardWidth: width * 0.95
    readonly property int keyFontSize: globalConfiguration.customFontL2Size

    // Key codes: a letter or digit stands for itself; the rest are named.
    readonly property var digitRows: [["_", "1", "2", "3", "4", "5", ".", "#back"],
                                      ["#abc", "6", "7", "8", "9", "0", "-", "#ok"]]
    readonly property var letterRows: [["Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P", "#back"],
                                       ["#caps", "A", "S", "D", "F", "G", "H", "J", "K", "L", "#ok"],
                                       ["#123", "Z", "X", "C", "V", "B", "N", "M"]]

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
        if (!opened)
            open()
    }

    function closeFor(box) {
        if (owner === box && opened)
            close()
    }

    function keyText(code) {
        switch (code) {
        case "#back": return qsTr("回退")
        case "#ok": return qsTr("确认")
        case "#caps": return "Caps"
        case "#abc": return "ABC"
        case "#123": return "123"
        }
        if (code >= "A" && code <= "Z" && code.length === 1)
            return capsEnable ? code : code.toLowerCase()
        return code
    }

    function press(code) {
        viewBaseModel.setBeep()
        switch (code) {
        case "#back": emit(Qt.Key_Backspace); return
        case "#ok": close(); return
        case "#caps": capsEnable = !capsEnable; return
        case "#abc": letterPage = true; return
        case "#123": letterPage = false; return
        case "_": emit(Qt.Key_Underscore); return
        case ".": emit(Qt.Key_Period); return
        case "-": emit(Qt.Key_Minus); return
        }
        if (code >= "0" && code <= "9")
            emit(Qt.Key_0 + Number(code))
        else
            emit(Qt.Key_A + code.charCodeAt(0) - 65)
    }

    function emit(key) {
        if (target)
            ViewUtilityHelper.virtualKeyEmit(target, key, capsEnable)
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

    // The page of keys shown now.
    readonly property Item currentPage: letterPage ? letterKeys : digitKeys

    contentItem: Item {
        id: board

        Column {
            id: digitKeys
            objectName: "digitPage"
            visible: !panel.letterPage
            anchors.centerIn: parent
            spacing: 4
            readonly property var rows: panel.digitRows
            readonly property real keyWidth: (panel.keyboardWidth - spacing * (8 - 1)) / 8
            readonly property real keyHeight: (board.height - spacing * (rows.length - 1)) / rows.length

            Repeater {
                model: digitKeys.rows
                Row {
                    spacing: digitKeys.spacing
                    anchors.horizontalCenter: parent.horizontalCenter
                    Repeater {
                        model: modelData
                        ToolTextButton {
                            objectName: "key" + modelData
                            width: digitKeys.keyWidth
                            height: digitKeys.keyHeight
                            text: panel.keyText(modelData)
                            font.pixelSize: panel.keyFontSize
                            background: modelData === "#caps" && panel.capsEnable
                                        ? globalConfiguration.customDark : globalConfiguration.customBackground
                            onClicked: panel.press(modelData)
                        }
                    }
                }
            }
        }
        Column {
            id: letterKeys
            objectName: "letterPage"
            visible: panel.letterPage
            anchors.centerIn: parent
            spacing: 4
            readonly property var rows: panel.letterRows
            readonly property real keyWidth: (panel.keyboardWidth - spacing * (11 - 1)) / 11
            readonly property real keyHeight: (board.height - spacing * (rows.length - 1)) / rows.length

            Repeater {
                model: letterKeys.rows
                Row {
                    spacing: letterKeys.spacing
                    anchors.horizontalCenter: parent.horizontalCenter
                    Repeater {
                        model: modelData
                        ToolTextButton {
                            objectName: "key" + modelData
                            width: letterKeys.keyWidth
                            height: letterKeys.keyHeight
                            text: panel.keyText(modelData)
                            font.pixelSize: panel.keyFontSize
                            background: modelData === "#caps" && panel.capsEnable
                                        ? globalConfiguration.customDark : globalConfiguration.customBackground
                            onClicked: panel.press(modelData)
                        }
                    }
                }
            }
        }
    }
}

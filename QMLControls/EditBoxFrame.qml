import QtQuick 2.15

// Common part of the edit boxes: a framed text input with an optional unit,
// a cursor blinking 500 ms on / 500 ms off, and the signals every box offers.
// Each box adds the on-screen panel it opens; the panels send their keys to
// inputItem.
Item {
    id: root

    implicitWidth: 150
    implicitHeight: 32

    property alias text: input.text
    property alias readOnly: input.readOnly
    property alias font: input.font
    property alias echoMode: input.echoMode
    property alias maximumLength: input.maximumLength
    property alias overwriteMode: input.overwriteMode
    property alias horizontalAlignment: input.horizontalAlignment
    property alias cursorPosition: input.cursorPosition
    // The text input that the panels type into.
    readonly property alias inputItem: input
    readonly property alias inputFocus: input.activeFocus

    property color foreground: globalConfiguration.customForeground
    property color background: globalConfiguration.customBackground
    property color borderColor: input.activeFocus ? globalConfiguration.customPrimary : globalConfiguration.customGray
    property int borderWidth: 1
    property color selectionColor: globalConfiguration.customPrimary
    property color selectedTextColor: "#ffffff"
    property color disabledColor: globalConfiguration.customGray

    property string unit: ""
    property bool unitVisible: unit !== ""
    // The room of the unit: at least its text's width at the box's size (a
    // unit is never drawn smaller than its neighbours' units).
    property int unitWidth: 16
    // Whether the unit is drawn now (a box may hide it, e.g. beside an
    // invalid-value text).
    property bool unitShown: unitVisible

    signal accepted()
    signal editingFinished()
    signal textEdited()
    signal entered()
    signal exited()
    signal pressed()
    signal released()
    signal pressAndHold()
    signal clicked()
    signal doubleClicked()

    // Gives the input the focus, as a tap does, and opens the box's panel.
    // Only a tap opens it, never focus that merely comes back to the input
    // (its page enabled again after a run, a popup closed).
    function focusInput() {
        if (root.enabled && !input.activeFocus) {
            input.forceActiveFocus()
            if (input.activeFocus && typeof root.openPanel === "function")
                root.openPanel()
        }
    }

    Rectangle {
        anchors.fill: parent
        color: root.background
        border.color: root.enabled ? root.borderColor : root.disabledColor
        border.width: root.borderWidth
        radius: 2
    }

    TextInput {
        id: input
        anchors.left: parent.left
        anchors.right: unitLabel.visible ? unitLabel.left : parent.right
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        clip: true
        color: root.enabled ? root.foreground : root.disabledColor
        selectionColor: root.selectionColor
        selectedTextColor: root.selectedTextColor
        selectByMouse: false
        verticalAlignment: TextInput.AlignVCenter
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: globalConfiguration.customFontL2Size

        cursorDelegate: Rectangle {
            id: cursor
            property bool lit: true
            width: 2
            color: input.color
            opacity: input.cursorVisible && cursor.lit ? 1 : 0

            Timer {
                interval: 500
                repeat: true
                running: input.cursorVisible
                onRunningChanged: cursor.lit = true
                onTriggered: cursor.lit = !cursor.lit
            }
        }

        onAccepted: root.accepted()
        onEditingFinished: root.editingFinished()
        onTextEdited: root.textEdited()
    }

    Text {
        id: unitLabel
        visible: root.unitShown
        width: Math.max(root.unitWidth, Math.ceil(implicitWidth))
        anchors.right: parent.right
        anchors.rightMargin: 2
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        text: root.unit
        color: input.color
        font.family: input.font.family
        font.pixelSize: input.font.pixelSize
        horizontalAlignment: Text.AlignRight
        verticalAlignment: Text.AlignVCenter
    }

    MouseArea {
        anchors.fill: parent
        enabled: root.enabled
        hoverEnabled: true
        onPressed: {
            root.focusInput()
            root.pressed()
        }
        onReleased: root.released()
        onClicked: root.clicked()
        onDoubleClicked: root.doubleClicked()
        onPressAndHold: root.pressAndHold()
        onEntered: root.entered()
        onExited: root.exited()
    }
}

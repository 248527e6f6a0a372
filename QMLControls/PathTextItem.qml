import QtQuick 2.15

// One entry of a number wheel (PathNumberView): its number, two digits at
// least, highlighted while it is the wheel's current entry. A tap emits
// selected() with the entry's index (number - numberStartValue).
Item {
    id: root

    implicitWidth: 60
    implicitHeight: 30

    property int number: 0
    property int numberStartValue: 0
    property color checkedColor: globalConfiguration.customPrimary
    property color foreground: globalConfiguration.customForeground
    property bool checked: false
    property int fontPixelSize: globalConfiguration.customFontL2Size

    signal selected(int index)

    Text {
        anchors.centerIn: parent
        text: root.number < 10 && root.number >= 0 ? "0" + root.number : String(root.number)
        color: root.checked ? root.checkedColor : root.foreground
        opacity: root.checked ? 1.0 : 0.6
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: root.checked ? root.fontPixelSize + 4 : root.fontPixelSize
        font.bold: root.checked
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.selected(root.number - root.numberStartValue)
    }
}

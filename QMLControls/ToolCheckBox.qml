import QtQuick 2.15
import QtQuick.Controls 2.15

// A check box with a square indicator of radioSize, filled with checkedColor
// and ticked while checked; disabled, it is drawn in the palette's grey.
CheckBox {
    id: root

    property int radioSize: 22
    property color checkedColor: globalConfiguration.customPrimary
    property color foreground: globalConfiguration.customForeground
    property int texthorizontalAlignment: Text.AlignLeft

    focusPolicy: Qt.NoFocus
    spacing: 6
    font.family: globalConfiguration.customFontFamily
    font.pixelSize: globalConfiguration.customFontL2Size

    indicator: Rectangle {
        x: root.leftPadding
        anchors.verticalCenter: parent.verticalCenter
        width: root.radioSize
        height: root.radioSize
        radius: 3
        color: root.checked ? (root.enabled ? root.checkedColor : globalConfiguration.customGray) : "transparent"
        border.color: root.enabled ? (root.checked ? root.checkedColor : root.foreground) : globalConfiguration.customGray
        border.width: 2
        opacity: root.down ? 0.7 : 1.0

        // The tick.
        Item {
            anchors.fill: parent
            visible: root.checked
            Rectangle {
                x: parent.width * 0.2
                y: parent.height * 0.5
                width: parent.width * 0.3
                height: 3
                rotation: 45
                transformOrigin: Item.Left
                color: globalConfiguration.customBackground
            }
            Rectangle {
                x: parent.width * 0.4
                y: parent.height * 0.71
                width: parent.width * 0.5
                height: 3
                rotation: -50
                transformOrigin: Item.Left
                color: globalConfiguration.customBackground
            }
        }
    }

    contentItem: Text {
        leftPadding: root.indicator.width + root.spacing
        text: root.text
        font: root.font
        color: root.enabled ? root.foreground : globalConfiguration.customGray
        horizontalAlignment: root.texthorizontalAlignment
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15

// A radio button with a round indicator of radioSize, its dot in checkedColor;
// disabled, it is drawn in the palette's grey.
RadioButton {
    id: root

    property int radioSize: 22
    property color checkedColor: globalConfiguration.customPrimary
    property color foreground: globalConfiguration.customForeground

    focusPolicy: Qt.NoFocus
    spacing: 6
    font.family: globalConfiguration.customFontFamily
    font.pixelSize: globalConfiguration.customFontL2Size

    indicator: Rectangle {
        x: root.leftPadding
        anchors.verticalCenter: parent.verticalCenter
        width: root.radioSize
        height: root.radioSize
        radius: width / 2
        color: "transparent"
        border.color: root.enabled ? (root.checked ? root.checkedColor : root.foreground) : globalConfiguration.customGray
        border.width: 2
        opacity: root.down ? 0.7 : 1.0

        Rectangle {
            anchors.centerIn: parent
            width: parent.width * 0.5
            height: width
            radius: width / 2
            visible: root.checked
            color: root.enabled ? root.checkedColor : globalConfiguration.customGray
        }
    }

    contentItem: Text {
        leftPadding: root.indicator.width + root.spacing
        text: root.text
        font: root.font
        color: root.enabled ? root.foreground : globalConfiguration.customGray
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
}

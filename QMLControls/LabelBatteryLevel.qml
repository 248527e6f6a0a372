import QtQuick 2.15

// A battery symbol filled to lavelValue percent (drawn within 0..100) with
// the percentage written on it.
Item {
    id: root

    implicitWidth: 56
    implicitHeight: 28

    property real lavelValue: 0
    property color lavelColor: globalConfiguration.customGreen
    property bool textVisible: true
    property color textColor: globalConfiguration.customForeground
    property int fontWeight: Font.Normal
    property int fontPixelSize: globalConfiguration.customFontL3Size

    readonly property real shownLevel: Math.max(0, Math.min(100, isNaN(lavelValue) ? 0 : lavelValue))

    Rectangle {
        id: body
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: root.width - tip.width
        height: root.height
        radius: 3
        color: "transparent"
        border.color: root.lavelColor
        border.width: 2

        Rectangle {
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.margins: 3
            width: (parent.width - 6) * root.shownLevel / 100
            radius: 1
            color: root.lavelColor
        }
    }

    Rectangle {
        id: tip
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: Math.max(3, root.width * 0.06)
        height: root.height * 0.4
        color: root.lavelColor
    }

    Text {
        anchors.centerIn: body
        visible: root.textVisible
        text: Math.round(root.shownLevel) + "%"
        color: root.textColor
        style: Text.Outline
        styleColor: globalConfiguration.customBackground
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: root.fontPixelSize
        font.weight: root.fontWeight
    }
}

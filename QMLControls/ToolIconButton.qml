import QtQuick 2.15

// A framed button with an icon-font glyph before its text.
Item {
    id: root

    implicitWidth: 120
    implicitHeight: 36

    property string text: ""
    property string iconText: ""
    property string iconFont: globalConfiguration.iconFontName
    property color foreground: globalConfiguration.customForeground
    property color background: globalConfiguration.customBackground
    property color borderColor: globalConfiguration.customPrimary
    property int fontPixelSize: globalConfiguration.customFontL2Size
    readonly property alias down: area.pressed

    signal clicked()
    signal released()

    Rectangle {
        anchors.fill: parent
        radius: 4
        color: root.down ? globalConfiguration.customPrimary : root.background
        border.color: root.enabled ? root.borderColor : globalConfiguration.customGray
        border.width: 1
    }

    Row {
        anchors.centerIn: parent
        spacing: 4
        opacity: root.enabled ? 1.0 : 0.5

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: root.iconText
            color: root.foreground
            font.family: root.iconFont
            font.pixelSize: root.fontPixelSize + 4
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: root.text
            color: root.foreground
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: root.fontPixelSize
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        enabled: root.enabled
        onClicked: root.clicked()
        onReleased: root.released()
    }
}

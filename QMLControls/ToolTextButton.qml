import QtQuick 2.15

// A framed text button. It never takes the keyboard focus, so pressing it
// leaves an edited field (and its on-screen panel) as they are; a long press
// is still a click (the panels' keys must not drop a slow tap). A text wider
// than the button shrinks to its width; a low button does not shrink it.
Item {
    id: root

    implicitWidth: 100
    implicitHeight: 36

    property string text: ""
    property color foreground: globalConfiguration.customForeground
    property color background: globalConfiguration.customBackground
    property color borderColor: globalConfiguration.customPrimary
    property int borderWidth: 1
    property color downColor: globalConfiguration.customPrimary
    property color disabledColor: globalConfiguration.customGray
    property int radius: 4
    property alias font: label.font
    readonly property alias down: area.pressed
    // The width the text takes at its full size.
    readonly property real textImplicitWidth: label.implicitWidth

    signal clicked()
    signal released()

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        color: root.down ? root.downColor : root.background
        border.color: root.enabled ? root.borderColor : root.disabledColor
        border.width: root.borderWidth
    }

    Text {
        id: label
        anchors.fill: parent
        anchors.margins: 2
        text: root.text
        color: root.enabled ? root.foreground : root.disabledColor
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: globalConfiguration.customFontL2Size
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 8
        elide: Text.ElideRight
    }

    MouseArea {
        id: area
        anchors.fill: parent
        enabled: root.enabled
        onClicked: root.clicked()
        onReleased: root.released()
    }
}

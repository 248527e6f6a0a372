import QtQuick 2.15

// A start-page tile: an image above its caption.
Item {
    id: root

    implicitWidth: 100
    implicitHeight: 126

    property string text: ""
    property string iconPath: ""
    property color foreground: globalConfiguration.customForeground
    property int fontPixelSize: 22
    property alias font: caption.font
    readonly property alias down: area.pressed

    signal clicked()
    signal released()

    Column {
        anchors.fill: parent
        spacing: 4
        opacity: root.enabled ? 1.0 : 0.4
        scale: root.down ? 0.95 : 1.0

        Image {
            id: image
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(root.width, root.height - caption.height - parent.spacing)
            height: width
            sourceSize.width: width
            sourceSize.height: height
            fillMode: Image.PreserveAspectFit
            source: root.iconPath
            smooth: true
        }
        Text {
            id: caption
            width: root.width
            text: root.text
            color: root.foreground
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            // A longer caption shrinks to the tile's width.
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 12
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

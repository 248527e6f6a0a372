import QtQuick 2.15
import QtQuick.Controls 2.15

// A tile with an icon-font glyph above its caption; with `animation` the
// glyph grows a little while pressed. Optional tooltip shown while pressed.
Item {
    id: root

    implicitWidth: 100
    implicitHeight: 100

    property string text: ""
    property string iconText: ""
    property string iconFont: globalConfiguration.iconFontName
    property color foreground: globalConfiguration.customForeground
    property color iconColor: globalConfiguration.customPrimary
    property int fontPixelSize: globalConfiguration.customFontL2Size
    property bool toolTipVisible: false
    property string toolTipText: ""
    property bool animation: false
    readonly property alias down: area.pressed

    signal clicked()
    signal released()

    Column {
        anchors.centerIn: parent
        spacing: 4
        opacity: root.enabled ? 1.0 : 0.4

        Text {
            id: glyph
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.iconText
            color: root.iconColor
            font.family: root.iconFont
            font.pixelSize: Math.max(8, root.height - caption.height - 10)
            scale: root.animation && root.down ? 1.15 : 1.0
            Behavior on scale {
                enabled: root.animation
                NumberAnimation { duration: 100 }
            }
        }
        Text {
            id: caption
            width: root.width
            text: root.text
            color: root.foreground
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: root.fontPixelSize
        }
    }

    ToolTip.text: toolTipText
    ToolTip.visible: toolTipVisible && toolTipText !== "" && area.pressed

    MouseArea {
        id: area
        anchors.fill: parent
        enabled: root.enabled
        onClicked: root.clicked()
        onReleased: root.released()
    }
}

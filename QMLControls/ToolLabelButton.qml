import QtQuick 2.15
import QtQuick.Controls 2.15

// An image and a text in a row (the header's home and clock button), with an
// optional tooltip shown while pressed. With maximumLineCount above 1 the
// text wraps and shrinks until it fits the button.
Item {
    id: root

    implicitWidth: 160
    implicitHeight: 36

    property string text: ""
    property string iconPath: ""
    property color foreground: globalConfiguration.customForeground
    property int fontPixelSize: globalConfiguration.customFontL2Size
    property int maximumLineCount: 1
    property bool toolTipVisible: false
    property string toolTipText: ""
    property alias font: label.font
    readonly property alias down: area.pressed

    signal clicked()
    signal released()

    Row {
        anchors.fill: parent
        spacing: 6
        opacity: root.enabled ? (root.down ? 0.7 : 1.0) : 0.5

        Image {
            id: icon
            anchors.verticalCenter: parent.verticalCenter
            height: root.height - 4
            width: root.iconPath !== "" ? height : 0
            sourceSize.width: width
            sourceSize.height: height
            fillMode: Image.PreserveAspectFit
            source: root.iconPath
            smooth: true
        }
        Text {
            id: label
            width: root.width - icon.width - parent.spacing
            height: root.height
            text: root.text
            color: root.foreground
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            wrapMode: root.maximumLineCount > 1 ? Text.Wrap : Text.NoWrap
            maximumLineCount: root.maximumLineCount
            fontSizeMode: root.maximumLineCount > 1 ? Text.Fit : Text.FixedSize
            minimumPixelSize: 8
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

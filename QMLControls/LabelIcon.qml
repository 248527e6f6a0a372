import QtQuick 2.15
import QtQuick.Controls 2.15

// One glyph of the icon font (text: a glyph of globalConfiguration, e.g.
// iconAlarm), with an optional tooltip in its own font, shown while pressed.
Label {
    id: root

    property bool toolTipVisible: false
    property string toolTipText: ""
    property string toolTipFontFamily: globalConfiguration.customFontFamily
    property int toolTipFontPixelSize: globalConfiguration.customFontL3Size
    property color foreground: globalConfiguration.customForeground

    signal clicked()

    color: enabled ? foreground : globalConfiguration.customGray
    font.family: globalConfiguration.iconFontName
    font.pixelSize: globalConfiguration.customFontPixelSize
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter

    ToolTip {
        visible: root.toolTipVisible && root.toolTipText !== "" && area.pressed
        text: root.toolTipText
        font.family: root.toolTipFontFamily
        font.pixelSize: root.toolTipFontPixelSize
    }

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: root.clicked()
    }
}

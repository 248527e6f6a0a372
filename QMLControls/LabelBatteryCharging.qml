import QtQuick 2.15

// The charging mark beside the battery level: the icon-font glyph `icon`,
// shown only while isCharging.
Item {
    id: root

    implicitWidth: 24
    implicitHeight: 28

    property bool isCharging: false
    property color lavelColor: globalConfiguration.customGreen
    property string icon: globalConfiguration.iconCharging

    Text {
        anchors.centerIn: parent
        visible: root.isCharging
        text: root.icon
        color: root.lavelColor
        font.family: globalConfiguration.iconFontName
        font.pixelSize: Math.min(root.width, root.height)
    }
}

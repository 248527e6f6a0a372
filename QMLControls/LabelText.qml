import QtQuick 2.15
import QtQuick.Controls 2.15

// A text label with an optional tooltip, shown while the label is pressed.
Label {
    id: root

    property bool toolTipVisible: false
    property string toolTipText: ""
    property color foreground: globalConfiguration.customForeground

    signal clicked()
    signal released()

    color: enabled ? foreground : globalConfiguration.customGray
    font.family: globalConfiguration.customFontFamily
    font.pixelSize: globalConfiguration.customFontL2Size
    verticalAlignment: Text.AlignVCenter
    elide: Text.ElideRight

    ToolTip.text: toolTipText
    ToolTip.visible: toolTipVisible && toolTipText !== "" && area.pressed

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: root.clicked()
        onReleased: root.released()
    }
}

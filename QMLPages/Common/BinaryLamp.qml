import QtQuick 2.15
import QMLControls 1.0

// A live binary input or output of a page's bottom bar: its number and a
// lamp that is lit while `on`. Shows only; it takes no taps.
Row {
    id: root

    property string label: ""
    property bool on: false
    property int lampSize: 22

    spacing: 2
    height: lampSize

    Text {
        width: 12
        height: root.height
        text: root.label
        color: globalConfiguration.customForeground
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: globalConfiguration.customFontL3Size
        horizontalAlignment: Text.AlignRight
        verticalAlignment: Text.AlignVCenter
    }
    LabelState {
        width: root.lampSize
        height: root.lampSize
        background: globalConfiguration.customGray
        stateColor: root.on ? globalConfiguration.customRunning : globalConfiguration.customBackground
    }
}

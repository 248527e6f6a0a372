import QtQuick 2.15
import QMLControls 1.0

// The tab buttons of a test page, side by side and equally wide; the current
// one has the primary colour. tabs: [{ text, name }], name being the button's
// objectName.
Row {
    id: bar

    property var tabs: []
    property int currentIndex: 0

    height: 30
    spacing: 4

    Repeater {
        model: bar.tabs

        ToolTextButton {
            readonly property bool current: index === bar.currentIndex

            objectName: modelData.name
            width: (bar.width - bar.spacing * (bar.tabs.length - 1)) / bar.tabs.length
            height: bar.height
            text: modelData.text
            background: current ? globalConfiguration.customPrimary : globalConfiguration.customBackground
            foreground: current ? globalConfiguration.customTitleForeground : globalConfiguration.customForeground
            onClicked: bar.currentIndex = index
        }
    }
}

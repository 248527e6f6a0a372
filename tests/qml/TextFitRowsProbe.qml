import QtQuick 2.15
import QtQuick.Controls 2.15

// The row checks' probe: a text run into the next, a text against the next
// check box, a text under a shown scroll bar, a text that shrank beside one
// of its kind, one that shrank far below another of its kind elsewhere, one
// drawn under 12 px and a button whose edge a box drawn after it hides; and
// rows that keep apart, a text on its own box, which the checks must pass.
Rectangle {
    width: 400
    height: 280
    color: "white"

    Column {
        spacing: 6
        Row {
            Text { text: "run"; font.pixelSize: 16 }
            Text { text: "together"; font.pixelSize: 16 }
        }
        Row {
            Text { text: "touching"; font.pixelSize: 16 }
            CheckBox { leftPadding: 1; text: "box" }
        }
        ListView {
            width: 120
            height: 40
            clip: true
            model: 1
            delegate: Text { width: 120; horizontalAlignment: Text.AlignRight; text: "under the bar" }
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AlwaysOn }
        }
        Row {
            spacing: 10
            Text { width: 60; fontSizeMode: Text.HorizontalFit; minimumPixelSize: 8; font.pixelSize: 16; text: "shrunk text" }
            Text { width: 70; text: "normal"; font.pixelSize: 16 }
        }
        Row {
            spacing: 10
            Text { width: 76; fontSizeMode: Text.HorizontalFit; minimumPixelSize: 8; font.pixelSize: 16; text: "shrunk alone" }
            Text { text: "tiny"; font.pixelSize: 11 }
        }
        Item {
            width: 200
            height: 24
            Rectangle {
                width: 100
                height: 24
                border.color: "black"
                Text { anchors.fill: parent; anchors.margins: 2; text: "hidden edge"; font.pixelSize: 14 }
            }
            Rectangle { x: 96; width: 80; height: 24; color: "grey" }
        }
        Row {
            spacing: 8
            Rectangle {
                width: 80
                height: 24
                color: "lightgrey"
                Text { anchors.centerIn: parent; text: "on a box"; font.pixelSize: 16 }
            }
            Text { text: "fits apart"; font.pixelSize: 16 }
            Text { text: "fits too"; font.pixelSize: 16 }
            CheckBox { text: "fits, a box" }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15

// The text-fit check's probe: seven texts cut in each way the check knows,
// and texts that fit or are not shown, which it must pass.
Rectangle {
    width: 400
    height: 240
    color: "white"

    Column {
        Text { width: 60; elide: Text.ElideRight; text: "elided text that is long" }
        Text { width: 60; text: "wide text without elision" }
        Item {
            width: 80
            height: 20
            clip: true
            Text { x: 40; text: "clipped by its parent" }
            Text { x: 200; text: "fits, wholly outside the clip" }
        }
        Text { x: 330; text: "edge of the window" }
        ComboBox {
            width: 120
            model: ["fits", "comboEntry far too long for the box"]
            contentItem: Text { leftPadding: 4; rightPadding: 20; text: parent.displayText; elide: Text.ElideRight }
        }
        Text { width: 50; wrapMode: Text.WordWrap; text: "wrappedWordThatCannotBreak" }
        Text { width: 100; leftPadding: 60; text: "padded text" }
        Text { width: 100; text: "fits" }
        Text { width: 60; wrapMode: Text.WordWrap; text: "fits in words" }
        Text { width: 5; visible: false; text: "fits, hidden" }
    }
}

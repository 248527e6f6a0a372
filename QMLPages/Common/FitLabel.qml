import QtQuick 2.15
import QMLControls 1.0

// A field label of a test page. A page gives each label the room its text
// takes (LabelColumn); should a text still be too wide, it shrinks to its
// width (down to 10 px) rather than being cut.
LabelText {
    fontSizeMode: Text.HorizontalFit
    minimumPixelSize: 10
}

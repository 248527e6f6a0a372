import QtQuick 2.15
import QMLControls 1.0

// A field label of a test page: the text shrinks to its width (down to 10 px)
// rather than being cut, as the longer translations need.
LabelText {
    fontSizeMode: Text.HorizontalFit
    minimumPixelSize: 10
}

import QtQuick 2.15

// A read-only result cell of a test page: a framed line of text. A page gives
// it the width of the longest text it shows; a wider one shrinks rather than
// being cut.
Rectangle {
    id: root

    property alias text: label.text
    property alias font: label.font

    implicitWidth: 200
    implicitHeight: 30
    color: globalConfiguration.customBackground
    border.color: globalConfiguration.customGray
    border.width: 1
    radius: 2

    Text {
        id: label
        anchors.fill: parent
        anchors.leftMargin: 6
        anchors.rightMargin: 6
        color: root.enabled ? globalConfiguration.customForeground : globalConfiguration.customGray
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: globalConfiguration.customFontL2Size
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 10
    }
}

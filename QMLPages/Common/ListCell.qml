import QtQuick 2.15
import "ColumnFit.js" as ColumnFit

// A cell of a list: a framed, centred line of text that shrinks to the
// cell's width (down to ColumnFit.smallestPixelSize) rather than being cut.
// A title cell (title) and the cells of the current row (current) take the
// title colours, a title the bold font.
Rectangle {
    id: cell

    property bool title: false
    property bool current: false
    property alias text: label.text
    property alias cellName: label.objectName
    property alias pixelSize: label.font.pixelSize

    color: title || current ? globalConfiguration.customPrimary : globalConfiguration.customBackground
    border.color: globalConfiguration.customGray

    Text {
        id: label
        anchors.fill: parent
        anchors.leftMargin: 2
        anchors.rightMargin: 2
        anchors.topMargin: cell.title ? 2 : 0
        anchors.bottomMargin: cell.title ? 2 : 0
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        color: cell.title || cell.current ? globalConfiguration.customTitleForeground
                                          : globalConfiguration.customForeground
        font.family: globalConfiguration.customFontFamily
        font.weight: cell.title ? Font.DemiBold : Font.Normal
        font.pixelSize: globalConfiguration.customFontL2Size
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: ColumnFit.smallestPixelSize
        elide: Text.ElideRight
    }
}

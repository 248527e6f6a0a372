import QtQuick 2.15

// A display-only table of output phasors: one row per port (its name, its
// amplitude, its angle), the cells written by the page.
//   ports         the port numbers shown, in order (0..7: UA, UB, UC, UX, IA, IB, IC, IX)
//   cellText      function(port, column): column 1 the amplitude, 2 the angle
//   revision      bumped by the page: the cells read cellText again
//   columnWidths  widths of the name, amplitude and angle columns
// Cells are named "phasor<port>_<column>", rows "phasorRow<row>".
Column {
    id: table

    property var ports: []
    property var cellText: function(port, column) { return "" }
    property int revision: 0
    property var columnWidths: [40, 120, 120]
    property int cellHeight: 24
    property int pixelSize: globalConfiguration.customFontL2Size

    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]

    Repeater {
        model: table.ports
        Row {
            id: phasorRow
            readonly property int port: modelData
            objectName: "phasorRow" + index
            Repeater {
                model: 3
                Rectangle {
                    width: table.columnWidths[index]
                    height: table.cellHeight
                    color: globalConfiguration.customBackground
                    border.color: globalConfiguration.customGray
                    Text {
                        objectName: "phasor" + phasorRow.port + "_" + index
                        anchors.fill: parent
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        color: globalConfiguration.customForeground
                        font.family: globalConfiguration.customFontFamily
                        font.pixelSize: table.pixelSize
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: 10
                        text: index === 0 ? table.portNames[phasorRow.port]
                                          : (table.revision >= 0 ? table.cellText(phasorRow.port, index) : "")
                    }
                }
            }
        }
    }
}

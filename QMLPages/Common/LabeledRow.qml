import QtQuick 2.15

// One line of a page's settings or results: its label, then the controls or
// result fields the page declares inside it.
Row {
    id: row

    property alias label: title.text
    // In a column of rows that gives its labels one width (LabelColumn), that
    // width; else 116.
    property int labelWidth: parent && parent.labelWidth !== undefined ? parent.labelWidth : 116
    property int labelHeight: 30
    property int labelPixelSize: globalConfiguration.customFontL2Size
    // The width the label takes at its full size: a column of rows may make
    // its labels as wide as the widest.
    readonly property real labelImplicitWidth: Math.ceil(title.implicitWidth)

    spacing: 4

    FitLabel {
        id: title
        width: row.labelWidth
        height: row.labelHeight
        font.pixelSize: row.labelPixelSize
    }
}

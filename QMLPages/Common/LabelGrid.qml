import QtQuick 2.15

// A grid of LabeledRows whose labels take the width of the widest label of
// their column at its full size (labelWidths, column by column: at least
// minimumLabelWidth, at most maximumLabelWidth), or of the widest of the grid
// (labelWidth, which the rows take by default). Every child counts, in the
// order of the grid's cells.
Grid {
    property int minimumLabelWidth: 0
    property int maximumLabelWidth: 1000
    readonly property var labelWidths: {
        var widths = []
        for (var c = 0; c < columns; ++c)
            widths.push(minimumLabelWidth)
        for (var i = 0; i < children.length; ++i) {
            var need = children[i].labelImplicitWidth
            if (need !== undefined)
                widths[i % columns] = Math.max(widths[i % columns], need)
        }
        return widths.map(function(w) { return Math.min(w, maximumLabelWidth) })
    }
    readonly property int labelWidth: Math.max.apply(null, labelWidths)
}

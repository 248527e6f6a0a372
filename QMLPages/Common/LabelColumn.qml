import QtQuick 2.15

// A column of LabeledRows whose labels take the width of the widest of them
// at its full size (at least minimumLabelWidth, at most maximumLabelWidth:
// the room the fields leave), so that a longer translation widens the column
// instead of shrinking one label. The rows take the column's labelWidth (a
// LabeledRow does by default).
Column {
    id: column

    property int minimumLabelWidth: 0
    property int maximumLabelWidth: 1000
    readonly property int labelWidth: {
        var widest = minimumLabelWidth
        for (var i = 0; i < children.length; ++i) {
            var row = children[i]
            if (row.visible && row.labelImplicitWidth !== undefined)
                widest = Math.max(widest, row.labelImplicitWidth)
        }
        return Math.min(widest, maximumLabelWidth)
    }
}

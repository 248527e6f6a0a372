import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewUtilityHelper 1.0

// A label and a number field on one row. show(v) puts a stored value into the
// field; entered(value) is emitted for an entry whose text differs (ignoring
// case) from the text before it, so an unchanged entry sets nothing.
Row {
    id: row

    property alias label: label.text
    property alias box: box
    property int labelWidth: 150
    property int boxWidth: 180

    signal entered(real value)

    function show(value) {
        box.setDataValue(value)
        box.dataOldText = box.text
    }

    height: 40
    spacing: 6

    LabelText {
        id: label
        width: row.labelWidth
        height: row.height
        horizontalAlignment: Text.AlignRight
    }
    EditNumberBox {
        id: box
        objectName: row.objectName + "Box"
        width: row.boxWidth
        height: row.height - 4
        anchors.verticalCenter: parent.verticalCenter
        unitWidth: 30
        onDataValueEntered: {
            if (!ViewUtilityHelper.stringEqualNoCase(text, dataOldText))
                row.entered(dataValue)
        }
    }
}

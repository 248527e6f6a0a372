import QtQuick 2.15

// A text field typed on the number panel (inputNumberPanel), at most 64
// characters; the panel's quick keys write their text into it (see
// InputNumberPanel for the "ZOR" / "ZIZ" keys of the device-model field).
// Entering stores the text in dataOldText after editingFinished().
EditBoxFrame {
    id: root

    property string quick1Value: ""
    property string quick2Value: ""
    property string quick3Value: ""
    property string dataOldText: ""
    // The quick keys only emit quick1Clicked() / quick2Clicked().
    property bool signalEnable: false

    signal quick1Clicked()
    signal quick2Clicked()

    maximumLength: 64

    function setDataValue(value) {
        text = value
    }

    function openPanel() {
        if (!readOnly && enabled)
            inputNumberPanel.openFor(root)
    }

    onClicked: if (inputFocus) openPanel()
    onEditingFinished: dataOldText = text

    Connections {
        target: root.inputItem
        function onActiveFocusChanged() {
            if (root.inputItem.activeFocus) {
                root.inputItem.selectAll()
            } else {
                inputNumberPanel.closeFor(root)
            }
        }
    }
}

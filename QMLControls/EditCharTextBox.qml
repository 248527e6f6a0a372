import QtQuick 2.15

// A text field typed on the character panel (inputCharNumberPanel): letters,
// digits, "_", "." and "-", at most inputMaxLen characters. Entering stores
// the text in dataOldText after editingFinished().
EditBoxFrame {
    id: root

    property string quick1Value: ""
    property string quick2Value: ""
    property string quick3Value: ""
    property string dataOldText: ""
    property bool signalEnable: false
    property int inputMaxLen: 64

    maximumLength: inputMaxLen

    function setDataValue(value) {
        text = value
    }

    function openPanel() {
        if (!readOnly && enabled)
            inputCharNumberPanel.openFor(root)
    }

    onClicked: if (inputFocus) openPanel()
    onEditingFinished: dataOldText = text

    Connections {
        target: root.inputItem
        function onActiveFocusChanged() {
            if (root.inputItem.activeFocus) {
                root.inputItem.selectAll()
            } else {
                inputCharNumberPanel.closeFor(root)
            }
        }
    }
}

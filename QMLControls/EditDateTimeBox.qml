import QtQuick 2.15
import ZOR.ViewUtilityHelper 1.0

// A date-and-time field "yyyy-MM-dd hh:mm:ss" set on the date-time panel
// (inputDateTimePanel), which writes its date and time when it closes; every
// write emits accepted().
EditBoxFrame {
    id: root

    readonly property string dateTimeFormat: "yyyy-MM-dd hh:mm:ss"

    function setNowDateTimeRound10sec(mul) {
        text = ViewUtilityHelper.getNowDateTimeRound10sec(mul, dateTimeFormat)
    }

    function setNowDateTime() {
        text = ViewUtilityHelper.getNowDateTimeString(dateTimeFormat)
    }

    // Called by the date-time panel.
    function setPanelText(value) {
        text = value
        accepted()
    }

    function openPanel() {
        if (!readOnly && enabled)
            inputDateTimePanel.openFor(root)
    }

    onClicked: if (inputFocus) openPanel()

    Connections {
        target: root.inputItem
        function onActiveFocusChanged() {
            if (!root.inputItem.activeFocus)
                inputDateTimePanel.closeFor(root)
        }
    }
}

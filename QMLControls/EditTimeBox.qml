import QtQuick 2.15
import ZOR.ViewUtilityHelper 1.0

// A time field "hh:mm:ss" set on the time panel (inputTimePanel). Opening the
// panel fills its six quick keys with now, rounded down to 10 s, plus 1, 2,
// 3, 6, 30 and 60 steps of 10 s; with clkSyncEnable in the time zone offset
// by offsetMin minutes. The panel writes its time when it closes; every
// write emits accepted().
EditBoxFrame {
    id: root

    property bool clkSyncEnable: false
    property int offsetMin: 0

    readonly property string timeFormat: "hh:mm:ss"
    readonly property var quickSteps: [1, 2, 3, 6, 30, 60]

    function roundedNow(mul) {
        return clkSyncEnable
                ? ViewUtilityHelper.getNowTimeRound10secByTZ(mul, timeFormat, offsetMin * 60)
                : ViewUtilityHelper.getNowTimeRound10sec(mul, timeFormat)
    }

    function setNowTimeRound10sec(mul) {
        text = roundedNow(mul)
    }

    function setNowTime() {
        text = ViewUtilityHelper.getNowTimeString(timeFormat)
    }

    // Called by the time panel.
    function setPanelText(value) {
        text = value
        accepted()
    }

    function openPanel() {
        if (readOnly || !enabled)
            return
        var times = []
        for (var i = 0; i < quickSteps.length; ++i)
            times.push(roundedNow(quickSteps[i]))
        inputTimePanel.openFor(root, times)
    }

    onClicked: if (inputFocus) openPanel()

    Connections {
        target: root.inputItem
        function onActiveFocusChanged() {
            if (!root.inputItem.activeFocus)
                inputTimePanel.closeFor(root)
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15

// The on-screen time panel for EditTimeBox: wheels for hour (时), minute (分)
// and second (秒) and six quick keys holding times the field offers. A quick
// key writes its time into the field at once (and sets the wheels to it);
// closing the panel, by any means, writes the wheels' time "hh:mm:ss". Every
// key calls viewBaseModel.setBeep().
Popup {
    id: panel

    property Item owner: null
    property var quickTimes: []
    readonly property real keyboardWidth: width * 0.84
    readonly property int keyFontSize: globalConfiguration.customFontL2Size
    readonly property alias hourWheel: hourWheel
    readonly property alias minuteWheel: minuteWheel
    readonly property alias secondWheel: secondWheel

    x: 0
    y: parent ? parent.height - height : 0
    z: 99
    width: parent ? parent.width : 800
    height: 0.39 * 480
    padding: 4
    modal: false
    focus: false
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    function openFor(box, times) {
        if (owner !== box) {
            if (opened)
                close()
            owner = box
        }
        quickTimes = times || []
        setTimeText(box.text)
        if (!opened)
            open()
    }

    function closeFor(box) {
        if (owner === box && opened)
            close()
    }

    function twoDigits(n) {
        return n < 10 ? "0" + n : String(n)
    }

    // The wheels' time as "hh:mm:ss".
    function timeText() {
        return twoDigits(hourWheel.numberStartValue + hourWheel.currentIndex) + ":"
                + twoDigits(minuteWheel.numberStartValue + minuteWheel.currentIndex) + ":"
                + twoDigits(secondWheel.numberStartValue + secondWheel.currentIndex)
    }

    // Sets the wheels from a text "hh:mm:ss"; parts that are not numbers
    // leave their wheel as it is.
    function setTimeText(text) {
        var parts = String(text).split(":")
        var wheels = [hourWheel, minuteWheel, secondWheel]
        for (var i = 0; i < wheels.length && i < parts.length; ++i) {
            var n = parseInt(parts[i], 10)
            if (!isNaN(n))
                wheels[i].setValue(n)
        }
    }

    function quickKey(index) {
        viewBaseModel.setBeep()
        var time = quickTimes[index]
        if (!owner || time === undefined)
            return
        setTimeText(time)
        owner.setPanelText(time)
    }

    onClosed: {
        if (owner)
            owner.setPanelText(timeText())
    }

    background: Rectangle {
        color: globalConfiguration.customBackground
        border.color: globalConfiguration.customPrimary
        border.width: 1
    }

    contentItem: Item {
        id: board

        Row {
            id: layout
            anchors.centerIn: parent
            height: board.height
            spacing: 6
            readonly property real wheelWidth: panel.keyboardWidth * 0.12
            readonly property real unitWidth: panel.keyboardWidth * 0.05

            PathNumberView {
                id: hourWheel
                objectName: "hourWheel"
                width: layout.wheelWidth
                height: board.height
                number: 24
            }
            Text {
                width: layout.unitWidth
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("时")
                color: globalConfiguration.customForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: panel.keyFontSize
            }
            PathNumberView {
                id: minuteWheel
                objectName: "minuteWheel"
                width: layout.wheelWidth
                height: board.height
                number: 60
            }
            Text {
                width: layout.unitWidth
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("分")
                color: globalConfiguration.customForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: panel.keyFontSize
            }
            PathNumberView {
                id: secondWheel
                objectName: "secondWheel"
                width: layout.wheelWidth
                height: board.height
                number: 60
            }
            Text {
                width: layout.unitWidth
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("秒")
                color: globalConfiguration.customForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: panel.keyFontSize
            }

            Grid {
                id: quickKeys
                anchors.verticalCenter: parent.verticalCenter
                columns: 2
                spacing: 6
                readonly property real keyWidth: (panel.keyboardWidth - 3 * (layout.wheelWidth + layout.unitWidth)
                                                  - 6 * layout.spacing - spacing) / 2
                readonly property real keyHeight: (board.height - 2 * spacing) / 3

                Repeater {
                    model: 6
                    ToolTextButton {
                        objectName: "quickTime" + index
                        width: quickKeys.keyWidth
                        height: quickKeys.keyHeight
                        text: panel.quickTimes[index] !== undefined ? panel.quickTimes[index] : ""
                        enabled: text !== ""
                        font.pixelSize: panel.keyFontSize
                        onClicked: panel.quickKey(index)
                    }
                }
            }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewUtilityHelper 1.0

// The on-screen date-and-time panel for EditDateTimeBox: wheels for year
// 2000..2099 (年), month (月), day (日), hour (时), minute (分) and second
// (秒). The day wheel has as many entries as the month has days (Gregorian
// calendar, by ViewUtilityHelper); a day beyond the new month's end moves to
// its last day. Closing the panel, by any means, writes the date and time
// "yyyy-MM-dd hh:mm:ss" (through ViewUtilityHelper.getDateTimeString) into the
// field; a time that does not exist locally (a daylight-saving gap) leaves
// the field as it is.
Popup {
    id: panel

    property Item owner: null
    readonly property real keyboardWidth: width * 0.84
    readonly property int keyFontSize: globalConfiguration.customFontL2Size
    readonly property int firstYear: 2000
    readonly property int lastYear: 2099
    readonly property string dateTimeFormat: "yyyy-MM-dd hh:mm:ss"
    // Entries of the day wheel: the days of the month on the wheels.
    property int dayCount: 31

    readonly property alias yearWheel: yearWheel
    readonly property alias monthWheel: monthWheel
    readonly property alias dayWheel: dayWheel
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

    // A wheel's value, read from its index (a binding on it may not have
    // caught up yet inside a change handler).
    function wheelValue(wheel) {
        return wheel.numberStartValue + wheel.currentIndex
    }

    function daysInMonth(year, month) {
        for (var day = 31; day > 28; --day) {
            if (ViewUtilityHelper.getDateTimeString(year, month, day, 12, 0, 0, "d") !== "")
                return day
        }
        return 28
    }

    function openFor(box) {
        if (owner !== box) {
            if (opened)
                close()
            owner = box
        }
        setDateTimeText(box.text)
        if (!opened)
            open()
    }

    function closeFor(box) {
        if (owner === box && opened)
            close()
    }

    // Sets the wheels from "yyyy-MM-dd hh:mm:ss"; parts that are not numbers
    // leave their wheel as it is.
    function setDateTimeText(text) {
        var parts = String(text).split(/[- :]/)
        var wheels = [yearWheel, monthWheel, dayWheel, hourWheel, minuteWheel, secondWheel]
        for (var i = 0; i < wheels.length && i < parts.length; ++i) {
            var n = parseInt(parts[i], 10)
            if (!isNaN(n))
                wheels[i].setValue(i === 2 ? Math.min(n, dayCount) : n)
        }
    }

    // Rebuilds the day wheel for the month on the wheels, keeping the day
    // (or the month's last day when the month is shorter).
    function refreshDays() {
        // The wheels exist once the panel's content is built.
        if (!yearWheel || !monthWheel || !dayWheel)
            return
        var day = wheelValue(dayWheel)
        dayCount = daysInMonth(wheelValue(yearWheel), wheelValue(monthWheel))
        dayWheel.setValue(Math.min(day, dayCount))
    }

    function dateTimeText() {
        return ViewUtilityHelper.getDateTimeString(wheelValue(yearWheel), wheelValue(monthWheel), wheelValue(dayWheel),
                                                   wheelValue(hourWheel), wheelValue(minuteWheel), wheelValue(secondWheel),
                                                   dateTimeFormat)
    }

    onClosed: {
        var text = dateTimeText()
        if (owner && text !== "")
            owner.setPanelText(text)
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
            spacing: 4
            readonly property real unitWidth: panel.keyboardWidth * 0.045
            readonly property real wheelWidth: (panel.keyboardWidth - 6 * unitWidth - 11 * spacing - wheelWidthYearExtra) / 6
            readonly property real wheelWidthYearExtra: panel.keyboardWidth * 0.04

            PathNumberView {
                id: yearWheel
                objectName: "yearWheel"
                width: layout.wheelWidth + layout.wheelWidthYearExtra
                height: board.height
                numberStartValue: panel.firstYear
                number: panel.lastYear - panel.firstYear + 1
                onValueChanged: panel.refreshDays()
            }
            Text {
                width: layout.unitWidth
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("年")
                color: globalConfiguration.customForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: panel.keyFontSize
            }
            PathNumberView {
                id: monthWheel
                objectName: "monthWheel"
                width: layout.wheelWidth
                height: board.height
                numberStartValue: 1
                number: 12
                onValueChanged: panel.refreshDays()
            }
            Text {
                width: layout.unitWidth
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("月")
                color: globalConfiguration.customForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: panel.keyFontSize
            }
            PathNumberView {
                id: dayWheel
                objectName: "dayWheel"
                width: layout.wheelWidth
                height: board.height
                numberStartValue: 1
                number: panel.dayCount
            }
            Text {
                width: layout.unitWidth
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("日")
                color: globalConfiguration.customForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: panel.keyFontSize
            }
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
        }
    }
}

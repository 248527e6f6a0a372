import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import ZOR.ViewUtilityHelper 1.0
import "qrc:/"

// The time and date-time fields with their wheel panels.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    EditTimeBox { id: start; x: 20; y: 20; width: 200; height: 40 }
    EditDateTimeBox { id: systemTime; x: 300; y: 20; width: 300; height: 40 }
    TextInput { id: elsewhere; x: 650; y: 20; width: 100; height: 40 }

    SignalSpy { id: startSpy; target: start; signalName: "accepted" }

    TestCase {
        name: "TimePanels"
        when: windowShown

        function init() {
            elsewhere.forceActiveFocus()
            tryCompare(inputTimePanel, "opened", false)
            tryCompare(inputDateTimePanel, "opened", false)
            start.clkSyncEnable = false
            start.offsetMin = 0
            startSpy.clear()
            viewBaseModel.beepRequests = 0
        }

        function seconds(text) {
            var p = text.split(":")
            return Number(p[0]) * 3600 + Number(p[1]) * 60 + Number(p[2])
        }

        // Seconds from a to b, forward around midnight.
        function after(a, b) {
            return (seconds(b) - seconds(a) + 86400) % 86400
        }

        function openTimePanel() {
            mouseClick(start)
            tryCompare(inputTimePanel, "opened", true)
            compare(inputTimePanel.owner, start)
        }

        function test_quickTimesAreRoundedSteps() {
            openTimePanel()
            var times = inputTimePanel.quickTimes
            compare(times.length, 6)
            var steps = [1, 2, 3, 6, 30, 60]
            for (var i = 0; i < times.length; ++i) {
                verify(/^\d\d:\d\d:\d0$/.test(times[i]), times[i])
                compare(after(times[0], times[i]), (steps[i] - 1) * 10)
            }
            // The first lies 1..10 s ahead of now (checked around midnight too).
            var ahead = after(ViewUtilityHelper.getNowTimeString("hh:mm:ss"), times[0])
            verify(ahead >= 0 && ahead <= 10, "ahead " + ahead)
        }

        function test_quickKeyWritesAtOnce() {
            openTimePanel()
            mouseClick(findChild(inputTimePanel.contentItem, "quickTime3"))
            compare(start.text, inputTimePanel.quickTimes[3])
            compare(startSpy.count, 1)
            compare(viewBaseModel.beepRequests, 1)
            compare(inputTimePanel.timeText(), start.text)
        }

        function test_wheelsWriteWhenClosed() {
            start.text = "10:20:30"
            openTimePanel()
            compare(inputTimePanel.hourWheel.currentValue, 10)
            compare(inputTimePanel.minuteWheel.currentValue, 20)
            compare(inputTimePanel.secondWheel.currentValue, 30)
            // Tap the hour entry one below the current one.
            var wheel = inputTimePanel.hourWheel
            mouseClick(wheel, wheel.width / 2, wheel.height / 2 + wheel.itemHeight)
            tryCompare(wheel, "currentValue", 11)
            inputTimePanel.minuteWheel.setValue(5)
            elsewhere.forceActiveFocus()
            tryCompare(inputTimePanel, "opened", false)
            compare(start.text, "11:05:30")
            verify(startSpy.count >= 1)
        }

        function test_clockSyncZoneShiftsQuickTimes() {
            start.clkSyncEnable = true
            start.offsetMin = 90
            // Retry while a 10 s boundary passes between the two readings.
            for (var attempt = 0; attempt < 5; ++attempt) {
                var before = ViewUtilityHelper.getNowTimeRound10sec(1, "hh:mm:ss")
                openTimePanel()
                var shifted = inputTimePanel.quickTimes[0]
                var later = ViewUtilityHelper.getNowTimeRound10sec(1, "hh:mm:ss")
                elsewhere.forceActiveFocus()
                tryCompare(inputTimePanel, "opened", false)
                if (before === later) {
                    compare(after(before, shifted), 90 * 60)
                    return
                }
            }
            fail("the clock kept crossing 10 s boundaries")
        }

        function test_daysPerMonth_data() {
            return [
                { tag: "2000-02 (leap, century)", year: 2000, month: 2, days: 29 },
                { tag: "2024-02 (leap)", year: 2024, month: 2, days: 29 },
                { tag: "2023-02", year: 2023, month: 2, days: 28 },
                { tag: "2099-02", year: 2099, month: 2, days: 28 },
                { tag: "2023-04", year: 2023, month: 4, days: 30 },
                { tag: "2023-12", year: 2023, month: 12, days: 31 }
            ]
        }

        function test_daysPerMonth(data) {
            systemTime.text = "2023-01-15 08:00:00"
            mouseClick(systemTime)
            tryCompare(inputDateTimePanel, "opened", true)
            inputDateTimePanel.yearWheel.setValue(data.year)
            inputDateTimePanel.monthWheel.setValue(data.month)
            compare(inputDateTimePanel.dayWheel.number, data.days)
            compare(inputDateTimePanel.dayWheel.currentValue, 15)
        }

        function test_yearsStopAt2099() {
            mouseClick(systemTime)
            tryCompare(inputDateTimePanel, "opened", true)
            var years = inputDateTimePanel.yearWheel
            compare(years.numberStartValue, 2000)
            compare(years.number, 100)
            years.setValue(2100)
            verify(years.currentValue <= 2099)
        }

        function test_shorterMonthKeepsTheLastDay() {
            systemTime.text = "2024-03-31 10:20:30"
            mouseClick(systemTime)
            tryCompare(inputDateTimePanel, "opened", true)
            compare(inputDateTimePanel.dayWheel.currentValue, 31)
            inputDateTimePanel.monthWheel.setValue(2)
            compare(inputDateTimePanel.dayWheel.number, 29)
            compare(inputDateTimePanel.dayWheel.currentValue, 29)
            elsewhere.forceActiveFocus()
            tryCompare(inputDateTimePanel, "opened", false)
            compare(systemTime.text, "2024-02-29 10:20:30")
        }

        function test_nowHelpers() {
            start.setNowTimeRound10sec(0)
            verify(/^\d\d:\d\d:\d0$/.test(start.text), start.text)
            systemTime.setNowDateTimeRound10sec(1)
            verify(/^\d{4}-\d\d-\d\d \d\d:\d\d:\d0$/.test(systemTime.text), systemTime.text)
        }
    }
}

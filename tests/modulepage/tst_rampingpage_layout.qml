import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// What the idle ramping page offers: the variable list by the unit's phases,
// the limits of step and end by item, the time boxes and their check boxes,
// the state list with Add and Delete, and the double-click dialogs.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_RAMPING
        pageSource: "qrc:/QMLPages/Ramping/ModelRampingPage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "RampingPageLayout"
        harness: harness

        function init() {
            idlePage()
            while (model.getStatesCount() > 1)
                tap("deleteButton")
            if (model.getStatesCount() === 0)
                tap("addButton")
        }

        function cleanupTestCase() {
            harness.systemModel.setVoltagePhasesType(0)
            harness.systemModel.setCurrentPhasesType(0)
        }

        function showWithPhases(voltageFour, currentFour) {
            hidePage()
            harness.systemModel.setVoltagePhasesType(voltageFour ? 1 : 0)
            harness.systemModel.setCurrentPhasesType(currentFour ? 1 : 0)
            showPage()
        }

        function cell(row, column) {
            return control("cell" + row + "_" + column).text
        }

        function test_variablesByPhases() {
            showWithPhases(false, true)
            var texts = comboTexts("variableBox")
            compare(texts.length, 15)
            verify(texts.indexOf("UX") < 0)
            compare(texts[7], "IA")
            choose("variableBox", texts.indexOf("IX"))
            compare(model.getFaultActionPort(), texts.indexOf("IX"))
            tap("addButton")
            compare(cell(1, 1), "IX")
            choose("variableBox", 7)
            compare(control("endBox").unit, "A")
            compare(control("stepBox").unit, "A")
            showWithPhases(false, false)
        }

        function test_limitsByItem() {
            choose("itemBox", 1)                                   // angle
            var end = control("endBox")
            var step = control("stepBox")
            compare([end.dataMin, end.dataMax, step.dataMin, step.dataMax], [-360, 360, -360, 360])
            compare([end.quick1Value, end.quick2Value], ["180.000", "270.000"])
            compare(end.unit, "°")
            enter("endBox", "-500")
            compare(model.getEndRampValue(), -360)
            choose("itemBox", 2)                                   // frequency
            compare([end.dataMin, end.dataMax, step.dataMin, step.dataMax], [10, 1000, -1000, 1000])
            choose("itemBox", 0)
            compare([end.dataMin, end.dataMax], [0, model.getDeviceAOVMaxRange()])
            // The ramped port's amplitude is the ramp's: its box is disabled.
            verify(!control("range0").enabled)
            verify(control("angle0").enabled)
        }

        function test_timeBoxesAndTheirCheckBoxes() {
            if (control("normalCheck").checked)
                tap("normalCheck")
            if (control("intervalCheck").checked)
                tap("intervalCheck")
            verify(control("normalTimeBox").readOnly)
            verify(control("intervalTimeBox").readOnly)
            verify(!control("onceCheck").enabled)
            tap("normalCheck")
            verify(model.getNormalEnable())
            verify(!control("normalTimeBox").readOnly)
            verify(control("onceCheck").enabled)
            tap("intervalCheck")
            verify(!control("intervalTimeBox").readOnly)
            tap("normalCheck")
            tap("intervalCheck")
            verify(!control("onceCheck").enabled)
        }

        function test_deleteTheLastStateAndAddAgain() {
            tap("deleteButton")
            compare(model.getStatesCount(), 0)
            verify(!control("startButton").enabled)
            compare(control("headerCell0").text, "")
            // A start that reaches the model anyway is refused with a message.
            page.startClicked()
            answerMessage("没有测试状态，请先添加状态。")
            verify(!isRunning())
            enter("endBox", "40")
            tap("addButton")
            compare(model.getStatesCount(), 1)
            verify(control("startButton").enabled)
            compare(control("headerCell0").text, "1")
            compare(model.getSettingTimes(0), 1)
            compare(model.getEndRampValue(), 40)
        }

        function test_doubleClickDialogs() {
            tap("addButton")
            var rows = [["cell1_3", "整定时间", "1.5", 1.5, -1], ["cell1_6", "偏差", "0.2", -1, 0.2]]
            for (var i = 0; i < rows.length; ++i) {
                tap("deleteButton")                                 // the second state goes, the first is active
                tap("addButton")
                mouseClick(control("rowArea0"))
                compare(model.getActiveIndex(), 0)
                mouseDoubleClickSequence(control(rows[i][0]))
                var dialog = page.inputDialog
                tryCompare(dialog, "opened", true)
                compare(dialog.title, rows[i][1])
                compare(model.getActiveIndex(), 1)
                dialog.numberBox.text = rows[i][2]
                mouseClick(popupButton(dialog, "acceptButton"))
                tryCompare(dialog, "opened", false)
                if (rows[i][3] >= 0)
                    compare(model.getSettingTimes(1), rows[i][3])
                if (rows[i][4] >= 0)
                    compare(model.getDevTimes(1), rows[i][4])
            }
            compare(model.getSettingTimes(0), 1)
            compare(model.getDevTimes(0), 0.1)
            compare(cell(1, 4), "0.200s")
        }
    }
}

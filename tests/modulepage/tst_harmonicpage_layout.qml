import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// What the idle harmonic page offers: the summary page, the order chooser by
// slot, the percent display, and the rows, group list and end-value limits
// by the unit's phases.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_HARMONIC
        pageSource: "qrc:/QMLPages/Harmonic/ModelHarmonicPage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "HarmonicPageLayout"
        harness: harness

        function init() {
            idlePage()
            while (model.getActiveOrder() > 0)
                tap("prevOrderButton")
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

        function test_slotsAndTheSummaryPage() {
            // The fundamental: "1" alone, not to be chosen.
            compare(control("orderText").text, "[1/5]")
            compare(comboTexts("orderBox"), ["1"])
            verify(!control("orderBox").enabled)
            tap("nextOrderButton")
            verify(control("orderBox").enabled)
            compare(control("orderBox").displayText, "2")
            compare(comboTexts("orderBox").length, 57)     // 2..60 without 3 and 5
            enter("range4", "0.1")
            compare(model.getOutputRange(4), 0.1)

            // Percent of the fundamental on the harmonic slots.
            tap("percentRadio")
            compare(control("range4").unit, "%")
            compare(control("range4").text, "10.000")

            for (var i = 0; i < 3; ++i)
                tap("nextOrderButton")
            compare(control("orderText").text, "[5/5]")
            verify(control("summaryLabel").visible)
            compare(control("summaryLabel").text, "RMS & THD")
            verify(!control("orderBox").visible)
            verify(!control("outputTable").enabled)
            verify(control("range4").readOnly)
            compare(control("range4").unit, "A")
            compare(control("range4").text, "1.005")       // RMS
            compare(control("angle4").unit, "%")
            compare(control("angle4").text, "10.000")      // THD
            compare(control("angle0").text, "0.000")

            tap("prevOrderButton")
            tap("prevOrderButton")
            tap("prevOrderButton")
            enter("range4", "0")
            tap("ampRadio")
        }

        function test_rowsListAndEndLimitsFollowThePhases_data() {
            return [
                { tag: "three and three", v: false, i: false, rows: 6, count: 14, voltageRows: 7 },
                { tag: "four voltages", v: true, i: false, rows: 7, count: 15, voltageRows: 8 },
                { tag: "four and four", v: true, i: true, rows: 8, count: 16, voltageRows: 8 },
            ]
        }
        function test_rowsListAndEndLimitsFollowThePhases(row) {
            showWithPhases(row.v, row.i)
            var shown = 0
            for (var p = 0; p < 8; ++p)
                shown += control("outputRow" + p).visible ? 1 : 0
            compare(shown, row.rows)
            var list = comboTexts("variableBox")
            compare(list.length, row.count)
            compare(list.indexOf("UX") >= 0, row.v)
            compare(list.indexOf("IX") >= 0, row.i)
            // The last voltage group, then the first current one.
            choose("variableBox", row.voltageRows - 1)
            compare(control("variableBox").displayText, "UAUBUC")
            compare(control("endBox").unit, "V")
            compare(control("endBox").dataMax, model.getDeviceAOVMaxRange())
            choose("variableBox", row.voltageRows)
            compare(control("endBox").unit, "A")
            compare(control("endBox").dataMax, model.getDeviceAOIMaxRange())
            compare(control("stepBox").unit, "A")
            choose("itemBox", 1)
            compare(control("endBox").unit, "°")
            choose("itemBox", 0)
            choose("variableBox", 0)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// What the idle power-swing page offers by the unit's phases, the group kept
// over a refresh, the percent box held to the swing limit, the quick keys of
// the output table, and the result fields of a stored file without a trip.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_OSCILLATE
        pageSource: "qrc:/QMLPages/Oscillate/ModelOscillatePage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "OscillatePageLayout"
        harness: harness

        function init() {
            idlePage()
        }

        function cleanupTestCase() {
            harness.systemModel.setVoltagePhasesType(0)
            harness.systemModel.setCurrentPhasesType(0)
            harness.systemModel.setDeviceAOVMaxRange(265)
        }

        function showWithPhases(voltageFour, currentFour) {
            hidePage()
            harness.systemModel.setVoltagePhasesType(voltageFour ? 1 : 0)
            harness.systemModel.setCurrentPhasesType(currentFour ? 1 : 0)
            showPage()
        }

        function test_1_aStoredFileOfAPageThatNeverRanReadsNoResult() {
            model.saveParameter()
            var file = model.getRootPath() + "/parameters/" + harness.folder + "/parameter.xml"
            verify(pageBench.readFile(file).indexOf("<testState>0</testState>") >= 0)
            hidePage()
            showPage()
            compare(resultText("actionValueField"), "")
            compare(resultText("actionTimeField"), "")
        }

        function test_rowsAndListFollowThePhases_data() {
            var all = ["UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                       "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"]
            var without = function(names) { return all.filter(function(n) { return names.indexOf(n) < 0 }) }
            return [
                { tag: "four and four", v: true, i: true, rows: 8, list: all },
                { tag: "four voltages", v: true, i: false, rows: 7, list: without(["IX"]) },
                { tag: "four currents", v: false, i: true, rows: 7, list: without(["UX"]) },
                { tag: "three and three", v: false, i: false, rows: 6, list: without(["UX", "IX"]) },
            ]
        }
        function test_rowsAndListFollowThePhases(row) {
            showWithPhases(row.v, row.i)
            var n = 0
            for (var p = 0; p < 8; ++p)
                n += control("outputRow" + p).visible ? 1 : 0
            compare(n, row.rows)
            compare(comboTexts("portBox"), row.list)
        }

        function test_ixIsShownAgainAfterARefresh() {
            showWithPhases(false, true)
            choose("portBox", 10)
            compare(control("portBox").displayText, "IX")
            compare(model.getOscillatePort(), 10)
            hidePage()
            showPage()
            compare(control("portBox").displayText, "IX")
            choose("portBox", 0)
        }

        function test_percentIsHeldToTheSwingLimit() {
            showWithPhases(false, false)
            hidePage()
            harness.systemModel.setDeviceAOVMaxRange(120)
            showPage()
            choose("portBox", 0)
            enter("range0", "100")
            compare(control("percentBox").dataMax, 20)
            enter("percentBox", "150")
            compare(control("percentBox").text, "20.000")
            compare(model.getOscillatePercent(), 20)
            enter("range0", "57.735")
            compare(control("percentBox").dataMax, 100)
            compare(model.getOscillatePercent(), 20)
        }

        function test_quickKeysOfTheOutputTable() {
            showWithPhases(false, false)
            enter("range1", "10")
            quickKey("range1", 1)                            // nominal
            compare(model.getOutputRange(1), model.getRateVRange())
            enter("range0", "60")
            quickKey("range0", 2)                            // balance
            compare(model.getOutputRange(1), 60)
            compare(model.getOutputRange(2), 60)
            enter("angle0", "0")
            quickKey("angle0", 2)                            // negative sequence
            compare([model.getOutputAngle(1), model.getOutputAngle(2)], [120, 240])
            quickKey("angle0", 1)                            // positive sequence
            compare([model.getOutputAngle(1), model.getOutputAngle(2)], [240, 120])
            compare(control("angle2").text, "120.000")
            quickKey("range0", 1)
            quickKey("range0", 2)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.TextFit 1.0
import ZOR.ViewBaseModel 1.0

// The load-shedding result list after a run against a 48.8 Hz relay (an
// action frequency, a search that never trips, an action time in ms, one
// that acts before its timing value and fails), every
// cell whole and apart beside the scroll bar, with the list as the page
// shows it and enlarged, in the language the file runs in (CMakeLists.txt
// runs it in Chinese, English and Portuguese).
Item {
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_SLIP_FREQUENCY
        pageSource: "qrc:/QMLPages/LoadShedding/ModelSlipFrequencyPage.qml"
        relays: "frequency:pickup=48.8,delay=0.2"
    }

    ModulePageTestCase {
        name: "SheddingPageTextFit"
        harness: harness

        readonly property var runPoints: [
            [0, [["frequencyBeginBox0", "49.5"], ["frequencyEndBox0", "48"], ["frequencyStepBox0", "0.2"],
                 ["frequencySlipBox0", "2"]]],
            [0, [["frequencyBeginBox0", "50"], ["frequencyEndBox0", "49.5"]]],
            [1, [["frequencyBeginBox1", "50"], ["frequencyEndBox1", "45"], ["timingFrequencyBox1", "48.8"],
                 ["frequencySlipBox1", "1"]]],
            [1, [["timingFrequencyBox1", "48"]]]]

        function test_resultListAfterARun() {
            idlePage()
            tap("generalTabButton")
            enter("timePreFaultTime", "1")
            enter("timeHoldTime", "0.5")
            enter("timeAfterFaultTime", "1")
            tap("pointTabButton")
            tap("clearButton")
            for (var i = 0; i < runPoints.length; ++i) {
                tap("itemButton" + runPoints[i][0])
                for (var k = 0; k < runPoints[i][1].length; ++k)
                    enter(runPoints[i][1][k][0], runPoints[i][1][k][1])
                tap("addButton")
            }
            tap("startButton")
            waitRunning(true)
            waitRunning(false)
            var list = page.resultList
            verify(/ms$/.test(page.cellText(2, 3)), page.cellText(2, 3))
            for (var open = 0; open < 2; ++open) {
                if (list.collapsed !== (open === 1))
                    tap("resultTitleButton")
                waitForRendering(list)
                compare(TextFit.misfits(list).join("\n"), "", open ? "enlarged" : "as shown")
            }
        }
    }
}

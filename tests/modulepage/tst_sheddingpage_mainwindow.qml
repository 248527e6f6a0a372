import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The two load-shedding pages in the main window's slots: each opened from its
// tile, the home button held from a start until the engine reports the run,
// and leaving through the exit dialog saves the parameter file and stops the
// run.
Item {
    width: 800
    height: 480

    MainWindowHarness {
        id: bench
    }

    TestCase {
        id: testCase
        name: "SheddingPagesInMainWindow"
        when: windowShown

        function test_tileOpensThePage_data() {
            return [{ tag: "under frequency", tile: 7, caption: "低周减载", type: ViewBaseModel.TEST_SLIP_FREQUENCY },
                    { tag: "under voltage", tile: 8, caption: "低压减载", type: ViewBaseModel.TEST_SLIP_VOLTAGE }]
        }

        function test_tileOpensThePage(data) {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            bench.acceptSafetyNotice(testCase)
            var page = bench.openFromTile(testCase, data.tile, data.caption, data.type)
            verify(bench.mainWindow.homeEnabled)

            // One point held in its pre-fault state: only leaving ends the run.
            var m = page.viewModel
            m.clearPoint()
            m.setPreFaultTime(10000)
            m.addPoint()
            bench.runThenLeave(testCase, page)
            bench.verifySaved(testCase, page, pageBench.moduleFolder(data.type), /<preFaultTime>10000<\/preFaultTime>/)
            compare(pageBench.violationText(), "")
        }
    }
}

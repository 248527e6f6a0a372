import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The distance page in the main window's slot: opened from its tile, the
// home button held from a start until the engine reports the run, and
// leaving through the exit dialog saves the parameter file and stops the run.
Item {
    width: 800
    height: 480

    MainWindowHarness {
        id: bench
    }

    TestCase {
        id: testCase
        name: "DistancePageInMainWindow"
        when: windowShown

        function test_pageRunsInTheSlotAndLeavingSavesAndStops() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            bench.acceptDialog(testCase, bench.mainWindow.mainWindowPage.safetyNotice)
            var page = bench.openFromTile(testCase, 6, "距离试验", ViewBaseModel.TEST_DISTANCE)
            verify(bench.mainWindow.homeEnabled)

            // One point of a long fault time (no relay trips it).
            var m = page.viewModel
            m.clearPoint()
            m.setFaultZRange(2)
            m.setSettingTimes(-1, 100)
            m.addPoint()
            bench.runThenLeave(testCase, page)
            bench.verifySaved(testCase, page, "Distance", /<settingTime>100<\/settingTime>/)
            compare(pageBench.violationText(), "")
        }
    }
}

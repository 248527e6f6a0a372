import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The energy-meter page in the main window's slot: its tile offered only
// with the energy option, the home button held from a start until the engine
// reports the run, and leaving through the exit dialog saves the parameter
// file and stops the run.
Item {
    width: 800
    height: 480

    MainWindowHarness {
        id: bench
    }

    TestCase {
        id: testCase
        name: "EnergyPageInMainWindow"
        when: windowShown

        function test_pageRunsInTheSlotAndLeavingSavesAndStops() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            bench.acceptDialog(testCase, bench.mainWindow.mainWindowPage.safetyNotice)

            var home = bench.mainWindow.mainWindowPage
            bench.viewBaseModel.setDeviceEnergyEnabled(false)
            home.refresh()
            verify(!home.tileEnabled(11))
            bench.viewBaseModel.setDeviceEnergyEnabled(true)
            home.refresh()
            verify(home.tileEnabled(11))

            var page = bench.openFromTile(testCase, 11, "电能表", ViewBaseModel.TEST_ENERGY)
            verify(bench.mainWindow.homeEnabled)

            // One point held 100 s by the heat time (no meter is wired).
            var m = page.viewModel
            m.clearPoint()
            m.setSettingPulse(10)
            m.setHotTime(100)
            m.addPoint()
            bench.runThenLeave(testCase, page)
            bench.verifySaved(testCase, page, "Energy", /<hotTime>100<\/hotTime>/)
            compare(pageBench.violationText(), "")
        }
    }
}

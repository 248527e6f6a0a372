import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The energy-meter page in the main window's slot: its tile offered only
// with the energy option, the home button held from a start until the engine
// reports the run, and leaving through the exit dialog saves the parameter
// file and stops the run.
Item {
    id: root
    width: 800
    height: 480

    ViewBaseModel { id: viewBaseModel }

    QtObject {
        id: hostWindow
        property int x: 0
        property int y: 0
        property int height: 480
        property bool visible: true
    }

    MainWindowContent {
        id: mainWindow
        hostWindow: hostWindow
    }

    property var homeHistory: []
    Connections {
        target: mainWindow
        function onHomeEnabledChanged() {
            root.homeHistory = root.homeHistory.concat([mainWindow.homeEnabled])
        }
    }

    TestCase {
        name: "EnergyPageInMainWindow"
        when: windowShown

        function acceptDialog(dialog) {
            tryCompare(dialog, "opened", true)
            var accept = findChild(dialog.contentItem, "acceptButton")
            verify(accept)
            var reject = findChild(dialog.contentItem, "rejectButton")
            tryVerify(function() { return !reject.visible || accept.x + accept.width <= reject.x })
            mouseClick(accept)
            tryCompare(dialog, "opened", false)
        }

        function running(page) {
            return page.viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
        }

        function test_pageRunsInTheSlotAndLeavingSavesAndStops() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            var notice = mainWindow.mainWindowPage.safetyNotice
            tryCompare(notice, "opened", true)
            acceptDialog(notice)

            var home = mainWindow.mainWindowPage
            viewBaseModel.setDeviceEnergyEnabled(false)
            home.refresh()
            verify(!home.tileEnabled(11))
            viewBaseModel.setDeviceEnergyEnabled(true)
            home.refresh()
            verify(home.tileEnabled(11))

            var slot = mainWindow.pageSlots[11]
            tryCompare(slot, "available", true)
            var page = slot.item
            verify(mainWindow.openPage(11, "电能表"))
            tryCompare(page, "visible", true)
            compare(page.viewModel.getTestActiveType(), ViewBaseModel.TEST_ENERGY)
            verify(mainWindow.homeEnabled)

            // One point held 100 s by the heat time (no meter is wired).
            var m = page.viewModel
            m.clearPoint()
            m.setSettingPulse(10)
            m.setHotTime(100)
            m.addPoint()
            page.updateControlValue()
            root.homeHistory = []
            var start = findChild(page, "startButton")
            verify(start && start.enabled)
            mouseClick(start)
            tryVerify(function() { return running(page) }, 30000, "run started")
            tryCompare(mainWindow, "homeEnabled", true, 30000)
            compare(root.homeHistory[0], false)

            mainWindow.homeClicked()
            acceptDialog(mainWindow.exitDialog)
            tryCompare(page, "visible", false)
            tryVerify(function() { return !running(page) && !pageBench.outputPlaying() }, 30000, "run stopped")
            var file = m.getRootPath() + "/parameters/Energy/parameter.xml"
            verify(/<hotTime>100<\/hotTime>/.test(pageBench.readFile(file)), file)
            compare(pageBench.violationText(), "")
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The overcurrent page in the main window's slot: opened from its tile, the
// home button held from a start until the engine reports the run, and
// leaving through the exit dialog saves the parameter file and stops the run.
Item {
    id: root
    width: 800
    height: 480

    ViewBaseModel { id: viewBaseModel }

    // The window the content moves and hides.
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
        name: "OvercurrentPageInMainWindow"
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

            var slot = mainWindow.pageSlots[2]
            tryCompare(slot, "available", true)
            var page = slot.item
            verify(mainWindow.openPage(2, "过流试验"))
            tryCompare(page, "visible", true)
            compare(page.viewModel.getTestActiveType(), ViewBaseModel.TEST_OVERCURRENT)
            verify(mainWindow.homeEnabled)

            // One point of a long fault time (no relay trips it).
            var m = page.viewModel
            m.clearPoint()
            m.setMaxFaultTime(100)
            m.setTestCurrent(2)
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
            var file = m.getRootPath() + "/parameters/" + pageBench.moduleFolder(ViewBaseModel.TEST_OVERCURRENT)
                       + "/parameter.xml"
            verify(/<faultMaxTime>100<\/faultMaxTime>/.test(pageBench.readFile(file)), file)
            compare(pageBench.violationText(), "")
        }
    }
}

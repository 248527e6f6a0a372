import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The state-sequence page in the main window's slot: its tile opens it, the
// home button is held from a start until the engine reports the run, and
// leaving through the exit dialog saves the parameter file, stops the run
// and clears the binary outputs.
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
        name: "StateSequencePageInMainWindow"
        when: windowShown

        // "确定" of an opening dialog, once its buttons are laid out.
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
            // The start page's safety notice first.
            var notice = mainWindow.mainWindowPage.safetyNotice
            tryCompare(notice, "opened", true)
            acceptDialog(notice)

            var slot = mainWindow.stateSequencePage
            tryCompare(slot, "available", true)
            var page = slot.item
            verify(!page.visible)

            verify(mainWindow.openPage(3, "状态序列"))
            tryCompare(page, "visible", true)
            verify(!mainWindow.mainWindowPage.visible)
            verify(mainWindow.homeEnabled)

            // A first state long enough to leave during it, a binary output on.
            page.viewModel.setOutputTime(0, 1000)
            page.viewModel.setBOState(0, 1)
            root.homeHistory = []
            var start = findChild(page, "startButton")
            verify(start && start.enabled)
            mouseClick(start)
            tryVerify(function() { return running(page) }, 30000, "run started")
            tryCompare(mainWindow, "homeEnabled", true, 30000)
            compare(root.homeHistory[0], false)

            // Home, then "确定" in the exit dialog.
            mainWindow.homeClicked()
            var dialog = mainWindow.exitDialog
            acceptDialog(dialog)
            tryCompare(page, "visible", false)
            verify(mainWindow.mainWindowPage.visible)
            tryVerify(function() { return !running(page) && !pageBench.outputPlaying() }, 30000, "run stopped")

            for (var k = 0; k < 4; ++k)
                verify(!page.viewModel.getBOState(k))
            var file = page.viewModel.getRootPath() + "/parameters/Sequence/parameter.xml"
            verify(pageBench.fileExists(file), file)
            compare(pageBench.violationText(), "")
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The state-sequence page in the main window's slot: its tile opens it, the
// home button is held from a start until the engine reports the run, and
// leaving through the exit dialog saves the parameter file and stops the run.
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
        function onHomeEnabledChanged() { root.homeHistory = root.homeHistory.concat([mainWindow.homeEnabled]) }
    }

    TestCase {
        name: "StateSequencePageInMainWindow"
        when: windowShown

        function accept(dialog) {
            tryCompare(dialog, "opened", true)
            var button = findChild(dialog.contentItem, "acceptButton")
            var reject = findChild(dialog.contentItem, "rejectButton")
            tryVerify(function() { return !reject.visible || button.x + button.width <= reject.x })
            mouseClick(button)
            tryCompare(dialog, "opened", false)
        }

        function running(page) {
            return page.viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
        }

        function test_tileOpensThePageAndLeavingStopsTheRun() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            accept(mainWindow.mainWindowPage.safetyNotice)
            compare(mainWindow.stateSequencePage.item, null)   // built when first opened
            verify(mainWindow.openPage(3, "状态序列"))
            var page = mainWindow.stateSequencePage.item
            tryCompare(page, "visible", true)

            page.viewModel.setOutputTime(0, 1000)
            root.homeHistory = []
            mouseClick(findChild(page, "startButton"))
            tryVerify(function() { return running(page) }, 30000, "run started")
            tryCompare(mainWindow, "homeEnabled", true, 30000)
            compare(root.homeHistory[0], false)

            mainWindow.homeClicked()
            accept(mainWindow.exitDialog)
            tryCompare(page, "visible", false)
            tryVerify(function() { return !running(page) && !pageBench.outputPlaying() }, 30000, "run stopped")
            var file = page.viewModel.getRootPath() + "/parameters/Sequence/parameter.xml"
            verify(pageBench.fileExists(file), file)
            compare(pageBench.violationText(), "")
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The AC page in the main window's slot, as the program shows it: opened
// from the start page, the home button held from a start until the engine
// reports the run, and leaving through the exit dialog saves the parameter
// file and stops the run.
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
        name: "AcPageInMainWindow"
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

            var slot = mainWindow.alternatePage
            tryCompare(slot, "available", true)
            compare(slot.item, null)   // built when first opened

            verify(mainWindow.openPage(1, "交流测试"))
            var page = slot.item
            tryCompare(page, "visible", true)
            verify(!mainWindow.mainWindowPage.visible)
            verify(mainWindow.homeEnabled)

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

            var file = page.viewModel.getRootPath() + "/parameters/AC/parameter.xml"
            verify(pageBench.fileExists(file), file)
            // Saved with the settings from before the run.
            verify(/<port0>\s*<range>57.735<\/range>/.test(pageBench.readFile(file)))
            compare(pageBench.violationText(), "")
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The standard source page in the main window's slot: reached from
// no tile, shown when the slot is opened directly; leaving it through the
// exit dialog saves its parameter file.
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

    TestCase {
        name: "StdSourcePageInMainWindow"
        when: windowShown

        function acceptDialog(dialog) {
            tryCompare(dialog, "opened", true)
            var accept = findChild(dialog.contentItem, "acceptButton")
            var reject = findChild(dialog.contentItem, "rejectButton")
            tryVerify(function() { return !reject.visible || accept.x + accept.width <= reject.x })
            mouseClick(accept)
            tryCompare(dialog, "opened", false)
        }

        function test_builtInItsSlotReachedFromNoTile() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            acceptDialog(mainWindow.mainWindowPage.safetyNotice)
            var slot = mainWindow.stdSourcePage
            tryCompare(slot, "available", true)
            compare(slot.pageIndex, -1)
            verify(mainWindow.pageSlots.indexOf(slot) < 0)
            compare(slot.item, null)   // built when first opened

            // Opened directly: the module is activated and the page filled.
            slot.visible = true
            mainWindow.mainWindowPage.visible = false
            var page = slot.item
            tryCompare(page, "visible", true)
            compare(page.viewModel.getTestActiveType(), ViewBaseModel.TEST_STDSOURCE)
            compare(findChild(page, "voltageBox").text, "57.735")

            mainWindow.homeClicked()
            acceptDialog(mainWindow.exitDialog)
            tryCompare(page, "visible", false)
            verify(mainWindow.mainWindowPage.visible)
            verify(pageBench.fileExists(page.viewModel.getRootPath() + "/parameters/StdSource/parameter.xml"))
        }
    }
}

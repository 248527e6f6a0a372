import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The main window on the module page bench, for tests of a page in its slot:
// the window content, the home button's history, and the steps such a test
// takes (the safety notice, a page opened from its tile, leaving through the
// exit dialog). A test file places it at 800 x 480 and drives it from its
// TestCase.
Item {
    id: bench
    width: 800
    height: 480

    readonly property alias mainWindow: mainWindow
    readonly property alias viewBaseModel: viewBaseModel
    // Every value the home button took.
    property var homeHistory: []

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

    Connections {
        target: mainWindow
        function onHomeEnabledChanged() {
            bench.homeHistory = bench.homeHistory.concat([mainWindow.homeEnabled])
        }
    }

    function running(page) {
        return page.viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
    }

    // Accepts an open dialog by its "acceptButton" once laid out.
    function acceptDialog(test, dialog) {
        test.tryCompare(dialog, "opened", true)
        var accept = test.findChild(dialog.contentItem, "acceptButton")
        test.verify(accept)
        var reject = test.findChild(dialog.contentItem, "rejectButton")
        test.tryVerify(function() { return !reject.visible || accept.x + accept.width <= reject.x })
        test.mouseClick(accept)
        test.tryCompare(dialog, "opened", false)
    }

    // The safety notice of the first start, accepted once.
    function acceptSafetyNotice(test) {
        var notice = mainWindow.mainWindowPage.safetyNotice
        if (!notice.opened && homeHistory.length === 0)
            test.tryCompare(notice, "opened", true)
        if (notice.opened)
            acceptDialog(test, notice)
    }

    // The page of tile index, opened from the tile: visible and its module active.
    function openFromTile(test, index, caption, testType) {
        var slot = mainWindow.pageSlots[index]
        test.tryCompare(slot, "available", true)
        test.verify(mainWindow.openPage(index, caption), caption)
        test.tryCompare(slot.item, "visible", true)
        test.compare(slot.item.viewModel.getTestActiveType(), testType)
        return slot.item
    }

    // Home, then the exit dialog accepted: the page is left.
    function leave(test, page) {
        mainWindow.homeClicked()
        acceptDialog(test, mainWindow.exitDialog)
        test.tryCompare(page, "visible", false)
    }

    // The page's run started from its Start button holds the home button
    // until the engine reports it; leaving the page then stops the run.
    function runThenLeave(test, page) {
        page.updateControlValue()
        homeHistory = []
        var start = test.findChild(page, "startButton")
        test.verify(start && start.enabled)
        test.mouseClick(start)
        test.tryVerify(function() { return running(page) }, 30000, "run started")
        test.tryCompare(mainWindow, "homeEnabled", true, 30000)
        test.compare(homeHistory[0], false)

        leave(test, page)
        test.tryVerify(function() { return !running(page) && !pageBench.outputPlaying() }, 30000, "run stopped")
    }

    // The parameter file of the module's folder holds pattern.
    function verifySaved(test, page, folder, pattern) {
        var file = page.viewModel.getRootPath() + "/parameters/" + folder + "/parameter.xml"
        test.verify(pattern.test(pageBench.readFile(file)), file)
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The DC page in the main window's slot: the DC tile opens it, and leaving
// it through the exit dialog saves the DC parameter file.
Item {
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
        name: "DcPageInMainWindow"
        when: windowShown

        function acceptDialog(dialog) {
            tryCompare(dialog, "opened", true)
            var accept = findChild(dialog.contentItem, "acceptButton")
            var reject = findChild(dialog.contentItem, "rejectButton")
            tryVerify(function() { return !reject.visible || accept.x + accept.width <= reject.x })
            mouseClick(accept)
            tryCompare(dialog, "opened", false)
        }

        function test_tileOpensThePageAndLeavingSavesIt() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            acceptDialog(mainWindow.mainWindowPage.safetyNotice)

            var slot = mainWindow.pageSlots[9]
            tryCompare(slot, "available", true)
            var page = slot.item
            compare(page.testType, ViewBaseModel.TEST_DIRECT)
            verify(mainWindow.openPage(9, "直流试验"))
            tryCompare(page, "visible", true)
            compare(page.viewModel.getTestActiveType(), ViewBaseModel.TEST_DIRECT)

            mainWindow.homeClicked()
            acceptDialog(mainWindow.exitDialog)
            tryCompare(page, "visible", false)
            var file = page.viewModel.getRootPath() + "/parameters/DC/parameter.xml"
            verify(pageBench.fileExists(file), file)
            verify(/<port0>\s*<range>57.735<\/range>\s*<angle>90<\/angle>/.test(pageBench.readFile(file)))
        }
    }
}

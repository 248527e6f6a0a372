import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The power-swing page in the main window's slot: the power-swing tile opens it.
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
        name: "OscillatePageInMainWindow"
        when: windowShown

        function test_tileOpensThePage() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            var slot = mainWindow.pageSlots[10]
            tryCompare(slot, "available", true)
            verify(mainWindow.openPage(10, "震荡模拟"))
            tryCompare(slot.item, "visible", true)
            compare(slot.item.viewModel.getTestActiveType(), ViewBaseModel.TEST_OSCILLATE)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0

// The main window with the real system view model (no instrument): the stub
// the other tests use offers nothing the view model lacks, and Main.qml loads
// and runs its housekeeping against the real class.
Item {
    id: root
    width: 800
    height: 480

    SystemViewModelStub { id: stub }

    TestCase {
        name: "MainWithTheViewModel"
        when: windowShown

        function test_stubOffersOnlyWhatTheViewModelHas() {
            var real = Qt.createQmlObject("import ZOR.ViewBaseModel 1.0; ViewBaseModel {}", root)
            verify(real)
            compare(stub.stubMissingIn(real), [])
            // The check does look: an item offers none of them.
            verify(stub.stubMissingIn(root).length > 50)
            real.destroy()
        }

        function test_mainLoadsAndRunsWithTheViewModel() {
            var component = Qt.createComponent("qrc:/Main.qml")
            compare(component.status, Component.Ready, component.errorString())
            var window = component.createObject(null)
            verify(window, "no window")
            compare(window.width, 800)
            compare(window.height, 480)
            verify((window.flags & Qt.FramelessWindowHint) !== 0)
            var content = findChild(window.contentItem, "mainWindow")
            verify(content, "no main window content")
            content.housekeepingTimer.stop()
            compare(content.hostWindow, window)
            // The view model's calls of a tick and of every notice run through.
            content.housekeepingTick()
            for (var type = ViewBaseModel.DATA_TYPE_RT_BO; type <= ViewBaseModel.DATA_TYPE_CLOCK_STATE; ++type)
                content.updateDataToView(type, -1)
            verify(content.currentTime.length === 19, content.currentTime)
            verify(content.statusHeader.title !== "")
            window.destroy()
        }
    }
}

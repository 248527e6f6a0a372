import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The main window in a window of its own, as Main.qml builds it: every dialog
// opened at start-up, before the window has its size (as the battery notice
// is), lies centred within 800 x 480, follows a new window size, and keeps
// its place while an input panel lifts the window.
Item {
    id: root
    width: 800
    height: 480

    SystemViewModelStub { id: viewBaseModel }

    Component {
        id: windowComponent
        ApplicationWindow {
            id: window
            // The dialog to open at start-up: a property path from the content.
            property string startDialog: ""
            property alias content: content
            width: content.realWidth
            height: content.realHeight
            visible: true
            flags: Qt.Window | Qt.FramelessWindowHint

            MainWindowContent {
                id: content
                Component.onCompleted: housekeepingTimer.stop()
            }
            Component.onCompleted: Qt.callLater(function() { window.dialog().open() })

            function dialog() {
                var item = content
                var names = startDialog.split(".")
                for (var i = 0; i < names.length; ++i)
                    item = item[names[i]]
                return item
            }
        }
    }

    TestCase {
        name: "MainStartup"
        when: windowShown

        function startWith(path) {
            var window = createTemporaryObject(windowComponent, root, { startDialog: path })
            verify(window)
            var dialog = window.dialog()
            tryCompare(dialog, "opened", true)
            return { window: window, dialog: dialog }
        }

        // The dialog's box in the window's coordinates.
        function boxOf(dialog) {
            var item = dialog.background
            var topLeft = item.mapToItem(null, 0, 0)
            return { x: topLeft.x, y: topLeft.y, width: item.width, height: item.height }
        }

        function verifyCentred(dialog, width, height) {
            var box = boxOf(dialog)
            verify(box.x >= 0 && box.y >= 0 && box.x + box.width <= width && box.y + box.height <= height,
                   dialog.objectName + " at " + JSON.stringify(box))
            fuzzyCompare(box.x + box.width / 2, width / 2, 1)
            fuzzyCompare(box.y + box.height / 2, height / 2, 1)
        }

        function test_dialogAtStartUp_data() {
            return [
                { tag: "safety notice", path: "mainWindowPage.safetyNotice" },
                { tag: "auxiliary DC", path: "mainWindowPage.auxDCDialog" },
                { tag: "auxiliary DC question", path: "mainWindowPage.auxDCQuestion" },
                { tag: "exit", path: "exitDialog" },
                { tag: "low battery", path: "lowBatteryDialog" },
                { tag: "battery", path: "batteryDialog" },
                { tag: "pulse times", path: "triggerTimeDialog" },
                { tag: "timed start", path: "childTestTimeDialog" },
                { tag: "access code", path: "settingsPage.passwordDialog" },
                { tag: "language", path: "settingsPage.languageDialog" }
            ]
        }

        function test_dialogAtStartUp(data) {
            var started = startWith(data.path)
            verifyCentred(started.dialog, 800, 480)
            started.window.width = 1000
            started.window.height = 600
            tryVerify(function() { return Math.abs(boxOf(started.dialog).x + started.dialog.width / 2 - 500) <= 1 })
            verifyCentred(started.dialog, 1000, 600)
        }

        // The window grows and moves up for the time panel of the timed
        // start's second field (the dialog placed at the window's foot, where
        // the panel would cover the field): the dialog keeps its place on the
        // content meanwhile, and is centred again once the window is back.
        function test_dialogKeepsItsPlaceWhileAPanelLiftsTheWindow() {
            var started = startWith("childTestTimeDialog")
            var dialog = started.dialog
            var notice = started.window.content.mainWindowPage.safetyNotice
            notice.close()
            tryCompare(notice, "opened", false)
            dialog.y = 480 - dialog.height
            var before = boxOf(dialog)
            var panel = findChild(started.window.content, "inputTimePanel")
            dialog.turnTimeBox.focusInput()
            tryCompare(panel, "opened", true)
            verify(started.window.height > 480, "the window was not lifted")
            tryCompare(dialog.windowArea, "height", started.window.height)
            compare(boxOf(dialog).y, before.y)
            panel.close()
            tryCompare(panel, "opened", false)
            tryCompare(dialog.windowArea, "height", 480)
            verifyCentred(dialog, 800, 480)
        }
    }
}

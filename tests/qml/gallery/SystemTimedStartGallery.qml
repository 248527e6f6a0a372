import QtQuick 2.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The timed-start dialog placed in the main window (top) and the battery
// page's question before activating charging (bottom right).
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        batteryProtectedState: "0x1000"
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
    }

    MainWindowContent {
        id: mainWindow
        hostWindow: null
    }

    // The start page's safety notice opens once the window shows it.
    Connections {
        target: mainWindow.mainWindowPage.safetyNotice
        function onOpened() {
            mainWindow.mainWindowPage.safetyNotice.close()
            show()
        }
    }
    function show() {
        mainWindow.housekeepingTimer.stop()
        mainWindow.mainWindowPage.settingsButton.clicked()
        var page = mainWindow.settingsPage
        page.openHardware()
        page.openBattery()
        page.batteryPage.activateDialog.open()
        page.batteryPage.activateDialog.x = 400
        page.batteryPage.activateDialog.y = 180
        mainWindow.childTestTimeDialog.open()
        mainWindow.childTestTimeDialog.x = 0
        mainWindow.childTestTimeDialog.y = 0
    }
}

import QtQuick 2.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The exit dialog of a page (left) and the battery dialog of the class that
// forbids 5 A and more (right).
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
        batteryPercent: 28
        batteryState: 0
        batteryPDType: ViewBaseModel.BAT_PD_TYPE_TEN_OFF
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
        mainWindow.homeClicked()
        mainWindow.exitDialog.x = 0
        mainWindow.housekeepingTick()
        mainWindow.batteryDialog.x = 400
    }
}

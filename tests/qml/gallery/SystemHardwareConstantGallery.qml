import QtQuick 2.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The hardware configuration of a unit with a constant auxiliary DC output:
// its pair of levels instead of the largest value.
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
        auxDCType: 0
        auxDCLevelType: 1
        voltagePhases: 0
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
        mainWindow.settingsPage.openHardware()
    }
}

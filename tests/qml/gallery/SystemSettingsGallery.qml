import QtQuick 2.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The system settings page as it opens, refusing a rated frequency beyond
// its range.
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
        batteryProtectedState: "0x1000"
        clkSyncEnabled: false
        clockSource: 1
        extInputMode: 1
        extOutputType: 2
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
        // A rated frequency beyond the field's range, refused with the range.
        var frequency = mainWindow.settingsPage.ratedFrequency.box
        frequency.text = "5000"
        frequency.enterText()
    }
}

import QtQuick 2.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The settings page's dialogs: the access code after a wrong entry (left)
// and the question before a language change (right).
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
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
        page.passwordDialog.open()
        page.passwordDialog.accept("1234")
        page.passwordDialog.x = 0
        page.languageChosen(1)
        page.languageDialog.x = 400
    }
}

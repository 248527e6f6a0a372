import QtQuick 2.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The auxiliary DC dialog of an adjustable output (left) and the question
// before switching it on (right).
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        auxDCType: 1
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
        var page = mainWindow.mainWindowPage
        page.openAuxDC()
        page.auxDCDialog.x = 0
        page.auxDCQuestion.open()
        page.auxDCQuestion.x = 400
    }
}

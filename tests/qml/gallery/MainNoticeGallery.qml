import QtQuick 2.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The start page as it opens: the battery safety notice.
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
        Component.onCompleted: housekeepingTimer.stop()
    }
}

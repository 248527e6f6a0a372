import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.TestSupport 1.0
import "qrc:/QMLPages/Main"

// The program's window at start-up, built as Main.qml builds it (a window of
// its own, sized by its content): the battery safety notice on screen over
// the start page.
ApplicationWindow {
    width: mainWindow.realWidth
    height: mainWindow.realHeight
    visible: true
    flags: Qt.Window | Qt.FramelessWindowHint
    color: mainWindow.globalConfig.customBackground

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
    }

    MainWindowContent {
        id: mainWindow
        Component.onCompleted: housekeepingTimer.stop()
    }
}

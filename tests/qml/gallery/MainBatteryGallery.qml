import QtQuick 2.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The battery at 8 % on battery power: the low-battery dialog, the level in
// red.
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
        batteryPercent: 8
        batteryState: 0
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
        viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
    }
}

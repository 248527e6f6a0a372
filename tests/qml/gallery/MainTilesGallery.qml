import QtQuick 2.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The second tile page with remote control on (tiles, auxiliary DC and
// settings disabled), a battery prompt in the home button at 8 % and the
// header's "not initialised" title.
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
        connectedEnabled: true
        batteryPercent: 8
        batteryState: 0
        batteryPDType: ViewBaseModel.BAT_PD_TYPE_TWO
        states: [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
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
        mainWindow.showTipEnabled = false
        var swipe = mainWindow.mainWindowPage.swipeView
        swipe.currentIndex = 1
        swipe.contentItem.positionViewAtIndex(1, ListView.Beginning)
        viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_BATTERY, -1)
        viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_INIT)
        // Three ticks: the prompt phase comes on.
        for (var i = 0; i < 3; ++i)
            mainWindow.housekeepingTick()
    }
}

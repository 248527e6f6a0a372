import QtQuick 2.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The start page with the first eight tiles and a full header: clock, title,
// alarm, temperature, running lamp, clock-synchronisation mark, charging
// mark and battery level.
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
        batteryPercent: 65
        batteryState: 1
        clkSyncState: true
        alarmEnable: true
        alarmLabel: "!(2)"
        powerTMaxText: "42℃"
        states: [1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
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
        var types = [ViewBaseModel.DATA_TYPE_RT_ALARM, ViewBaseModel.DATA_TYPE_RT_TEMP,
                     ViewBaseModel.DATA_TYPE_RT_BATTERY, ViewBaseModel.DATA_TYPE_CLOCK_STATE]
        for (var i = 0; i < types.length; ++i)
            viewBaseModel.sigUpdateDataToView(types[i], -1)
        viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_RUNNING)
        viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_AUXDCV)
    }
}

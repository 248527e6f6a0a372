import QtQuick 2.15
import ZOR.ViewBaseModel 1.0
import "qrc:/QMLPages/Main"

// The main window on the real system view model (no instrument): every
// system page is shown once and a housekeeping tick runs, so that a call the
// view model does not offer shows up as a QML error; the picture is the
// settings page at the end.
Item {
    width: 800
    height: 480

    ViewBaseModel { id: viewBaseModel }

    MainWindowContent {
        id: mainWindow
        hostWindow: null
    }

    Connections {
        target: mainWindow.mainWindowPage.safetyNotice
        function onOpened() {
            mainWindow.mainWindowPage.safetyNotice.close()
            show()
        }
    }
    function show() {
        mainWindow.housekeepingTimer.stop()
        mainWindow.housekeepingTick()
        for (var type = ViewBaseModel.DATA_TYPE_RT_BO; type <= ViewBaseModel.DATA_TYPE_CLOCK_STATE; ++type)
            mainWindow.updateDataToView(type, -1)
        mainWindow.openPage(0, "系统设置")
        var settings = mainWindow.settingsPage
        settings.openHardware()
        settings.openBattery()
        settings.goBack()
        settings.goBack()
        settings.openTimeSync()
        settings.goBack()
        mainWindow.housekeepingTick()
    }
}

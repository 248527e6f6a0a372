import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Calibration"

// The calibration page's dialogs side by side: the measured value of an AC
// amplitude point, the export with the USB stick present and the import
// without it.
Rectangle {
    id: window
    width: 1600
    height: 480
    color: globalConfiguration.customBackground

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    // Side by side rather than over a page: no backdrop in this picture.
    ChildCalMeasureDialog { id: measure; dim: false }
    UserExportCalDialog {
        id: exporting
        dim: false
        exportCalType: 7
        backupFolderName: "/media/usb/backup/ZOR123456"
        backupAcceptEnabled: true
        backupFolderStateVisible: false
    }
    UserExportCalDialog {
        id: importing
        dim: false
        exportEnable: false
        exportCalType: 7
        backupFolderName: "/media/usb/backup/ZOR123456"
        backupAcceptEnabled: false
        backupFolderStateVisible: true
    }

    // Opened once the window has its size (dialogs centre on it), then placed.
    readonly property Item windowArea: Overlay.overlay
    onWindowAreaChanged: {
        if (!windowArea)
            return
        windowArea.widthChanged.connect(showOnce)
        windowArea.heightChanged.connect(showOnce)
    }
    property bool shown: false
    Component.onCompleted: Qt.callLater(showOnce)
    function showOnce() {
        if (windowArea.width >= width && windowArea.height >= height && !shown)
            Qt.callLater(showDialogs)
    }
    function showDialogs() {
        if (shown)
            return
        shown = true
        measure.setPointValue("V", -300, 300, 3.6)
        measure.setMeasureValue("V", -300, 300, 3.59874)
        measure.open()
        measure.x = 10
        measure.y = 20
        exporting.open()
        exporting.x = 540
        exporting.y = 20
        importing.open()
        importing.x = 1040
        importing.y = 20
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewBaseModel 1.0
import ZorProbe 1.0
import "../QMLPages/Main"

// The real main window with the state-sequence page open. "page-edit" and
// "page-exit": the first state's time set to 1.234 s, then the window stays
// open ("page-exit": the process ends with exit(1) as when its display goes
// away); "page-read": the first state's time reported, then the end.
ApplicationWindow {
    width: 800
    height: 480
    visible: true

    ViewBaseModel {
        id: viewBaseModel
    }

    MainWindowContent {
        id: mainWindow
        objectName: "mainWindow"
    }

    Timer {
        interval: 200
        running: true
        onTriggered: {
            mainWindow.openPage(3, "状态序列")
            var model = mainWindow.stateSequencePage.item.viewModel
            var mode = ZorProbe.mode()
            if (mode === "page-read") {
                ZorProbe.reportPage(model.getOutputTime(0))
                Qt.exit(0)
                return
            }
            model.setOutputTime(0, 1.234)
            ZorProbe.reportPage(model.getOutputTime(0))
            if (mode === "page-exit")
                ZorProbe.exitProcess(1)
        }
    }
}

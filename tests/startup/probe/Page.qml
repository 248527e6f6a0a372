import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewBaseModel 1.0
import ZorProbe 1.0
import "../QMLPages/Main"

// The real main window, its state-sequence page open: "page-read" reports the
// first state's time and ends; "page-edit" sets it to 1.234 s and stays open,
// "page-exit" then ends with exit(1), as when the display goes away.
ApplicationWindow {
    visible: true
    ViewBaseModel { id: viewBaseModel }
    MainWindowContent { id: mainWindow; objectName: "mainWindow" }

    Timer {
        interval: 200
        running: true
        onTriggered: {
            mainWindow.openPage(3, "状态序列")
            var model = mainWindow.stateSequencePage.item.viewModel
            if (ZorProbe.mode() !== "page-read")
                model.setOutputTime(0, 1.234)
            ZorProbe.reportPage(model.getOutputTime(0))
            if (ZorProbe.mode() === "page-read")
                Qt.exit(0)
            else if (ZorProbe.mode() === "page-exit")
                ZorProbe.exitProcess(1)
        }
    }
}

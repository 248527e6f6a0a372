import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewBaseModel 1.0
import ZorProbe 1.0
import "../QMLPages/Main"

// The real main window; its footer's remote box ticked and unticked twice,
// what the process runs reported after each step ("remote-on": ticked once,
// then the window stays open).
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

    property int step: 0
    readonly property var names: ["on", "off", "on again", "off again"]
    function box() { return mainWindow.mainWindowPage.remoteCheckBox }

    Timer {
        interval: 1000
        repeat: true
        running: step < ZorProbe.remoteSteps()
        onTriggered: {
            box().toggle()
            box().clicked()
            ZorProbe.reportRemote(names[step], box().checked)
            step++
            if (step === names.length)
                Qt.exit(0)
        }
    }
}

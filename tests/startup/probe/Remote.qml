import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewBaseModel 1.0
import ZorProbe 1.0
import "../QMLPages/Main"

// The real main window; its footer's remote box ticked and unticked twice,
// what the process runs reported after each step.
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
    function box() { return mainWindow.mainWindowPage.remoteCheckBox }
    function click() {
        box().toggle()
        box().clicked()
    }

    Timer {
        interval: 1000
        repeat: true
        running: true
        onTriggered: {
            if (step === 0) {
                click()
                ZorProbe.reportRemote("on", box().checked)
            } else if (step === 1) {
                click()
                ZorProbe.reportRemote("off", box().checked)
            } else if (step === 2) {
                click()
                ZorProbe.reportRemote("on again", box().checked)
            } else {
                click()
                ZorProbe.reportRemote("off again", box().checked)
                Qt.exit(0)
            }
            step++
        }
    }
}

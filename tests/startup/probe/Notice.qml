import QtQuick 2.15
import QtQuick.Window 2.15
import ZOR.ViewBaseModel 1.0
import ZorProbe 1.0

// Reports the notice the main window shows of the files read at the start
// (what the system view model has to tell then), and ends.
Window {
    width: 800
    height: 480
    visible: true
    ViewBaseModel { id: viewBaseModel }
    Component.onCompleted: {
        ZorProbe.reportNotice(viewBaseModel.takeStartupNotice())
        Qt.exit(0)
    }
}

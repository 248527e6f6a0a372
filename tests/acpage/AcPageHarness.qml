import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/AC"

// What the main window gives the AC page: the program's system view model
// (viewBaseModel), the palette, the on-screen input panels, and the page in
// the 800 x 436 area below the 44 px header, hidden until a test shows it.
Item {
    id: harness
    width: 800
    height: 480

    readonly property alias page: page
    readonly property alias pageArea: pageArea
    readonly property alias numberPanel: inputNumberPanel
    readonly property alias systemModel: viewBaseModel
    // What the page's exitEnable signal said last, and everything it said.
    property bool exitEnabled: true
    property var exitHistory: []

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }

    Item {
        id: pageArea
        y: 44
        width: 800
        height: 436
        visible: false

        ModelAlternatePage {
            id: page
            anchors.fill: parent
            onExitEnable: {
                harness.exitEnabled = enable
                harness.exitHistory = harness.exitHistory.concat([enable])
            }
        }
    }

    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }
}

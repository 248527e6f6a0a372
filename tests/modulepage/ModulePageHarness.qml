import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"

// What the main window gives a module page: the program's system view model
// (viewBaseModel), the palette, the on-screen input panels, and the page in
// the 800 x 436 area below the 44 px header, hidden until a test shows it.
// A test names the module (its TESTType), the page's QML file and the relays
// wired to the binary inputs (the ZOR_SIM_RELAY syntax); `ready` says that the
// engine came up and the relays were wired.
//
// A trip ends the state playing at once, so a relay's delays are the time the
// engine has to write the next state. The bench runs 20 times faster than
// real time: delays of a second or more (50 ms of real time) keep a loaded
// machine from missing that.
Item {
    id: harness
    width: 800
    height: 480

    property int module: -1
    property url pageSource
    property string relays: ""
    property bool ready: false

    readonly property Item page: loader.item
    readonly property alias pageArea: pageArea
    readonly property alias numberPanel: inputNumberPanel
    readonly property alias systemModel: viewBaseModel
    // The module's folder of parameter files and reports ("AC", ...).
    readonly property string folder: pageBench.moduleFolder(module)
    // What the page's exitEnable signal said last, and everything it said.
    property bool exitEnabled: true
    property var exitHistory: []

    // Other relays in place of those wired; false when the description does
    // not parse.
    function wireRelays(description) {
        ready = pageBenchReady && pageBench.setRelays(description)
        return ready
    }

    Component.onCompleted: wireRelays(relays)

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }

    // The main window's background, for the pictures of the pages.
    Rectangle {
        anchors.fill: parent
        color: globalConfiguration.customBackground
    }

    Item {
        id: pageArea
        y: 44
        width: 800
        height: 436
        visible: false

        Loader {
            id: loader
            anchors.fill: parent
            source: harness.pageSource
        }
    }

    Connections {
        target: loader.item
        function onExitEnable(enable) {
            harness.exitEnabled = enable
            harness.exitHistory = harness.exitHistory.concat([enable])
        }
    }

    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    // The main window's trigger-time list (GPS/IRIG-B state triggers).
    readonly property alias triggerTimeDialog: triggerTimeDialog
    UserTriggerTimeDialog {
        id: triggerTimeDialog
        onAccept: viewBaseModel.setClockPPXConfig()
    }
}

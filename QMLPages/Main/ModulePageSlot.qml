import QtQuick 2.15

// The place of one page of the main window (a module page or the file
// manager). The page (source or sourceComponent) and its view model are built
// when the slot is first shown and stay built afterwards; navigation only
// switches this slot's visible flag, which the page sees as its own
// visibility. A slot without a page opens nothing.
//
// What the main window expects of a page (all optional):
//   signal exitEnable(bool enable)  - the header's home button follows it
//   function saveParameter()        - called when the page is left through
//                                     the exit dialog (only while saveOnLeave)
Item {
    id: slot

    // The start-page index that opens the page (-1: none).
    property int pageIndex: -1
    // Leaving the page saves its parameter file.
    property bool saveOnLeave: true
    property alias source: loader.source
    property alias sourceComponent: loader.sourceComponent
    readonly property alias item: loader.item
    readonly property alias status: loader.status
    // There is a page to show: one still to be built, or the one built.
    readonly property bool available: loader.active ? loader.status === Loader.Ready && loader.item !== null
                                                    : String(loader.source) !== "" || loader.sourceComponent !== null

    signal exitEnable(bool enable)

    // The slot fills the page area below the header; the page takes its size.
    anchors.fill: parent
    visible: false

    // Builds the page unless it was built before; false when there is none.
    // The page comes into being hidden, so it sees its first showing as a
    // change of its visibility, as every later one.
    function build() {
        loader.active = true
        loader.visible = true
        return available
    }

    onVisibleChanged: if (visible) build()

    function saveParameter() {
        if (saveOnLeave && available && typeof item.saveParameter === "function")
            item.saveParameter()
    }

    Loader {
        id: loader
        anchors.fill: parent
        active: false
        asynchronous: false
        visible: false
    }

    Connections {
        target: loader.item
        ignoreUnknownSignals: true
        function onExitEnable(enable) {
            slot.exitEnable(enable)
        }
    }
}

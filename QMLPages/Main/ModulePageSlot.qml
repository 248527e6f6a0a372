import QtQuick 2.15

// The place of one page of the main window (a module page or the file
// manager). The page is loaded here (source or sourceComponent) and exists
// from the start; navigation only switches this slot's visible flag, which the
// page sees as its own visibility. A slot without a page opens nothing.
//
// What the main window expects of a page (all optional):
//   signal exitEnable(bool enable)  - the header's home button follows it
//   function saveParameter()        - called when the page is left through
//                                     the exit dialog (only while saveOnLeave)
Loader {
    id: slot

    // The start-page index that opens the page (-1: none).
    property int pageIndex: -1
    // Leaving the page saves its parameter file.
    property bool saveOnLeave: true
    readonly property bool available: status === Loader.Ready && item !== null

    signal exitEnable(bool enable)

    // The slot fills the page area below the header; the page takes its size.
    anchors.fill: parent
    visible: false
    active: true
    asynchronous: false

    function saveParameter() {
        if (saveOnLeave && available && typeof item.saveParameter === "function")
            item.saveParameter()
    }

    Connections {
        target: slot.item
        ignoreUnknownSignals: true
        function onExitEnable(enable) {
            slot.exitEnable(enable)
        }
    }
}

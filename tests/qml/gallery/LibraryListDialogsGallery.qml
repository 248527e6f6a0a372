import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"

// The state choice (left) and the report question (right) of the control
// library, which module pages open.
Rectangle {
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    UserSelectedDialog { id: first; stateCount: 12 }
    UserReportDialog { id: second }

    // Popups open once the page is in its window.
    Component.onCompleted: Qt.callLater(openPopups)
    function openPopups() {
        first.open()
        first.x = 0
        second.open()
        second.x = 400
        inputNumberPanel.close()
    }
}

import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"

// The pulse-time dialog above the date-time panel.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    EditDateTimeBox {
        id: when
        x: 20
        y: 20
        width: 260
        height: 36
        text: "2024-02-29 08:30:00"
    }

    UserTriggerTimeDialog {
        id: triggers
        y: 4
    }

    // Popups open once the page is in its window.
    Component.onCompleted: Qt.callLater(openPopups)
    function openPopups() {
        viewBaseModel.addPPXUtcTime("08:30:00", 10, 4)
        triggers.open()
        triggers.y = 0
        inputDateTimePanel.openFor(when)
    }
}

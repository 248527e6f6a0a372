import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"

// The character panel's letter page (placed at the top here) and the time
// panel with its quick keys.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel; y: 0 }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    LabelText { x: 20; y: 150; width: 120; height: 36; text: "文件名:" }
    EditCharTextBox { id: fileName; x: 150; y: 150; width: 300; height: 36; text: "AC_report" }
    LabelText { x: 20; y: 200; width: 120; height: 36; text: "开始时间" }
    EditTimeBox { id: start; x: 150; y: 200; width: 200; height: 36; text: "08:30:00" }

    // Popups open once the page is in its window.
    Component.onCompleted: Qt.callLater(openPopups)
    function openPopups() {
        inputCharNumberPanel.letterPage = true
        inputCharNumberPanel.capsEnable = true
        inputCharNumberPanel.openFor(fileName)
        inputTimePanel.openFor(start, ["08:30:10", "08:30:20", "08:30:30", "08:31:00", "08:35:00", "08:40:00"])
    }
}

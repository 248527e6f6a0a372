import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"

// A message dialog over a field whose number panel is open.
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

    LabelText { x: 20; y: 20; width: 120; height: 36; text: "额定电流:" }
    EditNumberBox {
        id: current
        x: 150
        y: 20
        width: 200
        height: 36
        unit: "A"
        quick1Value: "1.0"
        quick2Value: "5.0"
        Component.onCompleted: setDataValue(1.0)
    }

    UserMessageDialog {
        id: message
        title: "系统提示"
        content: "电池电量低于10%，请及时充电！"
        iconText: globalConfiguration.iconInfomation
    }

    // Popups open once the page is in its window.
    Component.onCompleted: Qt.callLater(openPopups)
    function openPopups() {
        inputNumberPanel.openFor(current)
        message.open()
    }
}

import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/DC"

// The DC test page as the main window shows it (below a 44 px header), in
// automatic mode with action return on IAIBIC, so that every result field
// shows.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    // The program's system view model, as Main.qml declares it.
    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Rectangle {
        width: 800
        height: 44
        color: globalConfiguration.customPrimary
        Text {
            anchors.fill: parent
            anchors.leftMargin: 12
            verticalAlignment: Text.AlignVCenter
            text: "直流试验"
            color: globalConfiguration.customTitleForeground
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: globalConfiguration.customFontL1Size
        }
    }

    Item {
        id: pageArea
        y: 44
        width: 800
        height: 436
        visible: false

        ModelDirectPage {
            id: page
            anchors.fill: parent
        }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPage)
    function showPage() {
        pageArea.visible = true
        var m = page.viewModel
        m.setAutoRampEnabled(true)
        m.setFaultActionType(1)
        m.setFaultActionPort(7)
        m.setRampStepValue(0.1)
        m.setEndRampValue(4.0)
        m.setRampTimeValue(2.0)
        m.setOutputRange(4, 2.0)
        m.setOutputRange(5, 2.0)
        m.setOutputRange(6, 2.0)
        page.updateControlValue()
    }
}

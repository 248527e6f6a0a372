import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Ramping"

// The ramping test page as the main window shows it (below a 44 px header):
// three states (an amplitude ramp of UA, a current group, a frequency ramp)
// in the list, the pre-fault time on, the third state selected.
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
            text: "递变试验"
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

        ModelRampingPage {
            id: page
            anchors.fill: parent
        }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPage)
    function showPage() {
        pageArea.visible = true
        var m = page.viewModel
        m.removeState()
        m.setOutputRange(0, 50)
        m.setEndRampValue(70)
        m.setRampStepValue(0.5)
        m.addState()
        m.setFaultActionPort(13)        // IAIBIC
        m.setEndRampValue(5)
        m.setOutputRange(4, 1)
        m.setOutputRange(5, 1)
        m.setOutputRange(6, 1)
        m.addState()
        m.setFaultActionPort(6)         // UAUBUC
        m.setFaultActionItem(2)
        m.setEndRampValue(45)
        m.setRampStepValue(-0.1)
        m.setFunction(51)
        m.addState()
        m.setNormalEnable(true)
        m.setOutputBILogic(3, 1)
        page.updateControlValue()
    }
}

import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Harmonic"

// The harmonic test page as the main window shows it (below a 44 px header):
// the 2nd harmonic slot of the currents in percent, an automatic ramp of IA's
// 2nd harmonic, and a result that passed.
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
            text: "谐波试验"
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

        ModelHarmonicPage {
            id: page
            anchors.fill: parent
        }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPage)
    function showPage() {
        pageArea.visible = true
        var m = page.viewModel
        m.activeNextOrder()
        m.setShowRange(false)
        m.setOutputPercent(4, 15)
        m.setOutputPercent(5, 12.5)
        m.setOutputAngle(4, 45)
        m.setFaultActionPort(7)
        m.setFaultActionOrder(1)
        m.setAutoRampEnabled(true)
        m.setEndRampValue(40)
        m.setRampStepValue(2)
        m.setRampTimeValue(2)
        page.updateControlValue()
    }
}

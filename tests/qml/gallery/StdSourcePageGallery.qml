import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/StdSource"

// The standard source page as the main window would show it (below a 44 px
// header): three-phase four-wire active power at PF 0.8 inductive, 1.5 A.
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
            text: "标准源"
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

        ModelStdSourcePage {
            id: page
            anchors.fill: parent
        }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPage)
    function showPage() {
        pageArea.visible = true
        var m = page.viewModel
        m.setWorkMode(1)
        m.setPowerFactor(0.8)
        m.setSrcCurrentAmp(1.5)
        page.updateControlValue()
    }
}

import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Overcurrent"

// The overcurrent test page as the main window shows it (on its background,
// below the 44 px header), its chart tab open on an inverse-time point.
Rectangle {
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    ModelOvercurrentPage {
        id: page
        objectName: "page"
        y: 44
        width: 800
        height: 436
    }

    Component.onCompleted: {
        var m = page.viewModel
        m.clearPoint()
        m.setIPickUp(1, 1)
        m.setTdPickUp(1, 0.1)
        m.setFunction(1)
        m.setTestCurrent(3)
        m.addPoint()
        page.updateControlValue()
        page.tabs.currentIndex = 3
    }
}

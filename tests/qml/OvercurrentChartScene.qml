import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Overcurrent"

// The overcurrent test page as the main window shows it (on its background,
// below the 44 px header), its chart tab open on the points show() gives.
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

    // Function func (0: definite time, 1: inverse time) picking up at
    // pickUp A with time dial dial, one point at each of currents; the chart
    // tab open on it.
    function show(func, pickUp, dial, currents) {
        var m = page.viewModel
        m.clearPoint()
        m.setIPickUp(func, pickUp)
        m.setTdPickUp(func, dial)
        m.setFunction(func)
        for (var k = 0; k < currents.length; ++k) {
            m.setTestCurrent(currents[k])
            m.addPoint()
        }
        page.updateControlValue()
        page.tabs.currentIndex = 3
    }

    Component.onCompleted: show(1, 1, 0.1, [3])
}

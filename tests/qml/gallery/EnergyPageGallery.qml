import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Energy"

// The energy-meter test page as the main window shows it (below a 44 px
// header), four times: the test-point tab with three points, the meter
// settings of a reactive three-wire meter, the local pulse output, and the
// enlarged result list.
Rectangle {
    width: 1600
    height: 960
    color: globalConfiguration.customBackground

    // The program's system view model, as Main.qml declares it.
    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Repeater {
        model: 4
        Rectangle {
            x: 800 * (index % 2)
            y: 480 * Math.floor(index / 2)
            width: 800
            height: 44
            color: globalConfiguration.customPrimary
            Text {
                anchors.fill: parent
                anchors.leftMargin: 12
                verticalAlignment: Text.AlignVCenter
                text: "电能表"
                color: globalConfiguration.customTitleForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: globalConfiguration.customFontL1Size
            }
        }
    }

    Repeater {
        id: areas
        model: 4
        Item {
            readonly property alias page: page
            x: 800 * (index % 2)
            y: 480 * Math.floor(index / 2) + 44
            width: 800
            height: 436
            visible: false
            ModelEnergyPage { id: page; anchors.fill: parent }
        }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPages)
    function showPages() {
        for (var i = 0; i < 4; ++i) {
            var area = areas.itemAt(i)
            area.visible = true
            var m = area.page.viewModel
            m.clearPoint()
            m.setSettingPulse(10)
            var angles = [0, 60, -60]
            for (var k = 0; k < angles.length; ++k) {
                m.setPowerAngle(angles[k])
                m.addPoint()
            }
            m.setActiveIndex(1)
            area.page.updateControlValue()
        }
        var general = areas.itemAt(1).page
        general.viewModel.setMeterKind(1)
        general.viewModel.setMeasureMeterKind(1)
        general.updateControlValue()
        general.tabs.currentIndex = 1
        var pulse = areas.itemAt(2).page
        pulse.viewModel.setLocalPulseEnable(true)
        pulse.updateControlValue()
        pulse.tabs.currentIndex = 2
        areas.itemAt(3).page.resultList.collapsed = true
    }
}

import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Distance"

// The distance test page as the main window shows it (below a 44 px header),
// five times: the test-point tab with five points (four from the impedance
// factors, one reverse), the general tab in the Z0/Z1 form with the UX block
// of a four-phase unit, the time tab, the enlarged result list, and the
// "File" dialog.
Rectangle {
    width: 2400
    height: 960
    color: globalConfiguration.customBackground

    // The program's system view model, as Main.qml declares it.
    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Repeater {
        model: 5
        Rectangle {
            x: 800 * (index % 3)
            y: 480 * Math.floor(index / 3)
            width: 800
            height: 44
            color: globalConfiguration.customPrimary
            Text {
                anchors.fill: parent
                anchors.leftMargin: 12
                verticalAlignment: Text.AlignVCenter
                text: "距离试验"
                color: globalConfiguration.customTitleForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: globalConfiguration.customFontL1Size
            }
        }
    }

    Repeater {
        id: areas
        model: 5
        Item {
            readonly property alias page: page
            x: 800 * (index % 3)
            y: 480 * Math.floor(index / 3) + 44
            width: 800
            height: 436
            visible: false
            ModelDistancePage { id: page; anchors.fill: parent }
        }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPages)
    function showPages() {
        viewBaseModel.setVoltagePhasesType(1)
        for (var i = 0; i < 5; ++i) {
            var area = areas.itemAt(i)
            area.visible = true
            var m = area.page.viewModel
            m.clearPoint()
            m.setFaultZRange(2)
            m.setFaultZAngle(75)
            m.setSettingTimes(-1, 1)
            for (var k = 0; k < 4; ++k)
                m.setFactorChecked(k, true)
            m.addPoint()
            for (k = 0; k < 4; ++k)
                m.setFactorChecked(k, k === 1)
            m.setFaultDirection(1)
            m.setFactorChecked(1, false)
            m.addPoint()
            m.setFaultDirection(0)
            m.setActiveIndex(1)
            area.page.updateControlValue()
        }
        var general = areas.itemAt(1).page
        general.viewModel.setRepairKind(2)
        general.viewModel.setUXDefineType(0)
        general.viewModel.setUXDefineRange(5)
        general.updateControlValue()
        general.tabs.currentIndex = 1
        var times = areas.itemAt(2).page
        times.viewModel.setOutputBIState(0, 2, 1)
        times.viewModel.setOutputBILogic(0, ViewBaseModel.AO_BILOGIC_TYPE_AND)
        times.viewModel.setOutputBOState(1, 1)
        times.updateControlValue()
        times.tabs.currentIndex = 2
        areas.itemAt(3).page.resultList.collapsed = true
        areas.itemAt(4).page.fileDialog.openFor("Distance_")
    }
}

import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Overcurrent"

// The overcurrent test page as the main window shows it (below a 44 px
// header), seven times: the four tabs with points of both functions, the
// enlarged result list, the series dialog and the "File" dialog.
Rectangle {
    width: 2400
    height: 1440
    color: globalConfiguration.customBackground

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Repeater {
        model: 7
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
                text: "过流试验"
                color: globalConfiguration.customTitleForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: globalConfiguration.customFontL1Size
            }
        }
    }

    Repeater {
        id: areas
        model: 7
        Item {
            readonly property alias page: page
            x: 800 * (index % 3)
            y: 480 * Math.floor(index / 3) + 44
            width: 800
            height: 436
            visible: false
            ModelOvercurrentPage { id: page; anchors.fill: parent }
        }
    }

    Component.onCompleted: Qt.callLater(showPages)
    function showPages() {
        for (var i = 0; i < 7; ++i) {
            var area = areas.itemAt(i)
            area.visible = true
            var m = area.page.viewModel
            m.clearPoint()
            m.setIPickUp(0, 5)
            m.setTdPickUp(0, 0.5)
            m.setIPickUp(1, 1)
            m.setTdPickUp(1, 0.1)
            m.setFunction(0)
            m.setTestCurrent(6)
            m.addPoint()
            m.setFunction(1)
            m.addPoint(2, 10, 4)
            m.setActiveIndex(1)
            area.page.updateControlValue()
        }
        for (i = 1; i < 4; ++i)
            areas.itemAt(i).page.tabs.currentIndex = i
        areas.itemAt(4).page.resultList.collapsed = true
        var series = areas.itemAt(5).page.multiDialog
        areas.itemAt(5).page.openMultiDialog()
        place(series, 1600 + (800 - series.width) / 2, 480 + 44 + (436 - series.height) / 2)
        var files = areas.itemAt(6).page.fileDialog
        files.openFor("Overcurrent_")
        place(files, (800 - files.width) / 2, 960 + 44 + (436 - files.height) / 2)
    }
    // Puts a dialog's top left corner at a point of the window.
    function place(dialog, x, y) {
        var at = dialog.parent.mapFromItem(null, x, y)
        dialog.x = at.x
        dialog.y = at.y
    }
}

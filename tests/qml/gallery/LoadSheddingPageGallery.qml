import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"

// The two load-shedding pages as the main window shows them (below a 44 px
// header): the under-frequency page with each of its five item panels and its
// general tab (first two rows), the under-voltage page with each of its four
// item panels, its general tab and the enlarged result list (last two rows).
// Every page holds three points.
Rectangle {
    width: 2400
    height: 1920
    color: globalConfiguration.customBackground

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    readonly property string frequencyPage: "qrc:/QMLPages/LoadShedding/ModelSlipFrequencyPage.qml"
    readonly property string voltagePage: "qrc:/QMLPages/LoadShedding/ModelSlipVoltagePage.qml"
    // Per slot: the page, its item, the tab, the list enlarged.
    readonly property var slots: [
        [frequencyPage, 0, 0, false], [frequencyPage, 1, 0, false], [frequencyPage, 2, 0, false],
        [frequencyPage, 3, 0, false], [frequencyPage, 4, 0, false], [frequencyPage, 0, 1, false],
        [voltagePage, 0, 0, false], [voltagePage, 1, 0, false], [voltagePage, 2, 0, false],
        [voltagePage, 3, 0, false], [voltagePage, 0, 1, false], [voltagePage, 1, 0, true]]

    Repeater {
        id: areas
        model: slots.length
        Item {
            readonly property var slot: slots[index]
            readonly property alias page: loader.item
            x: 800 * (index % 3)
            y: 480 * Math.floor(index / 3)
            width: 800
            height: 480

            Rectangle {
                width: 800
                height: 44
                color: globalConfiguration.customPrimary
                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 12
                    verticalAlignment: Text.AlignVCenter
                    text: slot[0] === frequencyPage ? "低周减载" : "低压减载"
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
                Loader {
                    id: loader
                    anchors.fill: parent
                    source: slot[0]
                }
            }
            function show() {
                pageArea.visible = true
                var m = page.viewModel
                m.clearPoint()
                for (var k = 0; k < 3; ++k) {
                    m.setActiveTestItem(k)
                    m.addPoint()
                }
                m.setActiveIndex(slot[1] < 3 ? slot[1] : 0)
                m.setActiveTestItem(slot[1])
                page.updateControlValue()
                page.tabs.currentIndex = slot[2]
                page.resultList.collapsed = slot[3]
            }
        }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPages)
    function showPages() {
        for (var i = 0; i < slots.length; ++i)
            areas.itemAt(i).show()
    }
}

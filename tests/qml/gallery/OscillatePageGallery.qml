import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Oscillate"

// The power-swing test page as the main window shows it (below a 44 px
// header): on the left with its settings tab, an IAIBIC swing of 20 %; on
// the right with its trigger tab.
Rectangle {
    width: 1600
    height: 480
    color: globalConfiguration.customBackground

    // The program's system view model, as Main.qml declares it.
    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Repeater {
        model: 2
        Rectangle {
            x: 800 * index
            width: 800
            height: 44
            color: globalConfiguration.customPrimary
            Text {
                anchors.fill: parent
                anchors.leftMargin: 12
                verticalAlignment: Text.AlignVCenter
                text: "震荡模拟"
                color: globalConfiguration.customTitleForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: globalConfiguration.customFontL1Size
            }
        }
    }

    Item {
        id: settingArea
        y: 44
        width: 800
        height: 436
        visible: false
        ModelOscillatePage { id: settingPage; anchors.fill: parent }
    }

    Item {
        id: triggerArea
        x: 800
        y: 44
        width: 800
        height: 436
        visible: false
        ModelOscillatePage { id: triggerPage; anchors.fill: parent }
    }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showPages)
    function showPages() {
        settingArea.visible = true
        var m = settingPage.viewModel
        m.setOscillatePort(13)
        m.setOscillatePercent(20)
        m.setOscillateFrequency(48)
        m.setOscillateAngle(30)
        settingPage.updateControlValue()

        triggerArea.visible = true
        var t = triggerPage.viewModel
        t.setOutputBIState(0, 1, 1)
        t.setOutputBILogic(0, ViewBaseModel.AO_BILOGIC_TYPE_AND)
        t.setOutputBOState(2, 1)
        triggerPage.updateControlValue()
        find(triggerPage, "triggerTabButton").clicked()
    }
    function find(item, name) {
        if (item.objectName === name)
            return item
        for (var i = 0; i < item.children.length; ++i) {
            var found = find(item.children[i], name)
            if (found)
                return found
        }
        return null
    }
}

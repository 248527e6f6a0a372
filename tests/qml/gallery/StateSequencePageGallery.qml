import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/StateSequence"

// The state-sequence test page as the main window shows it (below a 44 px
// header), four times: top left the editor (state 2 of 5, time and binary
// trigger) with the action times; top right zoomed on the assessments;
// bottom left the event recorder and a GPS/IRIG-B state; bottom right the
// assessment dialogs (the state list and the setting time).
Rectangle {
    id: window
    width: 1600
    height: 960
    color: globalConfiguration.customBackground

    // The program's system view model, as Main.qml declares it.
    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    component Shown: Item {
        id: shown
        property alias page: page
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
                text: "状态序列"
                color: globalConfiguration.customTitleForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: globalConfiguration.customFontL1Size
            }
        }
        Item {
            objectName: "pageArea"
            y: 44
            width: 800
            height: 436
            visible: false
            ModelStateSequencePage {
                id: page
                anchors.fill: parent
            }
        }
    }

    Shown { id: editorShot }
    Shown { id: assessShot; x: 800 }
    Shown { id: eventShot; y: 480 }
    Shown { id: dialogShot; x: 800; y: 480 }

    // Shown once the window exists, as navigation shows a page.
    Component.onCompleted: Qt.callLater(showAll)
    property bool done: false

    function fill(page) {
        page.parent.visible = true
        page.languageType = galleryLanguageType
        var m = page.viewModel
        m.addState()
        m.addState()
        for (var s = 0; s < 5; ++s) {
            m.setOutputRange(s, 4, s === 2 ? 5.0 : 0.5)
            m.setOutputTime(s, 1.0 + s)
            m.setOutputBOState(s, s % 4, 1)
        }
        m.setTriggerType(1, ViewBaseModel.AO_TRIGGER_TYPE_TIME_BINARY)
        m.setOutputBIState(1, 1, 1)
        m.setOutputBIState(1, 2, 2)
        m.setOutputBIState(1, 3, 0)
        m.setOutputBILogic(1, ViewBaseModel.AO_BILOGIC_TYPE_AND)
        m.setTriggerType(3, ViewBaseModel.AO_TRIGGER_TYPE_GPS_IRIGB)
        for (var a = 0; a < 3; ++a) {
            m.addAssess()
            m.setAssessStart(a, a)
            m.setAssessStop(a, a + 1)
            m.setSettingTime(a, 1.5 + a)
        }
        for (var e = 0; e < 5; ++e)
            m.addBOEventRecord(e)
        m.setActiveIndex(1)
        page.updateControlValue()
        return m
    }

    function showAll() {
        if (done)
            return
        done = true
        fill(editorShot.page)

        fill(assessShot.page)
        assessShot.page.resultTabs.currentIndex = 1
        assessShot.page.zoomed = true
        assessShot.page.updateControlValue()

        var m = fill(eventShot.page)
        m.setActiveIndex(3)
        eventShot.page.resultTabs.currentIndex = 2
        eventShot.page.updateControlValue()

        fill(dialogShot.page)
        var p = dialogShot.page
        p.openAssessDialog(0, 2)
        p.stateDialog.dim = false
        p.stateDialog.x = 0
        p.stateDialog.y = 0
        p.openAssessDialog(1, 3)
        p.timeDialog.dim = false
        p.timeDialog.x = 400
        p.timeDialog.y = 0
    }
}

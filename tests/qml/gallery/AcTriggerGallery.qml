import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/AC"

// The AC test page in manual mode with its trigger tab, as the main window
// shows it below a 44 px header.
Rectangle {
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Item {
        id: pageArea
        y: 44
        width: 800
        height: 436
        visible: false

        ModelAlternatePage {
            id: page
            anchors.fill: parent
        }
    }

    Component.onCompleted: Qt.callLater(showPage)
    function showPage() {
        pageArea.visible = true
        page.languageType = galleryLanguageType
        var m = page.viewModel
        m.setAutoRampEnabled(false)
        m.setFaultActionType(0)
        m.setOutputBIState(0, 0, 3)
        m.setOutputBIState(0, 1, 1)
        m.setOutputBILogic(0, ViewBaseModel.AO_BILOGIC_TYPE_AND)
        m.setOutputBOState(1, 1)
        page.updateControlValue()
        find(page, "triggerTabButton").clicked()
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

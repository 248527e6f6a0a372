import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"
import "qrc:/QMLPages/Common"

// The fault calculator over a page, with a constant-current phase-earth fault
// and the UX block shown as for a four-voltage instrument.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    QtObject {
        id: viewBaseModel
        function setBeep() {}
        function getRateVRange() { return 57.735 }
        function getRateIRange() { return 5.0 }
        function getDeviceAOVMaxRange() { return 265.0 }
        function getDeviceAOIMaxRange() { return 20.0 }
        function getLanuageType() { return 0 }
    }

    LabelText { x: 20; y: 20; text: "交流测试" }

    ComputerDistanceDialog {
        id: dialog
        onOpened: uxVisible = true
    }

    // Popups open once the page is in its window.
    Component.onCompleted: Qt.callLater(openPopups)
    function openPopups() {
        var m = dialog.distanceModel
        m.setDistanceType(0)
        m.setFaultType(0)
        m.setFaultCurrent(5)
        m.setLoadCurrent(0.5)
        m.setLoadAngle(20)
        m.setShortRange(2)
        m.setShortAngle(80)
        m.setShortFactorType(0)
        m.setShortFactorRange(0.67)
        m.setShortFactorAngle(-3.5)
        m.setUXDefineType(0)
        m.setUXDefineRange(57.735)
        m.setUXDefineAngle(0)
        dialog.open()
    }
}

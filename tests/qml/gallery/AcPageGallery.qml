import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/AC"

// The AC test page as the main window shows it (below a 44 px header), in
// automatic mode with action return so that every result field shows, and
// beside it (right half) the fault calculator the page opens.
Rectangle {
    id: window
    width: 1600
    height: 480
    color: globalConfiguration.customBackground

    // The program's system view model, as Main.qml declares it.
    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Rectangle {
        width: 800
        height: 44
        color: globalConfiguration.customPrimary
        Text {
            anchors.fill: parent
            anchors.leftMargin: 12
            verticalAlignment: Text.AlignVCenter
            text: "交流测试"
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

        ModelAlternatePage {
            id: page
            anchors.fill: parent
        }
    }

    // Shown once the window has its size (dialogs centre on the window then),
    // as navigation shows a page; then the settings of the picture and the
    // calculator, placed on the right half.
    readonly property Item windowArea: Overlay.overlay
    onWindowAreaChanged: {
        if (!windowArea)
            return
        windowArea.widthChanged.connect(showOnce)
        windowArea.heightChanged.connect(showOnce)
    }
    function showOnce() {
        if (windowArea.width >= width && windowArea.height >= height && !pageArea.visible)
            Qt.callLater(showPage)
    }
    function showPage() {
        if (pageArea.visible)
            return
        pageArea.visible = true
        page.languageType = galleryLanguageType
        var m = page.viewModel
        m.setAutoRampEnabled(true)
        m.setFaultActionType(1)
        m.setFaultActionPort(7)
        m.setRampStepValue(0.5)
        m.setEndRampValue(10.0)
        m.setRampTimeValue(2.0)
        m.setOutputRange(4, 3.0)
        m.setOutputBIState(0, 1, 1)
        m.setOutputBIState(0, 2, 2)
        m.setOutputBIState(0, 3, 0)
        page.updateControlValue()

        var d = page.distanceDialog.distanceModel
        d.setDistanceType(0)
        d.setFaultType(0)
        d.setFaultCurrent(5)
        d.setLoadCurrent(0.5)
        d.setLoadAngle(20)
        d.setShortRange(2)
        d.setShortAngle(80)
        d.setShortFactorType(0)
        d.setShortFactorRange(0.67)
        d.setShortFactorAngle(-3.5)
        // Beside the page rather than over it: no backdrop in this picture.
        page.distanceDialog.dim = false
        page.openCalculator()
        page.distanceDialog.x = 800
        page.distanceDialog.y = 0
    }
}

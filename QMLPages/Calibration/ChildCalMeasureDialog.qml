import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import "qrc:/QMLPages/Common"

// The measured value of one calibration point: the point being output
// (read-only) and the reference meter's reading, five decimals each. "确定"
// emits accept(reading), "取消" reject(); both close the dialog and the
// number panel. A press on the shaded background closes only the panel.
UserDialogFrame {
    id: dialog

    readonly property alias pointBox: pointBox
    readonly property alias measureBox: measureBox

    signal accept(double measureVal)
    signal reject()

    width: 510
    height: 250
    title: qsTr("请输入校准测量值...")                        // enter the measured value
    closePolicy: Popup.NoAutoClose

    function setPointValue(unit, dataMin, dataMax, dataValue) {
        pointBox.unit = unit
        pointBox.dataMin = dataMin
        pointBox.dataMax = dataMax
        pointBox.setDataValue(dataValue)
    }

    function setMeasureValue(unit, dataMin, dataMax, dataValue) {
        measureBox.unit = unit
        measureBox.dataMin = dataMin
        measureBox.dataMax = dataMax
        measureBox.setDataValue(dataValue)
    }

    onAcceptClicked: {
        closeInputPanels()
        var value = measureBox.dataValue
        close()
        accept(value)
    }
    onRejectClicked: {
        closeInputPanels()
        close()
        reject()
    }

    Overlay.modal: Rectangle {
        color: "#80000000"
        MouseArea {
            anchors.fill: parent
            onPressed: dialog.closeInputPanels()
        }
    }

    Column {
        x: 20
        y: 20
        spacing: 14

        Row {
            spacing: 10
            FitLabel {
                width: 130
                height: 40
                text: qsTr("校准点:")                               // calibration point
            }
            EditNumberBox {
                id: pointBox
                objectName: "pointBox"
                width: 300
                height: 40
                readOnly: true
                dataPrecision: 5
                unitWidth: 30
            }
        }
        Row {
            spacing: 10
            FitLabel {
                width: 130
                height: 40
                text: qsTr("测量值:")                               // measured value
            }
            EditNumberBox {
                id: measureBox
                objectName: "measureBox"
                width: 300
                height: 40
                dataPrecision: 5
                unitWidth: 30
            }
        }
    }
}

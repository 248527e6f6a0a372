import QtQuick 2.15
import ZOR.ViewUtilityHelper 1.0

// Asks for one number; setDataValue() sets the value, the two quick keys,
// the range and the unit. "确定" enters the field and emits accept(value).
UserDialogFrame {
    id: dialog

    readonly property alias numberBox: number

    signal accept(double dataVal)
    signal reject()

    title: qsTr("请输入")
    width: 400
    height: 300

    function setDataValue(newVal, quick1Value, quick2Value, dataMax, dataMin, unit) {
        number.dataMax = dataMax
        number.dataMin = dataMin
        number.quick1Value = quick1Value
        number.quick2Value = quick2Value
        number.unit = unit
        number.setDataValue(newVal)
        number.dataOldText = number.text
    }

    onAcceptClicked: {
        number.enterText()
        accept(number.dataValue)
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    EditNumberBox {
        id: number
        objectName: "numberBox"
        anchors.centerIn: parent
        width: parent.width * 0.8
        height: 40
        unitWidth: 40
        dataAutoToLimit: true
    }
}

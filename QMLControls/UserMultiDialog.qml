import QtQuick 2.15

// Asks for a series of points: "Begin", "End" and "Step", each within 0 and
// 300 unless setDataValue() sets another maximum. "确定" emits
// accept(begin, end, step).
UserDialogFrame {
    id: dialog

    property real dataMax: 300
    readonly property alias beginBox: begin
    readonly property alias endBox: end
    readonly property alias stepBox: step

    signal accept(double begin, double end, double step)
    signal reject()

    title: qsTr("添加多点")
    width: 400
    height: 300

    function setDataValue(beginVal, endVal, stepVal, max) {
        dataMax = max
        begin.setDataValue(beginVal)
        end.setDataValue(endVal)
        step.setDataValue(stepVal)
    }

    onAcceptClicked: {
        accept(begin.dataValue, end.dataValue, step.dataValue)
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    Grid {
        anchors.centerIn: parent
        columns: 2
        rowSpacing: 8
        columnSpacing: 10

        LabelText { text: qsTr("Begin"); height: 40 }
        EditNumberBox { id: begin; objectName: "beginBox"; width: 200; height: 40; dataMin: 0; dataMax: dialog.dataMax }
        LabelText { text: qsTr("End"); height: 40 }
        EditNumberBox { id: end; objectName: "endBox"; width: 200; height: 40; dataMin: 0; dataMax: dialog.dataMax }
        LabelText { text: qsTr("Step"); height: 40 }
        EditNumberBox { id: step; objectName: "stepBox"; width: 200; height: 40; dataMin: 0; dataMax: dialog.dataMax }
    }
}

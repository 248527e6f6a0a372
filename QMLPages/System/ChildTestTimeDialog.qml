import QtQuick 2.15
import QMLControls 1.0

// Timed start (title "定时设置"): the moment the output starts and the moment
// the binary outputs change, each with a check box that enables it. Opening
// it presets the first to now rounded down to 10 s plus 10 s and the second to
// 30 s after that. "确定" emits accept(), "取消" reject(); both close it.
UserDialogFrame {
    id: dialog

    readonly property alias startTimeBox: startTime
    readonly property alias startCheckBox: startCheck
    readonly property alias turnTimeBox: turnTime
    readonly property alias turnCheckBox: turnCheck

    signal accept()
    signal reject()

    title: qsTr("定时设置")                                       // timed start
    width: 510
    height: 246

    onAboutToShow: {
        startTime.setNowTimeRound10sec(1)
        turnTime.setNowTimeRound10sec(4)
    }
    onAcceptClicked: {
        accept()
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    Column {
        anchors.fill: parent
        spacing: 8

        Row {
            height: 40
            spacing: 8
            ToolCheckBox {
                id: startCheck
                objectName: "startCheckBox"
                width: 290
                height: 40
                text: qsTr("输出开始时刻：")                      // output start
            }
            EditTimeBox {
                id: startTime
                objectName: "startTimeBox"
                width: 180
                height: 36
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        Row {
            height: 40
            spacing: 8
            ToolCheckBox {
                id: turnCheck
                objectName: "turnCheckBox"
                width: 290
                height: 40
                text: qsTr("开出翻转时刻：")                      // binary outputs change
            }
            EditTimeBox {
                id: turnTime
                objectName: "turnTimeBox"
                width: 180
                height: 36
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }
}

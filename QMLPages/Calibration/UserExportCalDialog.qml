import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import "qrc:/QMLPages/Common"

// The output groups of a calibration export or import and the backup folder
// on the USB stick. The mask (exportCalType: 0x01 low-level, 0x02 voltage,
// 0x04 current outputs) is kept between openings; an import opens without the
// low-level group. Without the stick the warning shows and "确定" is disabled.
UserDialogFrame {
    id: dialog

    property int exportCalType: 0
    property bool exportEnable: true
    property string backupFolderName: ""
    property bool backupAcceptEnabled: false
    property bool backupFolderStateVisible: true

    readonly property alias lowLevelBox: lowLevelBox
    readonly property alias voltageBox: voltageBox
    readonly property alias currentBox: currentBox
    readonly property alias folderWarning: folderWarning

    signal accept()
    signal reject()

    width: 480
    height: 340
    title: qsTr("导出校准系数")                                 // export the coefficients
    acceptEnabled: backupAcceptEnabled

    function setBit(bit, on) {
        exportCalType = on ? (exportCalType | bit) : (exportCalType & ~bit)
    }

    onAboutToShow: {
        if (!exportEnable)
            exportCalType = exportCalType & ~0x01
        lowLevelBox.checked = (exportCalType & 0x01) !== 0
        voltageBox.checked = (exportCalType & 0x02) !== 0
        currentBox.checked = (exportCalType & 0x04) !== 0
    }
    onAcceptClicked: {
        close()
        accept()
    }
    onRejectClicked: {
        close()
        reject()
    }

    Column {
        x: 16
        y: 8
        width: parent.width - 32
        spacing: 8

        Row {
            spacing: 2
            ToolCheckBox {
                id: lowLevelBox
                objectName: "lowLevelBox"
                width: 148
                height: 40
                font.pixelSize: globalConfiguration.customFontL3Size
                text: qsTr("小信号")                                 // low-level outputs
                onClicked: dialog.setBit(0x01, checked)
            }
            ToolCheckBox {
                id: voltageBox
                objectName: "voltageBox"
                width: 148
                height: 40
                font.pixelSize: globalConfiguration.customFontL3Size
                text: qsTr("电压功放")                               // voltage amplifiers
                onClicked: dialog.setBit(0x02, checked)
            }
            ToolCheckBox {
                id: currentBox
                objectName: "currentBox"
                width: 148
                height: 40
                font.pixelSize: globalConfiguration.customFontL3Size
                text: qsTr("电流功放")                               // current amplifiers
                onClicked: dialog.setBit(0x04, checked)
            }
        }
        FitLabel {
            width: parent.width
            height: 32
            text: qsTr("备份文件夹：")                               // backup folder
        }
        EditTextBox {
            objectName: "folderBox"
            width: parent.width
            height: 38
            readOnly: true
            text: dialog.backupFolderName
        }
        FitLabel {
            id: folderWarning
            objectName: "folderWarning"
            width: parent.width
            height: 30
            visible: dialog.backupFolderStateVisible
            foreground: globalConfiguration.customRed
            text: qsTr("U盘不存在！")                                // no USB stick
        }
    }
}

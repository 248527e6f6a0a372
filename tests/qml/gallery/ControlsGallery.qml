import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import "qrc:/"

// The controls on one 800 x 480 page, in the main window's setting: header,
// icon-font glyphs, tiles, fields and switches, with Chinese texts.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    readonly property var glyphs: [
        globalConfiguration.iconReback, globalConfiguration.iconShutdown, globalConfiguration.iconInfomation,
        globalConfiguration.iconModelMultitest, globalConfiguration.iconModelSequence,
        globalConfiguration.iconModelFaultTest, globalConfiguration.iconModelRemoteSignal,
        globalConfiguration.iconModelSettings, globalConfiguration.iconAdd, globalConfiguration.iconRemove,
        globalConfiguration.iconInsert, globalConfiguration.iconToLeft, globalConfiguration.iconToRight,
        globalConfiguration.iconCharging, globalConfiguration.iconSwitcherOff, globalConfiguration.iconSwitcherOn,
        globalConfiguration.iconAlarm, globalConfiguration.iconUpdateSystemTime, globalConfiguration.iconAuxDCClose,
        globalConfiguration.iconAuxDCOpen]

    Rectangle {
        id: header
        width: parent.width
        height: 44
        color: globalConfiguration.customPrimary

        ToolLabelButton {
            x: 6
            y: 4
            width: 236
            height: 36
            iconPath: globalConfiguration.imageClock
            fontPixelSize: 18
            text: "2024-05-01 12:00:00"
            foreground: globalConfiguration.customTitleForeground
        }
        Text {
            anchors.centerIn: parent
            text: "继电保护测试仪"
            color: globalConfiguration.customTitleForeground
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: globalConfiguration.customFontL1Size
        }
        Row {
            anchors.right: parent.right
            anchors.rightMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            spacing: 6
            LabelIcon { text: globalConfiguration.iconAlarm; foreground: globalConfiguration.customRed; width: 30; height: 36 }
            LabelText { text: "35℃"; foreground: globalConfiguration.customTitleForeground; height: 36 }
            LabelState { width: 30; height: 30; stateColor: globalConfiguration.customRunning }
            Image { source: globalConfiguration.imageGPS; width: 30; height: 30; sourceSize.width: 30; sourceSize.height: 30 }
            LabelBatteryCharging { width: 24; height: 30; isCharging: true }
            LabelBatteryLevel { width: 56; height: 26; lavelValue: 76 }
        }
    }

    Row {
        id: glyphRow
        x: 10
        y: header.height + 6
        spacing: 9
        Repeater {
            model: window.glyphs
            LabelIcon { text: modelData; width: 30; height: 34; foreground: globalConfiguration.customPrimary }
        }
    }

    Row {
        id: tiles
        x: 10
        y: glyphRow.y + 40
        spacing: 14
        ToolImageButton { width: 86; height: 110; fontPixelSize: 20; text: "交流试验"; iconPath: globalConfiguration.imageQuick }
        ToolImageButton { width: 86; height: 110; fontPixelSize: 20; text: "过流试验"; iconPath: globalConfiguration.imageOvercurrent }
        ToolImageButton { width: 86; height: 110; fontPixelSize: 20; text: "状态序列"; iconPath: globalConfiguration.imageSequence }
        ToolImageButton { width: 86; height: 110; fontPixelSize: 20; text: "谐波试验"; iconPath: globalConfiguration.imageHarmonic }
        ToolImageButton { width: 86; height: 110; fontPixelSize: 20; text: "距离试验"; iconPath: globalConfiguration.imageDistance }
        ToolTileButton { width: 86; height: 110; fontPixelSize: 20; text: "系统设置"; iconText: globalConfiguration.iconModelSettings }
        ToolImageButton { width: 86; height: 110; fontPixelSize: 20; text: "文件管理"; iconPath: globalConfiguration.imageFileManage }
        ToolImageButton { width: 86; height: 110; fontPixelSize: 20; text: "辅助直流"; iconPath: globalConfiguration.imageAuxDC }
    }

    Grid {
        x: 10
        y: tiles.y + 118
        columns: 4
        rowSpacing: 8
        columnSpacing: 10

        LabelText { width: 110; height: 34; text: "额定电压:" }
        EditNumberBox { width: 190; height: 34; unit: "V"; unitWidth: 20; Component.onCompleted: setDataValue(57.735) }
        LabelText { width: 110; height: 34; text: "防抖时间:" }
        EditNumberBox { width: 190; height: 34; unit: "s"; invalidEnable: true; Component.onCompleted: setDataValue(NaN) }

        LabelText { width: 110; height: 34; text: "机器型号:" }
        EditTextBox { width: 190; height: 34; text: "ZOR-460" }
        LabelText { width: 110; height: 34; text: "系统时间:" }
        EditDateTimeBox { width: 250; height: 34; text: "2024-05-01 12:00:10" }

        ToolCheckBox { width: 110; height: 34; text: "按键音"; checked: true }
        Row {
            spacing: 6
            ToolRadioButton { text: "系统默认"; checked: true; height: 34 }
            ToolRadioButton { text: "黑色"; height: 34 }
        }
        LabelText { width: 110; height: 34; text: "系统语言:" }
        ToolComboBox { width: 190; height: 34; model: ["中文", "英文", "葡萄牙文"] }

        Row {
            spacing: 8
            ToolBinaryButton { width: 48; height: 34; checked: true }
            ToolBinaryButton { width: 48; height: 34 }
        }
        Row {
            spacing: 6
            ToolBinarCheckBox { textValue: "A"; textWidth: 20; stateValue: 0; height: 34 }
            ToolBinarCheckBox { textValue: "B"; textWidth: 20; stateValue: 1; height: 34 }
            ToolBinarCheckBox { textValue: "C"; textWidth: 20; stateValue: 2; height: 34 }
            ToolBinarCheckBox { textValue: "D"; textWidth: 20; stateValue: 3; height: 34 }
        }
        ToolTextButton { width: 110; height: 34; text: "设置" }
        Row {
            spacing: 8
            ToolIconButton { width: 110; height: 34; text: "添加"; iconText: globalConfiguration.iconAdd }
            ToolIconButton { width: 110; height: 34; text: "删除"; iconText: globalConfiguration.iconRemove }
        }
    }
}

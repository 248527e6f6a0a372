import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewUtilityHelper 1.0

// The battery page (title "电池配置"): the battery pack's information, read
// while the page is shown, and the battery protection thresholds PD1..PD5
// (percent), the empty-battery time and the battery type. Each threshold is
// kept between its neighbours (PD5 > PD1 > PD2 > PD3 > PD4 >= 0). "关闭"
// saves the battery configuration and makes the driver apply the settings.
Item {
    id: page

    // Stored thresholds, the bounds of their neighbours.
    property int pd1: 0
    property int pd2: 0
    property int pd3: 0
    property int pd4: 0
    property int pd5: 100
    // "激活充电" is offered while the pack reports protection bit 0x1000.
    property bool activateChargeShown: false
    // The battery information is read while the page is shown.
    property bool infoReading: false

    readonly property alias pd1Row: pd1Row
    readonly property alias pd2Row: pd2Row
    readonly property alias pd3Row: pd3Row
    readonly property alias pd4Row: pd4Row
    readonly property alias pd5Row: pd5Row
    readonly property alias continueRow: continueRow
    readonly property alias batteryTypeBox: batteryTypeBox
    readonly property alias activateButton: activateButton
    readonly property alias closeButton: closeButton
    readonly property alias activateDialog: activateDialog
    readonly property alias infoRepeater: info

    signal closeClicked()

    function volts(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName) + " V"
    }

    // The information lines: label, text.
    function infoLines() {
        return [
            [qsTr("总电压:"), volts(viewBaseModel.getBatteryVoltageTotal())],         // total voltage
            [qsTr("平均电压:"), volts(viewBaseModel.getBatteryVoltageAvg())],         // average cell voltage
            [qsTr("最高电压:"), volts(viewBaseModel.getBatteryVoltageMax())],         // highest cell voltage
            [qsTr("最低电压:"), volts(viewBaseModel.getBatteryVoltageMin())],         // lowest cell voltage
            [qsTr("压差:"), viewBaseModel.getBatteryVoltageDiff() + " mV"],           // voltage difference
            [qsTr("电流:"), ViewUtilityHelper.doubleFormatToString(viewBaseModel.getBatteryCurrent(), 3,
                                                                 globalConfiguration.customLocalName) + " A"], // current
            [qsTr("标称容量:"), viewBaseModel.getBatteryRateCap() + " mAh"],          // rated capacity
            [qsTr("剩余容量:"), viewBaseModel.getBatteryResiCap() + " mAh"],          // remaining capacity
            [qsTr("循环次数:"), String(viewBaseModel.getBatteryLoopCount())],         // cycles
            [qsTr("软件版本:"), viewBaseModel.getBatterySoftVersion()],               // software version
            [qsTr("保护状态:"), viewBaseModel.getBatteryProtectedState()],            // protection state
            [qsTr("MOS状态:"), viewBaseModel.getBatteryFETState()]                    // switch state
        ]
    }

    function refreshInfo() {
        info.model = infoLines()
        // The state is written "0x" and hexadecimal digits.
        var protectedState = parseInt(viewBaseModel.getBatteryProtectedState(), 16)
        activateChargeShown = !isNaN(protectedState) && (protectedState & 0x1000) !== 0
    }

    function refreshConfig() {
        pd1 = viewBaseModel.getBatteryConfig(0)
        pd2 = viewBaseModel.getBatteryConfig(1)
        pd3 = viewBaseModel.getBatteryConfig(2)
        pd4 = viewBaseModel.getBatteryConfig(3)
        pd5 = viewBaseModel.getBatteryConfig(4)
        pd1Row.show(pd1)
        pd2Row.show(pd2)
        pd3Row.show(pd3)
        pd4Row.show(pd4)
        pd5Row.show(pd5)
        continueRow.show(viewBaseModel.getBatteryConfig(5))
        batteryTypeBox.setDataValue(viewBaseModel.getBatteryType())
    }

    function store(index, value) {
        viewBaseModel.setBatteryConfig(index, Math.round(value))
        refreshConfig()
    }

    onVisibleChanged: {
        if (visible !== infoReading) {
            infoReading = visible
            viewBaseModel.setBatterInfoEnable(visible)
        }
        if (visible) {
            refreshInfo()
            refreshConfig()
        } else if (inputNumberPanel) {
            // Hidden (also while the window is being built): the panels close.
            inputNumberPanel.close()
            inputDateTimePanel.close()
            inputTimePanel.close()
        }
    }

    Connections {
        target: viewBaseModel
        function onSigUpdateDataToView(dataType, subType) {
            if (page.visible && dataType === ViewBaseModel.DATA_TYPE_RT_BATTERY
                    && subType === ViewBaseModel.STATE_TYPE_BATTERY_MOS)
                page.refreshInfo()
        }
    }

    // ---- Information ----------------------------------------------------------------
    Column {
        id: infoColumn
        objectName: "batteryInfo"
        x: 10
        y: 8
        spacing: 2

        Repeater {
            id: info
            model: []
            Row {
                height: 30
                spacing: 8
                LabelText {
                    width: 130
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: modelData[0]
                }
                // A long reading (the switch states) shrinks to the column.
                LabelText {
                    objectName: "info" + index
                    width: 200
                    height: parent.height
                    text: modelData[1]
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 12
                }
            }
        }
    }

    // ---- Configuration ------------------------------------------------------------
    Column {
        x: 360
        y: 8
        spacing: 2

        SettingNumberRow {
            id: pd1Row
            objectName: "pd1"
            labelWidth: 180
            label: "PD1"
            box.unit: "%"
            box.dataPrecision: 0
            box.dataMin: page.pd2 + 1
            box.dataMax: page.pd5 - 1
            onEntered: function(value) { page.store(0, value) }
        }
        SettingNumberRow {
            id: pd2Row
            objectName: "pd2"
            labelWidth: 180
            label: "PD2"
            box.unit: "%"
            box.dataPrecision: 0
            box.dataMin: page.pd3 + 1
            box.dataMax: page.pd1 - 1
            onEntered: function(value) { page.store(1, value) }
        }
        SettingNumberRow {
            id: pd3Row
            objectName: "pd3"
            labelWidth: 180
            label: "PD3"
            box.unit: "%"
            box.dataPrecision: 0
            box.dataMin: page.pd4 + 1
            box.dataMax: page.pd2 - 1
            onEntered: function(value) { page.store(2, value) }
        }
        SettingNumberRow {
            id: pd4Row
            objectName: "pd4"
            labelWidth: 180
            label: "PD4"
            box.unit: "%"
            box.dataPrecision: 0
            box.dataMin: 0
            box.dataMax: page.pd3 - 1
            onEntered: function(value) { page.store(3, value) }
        }
        SettingNumberRow {
            id: pd5Row
            objectName: "pd5"
            labelWidth: 180
            label: "PD5"
            box.unit: "%"
            box.dataPrecision: 0
            box.dataMin: page.pd1 + 1
            box.dataMax: 100
            onEntered: function(value) { page.store(4, value) }
        }
        SettingNumberRow {
            id: continueRow
            objectName: "continueTime"
            labelWidth: 180
            label: qsTr("ContinueT")
            box.unit: "s"
            box.dataPrecision: 0
            box.dataMin: 0
            box.dataMax: 100
            onEntered: function(value) { page.store(5, value) }
        }
        Row {
            height: 40
            spacing: 6
            LabelText {
                width: 180
                height: parent.height
                horizontalAlignment: Text.AlignRight
                text: qsTr("Battery Type")
            }
            ToolComboBox {
                id: batteryTypeBox
                objectName: "batteryTypeBox"
                width: 180
                height: 36
                anchors.verticalCenter: parent.verticalCenter
                model: [qsTr("Battery") + " 1", qsTr("Battery") + " 2"]
                onActivated: function(index) { viewBaseModel.setBatteryType(index) }
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 8
        spacing: 20

        ToolTextButton {
            id: activateButton
            objectName: "activateButton"
            width: 160
            height: 40
            visible: page.activateChargeShown
            text: qsTr("激活充电")                                 // activate charging
            onClicked: activateDialog.open()
        }
        ToolTextButton {
            id: closeButton
            objectName: "batteryCloseButton"
            width: 160
            height: 40
            text: qsTr("关闭")                                     // close
            onClicked: {
                viewBaseModel.saveBatteryConfig()
                viewBaseModel.testConfig()
                page.closeClicked()
            }
        }
    }

    UserMessageDialog {
        id: activateDialog
        objectName: "activateDialog"
        parent: Overlay.overlay
        title: qsTr("系统提示")
        content: qsTr("是否需要激活充电？")                      // activate charging?
        onAccept: viewBaseModel.saveBattery(0)
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0

// The hardware configuration (title "硬件配置"), shown read-only: every field
// is disabled. It re-reads the device settings each time it is shown and on
// every configuration notification. "电池配置" opens the battery page,
// "关闭" closes this one.
Item {
    id: page

    readonly property alias deviceModel: deviceModel
    readonly property alias deviceCode: deviceCode
    readonly property alias tAlarm: tAlarm
    readonly property alias tResume: tResume
    readonly property alias vMaxRange: vMaxRange
    readonly property alias vLevel: vLevel
    readonly property alias iMaxRange: iMaxRange
    readonly property alias iLevel: iLevel
    readonly property alias voltageThree: voltageThree
    readonly property alias voltageFour: voltageFour
    readonly property alias currentThree: currentThree
    readonly property alias currentFour: currentFour
    readonly property alias powerAmpType: powerAmpType
    readonly property alias auxDCType: auxDCType
    readonly property alias auxDCMax: auxDCMax
    readonly property alias auxDCLevelLow: auxDCLevelLow
    readonly property alias auxDCLevelHigh: auxDCLevelHigh
    readonly property alias auxDCEnable: auxDCEnable
    readonly property alias batteryButton: batteryButton
    readonly property alias closeButton: closeButton
    property bool auxDCAdjustable: true
    readonly property int leftLabelWidth: 176
    readonly property int leftBoxWidth: 190
    readonly property int rightLabelWidth: 170
    readonly property int rightBoxWidth: 190

    signal batteryClicked()
    signal closeClicked()

    function refresh() {
        deviceModel.setDataValue(viewBaseModel.getDeviceModel())
        deviceCode.setDataValue(viewBaseModel.getDeviceCode())
        tAlarm.show(viewBaseModel.getDeviceTAlarm())
        tResume.show(viewBaseModel.getDeviceTResume())
        vMaxRange.show(viewBaseModel.getDeviceAOVMaxRange())
        vLevel.show(viewBaseModel.getDeviceAOVLevelSmallRange())
        iMaxRange.show(viewBaseModel.getDeviceAOIMaxRange())
        iLevel.show(viewBaseModel.getDeviceAOILevelSmallRange())
        var voltagePhases = viewBaseModel.getVoltagePhasesType()
        voltageThree.checked = voltagePhases === ViewBaseModel.PHASES_TYPE_THREE
        voltageFour.checked = voltagePhases === ViewBaseModel.PHASES_TYPE_FOUR
        currentThree.checked = viewBaseModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_THREE
        powerAmpType.setDataValue(viewBaseModel.getDevicePowerAmpType())
        var type = viewBaseModel.getDeviceAuxDCType()
        auxDCType.setDataValue(type)
        auxDCAdjustable = type !== 0
        auxDCMax.show(viewBaseModel.getDeviceAuxDCMaxValue())
        var level = viewBaseModel.getDeviceAuxDCLevelType()
        auxDCLevelLow.checked = level === 0
        auxDCLevelHigh.checked = level !== 0
        auxDCEnable.checked = viewBaseModel.getDeviceAuxDCEnable()
    }

    onVisibleChanged: {
        if (visible) {
            refresh()
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
            if (dataType === ViewBaseModel.DATA_TYPE_SYSTEM_CONFIG && page.visible)
                page.refresh()
        }
    }

    // The fields: a read-only view.
    Item {
        id: fields
        objectName: "hardwareFields"
        anchors.fill: parent
        enabled: false

        Column {
            x: 4
            y: 8
            spacing: 2

            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: page.leftLabelWidth
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("机器型号:")                      // model
                }
                EditTextBox {
                    id: deviceModel
                    objectName: "deviceModel"
                    width: page.leftBoxWidth
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                    quick1Value: "ZOR"
                    quick2Value: "ZIZ"
                }
            }
            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: page.leftLabelWidth
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("机器编号:")                      // serial number
                }
                EditTextBox {
                    id: deviceCode
                    objectName: "deviceCode"
                    width: page.leftBoxWidth
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
            SettingNumberRow {
                id: tAlarm
                objectName: "tAlarm"
                labelWidth: page.leftLabelWidth
                boxWidth: page.leftBoxWidth
                label: qsTr("保护温度:")                          // protection temperature
                box.unit: "℃"
                box.dataPrecision: 0
                box.dataMin: 10
                box.dataMax: 100
            }
            SettingNumberRow {
                id: tResume
                objectName: "tResume"
                labelWidth: page.leftLabelWidth
                boxWidth: page.leftBoxWidth
                label: qsTr("恢复温度:")                          // resume temperature
                box.unit: "℃"
                box.dataPrecision: 0
                box.dataMin: 10
                box.dataMax: 100
            }
            SettingNumberRow {
                id: vMaxRange
                objectName: "vMaxRange"
                labelWidth: page.leftLabelWidth
                boxWidth: page.leftBoxWidth
                label: qsTr("最大输出电压:")                      // largest output voltage
                box.unit: "V"
                box.dataMin: 0
                box.dataMax: 600
            }
            SettingNumberRow {
                id: vLevel
                objectName: "vLevel"
                labelWidth: page.leftLabelWidth
                boxWidth: page.leftBoxWidth
                label: qsTr("电压档位:")                          // voltage range step
                box.unit: "V"
                box.dataMin: 0
                box.dataMax: 600
            }
            SettingNumberRow {
                id: iMaxRange
                objectName: "iMaxRange"
                labelWidth: page.leftLabelWidth
                boxWidth: page.leftBoxWidth
                label: qsTr("最大输出电流:")                      // largest output current
                box.unit: "A"
                box.dataMin: 0
                box.dataMax: 30
            }
            SettingNumberRow {
                id: iLevel
                objectName: "iLevel"
                labelWidth: page.leftLabelWidth
                boxWidth: page.leftBoxWidth
                label: qsTr("电流档位:")                          // current range step
                box.unit: "A"
                box.dataMin: 0
                box.dataMax: 30
            }
        }

        Column {
            x: 410
            y: 8
            spacing: 2

            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: page.rightLabelWidth
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("电压功放相数:")                  // voltage amplifier phases
                }
                ToolCheckBox { id: voltageThree; objectName: "voltageThree"; height: 40; text: "3" }
                ToolCheckBox { id: voltageFour; objectName: "voltageFour"; height: 40; text: "4" }
            }
            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: page.rightLabelWidth
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("电流功放相数:")                  // current amplifier phases
                }
                ToolCheckBox { id: currentThree; objectName: "currentThree"; height: 40; text: "3" }
                ToolCheckBox { id: currentFour; objectName: "currentFour"; height: 40; text: "4"; visible: false }
            }
            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: page.rightLabelWidth
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("功放类型") + ":"                  // amplifier type
                }
                ToolComboBox {
                    id: powerAmpType
                    objectName: "powerAmpType"
                    width: page.rightBoxWidth
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                    // Analogue, digital.
                    model: [qsTr("模拟功放"), qsTr("数字功放")]
                }
            }
            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: page.rightLabelWidth
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("AuxDC Type") + ":"
                }
                ToolComboBox {
                    id: auxDCType
                    objectName: "auxDCType"
                    width: page.rightBoxWidth
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                    model: [qsTr("Constant"), qsTr("Adjustable")]
                }
            }
            // Adjustable type: the largest value; constant type: the pair of levels.
            SettingNumberRow {
                id: auxDCMax
                objectName: "auxDCMax"
                visible: page.auxDCAdjustable
                labelWidth: page.rightLabelWidth
                boxWidth: page.rightBoxWidth
                label: qsTr("AuxDC Max") + ":"
                box.unit: "V"
                box.dataMin: 0
                box.dataMax: 350
                box.quick1Value: "300.0"
                box.quick2Value: "350.0"
            }
            // The pair of levels ends where the fields above end.
            Row {
                x: page.rightLabelWidth + 6 + page.rightBoxWidth - width
                visible: !page.auxDCAdjustable
                height: 40
                spacing: 6
                ToolRadioButton { id: auxDCLevelLow; objectName: "auxDCLevelLow"; height: 40; text: "24/48V" }
                ToolRadioButton { id: auxDCLevelHigh; objectName: "auxDCLevelHigh"; height: 40; text: "110/220V" }
            }
            Row {
                height: 40
                spacing: 6
                Item { width: page.rightLabelWidth; height: 1 }
                ToolCheckBox { id: auxDCEnable; objectName: "auxDCEnable"; height: 40; text: qsTr("AuxDC Enable") }
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 8
        spacing: 20

        ToolTextButton {
            id: batteryButton
            objectName: "batteryButton"
            width: 160
            height: 40
            text: qsTr("电池配置")                                 // battery configuration
            onClicked: page.batteryClicked()
        }
        ToolTextButton {
            id: closeButton
            objectName: "hardwareCloseButton"
            width: 160
            height: 40
            text: qsTr("关闭")                                     // close
            onClicked: page.closeClicked()
        }
    }
}

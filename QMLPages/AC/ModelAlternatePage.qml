import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewAlternateModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The AC output test page on the module page frame (which carries the page
// protocol, the bottom bar, the file flow and the messages). Everything it
// shows comes from its view model (viewAlternateModel), everything it does
// goes through the model's invokables.
//
// Regions: the output table (amplitude, angle, frequency of UA..IX), the
// "参数设置" tab (step, end value, "+" / "-", fault calculator, auto ramp,
// ramped group, item and mode), the "触发逻辑" tab and the result area.
ModulePageFrame {
    id: page

    viewModel: viewAlternateModel
    testType: ViewBaseModel.TEST_ALTERNATE
    fileModule: "AC_"
    triggerPanel: triggerPanel

    // The rows of the ramped-group list (UX and IX only on four-phase units).
    property var rampPortList: []
    property bool autoMode: false
    property int actionType: ViewBaseModel.ACTION_TYPE_STOP
    property int actionItem: ViewBaseModel.RAMP_ITEM_TYPE_RANGE
    property bool uxVisible: false
    property bool ixVisible: false
    property real maxVoltage: 300
    property real maxCurrent: 10

    readonly property bool returnShown: autoMode && actionType === ViewBaseModel.ACTION_TYPE_RETURN
    readonly property bool steppingEnabled: running ? (!autoMode && runEnabled) : (autoMode && runEnabled)

    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var allRampPorts: ["UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                                         "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"]

    // For the tests and the gallery.
    readonly property alias distanceDialog: distanceDialog

    ViewAlternateModel {
        id: viewAlternateModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    // Unit of the ramped group and item.
    function itemUnit() {
        if (actionItem === ViewBaseModel.RAMP_ITEM_TYPE_ANGLE)
            return "°"
        if (actionItem === ViewBaseModel.RAMP_ITEM_TYPE_FREQUENCY)
            return "Hz"
        return rampGroupIsVoltage() ? "V" : "A"
    }

    // The chosen list row is a voltage group (rows up to UAUBUC).
    function rampGroupIsVoltage() {
        return viewAlternateModel.getFaultActionPort() <= (uxVisible ? 7 : 6)
    }

    // ---- Frame hooks -------------------------------------------------------------------
    // Input limits and the rows that exist on this unit.
    function initControls() {
        maxVoltage = viewAlternateModel.getDeviceAOVMaxRange()
        maxCurrent = viewAlternateModel.getDeviceAOIMaxRange()
        var volFour = viewAlternateModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        var curFour = viewAlternateModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        uxVisible = volFour
        ixVisible = curFour
        var list = []
        for (var g = 0; g < allRampPorts.length; ++g) {
            if ((g === ViewBaseModel.RAMP_PORT_TYPE_UX && !volFour) || (g === ViewBaseModel.RAMP_PORT_TYPE_IX && !curFour))
                continue
            list.push(allRampPorts[g])
        }
        rampPortList = list
    }

    function loadControls() {
        autoMode = viewAlternateModel.getAutoRampEnabled()
        actionType = viewAlternateModel.getFaultActionType()
        updateControlLimit()
        for (var p = 0; p < 8; ++p) {
            var row = outputRows.itemAt(p)
            if (!row)
                continue
            row.rangeBox.setDataValue(viewAlternateModel.getOutputRange(p))
            row.angleBox.setDataValue(viewAlternateModel.getOutputAngle(p))
            row.frequencyBox.setDataValue(viewAlternateModel.getOutputFrequency(p))
        }
        updateResult()
        autoCheck.checked = autoMode
        modeBox.setDataValue(autoMode || actionType === ViewBaseModel.ACTION_TYPE_STOP ? actionType : 1)
        stepBox.setDataValue(viewAlternateModel.getRampStepValue())
        endBox.setDataValue(viewAlternateModel.getEndRampValue())
        autoTimeBox.setDataValue(viewAlternateModel.getRampTimeValue())
        variableBox.setDataValue(viewAlternateModel.getFaultActionPort())
        itemBox.setDataValue(actionItem)
    }

    // An automatic ramp locks the outputs and the calculator.
    function lockedWhileRunning() {
        return viewAlternateModel.getAutoRampEnabled()
    }

    // In automatic mode "开始" ramps upwards.
    function prepareStart() {
        return !viewAlternateModel.getAutoRampEnabled() || viewAlternateModel.quickChange(true)
    }

    // Limits, quick values and units of the end and step values by item.
    function updateControlLimit() {
        actionItem = viewAlternateModel.getFaultActionItem()
        if (actionItem === ViewBaseModel.RAMP_ITEM_TYPE_ANGLE) {
            endBox.quick1Value = "180.0"
            endBox.quick2Value = "270.0"
            endBox.dataMin = -360
            endBox.dataMax = 360
        } else if (actionItem === ViewBaseModel.RAMP_ITEM_TYPE_FREQUENCY) {
            var rateF = viewAlternateModel.getRateFrequency()
            endBox.quick1Value = formatted(rateF)
            endBox.quick2Value = formatted(rateF * 2)
            endBox.dataMin = viewAlternateModel.minOutputFrequency
            endBox.dataMax = viewAlternateModel.maxOutputFrequency
        } else if (rampGroupIsVoltage()) {
            endBox.quick1Value = formatted(viewAlternateModel.getRateVRange())
            endBox.quick2Value = formatted(maxVoltage)
            endBox.dataMin = 0
            endBox.dataMax = maxVoltage
        } else {
            endBox.quick1Value = formatted(viewAlternateModel.getRateIRange() / 10)
            endBox.quick2Value = formatted(maxCurrent)
            endBox.dataMin = 0
            endBox.dataMax = maxCurrent
        }
        endBox.unit = itemUnit()
        stepBox.unit = endBox.unit
    }

    function updateResult() {
        var fields = [actionValueField, actionTimeField, returnValueField, returnTimeField, factorField]
        if (viewAlternateModel.getTestState() === -1) {
            for (var i = 0; i < fields.length; ++i)
                fields[i].text = ""
            return
        }
        var none = viewAlternateModel.getNoActionText()
        var action = viewAlternateModel.isExistFaultActionValue(0)
        var back = viewAlternateModel.isExistFaultActionValue(1)
        actionValueField.text = action ? viewAlternateModel.getFaultActionValue(0) : none
        actionTimeField.text = action ? timeText(viewAlternateModel.getFaultActionTime(0)) : none
        returnValueField.text = back ? viewAlternateModel.getFaultActionValue(1) : none
        returnTimeField.text = back ? timeText(viewAlternateModel.getFaultActionTime(1)) : none
        factorField.text = action && back ? viewAlternateModel.getFaultActionFactor() : none
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterOutput(kind, port, value) {
        if (ViewUtilityHelper.qmlIsNaN(value))
            return
        var getters = [viewAlternateModel.getOutputRange, viewAlternateModel.getOutputAngle,
                       viewAlternateModel.getOutputFrequency]
        var setters = [viewAlternateModel.setOutputRange, viewAlternateModel.setOutputAngle,
                       viewAlternateModel.setOutputFrequency]
        if (value === getters[kind](port))
            return
        setters[kind](port, value)
        updateControlValue()
    }

    function openCalculator() {
        if (!distanceDialog.visible)
            distanceDialog.open()
    }

    function computerDistance() {
        if (!distanceDialog.accepted)
            return
        viewAlternateModel.doComputerDistance()
        updateControlValue()
    }

    // ---- 1. Output table -------------------------------------------------------------------------
    Column {
        id: outputTable
        objectName: "outputTable"
        x: 4
        y: 2
        width: 500
        height: (page.rowHeight + 2) * 8
        spacing: 2
        enabled: !page.locked

        Repeater {
            id: outputRows
            model: 8

            Row {
                id: outputRowItem

                readonly property int port: index
                readonly property bool voltage: index < 4
                readonly property bool fourth: index % 4 === 3
                readonly property alias rangeBox: rangeBox
                readonly property alias angleBox: angleBox
                readonly property alias frequencyBox: frequencyBox

                objectName: "outputRow" + index
                visible: !fourth || (voltage ? page.uxVisible : page.ixVisible)
                height: page.rowHeight
                spacing: 4

                LabelText {
                    width: 46
                    height: page.rowHeight
                    text: page.portNames[outputRowItem.port] + ":"
                    elide: Text.ElideNone
                }
                EditNumberBox {
                    id: rangeBox
                    objectName: "range" + outputRowItem.port
                    width: 146
                    height: page.rowHeight
                    unit: outputRowItem.voltage ? "V" : "A"
                    dataMin: 0
                    dataMax: outputRowItem.voltage ? page.maxVoltage : page.maxCurrent
                    dataAutoToLimit: true
                    signalEnable: true
                    quick1Value: qsTr("额定")                          // nominal
                    quick2Value: qsTr("平衡")                          // balance
                    onQuick1Clicked: page.applyAndReload(viewAlternateModel.setRateRange, outputRowItem.port)
                    onQuick2Clicked: page.applyAndReload(viewAlternateModel.setBalanceRange, outputRowItem.port)
                    onDataValueEntered: page.enterOutput(0, outputRowItem.port, dataValue)
                }
                EditNumberBox {
                    id: angleBox
                    objectName: "angle" + outputRowItem.port
                    width: 146
                    height: page.rowHeight
                    unit: "°"
                    dataPrecision: 3
                    dataMin: -360
                    dataMax: 360
                    dataAutoToLimit: true
                    signalEnable: !outputRowItem.fourth
                    quick1Value: outputRowItem.fourth ? "120.0" : qsTr("正序")   // positive sequence
                    quick2Value: outputRowItem.fourth ? "240.0" : qsTr("负序")   // negative sequence
                    quick3Value: outputRowItem.fourth ? "360.0" : ""
                    onQuick1Clicked: page.applyAndReload(viewAlternateModel.setPositiveAngle, outputRowItem.port, true)
                    onQuick2Clicked: page.applyAndReload(viewAlternateModel.setPositiveAngle, outputRowItem.port, false)
                    onDataValueEntered: page.enterOutput(1, outputRowItem.port, dataValue)
                }
                EditNumberBox {
                    id: frequencyBox
                    objectName: "frequency" + outputRowItem.port
                    width: 146
                    height: page.rowHeight
                    unit: "Hz"
                    unitWidth: 24
                    dataMin: viewAlternateModel.minOutputFrequency
                    dataMax: viewAlternateModel.maxOutputFrequency
                    dataAutoToLimit: true
                    signalEnable: true
                    quick1Value: qsTr("额定")
                    quick2Value: qsTr("平衡")
                    onQuick1Clicked: page.applyAndReload(viewAlternateModel.setRateFrequency, outputRowItem.port)
                    onQuick2Clicked: page.applyAndReload(viewAlternateModel.setBalanceFrequency, outputRowItem.port)
                    onDataValueEntered: page.enterOutput(2, outputRowItem.port, dataValue)
                }
            }
        }
    }

    // ---- 2. Setting and trigger tabs --------------------------------------------------------------
    Item {
        x: 508
        y: 2
        width: 288
        height: 272

        PageTabBar {
            id: tabBar
            width: parent.width
            tabs: [{ text: qsTr("参数设置"), name: "settingTabButton" },          // settings
                   { text: qsTr("触发逻辑"), name: "triggerTabButton" }]          // trigger
        }

        // Setting tab.
        LabelColumn {
            id: settingPanel
            objectName: "settingPanel"
            anchors.top: tabBar.bottom
            anchors.topMargin: 4
            width: parent.width
            spacing: 2
            visible: tabBar.currentIndex === 0
            minimumLabelWidth: 84

            readonly property int boxWidth: 118
            readonly property int buttonWidth: width - labelWidth - boxWidth - 8
            readonly property int comboWidth: width - labelWidth - 4

            component SettingRow: LabeledRow {
                labelHeight: page.rowHeight
            }

            SettingRow {
                label: qsTr("步长:")                                 // step
                labelPixelSize: page.tinyFontSize
                EditNumberBox {
                    id: stepBox
                    objectName: "stepBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    enabled: !page.running
                    dataMin: 0
                    dataMax: 300
                    dataAutoToLimit: true
                    quick1Value: "5.0"
                    quick2Value: "10.0"
                    quick3Value: "20.0"
                    onDataValueEntered: page.enterValue(dataValue, viewAlternateModel.getRampStepValue,
                                                        viewAlternateModel.setRampStepValue)
                }
                ToolTextButton {
                    objectName: "plusButton"
                    width: settingPanel.buttonWidth
                    height: page.rowHeight
                    text: "+"
                    enabled: page.steppingEnabled
                    onClicked: page.quickStep(true)
                }
            }

            SettingRow {
                label: qsTr("终值:")                                 // end value
                labelPixelSize: page.smallFontSize
                EditNumberBox {
                    id: endBox
                    objectName: "endBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    enabled: !page.running
                    dataAutoToLimit: true
                    onDataValueEntered: page.enterValue(dataValue, viewAlternateModel.getEndRampValue,
                                                        viewAlternateModel.setEndRampValue)
                }
                ToolTextButton {
                    objectName: "minusButton"
                    width: settingPanel.buttonWidth
                    height: page.rowHeight
                    text: "-"
                    enabled: page.steppingEnabled
                    onClicked: page.quickStep(false)
                }
            }

            Row {
                spacing: 4
                height: page.rowHeight
                ToolCheckBox {
                    id: autoCheck
                    objectName: "autoCheck"
                    width: 134
                    height: page.rowHeight
                    leftPadding: 0
                    text: qsTr("自动时间:")                              // automatic ramp, time per step
                    font.pixelSize: page.tinyFontSize
                    enabled: !page.running
                    onClicked: page.applyAndReload(viewAlternateModel.setAutoRampEnabled, checked)
                }
                EditNumberBox {
                    id: autoTimeBox
                    objectName: "autoTimeBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    unit: "s"
                    readOnly: !(page.autoMode && !page.running)
                    enabled: page.autoMode && !page.running
                    dataMin: 0
                    dataMax: 300
                    dataAutoToLimit: true
                    quick1Value: "0.1"
                    quick2Value: "1.0"
                    quick3Value: "10.0"
                    onDataValueEntered: page.enterValue(dataValue, viewAlternateModel.getRampTimeValue,
                                                        viewAlternateModel.setRampTimeValue)
                }
            }

            SettingRow {
                label: qsTr("变量选择:")                              // ramped group
                labelPixelSize: page.smallFontSize
                ToolComboBox {
                    id: variableBox
                    objectName: "variableBox"
                    width: settingPanel.comboWidth
                    height: page.rowHeight
                    model: page.rampPortList
                    enabled: !page.running
                    onActivated: page.applyAndReload(viewAlternateModel.setFaultActionPort, index)
                }
            }

            SettingRow {
                label: qsTr("测试项目:")                              // item
                labelPixelSize: page.tinyFontSize
                ToolComboBox {
                    id: itemBox
                    objectName: "itemBox"
                    width: settingPanel.comboWidth
                    height: page.rowHeight
                    model: [qsTr("幅值"), qsTr("相位"), qsTr("频率")]        // amplitude, phase, frequency
                    enabled: !page.running
                    onActivated: page.applyAndReload(viewAlternateModel.setFaultActionItem, index)
                }
            }

            SettingRow {
                label: qsTr("变化方式:")                              // mode
                labelPixelSize: page.tinyFontSize
                ToolComboBox {
                    id: modeBox
                    objectName: "modeBox"
                    width: settingPanel.comboWidth
                    height: page.rowHeight
                    // From-to, from-to-from, continuous; manual mode has no return.
                    model: page.autoMode ? [qsTr("动作停止"), qsTr("动作返回"), qsTr("持续输出")]
                                         : [qsTr("动作停止"), qsTr("持续输出")]
                    enabled: !page.running
                    onActivated: page.applyAndReload(viewAlternateModel.setFaultActionType, index)
                }
            }

            Item {
                width: parent.width
                height: page.rowHeight
                ToolTextButton {
                    objectName: "calcButton"
                    width: 118
                    height: 28
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("故障计算")                              // fault calculator
                    enabled: !page.locked
                    onClicked: page.openCalculator()
                }
            }
        }

        PageTriggerPanel {
            id: triggerPanel
            objectName: "triggerPanel"
            anchors.top: tabBar.bottom
            anchors.topMargin: 8
            width: parent.width
            visible: tabBar.currentIndex === 1
            enabled: !page.running
            viewModel: viewAlternateModel
            rowHeight: page.rowHeight
            labelPixelSize: page.smallFontSize
            optionPixelSize: page.tinyFontSize
        }
    }

    // ---- 3. Result area --------------------------------------------------------------------------------
    LabelColumn {
        id: resultArea
        objectName: "resultArea"
        x: 4
        y: 278
        width: 791
        height: 94
        spacing: 2
        minimumLabelWidth: 116

        readonly property int fieldWidth: (width - labelWidth - 8) / 2

        LabeledRow {
            label: qsTr("动作值")                                      // trip value
            labelPixelSize: page.smallFontSize
            ResultField { id: actionValueField; objectName: "actionValueField"; width: resultArea.fieldWidth }
            ResultField {
                id: returnValueField
                objectName: "returnValueField"
                width: resultArea.fieldWidth
                visible: page.returnShown
            }
        }
        LabeledRow {
            label: qsTr("动作时间")                                    // trip time
            labelPixelSize: page.smallFontSize
            ResultField { id: actionTimeField; objectName: "actionTimeField"; width: resultArea.fieldWidth }
            ResultField {
                id: returnTimeField
                objectName: "returnTimeField"
                width: resultArea.fieldWidth
                visible: page.returnShown
            }
        }
        LabeledRow {
            visible: page.returnShown
            label: qsTr("返回系数")                                    // return coefficient
            labelPixelSize: page.smallFontSize
            ResultField { id: factorField; objectName: "factorField"; width: resultArea.fieldWidth }
        }
    }

    // ---- Fault calculator ------------------------------------------------------------------------------
    ComputerDistanceDialog {
        id: distanceDialog
        objectName: "distanceDialog"
        visible: false
        closePolicy: Popup.NoAutoClose
        onAccept: page.computerDistance()
    }
}

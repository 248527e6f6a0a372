import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewDirectModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The DC output test page on the module page frame (which carries the page
// protocol, the bottom bar, the file flow and the messages). Everything it
// shows comes from its view model (viewDirectModel), everything it does goes
// through the model's invokables.
//
// Regions: the output grid (amplitudes of UA..IX; the angle and frequency of
// a DC channel are shown, never edited), the "参数设置" tab (step, end value,
// "+" / "-", auto ramp, ramped channel or group, item and mode), the "触发逻辑"
// tab and the result area. A unit with a digital current amplifier drives one
// current channel: IB, IC and IX are not offered.
ModulePageFrame {
    id: page

    viewModel: viewDirectModel
    testType: ViewBaseModel.TEST_DIRECT
    fileModule: "DC_"
    triggerPanel: triggerPanel

    // The rows of the ramped-group list.
    property var rampPortList: []
    property bool autoMode: false
    property int actionType: ViewBaseModel.ACTION_TYPE_STOP
    property bool uxVisible: false
    property bool ixVisible: false
    property bool singleCurrent: false
    property real maxVoltage: 300
    property real maxCurrent: 5

    readonly property bool returnShown: autoMode && actionType === ViewBaseModel.ACTION_TYPE_RETURN
    readonly property bool steppingEnabled: running ? (!autoMode && runEnabled) : (autoMode && runEnabled)
    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]

    ViewDirectModel {
        id: viewDirectModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    // The chosen list row is a voltage group (rows up to UAUBUC).
    function rampGroupIsVoltage() {
        return viewDirectModel.getFaultActionPort() <= (uxVisible ? 4 : 3)
    }

    function rowShown(port) {
        if (port === 3)
            return uxVisible
        if (port === 5 || port === 6)
            return !singleCurrent
        if (port === 7)
            return ixVisible && !singleCurrent
        return true
    }

    // ---- Frame hooks -------------------------------------------------------------------
    // Input limits and the rows that exist on this unit.
    function initControls() {
        maxVoltage = viewDirectModel.getDeviceAOVMaxRange()
        maxCurrent = viewDirectModel.getDeviceAOIMaxRange() / 2
        uxVisible = viewDirectModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        ixVisible = viewDirectModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        singleCurrent = viewDirectModel.getDevicePowerAmpType() !== 0
        var list = uxVisible ? ["UA", "UB", "UC", "UX", "UAUBUC"] : ["UA", "UB", "UC", "UAUBUC"]
        if (singleCurrent) {
            list.push("IA")
            // A group this unit cannot drive becomes UA.
            if (viewDirectModel.getFaultActionPort() > list.length - 1)
                viewDirectModel.setFaultActionPort(0)
        } else {
            list = list.concat(ixVisible ? ["IA", "IB", "IC", "IX", "IAIBIC"] : ["IA", "IB", "IC", "IAIBIC"])
        }
        rampPortList = list
    }

    function loadControls() {
        autoMode = viewDirectModel.getAutoRampEnabled()
        actionType = viewDirectModel.getFaultActionType()
        updateControlLimit()
        for (var p = 0; p < 8; ++p) {
            var row = outputRows.itemAt(p)
            if (!row)
                continue
            row.rangeBox.setDataValue(viewDirectModel.getOutputRange(p))
            row.angleBox.setDataValue(viewDirectModel.getOutputAngle(p))
            row.frequencyBox.setDataValue(viewDirectModel.getOutputFrequency(p))
        }
        updateResult()
        autoCheck.checked = autoMode
        itemBox.setDataValue(0)
        variableBox.setDataValue(viewDirectModel.getFaultActionPort())
        modeBox.setDataValue(autoMode || actionType === ViewBaseModel.ACTION_TYPE_STOP ? actionType : 1)
        stepBox.setDataValue(viewDirectModel.getRampStepValue())
        endBox.setDataValue(viewDirectModel.getEndRampValue())
        autoTimeBox.setDataValue(viewDirectModel.getRampTimeValue())
    }

    // An automatic ramp locks the outputs.
    function lockedWhileRunning() {
        return viewDirectModel.getAutoRampEnabled()
    }

    // In automatic mode "开始" ramps upwards.
    function prepareStart() {
        return !viewDirectModel.getAutoRampEnabled() || viewDirectModel.quickChange(true)
    }

    // Limits, quick values and unit of the end value (and the step's unit) by group.
    function updateControlLimit() {
        if (rampGroupIsVoltage()) {
            endBox.quick1Value = formatted(viewDirectModel.getRateVRange())
            endBox.quick2Value = formatted(maxVoltage)
            endBox.dataMax = maxVoltage
            endBox.unit = "V"
        } else {
            endBox.quick1Value = formatted(viewDirectModel.getRateIRange() / 10)
            endBox.quick2Value = formatted(maxCurrent)
            endBox.dataMax = maxCurrent
            endBox.unit = "A"
        }
        stepBox.unit = endBox.unit
    }

    function updateResult() {
        var fields = [actionValueField, actionTimeField, returnValueField, returnTimeField]
        var state = viewDirectModel.getTestState()
        var none = viewDirectModel.getNoActionText()
        for (var i = 0; i < fields.length; ++i)
            fields[i].text = state === -1 ? "" : none
        if (state !== -1 && viewDirectModel.isExistFaultActionValue(0)) {
            actionValueField.text = viewDirectModel.getFaultActionValue(0)
            actionTimeField.text = timeText(viewDirectModel.getFaultActionTime(0))
        }
        if (state !== -1 && viewDirectModel.isExistFaultActionValue(1)) {
            returnValueField.text = viewDirectModel.getFaultActionValue(1)
            returnTimeField.text = timeText(viewDirectModel.getFaultActionTime(1))
        }
        factorField.text = viewDirectModel.getFaultActionFactor()
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterRange(port, value) {
        if (ViewUtilityHelper.qmlIsNaN(value) || value === viewDirectModel.getOutputRange(port))
            return
        viewDirectModel.setOutputRange(port, value)
        updateControlValue()
    }

    // ---- 1. Output grid ---------------------------------------------------------------------------
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
                readonly property alias rangeBox: rangeBox
                readonly property alias angleBox: angleBox
                readonly property alias frequencyBox: frequencyBox

                objectName: "outputRow" + index
                visible: page.rowShown(index)
                height: page.rowHeight
                spacing: 2

                LabelText {
                    width: 44
                    height: page.rowHeight
                    text: page.portNames[outputRowItem.port] + ":"
                    elide: Text.ElideNone
                }
                EditNumberBox {
                    id: rangeBox
                    objectName: "range" + outputRowItem.port
                    width: 156
                    height: page.rowHeight
                    unit: outputRowItem.voltage ? "V" : "A"
                    dataMin: 0
                    dataMax: outputRowItem.voltage ? page.maxVoltage : page.maxCurrent
                    dataAutoToLimit: true
                    signalEnable: true
                    quick1Value: qsTr("额定")                          // nominal
                    quick2Value: qsTr("平衡")                          // balance
                    quick3Value: ""
                    onQuick1Clicked: page.applyAndReload(viewDirectModel.setRateRange, outputRowItem.port)
                    onQuick2Clicked: page.applyAndReload(viewDirectModel.setBalanceRange, outputRowItem.port)
                    onDataValueEntered: page.enterRange(outputRowItem.port, dataValue)
                }
                // A DC channel's angle and frequency: shown, never edited.
                EditNumberBox {
                    id: angleBox
                    objectName: "angle" + outputRowItem.port
                    width: 136
                    height: page.rowHeight
                    unit: "°"
                    dataPrecision: 3
                    enabled: false
                    readOnly: true
                }
                EditNumberBox {
                    id: frequencyBox
                    objectName: "frequency" + outputRowItem.port
                    width: 156
                    height: page.rowHeight
                    unit: "Hz"
                    unitWidth: 24
                    enabled: false
                    readOnly: true
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
            spacing: 4
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
                    onDataValueEntered: page.enterValue(dataValue, viewDirectModel.getRampStepValue,
                                                        viewDirectModel.setRampStepValue)
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
                    dataMin: 0
                    dataAutoToLimit: true
                    onDataValueEntered: page.enterValue(dataValue, viewDirectModel.getEndRampValue,
                                                        viewDirectModel.setEndRampValue)
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
                    onClicked: {
                        if (checked !== viewDirectModel.getAutoRampEnabled())
                            page.applyAndReload(viewDirectModel.setAutoRampEnabled, checked)
                    }
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
                    onDataValueEntered: page.enterValue(dataValue, viewDirectModel.getRampTimeValue,
                                                        viewDirectModel.setRampTimeValue)
                }
            }

            SettingRow {
                label: qsTr("变量选择:")                              // ramped channel or group
                labelPixelSize: page.smallFontSize
                ToolComboBox {
                    id: variableBox
                    objectName: "variableBox"
                    width: settingPanel.comboWidth
                    height: page.rowHeight
                    model: page.rampPortList
                    enabled: !page.running
                    onActivated: {
                        if (index !== viewDirectModel.getFaultActionPort())
                            page.applyAndReload(viewDirectModel.setFaultActionPort, index)
                    }
                }
            }

            SettingRow {
                label: qsTr("测试项目:")                              // item: the amplitude only
                labelPixelSize: page.tinyFontSize
                ToolComboBox {
                    id: itemBox
                    objectName: "itemBox"
                    width: settingPanel.comboWidth
                    height: page.rowHeight
                    model: [qsTr("幅值")]                              // amplitude
                    enabled: false
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
                    onActivated: page.applyAndReload(viewDirectModel.setFaultActionType, index)
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
            viewModel: viewDirectModel
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
        // The coefficient sits under the return column.
        LabeledRow {
            visible: page.returnShown
            labelWidth: resultArea.labelWidth + resultArea.fieldWidth + 4
            label: qsTr("返回系数")                                    // return coefficient
            labelPixelSize: page.smallFontSize
            ResultField { id: factorField; objectName: "factorField"; width: resultArea.fieldWidth }
        }
    }
}

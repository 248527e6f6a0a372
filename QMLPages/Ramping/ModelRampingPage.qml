import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewRampingModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"
import "../Common/ColumnFit.js" as ColumnFit

// The ramping test page on the module page frame (which carries the page
// protocol, the bottom bar, the file flow and the messages). Everything it
// shows comes from its view model (viewRampingModel), everything it does goes
// through the model's invokables.
//
// Regions: the parameter area (hidden and shown by the result title) with
// the outputs of the edit buffer (voltage and current tabs) and the
// "参数设置" / "触发逻辑" tabs; the result list, one row per state, whose
// selection is the active state; a double click edits the state's setting
// time or deviation. The ramp settings become a state only with "添加".
ModulePageFrame {
    id: page

    viewModel: viewRampingModel
    testType: ViewBaseModel.TEST_RAMPING
    fileModule: "Ramping_"
    triggerPanel: triggerPanel

    // The rows of the variable list (UX and IX only on four-phase units).
    property var rampPortList: []
    property bool uxVisible: false
    property bool ixVisible: false
    property bool parametersShown: true
    property real maxVoltage: 300
    property real maxCurrent: 10
    property real rateVoltage: 57.735
    property real rateCurrent: 1
    property real rateFrequency: 50
    // The result-list column whose input dialog is open: 3 setting time, 4 deviation.
    property int columnIndex: 3
    property int statesCount: 0
    property int activeIndex: -1
    // Bumped on every reload: the result cells read the model again.
    property int revision: 0

    readonly property int itemHeight: parametersShown ? 32 : 42
    // The outputs' half of the parameter area is narrow: a smaller font.
    readonly property int outputFontSize: globalConfiguration.customFontL3Size
    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var allRampPorts: ["UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                                         "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"]
    readonly property var columnWidths: [27, 85, 89, 85, 70, 150, 137, 39, 109]
    readonly property var listTitles: [statesCount > 0 ? String(statesCount) : "", qsTr("变量"), qsTr("功能"),
                                       qsTr("整定时间"), qsTr("偏差"), qsTr("动作时间"), qsTr("动作值"), qsTr("开入"),
                                       qsTr("结果")]  // variable, function, T.nom, dev, trip time, trip value, DI, result
    // The result list at one size, titles and cells: the largest up to the
    // page's at which every title and every cell fits its column.
    readonly property int listPixelSize: {
        var scale = 1
        for (var c = 0; c < columnWidths.length; ++c) {
            var widest = listTitleMetrics.advanceWidth(listTitles[c])
            for (var row = 0; revision >= 0 && row < statesCount; ++row)
                widest = Math.max(widest, listMetrics.advanceWidth(cellText(row, c)))
            if (widest > 0)
                scale = Math.min(scale, (columnWidths[c] - 6) / widest)
        }
        return Math.max(ColumnFit.smallestPixelSize, Math.min(tinyFontSize, Math.floor(tinyFontSize * scale)))
    }
    readonly property alias inputDialog: inputDialog

    ViewRampingModel {
        id: viewRampingModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    // A variable-list row is a voltage group (rows up to UAUBUC).
    function rowIsVoltage(row) {
        return row <= (uxVisible ? 7 : 6)
    }

    // The unit of an item on a variable-list row.
    function unitOf(row, item) {
        if (item === ViewBaseModel.RAMP_ITEM_TYPE_ANGLE)
            return "°"
        if (item === ViewBaseModel.RAMP_ITEM_TYPE_FREQUENCY)
            return "Hz"
        return rowIsVoltage(row) ? "V" : "A"
    }

    function rowShown(port) {
        if (port === 3)
            return uxVisible
        if (port === 7)
            return ixVisible
        return true
    }

    // The text of result cell `column` of state `line`.
    function cellText(line, column) {
        var m = viewRampingModel
        var state = m.getTestStates(line)
        var completed = state === ViewBaseModel.AO_STATE_TYPE_COMPLETED
        var time = m.getActionTimes(line)
        var none = m.getTripTimeWord(line)                           // not reset, no action
        var acted = none === "" && !ViewUtilityHelper.qmlIsNaN(time) && time > 0
        switch (column) {
        case 0: return String(line + 1)
        case 1: return rampPortList[m.getFaultActionPort(line)] || ""
        case 2: return String(m.getFunction(line))
        case 3: return formatted(m.getSettingTimes(line)) + "s"
        case 4: return formatted(m.getDevTimes(line)) + "s"
        case 5: return acted ? timeText(time) : none
        case 6: return acted ? m.getActionValue(line) + m.getUnitText(line) : none
        case 7:
            var input = m.getBinaryInputIndex(line)
            return input > 0 ? String(input) : (completed ? "--" : "")
        default:
            if (state === ViewBaseModel.AO_STATE_TYPE_INITING)
                return qsTr("未测试")                                  // not tested
            if (state === ViewBaseModel.AO_STATE_TYPE_RUNNNING)
                return qsTr("测试中")                                  // testing
            if (m.getRelayNotReset(line))
                return qsTr("未复归")                                  // relay not reset
            return m.getTestResults(line) === ViewBaseModel.AO_Result_TYPE_SUCCESS ? qsTr("通过")   // passed
                                                                                    : qsTr("失败")   // failed
        }
    }

    // ---- Frame hooks -------------------------------------------------------------------
    function initControls() {
        maxVoltage = viewRampingModel.getDeviceAOVMaxRange()
        maxCurrent = viewRampingModel.getDeviceAOIMaxRange()
        rateVoltage = viewRampingModel.getRateVRange()
        rateCurrent = viewRampingModel.getRateIRange()
        rateFrequency = viewRampingModel.getRateFrequency()
        uxVisible = viewRampingModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        ixVisible = viewRampingModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        var list = []
        for (var g = 0; g < allRampPorts.length; ++g) {
            if ((g === 3 && !uxVisible) || (g === 11 && !ixVisible))
                continue
            list.push(allRampPorts[g])
        }
        rampPortList = list
    }

    function loadControls() {
        updateControlLimit()
        for (var p = 0; p < 8; ++p) {
            var row = outputRows.itemAt(p)
            if (!row)
                continue
            row.rangeBox.setDataValue(viewRampingModel.getOutputRange(p))
            row.angleBox.setDataValue(viewRampingModel.getOutputAngle(p))
            row.frequencyBox.setDataValue(viewRampingModel.getOutputFrequency(p))
        }
        itemBox.setDataValue(viewRampingModel.getFaultActionItem())
        variableBox.setDataValue(viewRampingModel.getFaultActionPort())
        linkBox.setDataValue(viewRampingModel.getLinkStateType() === ViewBaseModel.AO_LINKSTATE_TYPE_CONTINUE ? 0 : 1)
        endBox.setDataValue(viewRampingModel.getEndRampValue())
        stepBox.setDataValue(viewRampingModel.getRampStepValue())
        stepTimeBox.setDataValue(viewRampingModel.getStepTimeValue())
        normalCheck.checked = viewRampingModel.getNormalEnable()
        normalTimeBox.setDataValue(viewRampingModel.getNormalTime())
        intervalCheck.checked = viewRampingModel.getIntervalEnable()
        intervalTimeBox.setDataValue(viewRampingModel.getIntervalTime())
        onceCheck.checked = viewRampingModel.getOutputOnceOnly()
        functionBox.setDataValue(viewRampingModel.getFunction(-1))
        statesCount = viewRampingModel.getStatesCount()
        activeIndex = viewRampingModel.getActiveIndex()
        triggerPanel.stateIndex = activeIndex
        revision++
        resultList.currentIndex = activeIndex
        if (activeIndex >= 0)
            resultList.positionViewAtIndex(activeIndex, ListView.End)
    }

    // With no state there is nothing to start.
    function startAllowed() {
        return viewRampingModel.getStatesCount() > 0
    }

    // Limits, quick values and units of the end value and the step by item and variable.
    function updateControlLimit() {
        var item = viewRampingModel.getFaultActionItem()
        var row = viewRampingModel.getFaultActionPort()
        var unit = unitOf(row, item)
        var limit
        if (item === ViewBaseModel.RAMP_ITEM_TYPE_ANGLE) {
            endBox.dataMin = -360
            endBox.dataMax = 360
            endBox.quick1Value = formatted(180)
            endBox.quick2Value = formatted(270)
            limit = 360
        } else if (item === ViewBaseModel.RAMP_ITEM_TYPE_FREQUENCY) {
            endBox.dataMin = viewRampingModel.minOutputFrequency
            endBox.dataMax = viewRampingModel.maxOutputFrequency
            endBox.quick1Value = formatted(rateFrequency)
            endBox.quick2Value = formatted(2 * rateFrequency)
            limit = viewRampingModel.maxOutputFrequency
        } else if (rowIsVoltage(row)) {
            endBox.dataMin = 0
            endBox.dataMax = maxVoltage
            endBox.quick1Value = formatted(rateVoltage)
            endBox.quick2Value = formatted(maxVoltage)
            limit = maxVoltage
        } else {
            endBox.dataMin = 0
            endBox.dataMax = maxCurrent
            endBox.quick1Value = formatted(rateCurrent / 10)
            endBox.quick2Value = formatted(maxCurrent)
            limit = maxCurrent
        }
        endBox.unit = unit
        stepBox.unit = unit
        stepBox.dataMin = -limit
        stepBox.dataMax = limit
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterOutput(value, getter, setter, port) {
        if (!ViewUtilityHelper.qmlIsNaN(value) && value !== getter(port))
            setter(port, value)
        updateControlValue()
    }

    function enterAndReload(value, getter, setter) {
        enterValue(value, getter, setter)
        updateControlValue()
    }

    function selectRow(row) {
        viewRampingModel.setActiveIndex(row)
        updateControlValue()
    }

    // A double click over the time and result columns: the setting time
    // (column 3) or the deviation (the columns right of it).
    function openRowDialog(row, column) {
        selectRow(row)
        columnIndex = column === 3 ? 3 : 4
        var value = columnIndex === 3 ? viewRampingModel.getSettingTimes(row) : viewRampingModel.getDevTimes(row)
        inputDialog.title = columnIndex === 3 ? qsTr("整定时间") : qsTr("偏差")   // T.nom, deviation
        inputDialog.setDataValue(value, "0.1", "0.5", 1000, 0, "s")
        inputDialog.open()
    }

    function acceptRowDialog(value) {
        if (viewRampingModel.getTestActiveType() !== ViewBaseModel.TEST_RAMPING || ViewUtilityHelper.qmlIsNaN(value))
            return
        var active = viewRampingModel.getActiveIndex()
        if (columnIndex === 3 && value !== viewRampingModel.getSettingTimes(active))
            viewRampingModel.setSettingTime(active, value)
        else if (columnIndex === 4 && value !== viewRampingModel.getDevTimes(active))
            viewRampingModel.setDevTime(active, value)
        updateControlValue()
    }

    Connections {
        target: viewRampingModel
        // The list follows the state the engine runs (three engine states per row).
        function onSigUpdateStateIndexToView(index) {
            if (viewRampingModel.getTestActiveType() !== ViewBaseModel.TEST_RAMPING
                    || viewRampingModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) === 0)
                return
            var cur = ViewUtilityHelper.doubleFormatToInt(index / 3)
            viewRampingModel.setActiveIndex(cur >= 0 && cur < viewRampingModel.getStatesCount() ? cur : 0)
            page.updateControlValue()
        }
    }

    // ---- 1. Parameter area ------------------------------------------------------------------------
    Item {
        id: parameterArea
        objectName: "parameterArea"
        x: 4
        y: 2
        width: 792
        height: 214
        visible: page.parametersShown

        // Outputs of the edit buffer.
        Column {
            id: outputBlock
            objectName: "outputBlock"
            width: 350
            spacing: 2
            enabled: !page.running

            PageTabBar {
                id: kindBar
                width: parent.width
                tabs: [{ text: qsTr("电压"), name: "voltageTabButton" },          // voltage
                       { text: qsTr("电流"), name: "currentTabButton" }]          // current
            }

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
                    visible: page.rowShown(index) && (voltage ? kindBar.currentIndex === 0 : kindBar.currentIndex === 1)
                    height: page.rowHeight
                    spacing: 2

                    LabelText {
                        width: 40
                        height: page.rowHeight
                        text: page.portNames[outputRowItem.port] + ":"
                        font.pixelSize: page.outputFontSize
                        elide: Text.ElideNone
                    }
                    EditNumberBox {
                        id: rangeBox
                        objectName: "range" + outputRowItem.port
                        font.pixelSize: page.outputFontSize
                        width: 100
                        height: page.rowHeight
                        unit: outputRowItem.voltage ? "V" : "A"
                        dataMin: 0
                        dataMax: outputRowItem.voltage ? page.maxVoltage : page.maxCurrent
                        dataAutoToLimit: true
                        signalEnable: true
                        enabled: page.revision >= 0 && viewRampingModel.getOutputEnable(outputRowItem.port, 0)
                        quick1Value: qsTr("额定")                          // nominal
                        quick2Value: qsTr("平衡")                          // balance
                        quick3Value: ""
                        onQuick1Clicked: page.applyAndReload(viewRampingModel.setRateRange, outputRowItem.port)
                        onQuick2Clicked: page.applyAndReload(viewRampingModel.setBalanceRange, outputRowItem.port)
                        onDataValueEntered: page.enterOutput(dataValue, viewRampingModel.getOutputRange,
                                                             viewRampingModel.setOutputRange, outputRowItem.port)
                    }
                    EditNumberBox {
                        id: angleBox
                        objectName: "angle" + outputRowItem.port
                        font.pixelSize: page.outputFontSize
                        width: 104
                        height: page.rowHeight
                        unit: "°"
                        dataPrecision: 3
                        dataMin: -360
                        dataMax: 360
                        dataAutoToLimit: true
                        signalEnable: true
                        enabled: page.revision >= 0 && viewRampingModel.getOutputEnable(outputRowItem.port, 1)
                        quick1Value: outputRowItem.fourth ? "" : qsTr("正序")      // positive sequence
                        quick2Value: outputRowItem.fourth ? "" : qsTr("负序")      // negative sequence
                        quick3Value: ""
                        onQuick1Clicked: page.applyAndReload(viewRampingModel.setPositiveAngle, outputRowItem.port, true)
                        onQuick2Clicked: page.applyAndReload(viewRampingModel.setPositiveAngle, outputRowItem.port, false)
                        onDataValueEntered: page.enterOutput(dataValue, viewRampingModel.getOutputAngle,
                                                             viewRampingModel.setOutputAngle, outputRowItem.port)
                    }
                    EditNumberBox {
                        id: frequencyBox
                        objectName: "frequency" + outputRowItem.port
                        font.pixelSize: page.outputFontSize
                        width: 98
                        height: page.rowHeight
                        unit: "Hz"
                        unitWidth: 24
                        dataMin: viewRampingModel.minOutputFrequency
                        dataMax: viewRampingModel.maxOutputFrequency
                        dataAutoToLimit: true
                        signalEnable: true
                        enabled: page.revision >= 0 && viewRampingModel.getOutputEnable(outputRowItem.port, 2)
                        quick1Value: qsTr("额定")
                        quick2Value: qsTr("平衡")
                        quick3Value: ""
                        onQuick1Clicked: page.applyAndReload(viewRampingModel.setRateFrequency, outputRowItem.port)
                        onQuick2Clicked: page.applyAndReload(viewRampingModel.setBalanceFrequency, outputRowItem.port)
                        onDataValueEntered: page.enterOutput(dataValue, viewRampingModel.getOutputFrequency,
                                                             viewRampingModel.setOutputFrequency, outputRowItem.port)
                    }
                }
            }
        }

        // Setting and trigger tabs.
        Item {
            x: 356
            width: 436
            height: parent.height

            PageTabBar {
                id: tabBar
                width: parent.width
                tabs: [{ text: qsTr("参数设置"), name: "settingTabButton" },          // settings
                       { text: qsTr("触发逻辑"), name: "triggerTabButton" }]          // trigger
            }

            Row {
                id: settingPanel
                objectName: "settingPanel"
                anchors.top: tabBar.bottom
                anchors.topMargin: 4
                width: parent.width
                spacing: 6
                visible: tabBar.currentIndex === 0
                enabled: !page.running

                readonly property int fieldHeight: 28
                // The left column: labels as wide as the widest and boxes; the
                // right one: check boxes with their texts and the time boxes.
                // All in the outputs' size: the two halves read alike.
                readonly property int columnWidth: 214
                readonly property int rightWidth: width - spacing - columnWidth
                readonly property int boxWidth: columnWidth - leftColumn.labelWidth - 4
                readonly property int timeBoxWidth: 84
                readonly property int checkWidth: rightWidth - timeBoxWidth - 4

                component SettingRow: LabeledRow {
                    labelHeight: settingPanel.fieldHeight
                    labelPixelSize: page.outputFontSize
                }

                LabelColumn {
                    id: leftColumn
                    width: settingPanel.columnWidth
                    spacing: 2
                    minimumLabelWidth: 60
                    // The lists keep the room of their entries.
                    maximumLabelWidth: width - 4 - 106

                    SettingRow {
                        label: qsTr("步长:")                                 // step
                        EditNumberBox {
                            id: stepBox
                            objectName: "stepBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.boxWidth
                            height: settingPanel.fieldHeight
                            dataAutoToLimit: true
                            quick1Value: "5.0"
                            quick2Value: "10.0"
                            quick3Value: "20.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewRampingModel.getRampStepValue,
                                                                    viewRampingModel.setRampStepValue)
                        }
                    }
                    SettingRow {
                        label: qsTr("终值:")                                 // end value
                        EditNumberBox {
                            id: endBox
                            objectName: "endBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.boxWidth
                            height: settingPanel.fieldHeight
                            dataAutoToLimit: true
                            quick3Value: "220.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewRampingModel.getEndRampValue,
                                                                    viewRampingModel.setEndRampValue)
                        }
                    }
                    SettingRow {
                        label: qsTr("步长时间:")                              // time per step
                        EditNumberBox {
                            id: stepTimeBox
                            objectName: "stepTimeBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.boxWidth
                            height: settingPanel.fieldHeight
                            unit: "s"
                            dataMin: 0
                            dataMax: 300
                            dataAutoToLimit: true
                            quick1Value: "0.1"
                            quick2Value: "1.0"
                            quick3Value: "10.0"
                            onDataValueEntered: page.enterValue(dataValue, viewRampingModel.getStepTimeValue,
                                                                viewRampingModel.setStepTimeValue)
                        }
                    }
                    SettingRow {
                        label: qsTr("变量选择:")                              // ramped port or group
                        ToolComboBox {
                            id: variableBox
                            objectName: "variableBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.boxWidth
                            height: settingPanel.fieldHeight
                            model: page.rampPortList
                            onActivated: {
                                if (index !== viewRampingModel.getFaultActionPort())
                                    page.applyAndReload(viewRampingModel.setFaultActionPort, index)
                            }
                        }
                    }
                    SettingRow {
                        label: qsTr("测试项目:")                              // item
                        ToolComboBox {
                            id: itemBox
                            objectName: "itemBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.boxWidth
                            height: settingPanel.fieldHeight
                            model: [qsTr("幅值"), qsTr("相位"), qsTr("频率")]        // amplitude, phase, frequency
                            onActivated: {
                                if (index !== viewRampingModel.getFaultActionItem())
                                    page.applyAndReload(viewRampingModel.setFaultActionItem, index)
                            }
                        }
                    }
                    SettingRow {
                        label: qsTr("功能:")                                  // function number
                        EditNumberBox {
                            id: functionBox
                            objectName: "functionBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.boxWidth
                            height: settingPanel.fieldHeight
                            unit: ""
                            dataPrecision: 0
                            dataMin: 0
                            dataMax: 9999
                            dataAutoToLimit: true
                            quick1Value: "50"
                            quick2Value: "51"
                            quick3Value: "10"
                            onDataValueEntered: {
                                if (!ViewUtilityHelper.qmlIsNaN(dataValue)
                                        && dataValue !== viewRampingModel.getFunction(-1))
                                    viewRampingModel.setFunction(dataValue)
                                page.updateControlValue()
                            }
                        }
                    }
                }

                Column {
                    width: settingPanel.rightWidth
                    spacing: 2

                    SettingRow {
                        id: linkRow
                        labelWidth: labelImplicitWidth
                        label: qsTr("输出方式:")                              // link of the ramp state
                        ToolComboBox {
                            id: linkBox
                            objectName: "linkBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.rightWidth - linkRow.labelWidth - linkRow.spacing
                            height: settingPanel.fieldHeight
                            model: [qsTr("连续"), qsTr("Abs.Angle")]            // continuous, absolute angle
                            onActivated: viewRampingModel.setLinkStateType(
                                             index === 0 ? ViewBaseModel.AO_LINKSTATE_TYPE_CONTINUE
                                                         : ViewBaseModel.AO_LINKSTATE_TYPE_INITIATE)
                        }
                    }
                    Row {
                        spacing: 4
                        ToolCheckBox {
                            id: normalCheck
                            objectName: "normalCheck"
                            width: settingPanel.checkWidth
                            height: settingPanel.fieldHeight
                            leftPadding: 0
                            rightPadding: 0
                            radioSize: 18
                            spacing: 4
                            text: qsTr("故障前时间:")                        // pre-fault time
                            font.pixelSize: page.outputFontSize
                            onClicked: {
                                if (checked !== viewRampingModel.getNormalEnable())
                                    page.applyAndReload(viewRampingModel.setNormalEnable, checked)
                            }
                        }
                        EditNumberBox {
                            id: normalTimeBox
                            objectName: "normalTimeBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.timeBoxWidth
                            height: settingPanel.fieldHeight
                            unit: "s"
                            readOnly: !normalCheck.checked
                            dataMin: 0
                            dataMax: 1000
                            dataAutoToLimit: true
                            quick1Value: "0.1"
                            quick2Value: "10.0"
                            quick3Value: "10.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewRampingModel.getNormalTime,
                                                                    viewRampingModel.setNormalTime)
                        }
                    }
                    Row {
                        spacing: 4
                        ToolCheckBox {
                            id: intervalCheck
                            objectName: "intervalCheck"
                            width: settingPanel.checkWidth
                            height: settingPanel.fieldHeight
                            leftPadding: 0
                            rightPadding: 0
                            radioSize: 18
                            spacing: 4
                            text: qsTr("间隔时间:")                          // interval time
                            font.pixelSize: page.outputFontSize
                            onClicked: {
                                if (checked !== viewRampingModel.getIntervalEnable())
                                    page.applyAndReload(viewRampingModel.setIntervalEnable, checked)
                            }
                        }
                        EditNumberBox {
                            id: intervalTimeBox
                            objectName: "intervalTimeBox"
                            font.pixelSize: page.outputFontSize
                            width: settingPanel.timeBoxWidth
                            height: settingPanel.fieldHeight
                            unit: "s"
                            readOnly: !intervalCheck.checked
                            dataMin: 0
                            dataMax: 1000
                            dataAutoToLimit: true
                            quick1Value: "0.1"
                            quick2Value: "10.0"
                            quick3Value: "10.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewRampingModel.getIntervalTime,
                                                                    viewRampingModel.setIntervalTime)
                        }
                    }
                    ToolCheckBox {
                        id: onceCheck
                        objectName: "onceCheck"
                        width: settingPanel.rightWidth
                        height: settingPanel.fieldHeight
                        leftPadding: 0
                        text: qsTr("仅输出一次")                              // pre-fault output once only
                        font.pixelSize: page.outputFontSize
                        enabled: normalCheck.checked
                        onClicked: {
                            if (checked !== viewRampingModel.getOutputOnceOnly())
                                page.applyAndReload(viewRampingModel.setOutputOnceOnly, checked)
                        }
                    }
                    Row {
                        spacing: 6
                        ToolTextButton {
                            objectName: "addButton"
                            width: (settingPanel.rightWidth - 6) / 2
                            height: settingPanel.fieldHeight + 4
                            text: qsTr("添加")                                // add
                            font.pixelSize: page.tinyFontSize
                            onClicked: page.applyAndReload(viewRampingModel.addState)
                        }
                        ToolTextButton {
                            objectName: "deleteButton"
                            width: (settingPanel.rightWidth - 6) / 2
                            height: settingPanel.fieldHeight + 4
                            text: qsTr("删除")                                // delete
                            font.pixelSize: page.tinyFontSize
                            onClicked: page.applyAndReload(viewRampingModel.removeState)
                        }
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
                viewModel: viewRampingModel
                rowHeight: page.rowHeight
                labelPixelSize: page.smallFontSize
                optionPixelSize: page.tinyFontSize
            }
        }
    }

    // ---- 2. Result list --------------------------------------------------------------------------------
    Column {
        id: resultArea
        objectName: "resultArea"
        x: 2
        y: page.parametersShown ? parameterArea.y + parameterArea.height + 2 : 2
        width: 796
        height: page.height - 56 - y - 2
        spacing: 0

        ToolTextButton {
            objectName: "resultTitleButton"
            width: parent.width
            height: 26
            text: (page.parametersShown ? "▼ " : "▲ ") + qsTr("测试结果")   // test result; zoom out / in
            onClicked: page.parametersShown = !page.parametersShown
        }

        Row {
            id: header
            objectName: "resultHeader"
            height: 26
            Repeater {
                model: page.listTitles
                ListCell {
                    width: page.columnWidths[index]
                    height: header.height
                    title: true
                    cellName: "headerCell" + index
                    pixelSize: page.listPixelSize
                    text: modelData
                }
            }
        }

        ListView {
            id: resultList
            objectName: "resultList"
            width: parent.width
            height: parent.height - 52
            clip: true
            enabled: !page.running
            model: page.statesCount
            boundsBehavior: Flickable.StopAtBounds

            delegate: Item {
                id: line
                readonly property int row: index
                objectName: "resultRow" + index
                width: resultList.width
                height: page.itemHeight

                Row {
                    Repeater {
                        model: 9
                        ListCell {
                            width: page.columnWidths[index]
                            height: line.height
                            current: line.row === page.activeIndex
                            cellName: "cell" + line.row + "_" + index
                            pixelSize: page.listPixelSize
                            text: page.revision >= 0 ? page.cellText(line.row, index) : ""
                        }
                    }
                }
                MouseArea {
                    objectName: "rowArea" + line.row
                    anchors.fill: parent
                    onClicked: page.selectRow(line.row)
                    onDoubleClicked: {
                        var x = mouse.x
                        var column = 0
                        for (var c = 0; c < page.columnWidths.length; ++c) {
                            if (x < page.columnWidths[c]) {
                                column = c
                                break
                            }
                            x -= page.columnWidths[c]
                        }
                        if (column >= 3)
                            page.openRowDialog(line.row, column)
                    }
                }
            }
        }
    }

    FontMetrics {
        id: listMetrics
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: page.tinyFontSize
    }
    FontMetrics {
        id: listTitleMetrics
        font.family: globalConfiguration.customFontFamily
        font.weight: Font.DemiBold
        font.pixelSize: page.tinyFontSize
    }

    UserInputDialog {
        id: inputDialog
        objectName: "inputDialog"
        onAccept: page.acceptRowDialog(dataVal)
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewStateSequenceModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The state-sequence test page on the module page frame (bottom bar, file
// flow, messages). Everything it shows comes from its view model
// (viewStateSequenceModel), everything it does goes through the model's
// invokables.
//
// Regions: the state editor (the state head, the outputs of the active state
// on a voltage and a current tab, its trigger and binary settings), hidden
// while the result area is zoomed; the result area with the action times per
// state, the assessments and the event recorder.
//
// Where it differs from the frame's protocol: nothing is pushed when the page
// is shown (the engine gets the list at the start); while a test runs the
// editor follows the state being output and logs the binary-output events of
// each new state; output notices of the engine are not shown here.
ModulePageFrame {
    id: page

    viewModel: viewStateSequenceModel
    testType: ViewBaseModel.TEST_STATESEQUENCE
    fileModule: "Sequence_"

    property bool zoomed: false
    property bool uxVisible: false
    property bool ixVisible: false
    // The amplitude limits until the page is first shown.
    property real maxVoltage: 300.0
    property real maxCurrent: 30.0
    property int activeIndex: 0
    property int stateCount: 0
    property int assessCount: 0
    property int eventCount: 0
    property int triggerType: ViewBaseModel.AO_TRIGGER_TYPE_TIME
    property bool clockSynced: false
    // The assessment cell whose dialog is open: 1 start, 2 stop, 3 setting time, 4 deviation.
    property int assessColumn: 0
    // Bumped on every reload: the table cells read the model again.
    property int revision: 0

    readonly property int itemHeight: zoomed ? 38 : 28
    readonly property string title: qsTr("状态") + " [ " + (activeIndex + 1) + " / " + stateCount + " ]"
    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var stateColumns: [96, 175, 175, 175, 175]
    readonly property var assessColumns: [36, 96, 96, 110, 100, 124, 124]
    readonly property var eventColumns: [180, 150, 200, 266]

    // For the tests and the gallery.
    readonly property alias distanceDialog: distanceDialog
    readonly property alias stateDialog: stateDialog
    readonly property alias timeDialog: timeDialog
    readonly property alias resultTabs: resultTabs
    readonly property alias resultList: resultList
    readonly property alias assessList: assessList
    readonly property alias eventList: eventList

    ViewStateSequenceModel {
        id: viewStateSequenceModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    function secondsText(value) {
        return ViewUtilityHelper.qmlIsNaN(value) ? "NaN" : formatted(value) + "s"
    }

    function rowShown(port) {
        if (port === ViewBaseModel.AO_PORT_TYPE_UX)
            return uxVisible
        if (port === ViewBaseModel.AO_PORT_TYPE_IX)
            return ixVisible
        return true
    }

    // Test-result cell: the action time of input column - 1, else what the state went through.
    function stateCellText(row, column) {
        var m = viewStateSequenceModel
        if (column === 0)
            return String(row + 1)
        var time = m.getActionTimes(row, column - 1)
        if (time > 0)
            return timeText(time)
        switch (m.getTestStates(row)) {
        case ViewBaseModel.AO_STATE_TYPE_RUNNNING: return qsTr("测试中")        // testing
        case ViewBaseModel.AO_STATE_TYPE_COMPLETED: return qsTr("未动作")       // no action
        default: return qsTr("未测试")                                           // not tested
        }
    }

    function assessCellText(row, column) {
        var m = viewStateSequenceModel
        switch (column) {
        case 0: return String(row + 1)
        case 1: return qsTr("状态") + (m.getAssessStart(row) + 1)
        case 2: return qsTr("状态") + (m.getAssessStop(row) + 1)
        case 3: return secondsText(m.getSettingTime(row))
        case 4: return secondsText(m.getDevTime(row))
        case 5:
            var time = m.getActionTime(row)
            return ViewUtilityHelper.qmlIsNaN(time) ? "" : timeText(time)        // none before a run
        default:
            if (running)
                return qsTr("测试中")
            var result = m.getAssessResult(row)
            if (result === ViewBaseModel.AO_Result_TYPE_SUCCESS)
                return qsTr("通过")                                              // passed
            if (result === ViewBaseModel.AO_Result_TYPE_FAILED)
                return qsTr("失败")                                              // failed
            return qsTr("未测试")
        }
    }

    function eventCellText(row, column) {
        var m = viewStateSequenceModel
        switch (column) {
        case 0: return secondsText(m.getEventRecorderTime(row))
        case 1: return m.getEventRecorderType(row) === 0 ? qsTr("开入") : qsTr("开出")   // DI, DO
        case 2: return m.getEventRecorderSignalName(row)
        default: return m.getEventRecorderSlop(row)
        }
    }

    // ---- Frame hooks and the page's own protocol ------------------------------------------
    function initControls() {
        maxVoltage = viewStateSequenceModel.getDeviceAOVMaxRange()
        maxCurrent = viewStateSequenceModel.getDeviceAOIMaxRange()
        uxVisible = viewStateSequenceModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        ixVisible = viewStateSequenceModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
    }

    // The editor from the active state.
    function loadControls() {
        var m = viewStateSequenceModel
        var a = m.getActiveIndex()
        activeIndex = a
        stateCount = m.getStateCount()
        for (var p = 0; p < 8; ++p) {
            var row = outputRows.itemAt(p)
            row.rangeBox.setDataValue(m.getOutputRange(a, p))
            row.angleBox.setDataValue(m.getOutputAngle(a, p))
            row.frequencyBox.setDataValue(m.getOutputFrequency(a, p))
        }
        timeBox.setDataValue(m.getOutputTime(a))
        for (var k = 0; k < 4; ++k) {
            boButtons.itemAt(k).setChecked(m.getOutputBOState(a, k) !== 0)
            biSelectors.itemAt(k).setStateValue(m.getOutputBIState(a, k))
        }
        var andLogic = m.getOutputBILogic(a) === ViewBaseModel.AO_BILOGIC_TYPE_AND
        logicAnd.checked = andLogic
        logicOr.checked = !andLogic
        triggerType = m.getTriggerType(a)
        triggerBox.setDataValue(triggerType)
        linkBox.setDataValue(m.getOutputLinkType(a))
    }

    // Every control from the model; with `selected` (the default) the three tables too.
    function updateControlValue(selected) {
        loadControls()
        if (selected === undefined || selected)
            updateFromData()
        updateControlState(running)
    }

    // The tables: rows rebuilt where a count changed, refreshed otherwise; the
    // current rows are the active state, the active assessment and the last event.
    function updateFromData() {
        var m = viewStateSequenceModel
        assessCount = m.getAssessCount()
        eventCount = m.getEventRecorderCnt()
        revision++
        resultList.currentIndex = activeIndex
        assessList.currentIndex = assessCount > 0 ? m.getAssessIndex() : -1
        eventList.currentIndex = eventCount - 1
        var last = zoomed ? 8 : 2
        var lists = [resultList, assessList, eventList]
        for (var i = 0; i < lists.length; ++i) {
            if (lists[i].currentIndex > last)
                lists[i].positionViewAtIndex(lists[i].currentIndex, ListView.End)
            else if (lists[i].currentIndex >= 0)
                lists[i].positionViewAtIndex(lists[i].currentIndex, ListView.Contain)
        }
    }

    function updateRunningState(isRunning) {
        running = isRunning
        updateControlState(isRunning)
        if (isRunning && typeof inputNumberPanel !== "undefined" && inputNumberPanel)
            inputNumberPanel.close()
    }

    function pageShown() {
        shownOnce = true
        viewModel.testActive()
        loadPageParameters()
        viewModel.updateDeviceConfig()
        initControlValue()
        updateControlValue()
        updateRunningState(false)
        clockSynced = viewModel.getClkSyncState()
        bottomBar.updateInputs(viewModel)
        bottomBar.updateOutputs(viewModel)
        exitEnable(viewModel.getExitEnabled())
    }

    function emitUpdateDataToView(dataType, subType) {
        if (visible && viewModel.getTestActiveType() === testType) {
            switch (dataType) {
            case ViewBaseModel.DATA_TYPE_RT_STATE:
                if (subType < 0 || subType === ViewBaseModel.STATE_TYPE_RUNNING) {
                    updateRunningState(viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0)
                    updateControlValue(true)
                }
                break
            case ViewBaseModel.DATA_TYPE_TEST_ACTIONDATA:
                updateControlValue()
                break
            case ViewBaseModel.DATA_TYPE_RT_TEMP:
                if (!running)
                    runEnabled = viewModel.getRunEnabled()
                break
            }
        }
        if (dataType === ViewBaseModel.DATA_TYPE_RT_BO)
            bottomBar.updateOutputs(viewModel)
        else if (dataType === ViewBaseModel.DATA_TYPE_RT_BI)
            bottomBar.updateInputs(viewModel)
        else if (dataType === ViewBaseModel.DATA_TYPE_CLOCK_STATE)
            clockSynced = viewModel.getClkSyncState()
    }

    // The engine has moved to state `index`: the editor and the result table
    // follow it and its binary-output changes are logged.
    function followState(index) {
        var m = viewStateSequenceModel
        if (m.getTestActiveType() !== ViewBaseModel.TEST_STATESEQUENCE
                || m.getState(ViewBaseModel.STATE_TYPE_RUNNING) === 0)
            return
        if (index < 0 || index >= m.getStateCount())
            return
        m.setActiveIndex(index)
        m.addBOEventRecord(index)
        updateControlValue()
    }

    Connections {
        target: viewStateSequenceModel
        function onSigUpdateStateIndexToView(index) {
            page.followState(index)
        }
    }

    // ---- Actions -----------------------------------------------------------------------------
    function startClicked() {
        if (!viewModel.testStart())
            return
        exitEnable(false)
        viewStateSequenceModel.clearEventRecorder()
        updateRunningState(true)
        updateControlValue()
    }

    function stopClicked() {
        viewModel.testInterrupt()
        updateRunningState(false)
        updateControlValue()
    }

    // A list or quick key acting on the active state, then everything again.
    function act(action) {
        action()
        updateControlValue()
    }

    function enterOutput(kind, port, value) {
        var m = viewStateSequenceModel
        var a = m.getActiveIndex()
        var getters = [m.getOutputRange, m.getOutputAngle, m.getOutputFrequency]
        var setters = [m.setOutputRange, m.setOutputAngle, m.setOutputFrequency]
        if (!ViewUtilityHelper.qmlIsNaN(value) && value !== getters[kind](a, port))
            setters[kind](a, port, value)
        updateControlValue()
    }

    function chooseTrigger(index) {
        viewStateSequenceModel.setTriggerType(viewStateSequenceModel.getActiveIndex(), index)
        updateControlValue(false)
    }

    function openCalculator() {
        if (!distanceDialog.visible)
            distanceDialog.open()
    }

    function computerDistance() {
        viewStateSequenceModel.doComputerDistance()
        updateControlValue()
    }

    function openTriggerTimes() {
        if (typeof triggerTimeDialog !== "undefined" && triggerTimeDialog)
            triggerTimeDialog.open()
    }

    // A live binary output of the bottom bar switched directly (the bar takes
    // the taps only while idle).
    function switchOutput(index) {
        viewModel.setBOState(index, viewModel.getBOState(index) ? 0 : 1)
        bottomBar.updateOutputs(viewModel)
    }

    function selectState(row) {
        viewStateSequenceModel.setActiveIndex(row)
        updateControlValue(false)
    }

    function selectAssess(row) {
        viewStateSequenceModel.setAssessIndex(row)
        assessList.currentIndex = row
    }

    // A double click on an assessment cell: the state list for start and stop,
    // a number for the setting time and the deviation.
    function openAssessDialog(row, column) {
        var m = viewStateSequenceModel
        selectAssess(row)
        if (column === 1 || column === 2) {
            assessColumn = column
            var stored = column === 1 ? m.getAssessStart(row) : m.getAssessStop(row)
            var n = m.getStateCount()
            stateDialog.title = column === 1 ? qsTr("开始") : qsTr("停止")       // start, stop
            stateDialog.stateCount = n
            stateDialog.selectedItem = stored >= n ? n - 1 : (stored < 0 ? 0 : stored)
            stateDialog.open()
        } else if (column === 3 || column === 4) {
            assessColumn = column
            timeDialog.title = column === 3 ? qsTr("整定时间") : qsTr("偏差")    // T.nom, deviation
            timeDialog.setDataValue(column === 3 ? m.getSettingTime(row) : m.getDevTime(row),
                                    "0.1", "0.5", 1000, 0, "s")
            timeDialog.open()
        }
    }

    function acceptAssessDialog(value) {
        var m = viewStateSequenceModel
        if (m.getTestActiveType() !== ViewBaseModel.TEST_STATESEQUENCE || ViewUtilityHelper.qmlIsNaN(value))
            return
        var row = m.getAssessIndex()
        var getters = [null, m.getAssessStart, m.getAssessStop, m.getSettingTime, m.getDevTime]
        var setters = [null, m.setAssessStart, m.setAssessStop, m.setSettingTime, m.setDevTime]
        if (assessColumn < 1 || assessColumn > 4 || value === getters[assessColumn](row))
            return
        setters[assessColumn](row, value)
        updateControlValue()
    }

    function assessAction(action) {
        if (action())
            updateControlValue()
    }

    Connections {
        target: page.bottomBar
        function onOutputClicked(index) {
            page.switchOutput(index)
        }
    }
    Binding {
        target: page.bottomBar
        property: "outputsSwitchable"
        value: !page.running
    }

    component TableCell: ListCell {
        height: page.itemHeight
        pixelSize: page.tinyFontSize
    }

    component TableHeader: Row {
        id: header
        property var texts: []
        property var widths: []
        height: 26
        Repeater {
            model: header.texts
            Rectangle {
                width: header.widths[index]
                height: header.height
                color: globalConfiguration.customPrimary
                border.color: globalConfiguration.customGray
                FitLabel {
                    anchors.fill: parent
                    anchors.margins: 2
                    horizontalAlignment: Text.AlignHCenter
                    color: globalConfiguration.customTitleForeground
                    font.pixelSize: page.tinyFontSize
                    text: modelData
                }
            }
        }
    }

    // ---- 1. State editor --------------------------------------------------------------------------
    Item {
        id: editor
        objectName: "stateEditor"
        x: 4
        y: 2
        width: 792
        height: 225
        visible: !page.zoomed

        // The state head, over the outputs and the trigger panel.
        Row {
            id: stateHead
            objectName: "stateHead"
            height: 30
            spacing: 3
            enabled: !page.running

            component HeadButton: ToolTextButton {
                property string tip: ""
                height: 30
                width: Math.max(66, Math.ceil(textImplicitWidth) + 12)
                font.pixelSize: page.tinyFontSize
                ToolTip.visible: tip !== "" && down
                ToolTip.text: tip
            }

            HeadButton {
                objectName: "prevButton"
                width: 34
                text: "◀"
                tip: qsTr("上一状态")                                        // previous state
                onClicked: page.act(viewStateSequenceModel.activePrevState)
            }
            FitLabel {
                objectName: "stateTitle"
                width: 200
                height: 30
                horizontalAlignment: Text.AlignHCenter
                text: page.title
            }
            HeadButton {
                objectName: "nextButton"
                width: 34
                text: "▶"
                tip: qsTr("后一状态")                                        // next state
                onClicked: page.act(viewStateSequenceModel.activeNextState)
            }
            HeadButton {
                objectName: "insertButton"
                text: qsTr("插入状态")                                       // insert a state
                onClicked: page.act(function() {
                    viewStateSequenceModel.insertState(viewStateSequenceModel.getActiveIndex())
                })
            }
            HeadButton {
                objectName: "addStateButton"
                text: qsTr("添加状态")                                       // add a state
                onClicked: page.act(viewStateSequenceModel.addState)
            }
            HeadButton {
                objectName: "deleteStateButton"
                text: qsTr("删除状态")                                       // delete the state
                onClicked: page.act(function() {
                    viewStateSequenceModel.removeState(viewStateSequenceModel.getActiveIndex())
                })
            }
        }

        Column {
            id: outputBlock
            y: stateHead.height + 3
            width: 388
            spacing: 2

            PageTabBar {
                id: kindBar
                width: parent.width
                height: 28
                tabs: [{ text: qsTr("电压"), name: "voltageTabButton" },          // voltage
                       { text: qsTr("电流"), name: "currentTabButton" }]          // current
            }

            Column {
                id: outputPanel
                objectName: "outputPanel"
                spacing: 2
                enabled: !page.running

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
                            font.pixelSize: globalConfiguration.customFontL3Size
                            elide: Text.ElideNone
                        }
                        EditNumberBox {
                            id: rangeBox
                            objectName: "range" + outputRowItem.port
                            font.pixelSize: globalConfiguration.customFontL3Size
                            width: 112
                            height: page.rowHeight
                            unit: outputRowItem.voltage ? "V" : "A"
                            dataMin: 0
                            dataMax: outputRowItem.voltage ? page.maxVoltage : page.maxCurrent
                            dataAutoToLimit: true
                            signalEnable: true
                            quick1Value: qsTr("额定")                          // nominal
                            quick2Value: qsTr("平衡")                          // balance
                            quick3Value: ""
                            onQuick1Clicked: page.act(function() { viewStateSequenceModel.setRateRange(outputRowItem.port) })
                            onQuick2Clicked: page.act(function() { viewStateSequenceModel.setBalanceRange(outputRowItem.port) })
                            onDataValueEntered: page.enterOutput(0, outputRowItem.port, dataValue)
                        }
                        EditNumberBox {
                            id: angleBox
                            objectName: "angle" + outputRowItem.port
                            font.pixelSize: globalConfiguration.customFontL3Size
                            width: 124
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
                            onQuick1Clicked: page.act(function() { viewStateSequenceModel.setPositiveAngle(outputRowItem.port, true) })
                            onQuick2Clicked: page.act(function() { viewStateSequenceModel.setPositiveAngle(outputRowItem.port, false) })
                            onDataValueEntered: page.enterOutput(1, outputRowItem.port, dataValue)
                        }
                        EditNumberBox {
                            id: frequencyBox
                            objectName: "frequency" + outputRowItem.port
                            font.pixelSize: globalConfiguration.customFontL3Size
                            width: 104
                            height: page.rowHeight
                            unit: "Hz"
                            unitWidth: 24
                            dataMin: viewStateSequenceModel.minOutputFrequency
                            dataMax: viewStateSequenceModel.maxOutputFrequency
                            dataAutoToLimit: true
                            signalEnable: true
                            quick1Value: qsTr("额定")
                            quick2Value: qsTr("平衡")
                            quick3Value: ""
                            onQuick1Clicked: page.act(function() { viewStateSequenceModel.setRateFrequency(outputRowItem.port) })
                            onQuick2Clicked: page.act(function() { viewStateSequenceModel.setBalanceFrequency(outputRowItem.port) })
                            onDataValueEntered: page.enterOutput(2, outputRowItem.port, dataValue)
                        }
                    }
                }
            }
        }

        // The trigger panel of the active state.
        LabelColumn {
            id: triggerPanel
            objectName: "triggerPanel"
            x: 396
            y: stateHead.height + 3
            width: 396
            spacing: 2
            minimumLabelWidth: 76

            readonly property int fieldHeight: 30
            readonly property int boxWidth: 170

            component PanelRow: LabeledRow {
                labelWidth: triggerPanel.labelWidth
                labelHeight: triggerPanel.fieldHeight
                labelPixelSize: page.smallFontSize
            }

            PanelRow {
                label: qsTr("触发方式:")                                        // what ends the state
                ToolComboBox {
                    id: triggerBox
                    objectName: "triggerBox"
                    width: triggerPanel.boxWidth
                    height: triggerPanel.fieldHeight
                    enabled: !page.running
                    model: [qsTr("时间"), qsTr("接点"), qsTr("时间+接点"), "Key-Press", "GPS/IRIG-B"]   // time, binary, both
                    onActivated: page.chooseTrigger(index)
                }
                ToolTextButton {
                    objectName: "calcButton"
                    width: triggerPanel.width - triggerPanel.labelWidth - triggerPanel.boxWidth - 8
                    height: triggerPanel.fieldHeight
                    text: qsTr("故障计算")                                       // fault calculator
                    font.pixelSize: page.tinyFontSize
                    enabled: !page.running
                    onClicked: page.openCalculator()
                }
            }
            PanelRow {
                label: qsTr("输出方式:")                                        // link to the state before
                ToolComboBox {
                    id: linkBox
                    objectName: "linkBox"
                    width: triggerPanel.boxWidth
                    height: triggerPanel.fieldHeight
                    enabled: !page.running && page.activeIndex > 0
                    model: [qsTr("连续"), qsTr("Abs.Angle")]                    // continuous, absolute angle
                    onActivated: viewStateSequenceModel.setOutputLinkType(viewStateSequenceModel.getActiveIndex(), index)
                }
            }
            Item {
                width: triggerPanel.width
                height: triggerPanel.fieldHeight

                PanelRow {
                    objectName: "timeRow"
                    visible: page.triggerType === ViewBaseModel.AO_TRIGGER_TYPE_TIME
                             || page.triggerType === ViewBaseModel.AO_TRIGGER_TYPE_TIME_BINARY
                    label: qsTr("时间:")                                        // state time
                    EditNumberBox {
                        id: timeBox
                        objectName: "timeBox"
                        width: triggerPanel.boxWidth
                        height: triggerPanel.fieldHeight
                        unit: "s"
                        dataPrecision: 3
                        dataMin: 0.0
                        dataMax: 9999999.999
                        dataAutoToLimit: true
                        readOnly: page.running
                        quick1Value: "5.0"
                        quick2Value: "10.0"
                        quick3Value: "50.0"
                        onDataValueEntered: {
                            var m = viewStateSequenceModel
                            if (!ViewUtilityHelper.qmlIsNaN(dataValue) && dataValue !== m.getOutputTime(m.getActiveIndex()))
                                m.setOutputTime(m.getActiveIndex(), dataValue)
                        }
                    }
                }
                ToolTextButton {
                    objectName: "keyPressButton"
                    x: triggerPanel.labelWidth + 4
                    width: triggerPanel.boxWidth
                    height: triggerPanel.fieldHeight
                    visible: page.triggerType === ViewBaseModel.AO_TRIGGER_TYPE_KEY_PRESS
                    enabled: page.running
                    text: "Key-Press"
                    onClicked: viewStateSequenceModel.testKeyPress()
                }
                ToolTextButton {
                    objectName: "triggerTimeButton"
                    x: triggerPanel.labelWidth + 4
                    width: triggerPanel.boxWidth
                    height: triggerPanel.fieldHeight
                    visible: page.triggerType === ViewBaseModel.AO_TRIGGER_TYPE_GPS_IRIGB
                    enabled: page.clockSynced
                    text: qsTr("时间设置")                                       // trigger times
                    font.pixelSize: page.tinyFontSize
                    onClicked: page.openTriggerTimes()
                }
            }
            PanelRow {
                spacing: 8
                label: qsTr("逻辑:")                                            // input logic
                enabled: !page.running
                ToolRadioButton {
                    id: logicAnd
                    objectName: "logicAnd"
                    height: triggerPanel.fieldHeight
                    text: qsTr("与")                                             // and
                    font.pixelSize: page.tinyFontSize
                    onClicked: viewStateSequenceModel.setOutputBILogic(viewStateSequenceModel.getActiveIndex(),
                                                                       ViewBaseModel.AO_BILOGIC_TYPE_AND)
                }
                ToolRadioButton {
                    id: logicOr
                    objectName: "logicOr"
                    height: triggerPanel.fieldHeight
                    text: qsTr("或")                                             // or
                    font.pixelSize: page.tinyFontSize
                    onClicked: viewStateSequenceModel.setOutputBILogic(viewStateSequenceModel.getActiveIndex(),
                                                                       ViewBaseModel.AO_BILOGIC_TYPE_OR)
                }
            }
            PanelRow {
                label: qsTr("开入:")                                            // binary inputs
                spacing: 6
                enabled: !page.running
                Repeater {
                    id: biSelectors
                    model: 4
                    ToolBinarCheckBox {
                        objectName: "biSelector" + index
                        width: textWidth + 4 + height
                        height: triggerPanel.fieldHeight - 4
                        anchors.verticalCenter: parent.verticalCenter
                        textValue: String(index + 1)
                        textWidth: 14
                        onClicked: viewStateSequenceModel.setOutputBIState(viewStateSequenceModel.getActiveIndex(),
                                                                           index, stateValue)
                    }
                }
            }
            PanelRow {
                label: qsTr("开出:")                                            // binary outputs
                spacing: 6
                enabled: !page.running
                Repeater {
                    id: boButtons
                    model: 4
                    Row {
                        spacing: 2
                        height: triggerPanel.fieldHeight
                        function setChecked(on) { boButton.setChecked(on) }
                        Text {
                            width: 14
                            height: parent.height
                            text: String(index + 1)
                            color: globalConfiguration.customForeground
                            font.family: globalConfiguration.customFontFamily
                            font.pixelSize: globalConfiguration.customFontL2Size
                            horizontalAlignment: Text.AlignRight
                            verticalAlignment: Text.AlignVCenter
                        }
                        ToolBinaryButton {
                            id: boButton
                            objectName: "boButton" + index
                            width: 36
                            height: triggerPanel.fieldHeight
                            onClicked: viewStateSequenceModel.setOutputBOState(viewStateSequenceModel.getActiveIndex(),
                                                                               index, checked ? 1 : 0)
                        }
                    }
                }
            }
        }
    }

    // ---- 2. Result area ---------------------------------------------------------------------------
    Item {
        id: resultArea
        objectName: "resultArea"
        x: 2
        y: page.zoomed ? 2 : editor.y + editor.height + 2
        width: 796
        height: page.height - 56 - y - 2

        PageTabBar {
            id: resultTabs
            width: parent.width - 48
            height: 28
            tabs: [{ text: qsTr("测试结果"), name: "stateTabButton" },         // action times
                   { text: qsTr("评估结果"), name: "assessTabButton" },        // assessments
                   { text: qsTr("事件记录"), name: "eventTabButton" }]         // event recorder
        }
        ToolTextButton {
            objectName: "zoomButton"
            x: parent.width - width
            width: 44
            height: 28
            text: page.zoomed ? "▼" : "▲"
            onClicked: {
                page.zoomed = !page.zoomed
                page.updateFromData()
            }
        }

        // Test result: the action time of each input per state.
        Column {
            objectName: "statePanel"
            y: 30
            width: parent.width
            height: parent.height - y
            visible: resultTabs.currentIndex === 0

            TableHeader {
                texts: [qsTr("状态"), qsTr("开入量1"), qsTr("开入量2"), qsTr("开入量3"), qsTr("开入量4")]
                widths: page.stateColumns
            }
            ListView {
                id: resultList
                objectName: "resultList"
                width: parent.width
                height: parent.height - 26
                clip: true
                enabled: !page.running
                model: page.stateCount
                boundsBehavior: Flickable.StopAtBounds
                currentIndex: -1
                highlightFollowsCurrentItem: false

                delegate: Item {
                    id: stateLine
                    readonly property int row: index
                    objectName: "stateRow" + index
                    width: resultList.width
                    height: page.itemHeight
                    Row {
                        Repeater {
                            model: 5
                            TableCell {
                                width: page.stateColumns[index]
                                current: stateLine.row === page.activeIndex
                                cellName: "state" + stateLine.row + "_" + index
                                text: page.revision >= 0 ? page.stateCellText(stateLine.row, index) : ""
                            }
                        }
                    }
                    MouseArea {
                        objectName: "stateArea" + stateLine.row
                        anchors.fill: parent
                        onClicked: page.selectState(stateLine.row)
                    }
                }
            }
        }

        // Assessments: their buttons and their table.
        Item {
            objectName: "assessPanel"
            y: 30
            width: parent.width
            height: parent.height - y
            visible: resultTabs.currentIndex === 1
            enabled: !page.running

            Column {
                width: 104
                spacing: 4
                Repeater {
                    model: [{ text: qsTr("添加"), name: "assessAddButton" },       // add
                            { text: qsTr("删除"), name: "assessDeleteButton" },    // delete
                            { text: qsTr("清除"), name: "assessClearButton" }]     // clear
                    ToolTextButton {
                        objectName: modelData.name
                        width: 102
                        height: Math.min(32, (parent.parent.height - 8) / 3)
                        text: modelData.text
                        font.pixelSize: page.tinyFontSize
                        onClicked: {
                            var m = viewStateSequenceModel
                            if (index === 0)
                                page.assessAction(m.addAssess)
                            else if (index === 1)
                                page.assessAction(function() { return m.removeAssess(assessList.currentIndex) })
                            else
                                page.assessAction(m.clearAssess)
                        }
                    }
                }
            }
            Column {
                x: 106
                width: parent.width - x
                height: parent.height

                TableHeader {
                    texts: ["", qsTr("开始"), qsTr("停止"), qsTr("整定时间"), qsTr("偏差"), qsTr("实际时间"),
                            qsTr("结果")]            // start, stop, T.nom, deviation, actual time, result
                    widths: page.assessColumns
                }
                ListView {
                    id: assessList
                    objectName: "assessList"
                    width: parent.width
                    height: parent.height - 26
                    clip: true
                    model: page.assessCount
                    boundsBehavior: Flickable.StopAtBounds
                    currentIndex: -1
                    highlightFollowsCurrentItem: false

                    delegate: Item {
                        id: assessLine
                        readonly property int row: index
                        objectName: "assessRow" + index
                        width: assessList.width
                        height: page.itemHeight
                        Row {
                            Repeater {
                                model: 7
                                TableCell {
                                    width: page.assessColumns[index]
                                    current: assessLine.row === assessList.currentIndex
                                    cellName: "assess" + assessLine.row + "_" + index
                                    text: page.revision >= 0 ? page.assessCellText(assessLine.row, index) : ""
                                }
                            }
                        }
                        MouseArea {
                            objectName: "assessArea" + assessLine.row
                            anchors.fill: parent
                            onClicked: page.selectAssess(assessLine.row)
                            onDoubleClicked: {
                                var x = mouse.x
                                var column = 0
                                for (var c = 0; c < page.assessColumns.length; ++c) {
                                    if (x < page.assessColumns[c]) {
                                        column = c
                                        break
                                    }
                                    x -= page.assessColumns[c]
                                }
                                page.openAssessDialog(assessLine.row, column)
                            }
                        }
                    }
                }
            }
        }

        // Event recorder: the binary-input actions and binary-output changes of the run.
        Column {
            objectName: "eventPanel"
            y: 30
            width: parent.width
            height: parent.height - y
            visible: resultTabs.currentIndex === 2

            TableHeader {
                texts: [qsTr("时间"), qsTr("类型"), qsTr("信号"), qsTr("状态变换")]   // time, type, signal, slope
                widths: page.eventColumns
            }
            ListView {
                id: eventList
                objectName: "eventList"
                width: parent.width
                height: parent.height - 26
                clip: true
                model: page.eventCount
                boundsBehavior: Flickable.StopAtBounds
                currentIndex: -1
                highlightFollowsCurrentItem: false

                delegate: Row {
                    id: eventLine
                    readonly property int row: index
                    objectName: "eventRow" + index
                    Repeater {
                        model: 4
                        TableCell {
                            width: page.eventColumns[index]
                            current: eventLine.row === eventList.currentIndex
                            cellName: "event" + eventLine.row + "_" + index
                            text: page.revision >= 0 ? page.eventCellText(eventLine.row, index) : ""
                        }
                    }
                }
            }
        }
    }

    // ---- Dialogs -------------------------------------------------------------------------------------
    ComputerDistanceDialog {
        id: distanceDialog
        objectName: "distanceDialog"
        visible: false
        closePolicy: Popup.NoAutoClose
        onAccept: page.computerDistance()
    }

    UserSelectedDialog {
        id: stateDialog
        objectName: "stateDialog"
        closePolicy: Popup.NoAutoClose
        onAccept: page.acceptAssessDialog(selectedItem)
    }

    UserInputDialog {
        id: timeDialog
        objectName: "timeDialog"
        closePolicy: Popup.NoAutoClose
        onAccept: page.acceptAssessDialog(dataVal)
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewHarmonicModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"
import "../Common/ColumnFit.js" as ColumnFit

// The harmonic test page on the module page frame (which carries the page
// protocol, the bottom bar, the file flow and the messages). Everything it
// shows comes from its view model (viewHarmonicModel), everything it does
// goes through the model's invokables.
//
// Regions: the output block (one order slot of UA..IX at a time, chosen with
// the previous / next keys, or the summary page with RMS and THD), the
// "参数设置" tab (step, end value, "+" / "-", auto ramp, mode, ramped slot,
// group and item, amplitude or percent display, setting time and deviation),
// the "触发逻辑" tab and the result row.
ModulePageFrame {
    id: page

    viewModel: viewHarmonicModel
    testType: ViewBaseModel.TEST_HARMONIC
    fileModule: "Harmonic_"
    triggerPanel: triggerPanel

    // The rows of the ramped-group list (UX and IX only on four-phase units).
    property var rampPortList: []
    property bool autoMode: false
    property bool percentMode: false
    property int activeSlot: 0
    property bool uxVisible: false
    property bool ixVisible: false
    property real maxVoltage: 300
    property real maxCurrent: 10
    property real rateVoltage: 57.735
    property real rateCurrent: 1

    readonly property bool summaryShown: activeSlot === viewHarmonicModel.getOrderCount()
    readonly property bool steppingEnabled: running ? (!autoMode && runEnabled) : (autoMode && runEnabled)
    // The output block takes no entry during an automatic ramp or on the summary page.
    readonly property bool outputsLocked: locked || summaryShown

    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var allRampPorts: ["UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                                         "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"]

    ViewHarmonicModel {
        id: viewHarmonicModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    // The chosen list row is a voltage group (rows up to UAUBUC).
    function rampGroupIsVoltage() {
        return viewHarmonicModel.getFaultActionPort() <= (uxVisible ? 7 : 6)
    }

    function rowShown(port) {
        if (port === 3)
            return uxVisible
        if (port === 7)
            return ixVisible
        return true
    }

    // ---- Frame hooks -------------------------------------------------------------------
    // Input limits and the rows that exist on this unit.
    function initControls() {
        maxVoltage = viewHarmonicModel.getDeviceAOVMaxRange()
        maxCurrent = viewHarmonicModel.getDeviceAOIMaxRange()
        rateVoltage = viewHarmonicModel.getRateVRange()
        rateCurrent = viewHarmonicModel.getRateIRange()
        uxVisible = viewHarmonicModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        ixVisible = viewHarmonicModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        var list = []
        for (var g = 0; g < allRampPorts.length; ++g) {
            if ((g === 3 && !uxVisible) || (g === 11 && !ixVisible))
                continue
            list.push(allRampPorts[g])
        }
        rampPortList = list
    }

    function loadControls() {
        autoMode = viewHarmonicModel.getAutoRampEnabled()
        percentMode = !viewHarmonicModel.getShowRange()
        activeSlot = viewHarmonicModel.getActiveOrder()
        updateControlLimit()
        loadOutputs()
        loadOrderChooser()
        orderText.text = viewHarmonicModel.getActiveOrderText()

        autoCheck.checked = autoMode
        stopCheck.checked = viewHarmonicModel.getFaultActionType() === ViewBaseModel.ACTION_TYPE_STOP
        itemBox.setDataValue(viewHarmonicModel.getFaultActionItem())
        variableBox.setDataValue(viewHarmonicModel.getFaultActionPort())
        var orders = []
        for (var s = 0; s < viewHarmonicModel.getOrderCount(); ++s)
            orders.push(String(viewHarmonicModel.getOutputOrders(s)))
        rampOrderBox.model = orders
        rampOrderBox.setDataValue(viewHarmonicModel.getFaultActionOrder())
        ampRadio.checked = !percentMode
        percentRadio.checked = percentMode
        stepBox.setDataValue(viewHarmonicModel.getRampStepValue())
        endBox.setDataValue(viewHarmonicModel.getEndRampValue())
        autoTimeBox.setDataValue(viewHarmonicModel.getRampTimeValue())
        settingTimeBox.setDataValue(viewHarmonicModel.getSettingTime())
        devTimeBox.setDataValue(viewHarmonicModel.getDevTime())
        updateResult()
    }

    // An automatic ramp locks the outputs.
    function lockedWhileRunning() {
        return viewHarmonicModel.getAutoRampEnabled()
    }

    // In automatic mode "开始" ramps upwards.
    function prepareStart() {
        return !viewHarmonicModel.getAutoRampEnabled() || viewHarmonicModel.quickChange(true)
    }

    // The slot's amplitudes and angles, or RMS and THD on the summary page.
    function loadOutputs() {
        var percent = activeSlot > 0 && percentMode
        for (var p = 0; p < 8; ++p) {
            var row = outputRows.itemAt(p)
            if (!row)
                continue
            var voltage = p < 4
            var max = voltage ? maxVoltage : maxCurrent
            if (summaryShown) {
                row.rangeBox.unit = voltage ? "V" : "A"
                row.rangeBox.dataMax = 3 * max
                row.rangeBox.setDataValue(viewHarmonicModel.getOutputRMS(p))
                row.angleBox.unit = "%"
                row.angleBox.dataMin = 0
                row.angleBox.dataMax = 1000
                row.angleBox.setDataValue(viewHarmonicModel.getOutputTHD(p))
                continue
            }
            row.rangeBox.unit = percent ? "%" : (voltage ? "V" : "A")
            row.rangeBox.dataMax = percent ? 1000 : max
            row.rangeBox.setDataValue(percent ? viewHarmonicModel.getOutputPercent(p) : viewHarmonicModel.getOutputRange(p))
            row.angleBox.unit = "°"
            row.angleBox.dataMin = -360
            row.angleBox.dataMax = 360
            row.angleBox.setDataValue(viewHarmonicModel.getOutputAngle(p))
        }
    }

    // The chooser lists the orders the active slot may take ("1" alone for the fundamental).
    function loadOrderChooser() {
        var choices = viewHarmonicModel.getOrderChoices()
        var texts = []
        var current = viewHarmonicModel.getOutputOrders(activeSlot)
        var selected = 0
        for (var i = 0; i < choices.length; ++i) {
            texts.push(String(choices[i]))
            if (choices[i] === current)
                selected = i
        }
        orderBox.model = texts
        orderBox.setDataValue(selected)
    }

    // Limits, quick values and unit of the end value (and the step's unit) by group and item.
    function updateControlLimit() {
        var item = viewHarmonicModel.getFaultActionItem()
        if (item === ViewBaseModel.RAMP_ITEM_TYPE_ANGLE) {
            endBox.unit = "°"
            endBox.dataMin = -360
            endBox.dataMax = 360
            endBox.quick1Value = "120"
            endBox.quick2Value = "240"
        } else if (percentMode) {
            endBox.unit = "%"
            endBox.dataMin = 0
            endBox.dataMax = 100
            endBox.quick1Value = ""
            endBox.quick2Value = ""
        } else if (rampGroupIsVoltage()) {
            endBox.unit = "V"
            endBox.dataMin = 0
            endBox.dataMax = maxVoltage
            endBox.quick1Value = formatted(rateVoltage)
            endBox.quick2Value = formatted(maxVoltage)
        } else {
            endBox.unit = "A"
            endBox.dataMin = 0
            endBox.dataMax = maxCurrent
            endBox.quick1Value = formatted(rateCurrent / 10)
            endBox.quick2Value = formatted(maxCurrent)
        }
        endBox.quick3Value = ""
        stepBox.unit = endBox.unit
    }

    function updateResult() {
        var state = viewHarmonicModel.getTestState()
        var completed = state === ViewBaseModel.AO_STATE_TYPE_COMPLETED
        var time = viewHarmonicModel.getFaultActionTime()
        var acted = !ViewUtilityHelper.qmlIsNaN(time) && time > 0
        var none = viewHarmonicModel.getNoActionText()              // no action; "" until a run completed
        variableField.text = rampPortList[viewHarmonicModel.getFaultActionPort()] || ""
        actionValueField.text = acted ? viewHarmonicModel.getFaultActionValue() : none
        actionTimeField.text = acted ? timeText(time) : none
        var input = viewHarmonicModel.getBinaryInputIndex()
        inputField.text = input > 0 ? String(input) : (completed ? "--" : "")
        var result = viewHarmonicModel.getTestResult()
        if (state === ViewBaseModel.AO_STATE_TYPE_INITING)
            resultField.text = qsTr("未测试")                         // not tested
        else if (state === ViewBaseModel.AO_STATE_TYPE_RUNNNING)
            resultField.text = qsTr("测试中")                         // testing
        else if (result === ViewBaseModel.AO_Result_TYPE_SUCCESS)
            resultField.text = qsTr("通过")                           // passed
        else if (result === ViewBaseModel.AO_Result_TYPE_FAILED)
            resultField.text = qsTr("失败")                           // failed
        else
            resultField.text = none
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterRange(port, value) {
        if (ViewUtilityHelper.qmlIsNaN(value))
            return
        if (activeSlot > 0 && percentMode) {
            if (value !== viewHarmonicModel.getOutputPercent(port))
                viewHarmonicModel.setOutputPercent(port, value)
        } else if (value !== viewHarmonicModel.getOutputRange(port)) {
            viewHarmonicModel.setOutputRange(port, value)
        }
        updateControlValue()
    }

    function enterAngle(port, value) {
        if (!ViewUtilityHelper.qmlIsNaN(value) && value !== viewHarmonicModel.getOutputAngle(port))
            viewHarmonicModel.setOutputAngle(port, value)
        updateControlValue()
    }

    function enterAndReload(value, getter, setter) {
        enterValue(value, getter, setter)
        updateControlValue()
    }

    // ---- 1. Output block ------------------------------------------------------------------------
    Column {
        id: outputBlock
        objectName: "outputBlock"
        x: 4
        y: 2
        width: 296
        spacing: 2

        Row {
            id: orderHeader
            height: page.rowHeight
            spacing: 4

            ToolTextButton {
                objectName: "prevOrderButton"
                width: 32
                height: page.rowHeight
                text: "<"
                ToolTip.visible: down
                ToolTip.text: qsTr("上一波次")                          // previous slot
                onClicked: {
                    viewHarmonicModel.activePrevOrder()
                    page.updateControlValue()
                }
            }
            Item {
                width: 160
                height: page.rowHeight

                LabelText {
                    objectName: "summaryLabel"
                    anchors.fill: parent
                    horizontalAlignment: Text.AlignHCenter
                    text: "RMS & THD"
                    visible: page.summaryShown
                }
                Row {
                    spacing: 4
                    visible: !page.summaryShown
                    FitLabel {
                        width: 84
                        height: page.rowHeight
                        text: qsTr("谐波次数:")                          // order
                        font.pixelSize: page.tinyFontSize
                    }
                    ToolComboBox {
                        id: orderBox
                        objectName: "orderBox"
                        width: 72
                        height: page.rowHeight
                        enabled: page.activeSlot > 0 && !page.running
                        onActivated: page.applyAndReload(viewHarmonicModel.setOutputOrders, index)
                    }
                }
            }
            FitLabel {
                id: orderText
                objectName: "orderText"
                width: 56
                height: page.rowHeight
                horizontalAlignment: Text.AlignHCenter
                text: "[1/4]"
            }
            ToolTextButton {
                objectName: "nextOrderButton"
                width: 32
                height: page.rowHeight
                text: ">"
                ToolTip.visible: down
                ToolTip.text: qsTr("后一波次")                          // next slot
                onClicked: {
                    viewHarmonicModel.activeNextOrder()
                    page.updateControlValue()
                }
            }
        }

        Column {
            id: outputTable
            objectName: "outputTable"
            spacing: 2
            enabled: !page.outputsLocked

            Repeater {
                id: outputRows
                model: 8

                Row {
                    id: outputRowItem

                    readonly property int port: index
                    readonly property bool voltage: index < 4
                    readonly property alias rangeBox: rangeBox
                    readonly property alias angleBox: angleBox

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
                        width: 128
                        height: page.rowHeight
                        unitWidth: 22
                        dataMin: 0
                        dataAutoToLimit: true
                        readOnly: page.outputsLocked
                        quick1Value: page.formatted(outputRowItem.voltage ? page.rateVoltage : page.rateCurrent / 10)
                        quick2Value: page.formatted(outputRowItem.voltage ? page.maxVoltage : page.maxCurrent)
                        quick3Value: outputRowItem.voltage ? "220.0" : "5.0"
                        onDataValueEntered: page.enterRange(outputRowItem.port, dataValue)
                    }
                    EditNumberBox {
                        id: angleBox
                        objectName: "angle" + outputRowItem.port
                        width: 120
                        height: page.rowHeight
                        unitWidth: 22
                        dataAutoToLimit: true
                        readOnly: page.outputsLocked
                        quick1Value: "120.0"
                        quick2Value: "240.0"
                        quick3Value: "360.0"
                        onDataValueEntered: page.enterAngle(outputRowItem.port, dataValue)
                    }
                }
            }
        }
    }

    // ---- 2. Setting and trigger tabs --------------------------------------------------------------
    Item {
        id: tabArea
        x: 306
        y: 2
        width: 490
        height: 252

        PageTabBar {
            id: tabBar
            width: parent.width
            tabs: [{ text: qsTr("参数设置"), name: "settingTabButton" },          // settings
                   { text: qsTr("触发逻辑"), name: "triggerTabButton" }]          // trigger
        }

        Column {
            id: settingPanel
            objectName: "settingPanel"
            anchors.top: tabBar.bottom
            anchors.topMargin: 4
            width: parent.width
            spacing: 4
            visible: tabBar.currentIndex === 0

            // The left column: boxes and the "+" and "-" buttons; the right
            // one: the lists, which keep the room of their entries.
            readonly property int columnWidth: 246

            component SettingRow: LabeledRow {
                labelHeight: page.rowHeight
                labelPixelSize: page.tinyFontSize
            }

            Row {
                spacing: 8

                LabelColumn {
                    id: leftColumn
                    readonly property int fieldWidth: width - labelWidth - 4
                    width: settingPanel.columnWidth
                    spacing: 4
                    minimumLabelWidth: 78

                    SettingRow {
                        label: qsTr("步长:")                                 // step
                        EditNumberBox {
                            id: stepBox
                            objectName: "stepBox"
                            width: leftColumn.fieldWidth - 40
                            height: page.rowHeight
                            enabled: !page.running
                            dataMin: 0
                            dataMax: 300
                            dataAutoToLimit: true
                            quick1Value: "5.0"
                            quick2Value: "10.0"
                            quick3Value: "20.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewHarmonicModel.getRampStepValue,
                                                                    viewHarmonicModel.setRampStepValue)
                        }
                        ToolTextButton {
                            objectName: "plusButton"
                            width: 36
                            height: page.rowHeight
                            text: "+"
                            enabled: page.steppingEnabled
                            onClicked: page.quickStep(true)
                        }
                    }
                    SettingRow {
                        label: qsTr("终值:")                                 // end value
                        EditNumberBox {
                            id: endBox
                            objectName: "endBox"
                            width: leftColumn.fieldWidth - 40
                            height: page.rowHeight
                            enabled: !page.running
                            dataAutoToLimit: true
                            onDataValueEntered: page.enterAndReload(dataValue, viewHarmonicModel.getEndRampValue,
                                                                    viewHarmonicModel.setEndRampValue)
                        }
                        ToolTextButton {
                            objectName: "minusButton"
                            width: 36
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
                            width: 132
                            height: page.rowHeight
                            leftPadding: 0
                            text: qsTr("自动时间:")                          // automatic ramp, time per step
                            font.pixelSize: page.tinyFontSize
                            enabled: !page.running
                            onClicked: {
                                if (checked !== viewHarmonicModel.getAutoRampEnabled())
                                    page.applyAndReload(viewHarmonicModel.setAutoRampEnabled, checked)
                            }
                        }
                        EditNumberBox {
                            id: autoTimeBox
                            objectName: "autoTimeBox"
                            width: settingPanel.columnWidth - 136
                            height: page.rowHeight
                            unit: "s"
                            readOnly: page.running || !page.autoMode
                            enabled: page.autoMode && !page.running
                            dataMin: 0
                            dataMax: 300
                            dataAutoToLimit: true
                            quick1Value: "0.1"
                            quick2Value: "1.0"
                            quick3Value: "10.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewHarmonicModel.getRampTimeValue,
                                                                    viewHarmonicModel.setRampTimeValue)
                        }
                    }
                    SettingRow {
                        label: qsTr("整定时间:")                              // setting time
                        labelPixelSize: page.smallFontSize
                        EditNumberBox {
                            id: settingTimeBox
                            objectName: "settingTimeBox"
                            width: leftColumn.fieldWidth
                            height: page.rowHeight
                            enabled: !page.running
                            unit: "s"
                            dataMin: 0
                            dataMax: 1000
                            dataAutoToLimit: true
                            quick1Value: "0.1"
                            quick2Value: "10.0"
                            quick3Value: "20.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewHarmonicModel.getSettingTime,
                                                                    viewHarmonicModel.setSettingTime)
                        }
                    }
                    SettingRow {
                        label: qsTr("偏差:")                                  // deviation
                        EditNumberBox {
                            id: devTimeBox
                            objectName: "devTimeBox"
                            width: leftColumn.fieldWidth
                            height: page.rowHeight
                            enabled: !page.running
                            unit: "s"
                            dataMin: 0
                            dataMax: 1000
                            dataAutoToLimit: true
                            quick1Value: "0.1"
                            quick2Value: "10.0"
                            quick3Value: "20.0"
                            onDataValueEntered: page.enterAndReload(dataValue, viewHarmonicModel.getDevTime,
                                                                    viewHarmonicModel.setDevTime)
                        }
                    }
                }

                LabelColumn {
                    id: rightColumn
                    readonly property int fieldWidth: width - labelWidth - 4
                    width: settingPanel.width - 8 - settingPanel.columnWidth
                    spacing: 4
                    minimumLabelWidth: 78
                    maximumLabelWidth: width - 4 - 112

                    SettingRow {
                        label: qsTr("谐波次数:")                              // ramped slot
                        ToolComboBox {
                            id: rampOrderBox
                            objectName: "rampOrderBox"
                            width: rightColumn.fieldWidth
                            height: page.rowHeight
                            enabled: !page.running
                            onActivated: {
                                if (index !== viewHarmonicModel.getFaultActionOrder())
                                    page.applyAndReload(viewHarmonicModel.setFaultActionOrder, index)
                            }
                        }
                    }
                    SettingRow {
                        label: qsTr("变量选择:")                              // ramped group
                        labelPixelSize: page.smallFontSize
                        ToolComboBox {
                            id: variableBox
                            objectName: "variableBox"
                            width: rightColumn.fieldWidth
                            height: page.rowHeight
                            model: page.rampPortList
                            enabled: !page.running
                            onActivated: {
                                if (index !== viewHarmonicModel.getFaultActionPort())
                                    page.applyAndReload(viewHarmonicModel.setFaultActionPort, index)
                            }
                        }
                    }
                    SettingRow {
                        label: qsTr("测试项目:")                              // item
                        ToolComboBox {
                            id: itemBox
                            objectName: "itemBox"
                            width: rightColumn.fieldWidth
                            height: page.rowHeight
                            model: [qsTr("幅值"), qsTr("相位")]                 // amplitude, phase
                            enabled: !page.running
                            onActivated: {
                                if (index !== viewHarmonicModel.getFaultActionItem())
                                    page.applyAndReload(viewHarmonicModel.setFaultActionItem, index)
                            }
                        }
                    }
                    ToolCheckBox {
                        id: stopCheck
                        objectName: "stopCheck"
                        width: rightColumn.width
                        height: page.rowHeight
                        leftPadding: 0
                        text: qsTr("动作停止")                                // stop at the action
                        font.pixelSize: page.tinyFontSize
                        enabled: !page.running && !page.autoMode
                        onClicked: page.applyAndReload(viewHarmonicModel.setFaultActionType,
                                                       checked ? ViewBaseModel.ACTION_TYPE_STOP
                                                               : ViewBaseModel.ACTION_TYPE_CONTINUE)
                    }
                }
            }

            SettingRow {
                labelWidth: Math.max(leftColumn.labelWidth, labelImplicitWidth)
                label: qsTr("谐波含量:")                                      // harmonic amplitudes as
                ToolRadioButton {
                    id: ampRadio
                    objectName: "ampRadio"
                    height: page.rowHeight
                    text: qsTr("AMP")                                          // absolute
                    font.pixelSize: page.tinyFontSize
                    enabled: !page.running
                    onClicked: {
                        if (!viewHarmonicModel.getShowRange())
                            page.applyAndReload(viewHarmonicModel.setShowRange, true)
                    }
                }
                ToolRadioButton {
                    id: percentRadio
                    objectName: "percentRadio"
                    height: page.rowHeight
                    text: qsTr("百分比")                                        // percent
                    font.pixelSize: page.smallFontSize
                    enabled: !page.running
                    onClicked: {
                        if (viewHarmonicModel.getShowRange())
                            page.applyAndReload(viewHarmonicModel.setShowRange, false)
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
            viewModel: viewHarmonicModel
            rowHeight: page.rowHeight
            labelPixelSize: page.smallFontSize
            optionPixelSize: page.tinyFontSize
        }
    }

    // ---- 3. Result row -------------------------------------------------------------------------------
    // One size for the titles and the fields, each column as wide as the
    // widest text it may show (ColumnFit.js), in the area's width: the titles
    // on one line unless two lines let the row read larger.
    readonly property var resultLayout: {
        var none = qsTr("未动作")
        var texts = [rampPortList, [actionValueField.text, none], [actionTimeField.text, none, timeText(0.999999)],
                     ["--"], [qsTr("未测试"), qsTr("测试中"), qsTr("通过"), qsTr("失败"), none]]
        var whole = []
        var words = []
        for (var c = 0; c < texts.length; ++c) {
            var widest = 0
            for (var t = 0; t < texts[c].length; ++t)
                widest = Math.max(widest, resultMetrics.advanceWidth(texts[c][t]))
            var title = resultTitles[c].split(" ")
            var word = 0
            for (var w = 0; w < title.length; ++w)
                word = Math.max(word, resultTitleMetrics.advanceWidth(title[w]))
            whole.push(Math.max(widest, resultTitleMetrics.advanceWidth(resultTitles[c])))
            words.push(Math.max(widest, word))
        }
        // Around each text a field's margins and a pixel to spare on each side.
        var room = resultArea.width - (texts.length - 1) * resultRow.spacing
        var shares = [80, 118, 118, 40, 126]
        var oneLine = ColumnFit.fit(whole, 14, shares, room, page.tinyFontSize)
        var twoLines = ColumnFit.fit(words, 14, shares, room, page.tinyFontSize)
        return twoLines.pixelSize > oneLine.pixelSize ? twoLines : oneLine
    }
    readonly property var resultWidths: resultLayout.widths
    readonly property int resultPixelSize: resultLayout.pixelSize
    readonly property var resultTitles: [qsTr("变量"), qsTr("动作值"), qsTr("动作时间"), qsTr("开入"),
                                         qsTr("结果")]            // variable, trip value, trip time, DI, result

    FontMetrics {
        id: resultMetrics
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: page.tinyFontSize
    }
    FontMetrics {
        id: resultTitleMetrics
        font.family: globalConfiguration.customFontFamily
        font.weight: Font.DemiBold
        font.pixelSize: page.tinyFontSize
    }

    Column {
        id: resultArea
        objectName: "resultArea"
        x: 306
        y: 258
        width: 490
        spacing: 4

        LabelText {
            width: parent.width
            height: 26
            text: qsTr("测试结果")                                       // test result
        }
        Row {
            spacing: 2
            Repeater {
                model: page.resultTitles
                Text {
                    width: page.resultWidths[index]
                    height: 2 * resultTitleMetrics.height * page.resultPixelSize / page.tinyFontSize
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignBottom
                    wrapMode: Text.WordWrap
                    maximumLineCount: 2
                    color: globalConfiguration.customForeground
                    font.family: globalConfiguration.customFontFamily
                    font.weight: Font.DemiBold
                    font.pixelSize: page.resultPixelSize
                    text: modelData
                }
            }
        }
        Row {
            id: resultRow
            spacing: 2

            component Field: ResultField {
                property int column: 0
                width: page.resultWidths[column]
                font.pixelSize: page.resultPixelSize
            }

            Field { id: variableField; objectName: "variableField"; column: 0 }
            Field { id: actionValueField; objectName: "actionValueField"; column: 1 }
            Field { id: actionTimeField; objectName: "actionTimeField"; column: 2 }
            Field { id: inputField; objectName: "inputField"; column: 3 }
            Field { id: resultField; objectName: "resultField"; column: 4 }
        }
    }
}

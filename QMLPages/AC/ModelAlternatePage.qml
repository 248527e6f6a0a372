import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewAlternateModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The AC output test page. Everything it shows comes from its view model
// (viewAlternateModel), everything it does goes through the model's
// invokables; the page holds only layout, texts and which controls are open.
//
// Regions: the output table (amplitude, angle, frequency of UA..IX), the
// "参数设置" tab (step, end value, "+" / "-", fault calculator, auto ramp,
// ramped group, item and mode) and the "触发逻辑" tab (binary-input logic and
// conditions, binary outputs), the result area, and the control bar (start,
// stop, live binary inputs and outputs, the file dialog).
//
// What the main window uses: signal exitEnable(bool), following the model's
// sigExitEnable (false from a start until the engine reports the run), and
// saveParameter() when the page is left.
Item {
    id: page

    // ---- State -----------------------------------------------------------------------
    property int rowHeight: 32
    // The rows of the ramped-group list (UX and IX only on four-phase units).
    property var rampPortList: []
    // The pending overwrite question: "", "SAVE_PARAMETERS" or "SAVE_REPORT".
    property string msgType: ""
    property string saveFileName: ""

    // What the page shows, set from the model by the update functions.
    property bool running: false
    property bool autoMode: false
    property int actionType: ViewBaseModel.ACTION_TYPE_STOP
    property int actionItem: ViewBaseModel.RAMP_ITEM_TYPE_RANGE
    property bool runEnabled: true
    // The output table and the calculator are locked while the engine ramps.
    property bool locked: false
    property bool uxVisible: false
    property bool ixVisible: false
    property real maxVoltage: 300
    property real maxCurrent: 10
    property int languageType: ViewBaseModel.LANGUAGE_TYPE_CHINESE
    property bool settingTab: true
    // The page has been shown once (a hide before that stops nothing).
    property bool shownOnce: false

    readonly property bool returnShown: autoMode && actionType === ViewBaseModel.ACTION_TYPE_RETURN
    readonly property bool steppingEnabled: running ? (!autoMode && runEnabled) : (autoMode && runEnabled)
    readonly property int smallFontSize: languageType === ViewBaseModel.LANGUAGE_TYPE_RUSSIAN
                                         ? globalConfiguration.customFontL3Size
                                         : globalConfiguration.customFontL2Size
    readonly property int tinyFontSize: languageType === ViewBaseModel.LANGUAGE_TYPE_JAPANESE
                                        || languageType === ViewBaseModel.LANGUAGE_TYPE_RUSSIAN
                                        ? globalConfiguration.customFontL3Size
                                        : globalConfiguration.customFontL2Size

    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var allRampPorts: ["UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                                         "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"]

    // For the tests and the gallery.
    readonly property alias viewModel: viewAlternateModel
    readonly property alias messageDialog: messageDialog
    readonly property alias fileDialog: fileDialog
    readonly property alias distanceDialog: distanceDialog

    signal exitEnable(bool enable)

    implicitWidth: 800
    implicitHeight: 436

    ViewAlternateModel {
        id: viewAlternateModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    function timeText(seconds) {
        return ViewUtilityHelper.doubleFormatToStringForTime(seconds, 3, globalConfiguration.customLocalName)
    }

    function outputRow(port) {
        return outputRows.itemAt(port)
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

    // ---- Loading the controls -------------------------------------------------------------
    // Input limits and the rows that exist on this unit.
    function initControlValue() {
        maxVoltage = viewAlternateModel.getDeviceAOVMaxRange()
        maxCurrent = viewAlternateModel.getDeviceAOIMaxRange()
        languageType = viewAlternateModel.getLanuageType()
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
            endBox.dataMin = 10
            endBox.dataMax = 1000
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
        var unit = itemUnit()
        endBox.unit = unit
        stepBox.unit = unit
    }

    function updateResult() {
        var state = viewAlternateModel.getTestState()
        if (state === -1) {
            actionValueField.text = ""
            returnValueField.text = ""
            actionTimeField.text = ""
            returnTimeField.text = ""
            factorField.text = ""
            return
        }
        var none = qsTr("未动作")                                    // no action
        var action = viewAlternateModel.isExistFaultActionValue(0)
        var back = viewAlternateModel.isExistFaultActionValue(1)
        actionValueField.text = action ? viewAlternateModel.getFaultActionValue(0) : none
        actionTimeField.text = action ? timeText(viewAlternateModel.getFaultActionTime(0)) : none
        returnValueField.text = back ? viewAlternateModel.getFaultActionValue(1) : none
        returnTimeField.text = back ? timeText(viewAlternateModel.getFaultActionTime(1)) : none
        factorField.text = action && back ? viewAlternateModel.getFaultActionFactor() : none
    }

    // Every control from its getter.
    function updateControlValue() {
        autoMode = viewAlternateModel.getAutoRampEnabled()
        actionType = viewAlternateModel.getFaultActionType()
        updateControlLimit()
        for (var p = 0; p < 8; ++p) {
            var row = outputRow(p)
            if (!row)
                continue
            row.rangeBox.setDataValue(viewAlternateModel.getOutputRange(p))
            row.angleBox.setDataValue(viewAlternateModel.getOutputAngle(p))
            row.frequencyBox.setDataValue(viewAlternateModel.getOutputFrequency(p))
        }
        updateResult()
        autoCheck.checked = autoMode
        if (autoMode)
            modeBox.setDataValue(actionType)
        else
            modeBox.setDataValue(actionType === ViewBaseModel.ACTION_TYPE_STOP ? 0 : 1)
        stepBox.setDataValue(viewAlternateModel.getRampStepValue())
        endBox.setDataValue(viewAlternateModel.getEndRampValue())
        autoTimeBox.setDataValue(viewAlternateModel.getRampTimeValue())
        variableBox.setDataValue(viewAlternateModel.getFaultActionPort())
        itemBox.setDataValue(actionItem)
        updateControlState(running)
        for (var i = 0; i < 4; ++i) {
            biConditions.itemAt(i).setStateValue(viewAlternateModel.getOutputBIState(0, i))
            boButtons.itemAt(i).setChecked(viewAlternateModel.getOutputBOState(i) !== 0)
        }
        var andLogic = viewAlternateModel.getOutputBILogic(0) === ViewBaseModel.AO_BILOGIC_TYPE_AND
        logicAnd.checked = andLogic
        logicOr.checked = !andLogic
    }

    // ---- Page states ----------------------------------------------------------------------
    function updateRunningState(isRunning) {
        running = isRunning
        updateControlState(isRunning)
    }

    function updateControlState(isRunning) {
        runEnabled = viewAlternateModel.getRunEnabled()
    }

    function updateReadonly(isLocked) {
        locked = isLocked
    }

    function updateLiveInputs() {
        for (var i = 0; i < 4; ++i)
            biLamps.itemAt(i).on = viewAlternateModel.getBIState(i)
    }

    function updateLiveOutputs() {
        for (var i = 0; i < 4; ++i)
            boLamps.itemAt(i).on = viewAlternateModel.getBOState(i)
    }

    function clearOutputButtons() {
        for (var i = 0; i < 4; ++i)
            boButtons.itemAt(i).setChecked(false)
    }

    function closeInputPanels() {
        if (typeof inputNumberPanel !== "undefined" && inputNumberPanel)
            inputNumberPanel.close()
        if (typeof inputDateTimePanel !== "undefined" && inputDateTimePanel)
            inputDateTimePanel.close()
        if (typeof inputTimePanel !== "undefined" && inputTimePanel)
            inputTimePanel.close()
    }

    // The engine's notices, relayed by the model.
    function emitUpdateDataToView(dataType, subType) {
        if (viewAlternateModel.getTestActiveType() === ViewBaseModel.TEST_ALTERNATE) {
            switch (dataType) {
            case ViewBaseModel.DATA_TYPE_RT_STATE:
                if (subType < 0 || subType === ViewBaseModel.STATE_TYPE_RUNNING) {
                    var isRunning = viewAlternateModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
                    updateRunningState(isRunning)
                    updateReadonly(isRunning && viewAlternateModel.getAutoRampEnabled())
                    updateControlValue()
                    if (!isRunning && typeof inputNumberPanel !== "undefined" && inputNumberPanel)
                        inputNumberPanel.close()
                }
                break
            case ViewBaseModel.DATA_TYPE_TEST_OUTPUTDATA:
            case ViewBaseModel.DATA_TYPE_TEST_ACTIONDATA:
                updateControlValue()
                break
            case ViewBaseModel.DATA_TYPE_RT_TEMP:
                if (!running)
                    runEnabled = viewAlternateModel.getRunEnabled()
                break
            }
        }
        if (dataType === ViewBaseModel.DATA_TYPE_RT_BO)
            updateLiveOutputs()
        else if (dataType === ViewBaseModel.DATA_TYPE_RT_BI)
            updateLiveInputs()
    }

    function pageShown() {
        shownOnce = true
        viewAlternateModel.testActive()
        viewAlternateModel.loadParameter()
        viewAlternateModel.updateDeviceConfig()
        viewAlternateModel.updateVMToEnt(ViewBaseModel.DATA_TYPE_TEST_OUTPUTDATA, -1, false)
        initControlValue()
        updateControlValue()
        updateRunningState(false)
        updateReadonly(false)
        updateLiveInputs()
        updateLiveOutputs()
        exitEnable(viewAlternateModel.getExitEnabled())
    }

    function pageHidden() {
        closeInputPanels()
        if (!shownOnce)
            return
        if (running || viewAlternateModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0) {
            viewAlternateModel.testInterrupt()
            updateRunningState(false)
            updateReadonly(false)
        }
        viewAlternateModel.revertBoState()
        clearOutputButtons()
    }

    onVisibleChanged: {
        if (visible)
            pageShown()
        else
            pageHidden()
    }

    // The main window saves the page's file when the page is left.
    function saveParameter() {
        return viewAlternateModel.saveParameter()
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterOutput(kind, port, value) {
        if (ViewUtilityHelper.qmlIsNaN(value))
            return
        if (kind === 0) {
            if (value === viewAlternateModel.getOutputRange(port))
                return
            viewAlternateModel.setOutputRange(port, value)
        } else if (kind === 1) {
            if (value === viewAlternateModel.getOutputAngle(port))
                return
            viewAlternateModel.setOutputAngle(port, value)
        } else {
            if (value === viewAlternateModel.getOutputFrequency(port))
                return
            viewAlternateModel.setOutputFrequency(port, value)
        }
        updateControlValue()
    }

    // A start from the page: the running state at once, the exit follows the model.
    function startTest() {
        if (!viewAlternateModel.testStart())
            return false
        updateRunningState(true)
        updateReadonly(viewAlternateModel.getAutoRampEnabled())
        return true
    }

    // "+" (up) and "-" (down): a manual step while running, or the direction
    // of an automatic ramp and its start while idle.
    function quickStep(up) {
        var accepted = viewAlternateModel.quickChange(up)
        updateControlValue()
        if (!accepted || running || viewAlternateModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0)
            return
        startTest()
    }

    function startClicked() {
        if (viewAlternateModel.getAutoRampEnabled() && !viewAlternateModel.quickChange(true)) {
            updateControlValue()
            return
        }
        updateControlValue()
        startTest()
    }

    function stopClicked() {
        viewAlternateModel.testInterrupt()
        updateRunningState(false)
        updateReadonly(false)
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

    // ---- Messages and files --------------------------------------------------------------------
    // A notice with only "确定".
    function showMessage(text) {
        msgType = ""
        messageDialog.title = qsTr("系统提示")                       // notice
        messageDialog.acceptText = qsTr("确定")
        messageDialog.rejectText = ""
        messageDialog.content = text
        if (messageDialog.opened)
            messageDialog.close()
        messageDialog.open()
    }

    // An overwrite question; its answer arrives in messageAccepted().
    function askOverwrite(type, text) {
        msgType = type
        messageDialog.title = qsTr("系统提示")
        messageDialog.acceptText = qsTr("确定")
        messageDialog.rejectText = qsTr("取消")                      // cancel
        messageDialog.content = text
        messageDialog.open()
    }

    function messageAccepted() {
        var type = msgType
        msgType = ""
        // After the question has closed: the result is a notice of its own.
        if (type === "SAVE_PARAMETERS")
            Qt.callLater(saveParametersNow)
        else if (type === "SAVE_REPORT")
            Qt.callLater(saveReportNow)
    }

    function openFileDialog() {
        messageDialog.title = qsTr("系统提示")
        messageDialog.acceptText = qsTr("确定")
        messageDialog.rejectText = ""
        fileDialog.moduleName = "AC_"
        fileDialog.fileModelList = viewAlternateModel.getParmFileList()
        fileDialog.open()
    }

    function saveParametersAs(name) {
        saveFileName = name
        if (viewAlternateModel.checkParmFileExist(name))
            askOverwrite("SAVE_PARAMETERS", qsTr("参数文件已存在, 确定要覆盖文件?"))   // overwrite the file?
        else
            Qt.callLater(saveParametersNow)
    }

    function saveParametersNow() {
        showMessage(viewAlternateModel.backupParameter(saveFileName) ? qsTr("保存参数成功！")   // saved
                                                                     : qsTr("保存参数失败！"))  // not saved
    }

    function saveReportAs(name) {
        saveFileName = name
        if (viewAlternateModel.checkReportFileExist(name))
            askOverwrite("SAVE_REPORT", qsTr("报告文件已存在, 确定要覆盖文件?"))
        else
            Qt.callLater(saveReportNow)
    }

    function saveReportNow() {
        showMessage(viewAlternateModel.saveReport(saveFileName) ? qsTr("保存报告成功！")
                                                                : qsTr("保存报告失败！"))
    }

    function loadParametersFrom(name) {
        var loaded = viewAlternateModel.loadParmFromFile(name)
        if (loaded) {
            initControlValue()
            updateControlValue()
        }
        Qt.callLater(showMessage, loaded ? qsTr("导入参数成功！") : qsTr("导入参数失败！"))
    }

    Connections {
        target: viewAlternateModel
        function onSigUpdateDataToView(dataType, subType) {
            page.emitUpdateDataToView(dataType, subType)
        }
        function onSigExitEnable(enable) {
            page.exitEnable(enable)
        }
        function onSigUserMessage(text) {
            page.showMessage(text)
        }
    }

    Component.onCompleted: clearOutputButtons()

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
                    onQuick1Clicked: {
                        viewAlternateModel.setRateRange(outputRowItem.port)
                        page.updateControlValue()
                    }
                    onQuick2Clicked: {
                        viewAlternateModel.setBalanceRange(outputRowItem.port)
                        page.updateControlValue()
                    }
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
                    onQuick1Clicked: {
                        viewAlternateModel.setPositiveAngle(outputRowItem.port, true)
                        page.updateControlValue()
                    }
                    onQuick2Clicked: {
                        viewAlternateModel.setPositiveAngle(outputRowItem.port, false)
                        page.updateControlValue()
                    }
                    onDataValueEntered: page.enterOutput(1, outputRowItem.port, dataValue)
                }
                EditNumberBox {
                    id: frequencyBox
                    objectName: "frequency" + outputRowItem.port
                    width: 146
                    height: page.rowHeight
                    unit: "Hz"
                    unitWidth: 24
                    dataMin: 10
                    dataMax: 1000
                    dataAutoToLimit: true
                    signalEnable: true
                    quick1Value: qsTr("额定")
                    quick2Value: qsTr("平衡")
                    onQuick1Clicked: {
                        viewAlternateModel.setRateFrequency(outputRowItem.port)
                        page.updateControlValue()
                    }
                    onQuick2Clicked: {
                        viewAlternateModel.setBalanceFrequency(outputRowItem.port)
                        page.updateControlValue()
                    }
                    onDataValueEntered: page.enterOutput(2, outputRowItem.port, dataValue)
                }
            }
        }
    }

    // ---- 3. Setting and trigger tabs --------------------------------------------------------------
    Item {
        id: tabArea
        x: 508
        y: 2
        width: 288
        height: 272

        Row {
            id: tabBar
            width: parent.width
            height: 30
            spacing: 4

            ToolTextButton {
                id: settingTabButton
                objectName: "settingTabButton"
                width: (tabBar.width - tabBar.spacing) / 2
                height: tabBar.height
                text: qsTr("参数设置")                                  // settings
                background: page.settingTab ? globalConfiguration.customPrimary : globalConfiguration.customBackground
                foreground: page.settingTab ? globalConfiguration.customTitleForeground
                                            : globalConfiguration.customForeground
                onClicked: page.settingTab = true
            }
            ToolTextButton {
                id: triggerTabButton
                objectName: "triggerTabButton"
                width: (tabBar.width - tabBar.spacing) / 2
                height: tabBar.height
                text: qsTr("触发逻辑")                                  // trigger
                background: !page.settingTab ? globalConfiguration.customPrimary : globalConfiguration.customBackground
                foreground: !page.settingTab ? globalConfiguration.customTitleForeground
                                             : globalConfiguration.customForeground
                onClicked: page.settingTab = false
            }
        }

        // Setting tab.
        Column {
            id: settingPanel
            objectName: "settingPanel"
            anchors.top: tabBar.bottom
            anchors.topMargin: 4
            width: parent.width
            spacing: 2
            visible: page.settingTab

            readonly property int labelWidth: 84
            readonly property int boxWidth: 118
            readonly property int buttonWidth: 68

            Row {
                spacing: 4
                height: page.rowHeight
                LabelText {
                    width: settingPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("步长:")                                 // step
                    font.pixelSize: page.tinyFontSize
                }
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
                    onDataValueEntered: {
                        if (!ViewUtilityHelper.qmlIsNaN(dataValue) && dataValue !== viewAlternateModel.getRampStepValue())
                            viewAlternateModel.setRampStepValue(dataValue)
                    }
                }
                ToolTextButton {
                    id: plusButton
                    objectName: "plusButton"
                    width: settingPanel.buttonWidth
                    height: page.rowHeight
                    text: "+"
                    enabled: page.steppingEnabled
                    onClicked: page.quickStep(true)
                }
            }

            Row {
                spacing: 4
                height: page.rowHeight
                LabelText {
                    width: settingPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("终值:")                                 // end value
                    font.pixelSize: page.smallFontSize
                }
                EditNumberBox {
                    id: endBox
                    objectName: "endBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    enabled: !page.running
                    dataAutoToLimit: true
                    onDataValueEntered: {
                        if (!ViewUtilityHelper.qmlIsNaN(dataValue) && dataValue !== viewAlternateModel.getEndRampValue())
                            viewAlternateModel.setEndRampValue(dataValue)
                    }
                }
                ToolTextButton {
                    id: minusButton
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
                        viewAlternateModel.setAutoRampEnabled(checked)
                        page.updateControlValue()
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
                    onDataValueEntered: {
                        if (!ViewUtilityHelper.qmlIsNaN(dataValue) && dataValue !== viewAlternateModel.getRampTimeValue())
                            viewAlternateModel.setRampTimeValue(dataValue)
                    }
                }
            }

            Row {
                spacing: 4
                height: page.rowHeight
                LabelText {
                    width: settingPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("变量选择:")                              // ramped group
                    font.pixelSize: page.smallFontSize
                }
                ToolComboBox {
                    id: variableBox
                    objectName: "variableBox"
                    width: settingPanel.width - settingPanel.labelWidth - 4
                    height: page.rowHeight
                    model: page.rampPortList
                    enabled: !page.running
                    onActivated: {
                        viewAlternateModel.setFaultActionPort(index)
                        page.updateControlValue()
                    }
                }
            }

            Row {
                spacing: 4
                height: page.rowHeight
                LabelText {
                    width: settingPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("测试项目:")                              // item
                    font.pixelSize: page.tinyFontSize
                }
                ToolComboBox {
                    id: itemBox
                    objectName: "itemBox"
                    width: settingPanel.width - settingPanel.labelWidth - 4
                    height: page.rowHeight
                    model: [qsTr("幅值"), qsTr("相位"), qsTr("频率")]        // amplitude, phase, frequency
                    enabled: !page.running
                    onActivated: {
                        viewAlternateModel.setFaultActionItem(index)
                        page.updateControlValue()
                    }
                }
            }

            Row {
                spacing: 4
                height: page.rowHeight
                LabelText {
                    width: settingPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("变化方式:")                              // mode
                    font.pixelSize: page.tinyFontSize
                }
                ToolComboBox {
                    id: modeBox
                    objectName: "modeBox"
                    width: settingPanel.width - settingPanel.labelWidth - 4
                    height: page.rowHeight
                    // From-to, from-to-from, continuous; manual mode has no return.
                    model: page.autoMode ? [qsTr("动作停止"), qsTr("动作返回"), qsTr("持续输出")]
                                         : [qsTr("动作停止"), qsTr("持续输出")]
                    enabled: !page.running
                    onActivated: {
                        viewAlternateModel.setFaultActionType(index)
                        page.updateControlValue()
                    }
                }
            }

            Item {
                width: parent.width
                height: page.rowHeight
                ToolTextButton {
                    id: calcButton
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

        // Trigger tab.
        Column {
            id: triggerPanel
            objectName: "triggerPanel"
            anchors.top: tabBar.bottom
            anchors.topMargin: 8
            width: parent.width
            spacing: 10
            visible: !page.settingTab
            enabled: !page.running

            readonly property int labelWidth: 60

            Row {
                spacing: 8
                height: page.rowHeight
                LabelText {
                    width: triggerPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("逻辑:")                                 // input logic
                    font.pixelSize: page.smallFontSize
                }
                ToolRadioButton {
                    id: logicAnd
                    objectName: "logicAnd"
                    height: page.rowHeight
                    text: qsTr("与")                                    // and
                    font.pixelSize: page.tinyFontSize
                    onClicked: viewAlternateModel.setOutputBILogic(0, ViewBaseModel.AO_BILOGIC_TYPE_AND)
                }
                ToolRadioButton {
                    id: logicOr
                    objectName: "logicOr"
                    height: page.rowHeight
                    text: qsTr("或")                                    // or
                    font.pixelSize: page.tinyFontSize
                    onClicked: viewAlternateModel.setOutputBILogic(0, ViewBaseModel.AO_BILOGIC_TYPE_OR)
                }
            }

            Row {
                spacing: 6
                height: page.rowHeight
                LabelText {
                    width: triggerPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("开入:")                                 // binary inputs
                }
                Repeater {
                    id: biConditions
                    model: 4
                    ToolBinarCheckBox {
                        objectName: "biCondition" + index
                        width: textWidth + 4 + height
                        height: page.rowHeight - 4
                        anchors.verticalCenter: parent.verticalCenter
                        textValue: String(index + 1)
                        textWidth: 12
                        onClicked: viewAlternateModel.setOutputBIState(0, index, stateValue)
                    }
                }
            }

            Row {
                spacing: 6
                height: page.rowHeight
                LabelText {
                    width: triggerPanel.labelWidth
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 10
                    height: page.rowHeight
                    text: qsTr("开出:")                                 // binary outputs
                }
                Repeater {
                    id: boButtons
                    model: 4
                    Row {
                        spacing: 2
                        height: page.rowHeight
                        function setChecked(on) { boButton.setChecked(on) }
                        readonly property alias checked: boButton.checked
                        Text {
                            width: 12
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
                            height: page.rowHeight
                            onClicked: viewAlternateModel.setOutputBOState(index, checked ? 1 : 0)
                        }
                    }
                }
            }
        }
    }

    // ---- 2. Result area --------------------------------------------------------------------------------
    Column {
        id: resultArea
        objectName: "resultArea"
        x: 4
        y: 278
        width: 791
        height: 94
        spacing: 2

        readonly property int labelWidth: 116
        readonly property int fieldWidth: (width - labelWidth - 8) / 2
        readonly property int fieldHeight: 30

        Row {
            spacing: 4
            LabelText {
                width: resultArea.labelWidth
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 10
                height: resultArea.fieldHeight
                text: qsTr("动作值")                                    // trip value
                font.pixelSize: page.smallFontSize
            }
            AcResultField {
                id: actionValueField
                objectName: "actionValueField"
                width: resultArea.fieldWidth
                height: resultArea.fieldHeight
            }
            AcResultField {
                id: returnValueField
                objectName: "returnValueField"
                width: resultArea.fieldWidth
                height: resultArea.fieldHeight
                visible: page.returnShown
            }
        }
        Row {
            spacing: 4
            LabelText {
                width: resultArea.labelWidth
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 10
                height: resultArea.fieldHeight
                text: qsTr("动作时间")                                  // trip time
                font.pixelSize: page.smallFontSize
            }
            AcResultField {
                id: actionTimeField
                objectName: "actionTimeField"
                width: resultArea.fieldWidth
                height: resultArea.fieldHeight
            }
            AcResultField {
                id: returnTimeField
                objectName: "returnTimeField"
                width: resultArea.fieldWidth
                height: resultArea.fieldHeight
                visible: page.returnShown
            }
        }
        Row {
            spacing: 4
            visible: page.returnShown
            LabelText {
                width: resultArea.labelWidth
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 10
                height: resultArea.fieldHeight
                text: qsTr("返回系数")                                  // return coefficient
                font.pixelSize: page.smallFontSize
            }
            AcResultField {
                id: factorField
                objectName: "factorField"
                width: resultArea.fieldWidth
                height: resultArea.fieldHeight
            }
        }
    }

    // ---- 4. Control bar -------------------------------------------------------------------------------
    Rectangle {
        id: controlBar
        x: 0
        y: page.height - height
        width: page.width
        height: 56
        color: globalConfiguration.customBackground
        border.color: globalConfiguration.customGray
        border.width: 1

        ToolTextButton {
            id: startButton
            objectName: "startButton"
            x: 8
            width: 110
            height: 42
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("开始")                                        // start
            visible: !page.running
            enabled: page.runEnabled
            onClicked: page.startClicked()
        }
        ToolTextButton {
            id: stopButton
            objectName: "stopButton"
            x: 8
            width: 110
            height: 42
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("停止")                                        // stop
            visible: page.running
            onClicked: page.stopClicked()
        }

        Row {
            id: liveRow
            anchors.left: startButton.right
            anchors.leftMargin: 24
            anchors.verticalCenter: parent.verticalCenter
            spacing: 6

            LabelText {
                height: 30
                text: qsTr("开入:")
            }
            Repeater {
                id: biLamps
                model: 4
                AcLamp {
                    objectName: "biLamp" + index
                    anchors.verticalCenter: parent.verticalCenter
                    label: String(index + 1)
                }
            }
            Item { width: 18; height: 1 }
            LabelText {
                height: 30
                text: qsTr("开出:")
            }
            Repeater {
                id: boLamps
                model: 4
                AcLamp {
                    objectName: "boLamp" + index
                    anchors.verticalCenter: parent.verticalCenter
                    label: String(index + 1)
                }
            }
        }

        ToolTextButton {
            id: fileButton
            objectName: "fileButton"
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            width: 110
            height: 42
            text: qsTr("File")
            enabled: !page.running
            onClicked: page.openFileDialog()
        }
    }

    // ---- Dialogs --------------------------------------------------------------------------------------
    UserMessageDialog {
        id: messageDialog
        objectName: "messageDialog"
        title: qsTr("系统提示")
        rejectText: ""
        closePolicy: Popup.NoAutoClose
        onAccept: page.messageAccepted()
        onReject: page.msgType = ""
    }

    UserReportParmDialog {
        id: fileDialog
        objectName: "fileDialog"
        moduleName: "AC_"
        closePolicy: Popup.NoAutoClose
        onSaveParameters: page.saveParametersAs(fileName)
        onSaveReport: page.saveReportAs(fileName)
        onLoadParameter: page.loadParametersFrom(fileName)
    }

    ComputerDistanceDialog {
        id: distanceDialog
        objectName: "distanceDialog"
        visible: false
        closePolicy: Popup.NoAutoClose
        onAccept: page.computerDistance()
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewUtilityHelper 1.0

// The frame of a module test page. A page derives from it, declares its view
// model and its own fields, and fills in:
//   viewModel, testType   the page's model and the TESTType it runs
//   fileModule            the name prefix the "File" dialog offers ("AC_")
//   triggerPanel          its trigger tab, when it has one: an item with load()
//                         and clearOutputs(), as PageTriggerPanel
//   binaryLamps           false when the module has no binary inputs and
//                         outputs to show in the bottom bar
// and overrides the hooks it needs:
//   initControls()        limits and rows that depend on the unit
//   loadControls()        every own field from the model's getters
//   lockedWhileRunning()  whether a running test locks the page (locked)
//   prepareStart()        what "开始" does first; false: no start
//   startAllowed()        false while the page has nothing to start ("开始" grey)
//
// The frame carries the page protocol: on show the module is activated, its
// file loaded and pushed and the page filled; on hide a running test stops and
// the binary outputs are reverted; the model's notices switch the page between
// idle and running and refresh it; the live binary inputs and outputs; "开始",
// "停止" and "File" with the parameter-file flow; the model's messages.
//
// What the main window uses: signal exitEnable(bool), following the model's
// sigExitEnable (false from a start until the engine reports the run), and
// saveParameter() when the page is left.
Item {
    id: frame

    property var viewModel: null
    property int testType: -1
    property string fileModule: ""
    property Item triggerPanel: null
    // The bottom bar shows the live binary inputs and outputs.
    property bool binaryLamps: true

    property int rowHeight: 32
    property bool running: false
    property bool runEnabled: true
    // The page's outputs are locked while the engine drives them.
    property bool locked: false
    property int languageType: ViewBaseModel.LANGUAGE_TYPE_CHINESE
    // The page has been shown once (a hide before that stops nothing).
    property bool shownOnce: false

    readonly property int smallFontSize: languageType === ViewBaseModel.LANGUAGE_TYPE_RUSSIAN
                                         ? globalConfiguration.customFontL3Size
                                         : globalConfiguration.customFontL2Size
    readonly property int tinyFontSize: languageType === ViewBaseModel.LANGUAGE_TYPE_JAPANESE
                                        || languageType === ViewBaseModel.LANGUAGE_TYPE_RUSSIAN
                                        ? globalConfiguration.customFontL3Size
                                        : globalConfiguration.customFontL2Size

    readonly property alias bottomBar: bottomBar
    readonly property alias messageDialog: messageDialog
    readonly property alias fileDialog: fileFlow
    // The pending question: "", "SAVE_PARAMETERS" or "SAVE_REPORT".
    readonly property alias msgType: messageDialog.question

    signal exitEnable(bool enable)

    implicitWidth: 800
    implicitHeight: 436

    // ---- Hooks ------------------------------------------------------------------------------
    function initControls() {}
    function loadControls() {}
    function lockedWhileRunning() { return false }
    function prepareStart() { return true }
    function startAllowed() { return true }

    // ---- Texts ------------------------------------------------------------------------------
    // A time in seconds as every page shows one (three decimals, the locale's form).
    function timeText(seconds) {
        return ViewUtilityHelper.doubleFormatToStringForTime(seconds, 3, globalConfiguration.customLocalName)
    }

    // ---- Loading the controls ---------------------------------------------------------------
    function initControlValue() {
        languageType = viewModel.getLanuageType()
        initControls()
    }

    // Every control from its getter.
    function updateControlValue() {
        loadControls()
        updateControlState(running)
        if (triggerPanel)
            triggerPanel.load()
    }

    // ---- Page states ------------------------------------------------------------------------
    function updateRunningState(isRunning) {
        running = isRunning
        updateControlState(isRunning)
    }

    function updateControlState(isRunning) {
        runEnabled = viewModel.getRunEnabled() && startAllowed()
    }

    function updateReadonly(isLocked) {
        locked = isLocked
    }

    function closeInputPanels() {
        if (typeof inputNumberPanel !== "undefined" && inputNumberPanel)
            inputNumberPanel.close()
        if (typeof inputDateTimePanel !== "undefined" && inputDateTimePanel)
            inputDateTimePanel.close()
        if (typeof inputTimePanel !== "undefined" && inputTimePanel)
            inputTimePanel.close()
    }

    // The engine's notices, relayed by the model. A hidden page takes none:
    // it is filled again when shown, and a stop notice arriving after it was
    // left must not bring back the binary outputs it cleared.
    function emitUpdateDataToView(dataType, subType) {
        if (visible && viewModel.getTestActiveType() === testType) {
            switch (dataType) {
            case ViewBaseModel.DATA_TYPE_RT_STATE:
                if (subType < 0 || subType === ViewBaseModel.STATE_TYPE_RUNNING) {
                    var isRunning = viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
                    updateRunningState(isRunning)
                    updateReadonly(isRunning && lockedWhileRunning())
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
                    runEnabled = viewModel.getRunEnabled() && startAllowed()
                break
            }
        }
        if (dataType === ViewBaseModel.DATA_TYPE_RT_BO)
            bottomBar.updateOutputs(viewModel)
        else if (dataType === ViewBaseModel.DATA_TYPE_RT_BI)
            bottomBar.updateInputs(viewModel)
    }

    // The page's parameter file, once; a file that was refused is said.
    function loadPageParameters() {
        viewModel.loadParameter()
        var notice = viewModel.takeParameterFileNotice()
        if (notice !== "")
            Qt.callLater(showMessage, notice)
    }

    function pageShown() {
        shownOnce = true
        viewModel.testActive()
        loadPageParameters()
        viewModel.updateDeviceConfig()
        viewModel.updateVMToEnt(ViewBaseModel.DATA_TYPE_TEST_OUTPUTDATA, -1, false)
        initControlValue()
        updateControlValue()
        updateRunningState(false)
        updateReadonly(false)
        bottomBar.updateInputs(viewModel)
        bottomBar.updateOutputs(viewModel)
        exitEnable(viewModel.getExitEnabled())
    }

    function pageHidden() {
        closeInputPanels()
        if (!shownOnce)
            return
        if (running || viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0) {
            viewModel.testInterrupt()
            updateRunningState(false)
            updateReadonly(false)
        }
        viewModel.revertBoState()
        if (triggerPanel)
            triggerPanel.clearOutputs()
    }

    onVisibleChanged: {
        if (visible)
            pageShown()
        else
            pageHidden()
    }

    // The main window saves the page's file when the page is left.
    function saveParameter() {
        return viewModel.saveParameter()
    }

    // ---- Actions ----------------------------------------------------------------------------
    // A start from the page: the running state at once, the exit follows the model.
    function startTest() {
        if (!viewModel.testStart())
            return false
        updateRunningState(true)
        updateReadonly(lockedWhileRunning())
        return true
    }

    // "+" (up) and "-" (down) of the stepping pages: a manual step while
    // running, or the direction of an automatic ramp and its start while idle.
    function quickStep(up) {
        var accepted = viewModel.quickChange(up)
        updateControlValue()
        if (!accepted || running || viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0)
            return
        startTest()
    }

    function startClicked() {
        var go = prepareStart()
        updateControlValue()
        if (go)
            startTest()
    }

    function stopClicked() {
        viewModel.testInterrupt()
        updateRunningState(false)
        updateReadonly(false)
    }

    // A number entered in a field goes to the model when it is one and differs.
    function enterValue(value, getter, setter) {
        if (!ViewUtilityHelper.qmlIsNaN(value) && value !== getter())
            setter(value)
    }

    // A choice or quick key: the model's setter, then every control again.
    function applyAndReload(setter, first, second) {
        if (second === undefined)
            setter(first)
        else
            setter(first, second)
        updateControlValue()
    }

    function showMessage(text) {
        messageDialog.showMessage(text)
    }

    Connections {
        target: frame.viewModel
        ignoreUnknownSignals: true
        function onSigUpdateDataToView(dataType, subType) {
            frame.emitUpdateDataToView(dataType, subType)
        }
        function onSigExitEnable(enable) {
            frame.exitEnable(enable)
        }
        function onSigUserMessage(text) {
            frame.showMessage(text)
        }
    }

    // ---- Bottom bar and dialogs ---------------------------------------------------------------
    PageBottomBar {
        id: bottomBar
        y: frame.height - height
        width: frame.width
        running: frame.running
        runEnabled: frame.runEnabled
        lampsShown: frame.binaryLamps
        onStartClicked: frame.startClicked()
        onStopClicked: frame.stopClicked()
        onFileClicked: fileFlow.openFor(frame.fileModule)
    }

    PageMessageDialog {
        id: messageDialog
        objectName: "messageDialog"
    }

    ParameterFileFlow {
        id: fileFlow
        objectName: "fileDialog"
        moduleName: frame.fileModule
        viewModel: frame.viewModel
        messageDialog: messageDialog
        onParametersLoaded: {
            frame.initControlValue()
            frame.updateControlValue()
        }
    }
}

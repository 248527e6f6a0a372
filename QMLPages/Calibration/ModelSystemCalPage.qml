import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewCalibrationModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "qrc:/QMLPages/Common"

// The output calibration (inside the settings page, behind its access code):
// the output group and the kind, the cells of the kind with their points, the
// run point by point with the reference meter's readings typed into the
// measure dialog, and saving, reloading, clearing, exporting and importing the
// coefficients. The system model (viewBaseModel) copies the files to and from
// the USB stick.
//
// A run: "开始" only asks the engine; its running notice shows the running
// state and asks for the first point's reading; each point's notice asks for
// the next. From the start until the run is off only "保存" (the stop) stays
// enabled. A stop asks once whether to save; hiding the page stops the run,
// asks nothing and reloads the kind.
Item {
    id: page

    readonly property alias viewModel: calibrationModel
    readonly property int testType: ViewBaseModel.TEST_CALIBRATION
    readonly property alias messageDialog: messageDialog
    readonly property alias measureDialog: measureDialog
    readonly property alias exportDialog: exportDialog

    property int languageType: ViewBaseModel.LANGUAGE_TYPE_CHINESE
    property bool running: false
    // From an accepted start until the run is reported off.
    property bool locked: false
    property bool runEnabled: true
    property bool hasCell: false
    property int currentKind: ViewCalibrationModel.CAL_TYPE_ACDCO
    property int outputGroup: ViewCalibrationModel.CAL_TYPE_PAO
    property bool fourVoltages: false
    property bool fourCurrents: false
    property bool digitalAmplifier: false
    property bool auxDcByValue: false
    // The dialog of "导出系数" / "导入系数" was opened for an export.
    property bool bExport: true
    // The message dialog shows the save question.
    property bool bSave: false
    // The finish notice of a stop that asks nothing (the page asked already,
    // or it is hidden).
    property bool silentFinish: false
    // The user stopped: a running notice still to come opens no dialog.
    property bool stopRequested: false
    property bool exchangeBusy: false
    property string backupFolder: ""

    readonly property bool controlsEnabled: !running && !locked && !exchangeBusy
    readonly property string lloText: qsTr("小信号")                   // low-level outputs
    readonly property string paoText: qsTr("功放")                     // power amplifier

    // The kinds of each group, in the order of their radios.
    readonly property var lowLevelKinds: [
        { kind: ViewCalibrationModel.CAL_TYPE_LLODCO, text: qsTr("零偏") },        // offset
        { kind: ViewCalibrationModel.CAL_TYPE_LLOAMP, text: qsTr("幅值") },        // amplitude
        { kind: ViewCalibrationModel.CAL_TYPE_LLODC, text: qsTr("直流幅值") }       // DC amplitude
    ]
    readonly property var powerKinds: [
        { kind: ViewCalibrationModel.CAL_TYPE_ACDCO, text: qsTr("交流零偏") },      // AC offset
        { kind: ViewCalibrationModel.CAL_TYPE_ACAMP, text: qsTr("交流幅值") },      // AC amplitude
        { kind: ViewCalibrationModel.CAL_TYPE_ACPHA, text: qsTr("交流相位") },      // AC phase
        { kind: ViewCalibrationModel.CAL_TYPE_ACFRQ, text: qsTr("交流频率") },      // AC frequency
        { kind: ViewCalibrationModel.CAL_TYPE_ACFAC, text: qsTr("幅频特性") },      // amplitude against frequency
        { kind: ViewCalibrationModel.CAL_TYPE_DCAMP, text: qsTr("直流幅值") },      // DC amplitude
        { kind: ViewCalibrationModel.CAL_TYPE_AUXDC, text: qsTr("辅助直流") }       // auxiliary DC
    ]
    // Points per cell of kinds 0..10.
    readonly property var pointCounts: [0, 4, 1, 1, 1, 1, 5, 2, 4, 1, 2]

    implicitWidth: 800
    implicitHeight: 436

    // ---- Font sizes by language ----------------------------------------------------------
    // key: a kind number, "llodc" (the low-level DC radio), "save", "export", "import".
    function fontFor(key) {
        var K = ViewCalibrationModel
        if (languageType === ViewBaseModel.LANGUAGE_TYPE_JAPANESE) {
            if (key === K.CAL_TYPE_ACDCO)
                return 17
            if (key === "export")
                return 15
            if (key === "import")
                return 16
        } else if (languageType === ViewBaseModel.LANGUAGE_TYPE_RUSSIAN) {
            var russian = {}
            russian[K.CAL_TYPE_LLODCO] = 18
            russian["llodc"] = 16
            russian[K.CAL_TYPE_ACDCO] = 14
            russian[K.CAL_TYPE_ACAMP] = 14
            russian[K.CAL_TYPE_ACPHA] = 15
            russian[K.CAL_TYPE_ACFRQ] = 15
            russian[K.CAL_TYPE_ACFAC] = 15
            russian[K.CAL_TYPE_DCAMP] = 14
            russian[K.CAL_TYPE_AUXDC] = 15
            russian["save"] = 16
            russian["export"] = 16
            russian["import"] = 16
            if (russian[key] !== undefined)
                return russian[key]
        }
        return 22
    }

    // ---- Cells and points ------------------------------------------------------------------
    function isLowLevel(kind) {
        return kind >= ViewCalibrationModel.CAL_TYPE_LLOAMP
    }

    // Whether the check box of a cell is shown.
    function cellShown(kind, port, level) {
        var K = ViewCalibrationModel
        if (kind === K.CAL_TYPE_AUXDC)
            return false
        if (kind === K.CAL_TYPE_ACFRQ)
            return port === 0 && level === 1
        if (port === 3 && !fourVoltages)
            return false
        if (port === 7 && !fourCurrents)
            return false
        if (kind === K.CAL_TYPE_DCAMP && digitalAmplifier && (port === 5 || port === 7))
            return false
        return true
    }

    // The reference cells that are always on and cannot be changed.
    function cellFixed(kind, port, level) {
        var K = ViewCalibrationModel
        return (kind === K.CAL_TYPE_ACPHA && port === 0) || (kind === K.CAL_TYPE_ACFRQ && port === 0 && level === 1)
    }

    function cellChecked(kind, port, level) {
        return cellFixed(kind, port, level) || calibrationModel.getCurrentSelected(kind, port, level)
    }

    // The port whose points a row shows: UA or IA (the phase kind's voltage rows: UB).
    function rowPort(kind, row) {
        if (row >= 2)
            return 4
        return kind === ViewCalibrationModel.CAL_TYPE_ACPHA ? 1 : 0
    }

    function pointUnit(kind, row) {
        return isLowLevel(kind) || kind === ViewCalibrationModel.CAL_TYPE_AUXDC || row < 2 ? "V" : "A"
    }

    function pointDecimals(kind) {
        return kind === ViewCalibrationModel.CAL_TYPE_LLOAMP || kind === ViewCalibrationModel.CAL_TYPE_LLODCO ? 2 : 1
    }

    function numberText(value, decimals) {
        return ViewUtilityHelper.doubleFormatToString(value, decimals, globalConfiguration.customLocalName)
    }

    // Point k of a row: its text, or "" when the label is hidden.
    function pointText(kind, row, k) {
        var K = ViewCalibrationModel
        if (kind === K.CAL_TYPE_AUXDC) {
            if (row !== 0 || k >= 5)
                return ""
        } else if (k >= (kind === K.CAL_TYPE_ACFAC ? 1 : pointCounts[kind])) {
            return ""
        }
        var value = calibrationModel.getViewPoint(kind, rowPort(kind, row), row % 2, k)
        if (k >= 2 && value === 0)
            return ""
        return numberText(value, pointDecimals(kind)) + pointUnit(kind, row)
    }

    // The amplitude-against-frequency points of UA level 0, alternately on the
    // level-0 and level-1 rows, four to a column (so that they fit at the size
    // of the other panels).
    function frequencyText(k) {
        return numberText(calibrationModel.getViewFrqPoint(ViewCalibrationModel.CAL_TYPE_ACFAC, 0, 0, k), 1) + "Hz"
    }

    // ---- Panel layout ------------------------------------------------------------------------
    // A row of a panel: the four cells (a box and "UA-L0" ...), the points of
    // the row's port and, on the amplitude-against-frequency panel, up to three
    // of its frequencies, each a gap apart from the next and from the border.
    // All texts of a panel share one size: the palette's, or the largest
    // below it with which the row fits.
    readonly property int panelMargin: 6
    // The columns of the ten frequencies, four to a column.
    readonly property int frequencyColumns: 3
    readonly property int textGap: 8
    readonly property int cellBoxSize: 20
    readonly property int cellBoxSpacing: 6
    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]

    function cellText(port, level) {
        return portNames[port] + "-L" + level
    }

    // How many point labels a row of the kind shows at most.
    function pointsPerRow(kind) {
        if (kind === ViewCalibrationModel.CAL_TYPE_AUXDC)
            return 5
        return kind === ViewCalibrationModel.CAL_TYPE_ACFAC ? 1 : pointCounts[kind]
    }

    // The width of the widest text at the palette's size.
    function widestText(texts) {
        var widest = 0
        for (var i = 0; i < texts.length; ++i)
            widest = Math.max(widest, panelMetrics.advanceWidth(texts[i]))
        return widest
    }

    // The font size and the slot widths of a kind's panel of the given width:
    // one width for the cells, one for the points, one per column of
    // frequencies (two of them each); the texts' widths go with the size.
    function panelLayout(kind, width) {
        var K = ViewCalibrationModel
        var cells = [], points = []
        if (kind !== K.CAL_TYPE_AUXDC) {
            for (var port = 0; port < 8; ++port)
                for (var level = 0; level < 2; ++level)
                    cells.push(cellText(port, level))
        }
        for (var row = 0; row < 4; ++row)
            for (var k = 0; k < pointsPerRow(kind); ++k)
                points.push(pointText(kind, row, k))
        var widths = [widestText(cells), widestText(points)]
        if (kind === K.CAL_TYPE_ACFAC) {
            for (var c = 0; c < frequencyColumns; ++c) {
                var column = []
                for (var r = 0; r < 4 && 4 * c + r < 10; ++r)
                    column.push(frequencyText(4 * c + r))
                widths.push(widestText(column))
            }
        }
        var base = panelMetrics.font.pixelSize
        var room = width - 2 * panelMargin
        for (var size = base; ; --size) {
            // A pixel to spare for the rounding at smaller sizes.
            var slots = widths.map(function(w) { return w > 0 ? Math.ceil(w * size / base) + 1 + textGap : 0 })
            var layout = {
                size: size,
                cell: slots[0] > 0 ? cellBoxSize + cellBoxSpacing + slots[0] : 0,
                point: slots[1],
                frequency: slots.slice(2)
            }
            var needed = 4 * layout.cell + pointsPerRow(kind) * layout.point
                    + layout.frequency.reduce(function(sum, w) { return sum + w }, 0)
            if (needed <= room || size <= 10)
                return layout
        }
    }

    // ---- Refreshing ---------------------------------------------------------------------------
    function refreshVisibility() {
        fourVoltages = calibrationModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        fourCurrents = calibrationModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        digitalAmplifier = calibrationModel.getDevicePowerAmpType() === 1
        auxDcByValue = calibrationModel.getDeviceAuxDCType() === 1
        if (locked || running)
            return
        // Hidden cells are not run.
        for (var kind = 1; kind <= 10; ++kind) {
            if (kind === ViewCalibrationModel.CAL_TYPE_AUXDC || kind === ViewCalibrationModel.CAL_TYPE_ACFRQ)
                continue
            for (var port = 0; port < 8; ++port) {
                for (var level = 0; level < 2; ++level) {
                    if (!cellShown(kind, port, level) && calibrationModel.getCurrentSelected(kind, port, level))
                        calibrationModel.setCurrentSelected(kind, port, level, false)
                }
            }
        }
        if (currentKind === ViewCalibrationModel.CAL_TYPE_AUXDC && !auxDcByValue)
            calibrationModel.setCurrentCalType(ViewCalibrationModel.CAL_TYPE_ACDCO)
    }

    // Every control from the model.
    function refreshValues() {
        outputGroup = calibrationModel.getOutputCalType()
        currentKind = calibrationModel.getCurrentCalType()
        hasCell = calibrationModel.hasSelectedCell()
        locked = calibrationModel.isRunLocked()
        revision += 1
    }
    // Bumped by each refresh: the bindings of the check boxes and labels read it.
    property int revision: 0

    function refreshAll() {
        refreshVisibility()
        refreshValues()
    }

    function updateRunEnabled() {
        runEnabled = calibrationModel.getRunEnabled()
    }

    // ---- Run ----------------------------------------------------------------------------------
    function measureUnits(kind, port) {
        var K = ViewCalibrationModel
        var voltage = port < 4
        var point = { unit: voltage ? "V" : "A", min: voltage ? -300 : -30, max: voltage ? 300 : 30 }
        if (kind === K.CAL_TYPE_AUXDC)
            point = { unit: "V", min: -600, max: 600 }
        else if (isLowLevel(kind))
            point = { unit: "V", min: -10, max: 10 }
        var measure = point
        if (kind === K.CAL_TYPE_ACPHA)
            measure = { unit: "°", min: -720, max: 720 }
        else if (kind === K.CAL_TYPE_ACFRQ)
            measure = { unit: "Hz", min: -2000, max: 2000 }
        return { point: point, measure: measure }
    }

    function openMeasureDialog() {
        var u = measureUnits(currentKind, calibrationModel.getCurrentPortIndex())
        measureDialog.setPointValue(u.point.unit, u.point.min, u.point.max, calibrationModel.getCurrentViewPoint())
        measureDialog.setMeasureValue(u.measure.unit, u.measure.min, u.measure.max,
                                      calibrationModel.getCurrentDefault())
        if (!measureDialog.opened)
            measureDialog.open()
    }

    function startClicked() {
        if (!calibrationModel.startRun())
            return
        silentFinish = false
        stopRequested = false
        refreshValues()
    }

    function showStopped() {
        running = false
        measureDialog.close()
        refreshValues()
    }

    // "保存": the run (if any) stops and the question is asked now.
    function saveClicked() {
        if (running || locked) {
            silentFinish = true
            stopRequested = true
        }
        calibrationModel.testInterrupt()
        showStopped()
        askSave()
    }

    function askSave() {
        bSave = true
        messageDialog.ask("SAVE_CAL", qsTr("是否需要保存校准系数？"))     // save the coefficients?
    }

    function showMessage(text) {
        bSave = false
        messageDialog.showMessage(text)
    }

    function runStateChanged() {
        var on = calibrationModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
        var wasRunning = running
        running = on
        refreshValues()
        if (!on) {
            stopRequested = false
            measureDialog.close()
            updateRunEnabled()
        } else if (!wasRunning && !stopRequested && page.visible) {
            openMeasureDialog()
        }
    }

    function emitUpdateDataToView(dataType, subType) {
        if (calibrationModel.getTestActiveType() !== ViewBaseModel.TEST_CALIBRATION)
            return
        switch (dataType) {
        case ViewBaseModel.DATA_TYPE_SYSTEM_CAL:
            // The next point is on.
            if (running && !messageDialog.opened && page.visible)
                openMeasureDialog()
            break
        case ViewBaseModel.DATA_TYPE_RT_STATE:
            if (subType < 0 || subType === ViewBaseModel.STATE_TYPE_RUNNING) {
                runStateChanged()
            } else if (subType === ViewBaseModel.STATE_TYPE_CALFINISH) {
                if (calibrationModel.getState(ViewBaseModel.STATE_TYPE_CALFINISH) === 0)
                    break
                if (silentFinish)
                    silentFinish = false
                else if (page.visible)
                    askSave()
            } else if (subType === ViewBaseModel.STATE_TYPE_CALLOADED) {
                calibrationModel.updateEntToVM(ViewBaseModel.DATA_TYPE_SYSTEM_CAL, -1, false)
                refreshAll()
            }
            break
        case ViewBaseModel.DATA_TYPE_RT_TEMP:
            if (!running)
                updateRunEnabled()
            break
        }
    }

    // ---- Export and import ----------------------------------------------------------------------
    function openExchange(exportIt) {
        bExport = exportIt
        backupFolder = "/media/usb/backup/" + viewBaseModel.getDeviceCode()
        var stick = viewBaseModel.checkUsbDiskExist("backup")
        exportDialog.exportEnable = exportIt
        exportDialog.title = exportIt ? qsTr("导出系数") : qsTr("导入系数")
        exportDialog.backupFolderName = backupFolder
        exportDialog.backupAcceptEnabled = stick
        exportDialog.backupFolderStateVisible = !stick
        exportDialog.open()
    }

    function exchangeAccepted() {
        var started = bExport ? viewBaseModel.startExportCal(backupFolder, exportDialog.exportCalType)
                              : viewBaseModel.startImportCal(backupFolder, exportDialog.exportCalType)
        if (started)
            exchangeBusy = true
    }

    // The model's notice says what stopped it, naming the file.
    function exchangeDone(exported, ok, notice) {
        exchangeBusy = false
        if (notice)
            showMessage(notice)
        else if (exported)
            showMessage(ok ? qsTr("校准系数导出成功!") : qsTr("没有可导出校准系数文件!"))
        else
            showMessage(ok ? qsTr("校准系数导入成功!") : qsTr("没有可导入校准系数文件!"))
    }

    // ---- Shown and hidden -----------------------------------------------------------------------
    function pageShown() {
        languageType = calibrationModel.getLanuageType()
        calibrationModel.testActive()
        calibrationModel.updateVMToEnt(ViewBaseModel.DATA_TYPE_SYSTEM_CAL, -1, false)
        running = false
        stopRequested = false
        refreshAll()
        updateRunEnabled()
    }

    // A run on or starting stops with no question, and the kind is reloaded.
    function pageHidden() {
        if (typeof inputNumberPanel !== "undefined" && inputNumberPanel)
            inputNumberPanel.close()
        if (typeof inputDateTimePanel !== "undefined" && inputDateTimePanel)
            inputDateTimePanel.close()
        if (typeof inputTimePanel !== "undefined" && inputTimePanel)
            inputTimePanel.close()
        if (running || locked || calibrationModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0) {
            silentFinish = true
            stopRequested = true
            calibrationModel.testInterrupt()
            calibrationModel.loadCal(currentKind)
        }
        measureDialog.close()
        if (bSave && messageDialog.opened) {
            // An unanswered save question is answered "取消".
            bSave = false
            messageDialog.close()
            calibrationModel.loadCal(currentKind)
        }
        running = false
    }

    onVisibleChanged: visible ? pageShown() : pageHidden()

    Component.onCompleted: {
        languageType = calibrationModel.getLanuageType()
        refreshAll()
    }

    ViewCalibrationModel {
        id: calibrationModel
    }

    Connections {
        target: calibrationModel
        function onSigUpdateDataToView(dataType, subType) {
            page.emitUpdateDataToView(dataType, subType)
        }
        // Why a start was not asked for.
        function onSigUserMessage(text) {
            if (page.visible)
                page.showMessage(text)
        }
        // What the save did, in the model's words.
        function onSigCalSaveFinished(type, ok, message) {
            if (page.visible)
                page.showMessage(message)
        }
    }

    Connections {
        target: viewBaseModel
        ignoreUnknownSignals: true
        function onSigCalExchangeDone(exported, ok, notice) {
            if (page.exchangeBusy)
                page.exchangeDone(exported, ok, notice)
        }
    }

    // ---- Layout (760 x 440 within the area) -------------------------------------------------------
    Rectangle {
        anchors.fill: parent
        color: globalConfiguration.customBackground
    }

    Column {
        id: content
        x: 4
        y: 4
        width: parent.width - 8
        spacing: 6

        // The output group.
        Row {
            height: 40
            spacing: 16
            ToolRadioButton {
                objectName: "groupLowLevel"
                width: 220
                height: 40
                text: page.lloText
                font.pixelSize: 22
                checkable: false
                enabled: page.controlsEnabled
                checked: page.outputGroup === ViewCalibrationModel.CAL_TYPE_LLO
                onClicked: {
                    calibrationModel.setOutputCalType(ViewCalibrationModel.CAL_TYPE_LLO)
                    page.refreshAll()
                }
            }
            ToolRadioButton {
                objectName: "groupPower"
                width: 220
                height: 40
                text: page.paoText
                font.pixelSize: 22
                checkable: false
                enabled: page.controlsEnabled
                checked: page.outputGroup === ViewCalibrationModel.CAL_TYPE_PAO
                onClicked: {
                    calibrationModel.setOutputCalType(ViewCalibrationModel.CAL_TYPE_PAO)
                    page.refreshAll()
                }
            }
            BusyIndicator {
                objectName: "exchangeBusy"
                width: 40
                height: 40
                running: page.exchangeBusy
                visible: page.exchangeBusy
            }
        }

        // The kinds of the group.
        Item {
            width: parent.width
            height: 40
            Row {
                visible: page.outputGroup === ViewCalibrationModel.CAL_TYPE_LLO
                spacing: 4
                Repeater {
                    model: page.lowLevelKinds
                    ToolRadioButton {
                        objectName: "kind" + modelData.kind
                        width: 200
                        height: 40
                        radioSize: 16
                        spacing: 4
                        checkable: false
                        text: modelData.text
                        font.pixelSize: page.fontFor(modelData.kind === ViewCalibrationModel.CAL_TYPE_LLODC
                                                     ? "llodc" : modelData.kind)
                        enabled: page.controlsEnabled
                        checked: page.currentKind === modelData.kind
                        onClicked: {
                            calibrationModel.setCurrentCalType(modelData.kind)
                            page.refreshValues()
                        }
                    }
                }
            }
            // Each kind as wide as its text, the width left over shared out
            // among them, so that no text runs into the next kind's circle
            // (seven kinds of four 22 px characters leave 4 px between them).
            RowLayout {
                objectName: "powerKinds"
                width: parent.width
                visible: page.outputGroup !== ViewCalibrationModel.CAL_TYPE_LLO
                spacing: 1
                Repeater {
                    model: page.powerKinds
                    ToolRadioButton {
                        objectName: "kind" + modelData.kind
                        Layout.fillWidth: true
                        Layout.preferredWidth: implicitWidth
                        Layout.preferredHeight: 40
                        radioSize: 16
                        spacing: 4
                        checkable: false
                        leftPadding: 0
                        rightPadding: 0
                        text: modelData.text
                        font.pixelSize: page.fontFor(modelData.kind)
                        visible: modelData.kind !== ViewCalibrationModel.CAL_TYPE_AUXDC || page.auxDcByValue
                        enabled: page.controlsEnabled
                        checked: page.currentKind === modelData.kind
                        onClicked: {
                            calibrationModel.setCurrentCalType(modelData.kind)
                            page.refreshValues()
                        }
                    }
                }
            }
        }

        // One panel per kind: rows UA..UX level 0 and 1, IA..IX level 0 and 1.
        Item {
            width: parent.width
            height: 4 * 38 + 2 * 6
            Repeater {
                model: 10
                Rectangle {
                    id: panel
                    readonly property int kind: index + 1
                    objectName: "panel" + kind
                    anchors.fill: parent
                    visible: page.currentKind === kind
                    color: "transparent"
                    border.color: globalConfiguration.customGray
                    border.width: 1
                    radius: 4

                    // Read again on each refresh: the points may change.
                    readonly property var layout: page.revision >= 0 ? page.panelLayout(kind, width) : null

                    Column {
                        x: page.panelMargin
                        y: 6
                        Repeater {
                            model: 4
                            Row {
                                id: panelRow
                                readonly property int row: index
                                height: 38
                                spacing: 0
                                Repeater {
                                    model: panel.kind === ViewCalibrationModel.CAL_TYPE_AUXDC ? 0 : 4
                                    // A fixed slot per port, so that the points stay in their column.
                                    Item {
                                        readonly property int port: (panelRow.row >= 2 ? 4 : 0) + index
                                        readonly property int level: panelRow.row % 2
                                        width: panel.layout.cell
                                        height: 38
                                        ToolCheckBox {
                                            objectName: "cell" + panel.kind + "_" + parent.port + "_" + parent.level
                                            anchors.fill: parent
                                            radioSize: page.cellBoxSize
                                            spacing: page.cellBoxSpacing
                                            leftPadding: 0
                                            rightPadding: page.textGap
                                            checkable: false
                                            font.pixelSize: panel.layout.size
                                            text: page.cellText(parent.port, parent.level)
                                            visible: page.cellShown(panel.kind, parent.port, parent.level)
                                            enabled: page.controlsEnabled && !page.cellFixed(panel.kind, parent.port,
                                                                                             parent.level)
                                            checked: page.revision >= 0
                                                     && page.cellChecked(panel.kind, parent.port, parent.level)
                                            onClicked: {
                                                calibrationModel.setCurrentSelected(panel.kind, parent.port, parent.level,
                                                    !calibrationModel.getCurrentSelected(panel.kind, parent.port,
                                                                                         parent.level))
                                                page.refreshValues()
                                            }
                                        }
                                    }
                                }
                                Repeater {
                                    model: panel.kind === ViewCalibrationModel.CAL_TYPE_AUXDC ? 5 : 4
                                    FitLabel {
                                        objectName: "point" + panel.kind + "_" + panelRow.row + "_" + index
                                        width: panel.layout.point
                                        height: 38
                                        rightPadding: page.textGap
                                        font.pixelSize: panel.layout.size
                                        text: page.revision >= 0 ? page.pointText(panel.kind, panelRow.row, index) : ""
                                        visible: text !== ""
                                    }
                                }
                                Repeater {
                                    model: panel.kind === ViewCalibrationModel.CAL_TYPE_ACFAC
                                           ? (panelRow.row < 2 ? page.frequencyColumns : page.frequencyColumns - 1) : 0
                                    FitLabel {
                                        readonly property int point: 4 * index + panelRow.row
                                        objectName: "frequency" + point
                                        width: panel.layout.frequency[index]
                                        height: 38
                                        rightPadding: page.textGap
                                        font.pixelSize: panel.layout.size
                                        text: page.revision >= 0 ? page.frequencyText(point) : ""
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    // The panels' texts as a point label draws them, at the palette's size.
    FitLabel {
        id: panelFont
        visible: false
    }
    FontMetrics {
        id: panelMetrics
        font.family: panelFont.font.family
        font.weight: panelFont.font.weight
        font.pixelSize: globalConfiguration.customFontL3Size
    }

    // ---- Buttons ----------------------------------------------------------------------------------
    Row {
        id: buttonRow
        x: 8
        height: 52
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 4
        spacing: 8

        ToolTextButton {
            id: startButton
            objectName: "startButton"
            width: 118
            height: 52
            text: qsTr("开始")                                        // start
            font.pixelSize: 22
            enabled: !page.running && !page.locked && !page.exchangeBusy && page.runEnabled && page.hasCell
            foreground: page.running ? globalConfiguration.customRunning
                                     : (enabled ? globalConfiguration.customPrimary : globalConfiguration.customGray)
            borderColor: page.running ? globalConfiguration.customRunning : globalConfiguration.customPrimary
            onClicked: page.startClicked()
        }
        ToolTextButton {
            objectName: "saveButton"
            width: 118
            height: 52
            text: qsTr("保存")                                        // save (stops a run)
            font.pixelSize: page.fontFor("save")
            enabled: !page.exchangeBusy
            onClicked: page.saveClicked()
        }
        ToolTextButton {
            objectName: "loadButton"
            width: 118
            height: 52
            text: qsTr("加载")                                        // load
            font.pixelSize: 22
            enabled: page.controlsEnabled
            onClicked: calibrationModel.loadCal(page.currentKind)
        }
        ToolTextButton {
            objectName: "clearButton"
            width: 118
            height: 52
            text: qsTr("删除选中")                                    // clear the selected cells
            font.pixelSize: 22
            enabled: page.controlsEnabled
            onClicked: calibrationModel.resetCal(page.currentKind, true)
        }
        ToolTextButton {
            objectName: "exportButton"
            width: 118
            height: 52
            text: qsTr("导出系数")                                    // export the coefficients
            font.pixelSize: page.fontFor("export")
            enabled: page.controlsEnabled
            onClicked: page.openExchange(true)
        }
        ToolTextButton {
            objectName: "importButton"
            width: 118
            height: 52
            text: qsTr("导入系数")                                    // import the coefficients
            font.pixelSize: page.fontFor("import")
            enabled: page.controlsEnabled
            onClicked: page.openExchange(false)
        }
        ToolTextButton {
            objectName: "removeAllButton"
            width: 118
            height: 52
            visible: false
            text: qsTr("删除全部")                                    // reset the kind
            enabled: page.controlsEnabled
            onClicked: calibrationModel.removeCal(page.currentKind)
        }
        ToolTextButton {
            objectName: "closeButton"
            width: 118
            height: 52
            visible: false
            text: qsTr("关闭")                                        // close
        }
    }

    // ---- Dialogs -----------------------------------------------------------------------------------
    ChildCalMeasureDialog {
        id: measureDialog
        objectName: "measureDialog"
        parent: Overlay.overlay
        onAccept: function(measureVal) {
            calibrationModel.setCurrentMeasure(measureVal)
            calibrationModel.testSwitch()
        }
        onReject: {
            calibrationModel.testInterrupt()
            page.showStopped()
        }
    }

    UserExportCalDialog {
        id: exportDialog
        objectName: "exportDialog"
        parent: Overlay.overlay
        onAccept: page.exchangeAccepted()
    }

    PageMessageDialog {
        id: messageDialog
        objectName: "messageDialog"
        parent: Overlay.overlay
        onAnswered: function(type) {
            if (type !== "SAVE_CAL")
                return
            page.bSave = false
            calibrationModel.saveCal(page.currentKind)
            calibrationModel.setCurrentCalType(page.currentKind)
        }
        onReject: {
            if (!page.bSave)
                return
            page.bSave = false
            calibrationModel.loadCal(page.currentKind)
        }
    }
}

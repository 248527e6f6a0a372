import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewEnergyModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The energy-meter accuracy test page on the module page frame. Everything it
// shows comes from its view model (viewEnergyModel), everything it does goes
// through the model.
//
// Three tabs over the parameter area: the test points (the edit point's
// voltage, current, frequency, angle or power factor and pulses to count,
// "Add" / "Remove" / "Clear", its output phasors, and the result list below,
// which can take the whole panel), the meter (kind, connection, class,
// constants, times, CT and PT, pulse settings), and the local pulse output.
// While a test runs the list follows the engine's state (one state per point).
ModulePageFrame {
    id: page

    viewModel: viewEnergyModel
    testType: ViewBaseModel.TEST_ENERGY
    fileModule: "Energy_"

    property bool voltFour: false
    property int meterKind: ViewEnergyModel.Power_Active
    property int pointsCount: 0
    property int activeIndex: -1
    // Bumped on every refresh: the list's cells and the phasor table read the model again.
    property int revision: 0

    readonly property alias tabs: tabs
    readonly property alias resultList: resultList
    readonly property var phasorPorts: voltFour ? [0, 1, 2, 3, 4, 5, 6] : [0, 1, 2, 4, 5, 6]
    readonly property var loadTypes: [qsTr("ind."), qsTr("cap.")]
    readonly property bool apparent: meterKind === ViewEnergyModel.Power_Apparent
    // Units by meter kind: power, energy, the quantity of the meter constants.
    readonly property string powerUnit: ["W", "Var", "Va"][meterKind] || "Va"
    readonly property string energyUnit: ["Wh", "Varh", "Vah"][meterKind] || "Vah"
    readonly property string quantityUnit: ["kWh", "kVarh", "kVah"][meterKind] || "kVah"

    ViewEnergyModel {
        id: viewEnergyModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value, decimals) {
        return ViewUtilityHelper.doubleFormatToString(value, decimals === undefined ? 3 : decimals,
                                                      globalConfiguration.customLocalName)
    }

    function measured(value) {
        return !ViewUtilityHelper.qmlIsNaN(value) && value > 0
    }

    // The text of result cell `column` of point `line`.
    function cellText(line, column) {
        var m = viewEnergyModel
        switch (column) {
        case 0: return String(line + 1)
        case 1: return formatted(m.getGivenCount(line), 0) + powerUnit
        case 2: return formatted(m.getPowerFactor(line)) + " " + (loadTypes[m.getLoadKind(line)] || "")
        case 3:
            var pulses = m.getActualPulse(line)
            return measured(pulses) ? formatted(pulses, 0) : "-"
        case 4: return formatted(m.getSettingTime(line)) + "s"
        case 5: return formatted(m.getSettingEnergy(line)) + energyUnit
        case 6:
            var energy = m.getActualEnergy(line)
            return measured(energy) ? formatted(energy) + energyUnit : "-"
        case 7:
            // The meter's error, signed: a slow meter reads negative.
            var dev = m.getActualDev(line)
            return !ViewUtilityHelper.qmlIsNaN(dev) && dev !== 0 ? formatted(dev) + "%" : "-"
        default:
            var state = m.getTestStates(line)
            if (state === ViewBaseModel.AO_STATE_TYPE_INITING)
                return qsTr("NoTest")
            if (state === ViewBaseModel.AO_STATE_TYPE_RUNNNING)
                return qsTr("Testing")
            var result = m.getTestResults(line)
            if (result === ViewBaseModel.AO_Result_TYPE_SUCCESS)
                return qsTr("Passed")
            if (result === ViewBaseModel.AO_Result_TYPE_FAILED)
                return qsTr("Failed")
            return qsTr("No Action")
        }
    }

    // Cell `column` of the edit point's phasor of `port`: 1 amplitude, 2 angle.
    function phasorText(port, column) {
        if (column === 2)
            return formatted(viewEnergyModel.getOutputAngle(-1, port)) + "°"
        return formatted(viewEnergyModel.getOutputRange(-1, port)) + (port < 4 ? "V" : "A")
    }

    // ---- Frame hooks -------------------------------------------------------------------
    function initControls() {
        voltFour = viewEnergyModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
    }

    function loadControls() {
        var m = viewEnergyModel
        m.getTestResults(-1)
        // The boxes take what the device can give, as the connection shows it.
        voltageLNBox.dataMax = m.getMaxVoltageLN()
        voltageLLBox.dataMax = m.getMaxVoltageLL()
        currentBox.dataMax = m.getDeviceAOIMaxRange()
        voltageLNBox.setDataValue(m.getVoltageLN(-1))
        frequencyBox.setDataValue(m.getFrequency(-1))
        voltageLLBox.setDataValue(m.getVoltageLL(-1))
        currentBox.setDataValue(m.getCurrent(-1))
        angleBox.setDataValue(m.getPowerAngle(-1))
        pulseBox.setDataValue(m.getSettingPulse(-1))
        factorBox.setDataValue(m.getPowerFactor(-1))
        loadKindBox.setDataValue(m.getLoadKind(-1))
        loadKindBox.enabled = m.getLoadKindEnable()

        meterKind = m.getMeterKind()
        meterKindBox.setDataValue(meterKind)
        fourWireRadio.checked = m.getMeasureMeterKind() === ViewEnergyModel.Measure_Four
        threeWireRadio.checked = !fourWireRadio.checked
        singleCheck.checked = m.getSingleEnable()
        precisionBox.setDataValue(m.getPrecision())
        secondaryPulseBox.setDataValue(m.getSecondaryPulseKWH())
        primaryPulseBox.setDataValue(m.getPrimaryPulseKWH())
        hotTimeBox.setDataValue(m.getHotTime())
        startTimeBox.setDataValue(m.getStartTime())
        primaryCTBox.setDataValue(m.getPrimaryCT())
        secondaryCTBox.setDataValue(m.getSecondaryCT())
        primaryPTBox.setDataValue(m.getPrimaryPT())
        secondaryPTBox.setDataValue(m.getSecondaryPT())
        pulseKindBox.setDataValue(m.getPulseKinds())
        orientationBox.setDataValue(m.getOrientations())
        pulseCountBox.setDataValue(m.getPulseCount())
        holdTimeBox.setDataValue(m.getHoldTime())

        pulseConstBox.setDataValue(m.getPulseConst())
        localPulseCheck.checked = m.getLocalPulseEnable()

        pointsCount = m.getPointsCount()
        activeIndex = m.getActiveIndex()
        revision++
        resultList.follow(activeIndex)
    }

    // "Start" only with points, while no test runs and the power stage is cool.
    function startAllowed() {
        return viewEnergyModel.getStartEnabled()
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterAndReload(value, getter, setter) {
        enterValue(value, getter, setter)
        updateControlValue()
    }

    // A getter of the edit point.
    function edit(getter) {
        return function() { return getter(-1) }
    }

    function selectRow(row) {
        viewEnergyModel.setActiveIndex(row)
        updateControlValue()
    }

    // The engine's state index while the test runs: one state per point.
    function followStateIndex(index) {
        if (!visible || viewEnergyModel.getTestActiveType() !== ViewBaseModel.TEST_ENERGY
                || viewEnergyModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) === 0)
            return
        var point = ViewUtilityHelper.doubleFormatToInt(index)
        viewEnergyModel.setActiveIndex(point >= 0 && point < viewEnergyModel.getPointsCount() ? point : 0)
        updateControlValue()
    }

    onRunningChanged: if (running) closeInputPanels()

    Connections {
        target: viewEnergyModel
        function onSigUpdateStateIndexToView(index) {
            page.followStateIndex(index)
        }
    }

    component NumberBox: EditNumberBox {
        width: 118
        height: page.rowHeight
        dataPrecision: 3
        dataMin: 0
        dataMax: 100000
    }

    // A field of the test-point grid: its label as wide as the widest of its column.
    component FieldRow: LabeledRow {
        labelWidth: pointGrid.labelWidths[Positioner.index % 2]
        labelHeight: page.rowHeight
        labelPixelSize: page.smallFontSize
    }

    component Combo: ToolComboBox {
        width: 140
        height: page.rowHeight
    }

    ParameterTabs {
        id: tabs
        objectName: "parameterTabs"
        x: 4
        y: 2
        width: 792
        height: page.height - page.bottomBar.height - 4
        tabs: [{ text: qsTr("测试参数"), name: "pointTabButton" },          // test points
               { text: qsTr("综合参数"), name: "generalTabButton" },        // meter settings
               { text: qsTr("脉冲输出"), name: "pulseTabButton" }]          // local pulse output

        // ---- 1. Test points ----------------------------------------------------------------------
        Item {
            id: pointPanel
            objectName: "pointPanel"

            Item {
                id: upperPart
                objectName: "upperPart"
                width: parent.width
                height: 172
                visible: !resultList.collapsed
                enabled: !page.running

                LabelGrid {
                    id: pointGrid
                    columns: 2
                    rowSpacing: 2
                    columnSpacing: 6

                    FieldRow {
                        label: qsTr("Voltage") + " L-N"
                        NumberBox {
                            id: voltageLNBox
                            objectName: "voltageLNBox"
                            width: 116
                            unit: "V"
                            quick1Value: "50.0"
                            quick2Value: "100.0"
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue, page.edit(viewEnergyModel.getVoltageLN),
                                                                    viewEnergyModel.setVoltageLN)
                        }
                    }
                    FieldRow {
                        label: qsTr("Frequency")
                        NumberBox {
                            id: frequencyBox
                            objectName: "frequencyBox"
                            width: 112
                            unit: "Hz"
                            dataMin: viewEnergyModel.minOutputFrequency
                            dataMax: viewEnergyModel.maxOutputFrequency
                            quick1Value: "50.0"
                            quick2Value: "60.0"
                            quick3Value: "100.0"
                            onDataValueEntered: page.enterAndReload(dataValue, page.edit(viewEnergyModel.getFrequency),
                                                                    viewEnergyModel.setFrequency)
                        }
                    }
                    FieldRow {
                        label: qsTr("Voltage") + " L-L"
                        NumberBox {
                            id: voltageLLBox
                            objectName: "voltageLLBox"
                            width: 116
                            unit: "V"
                            dataAutoToLimit: true
                            quick1Value: "50.0"
                            quick2Value: "100.0"
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue, page.edit(viewEnergyModel.getVoltageLL),
                                                                    viewEnergyModel.setVoltageLL)
                        }
                    }
                    FieldRow {
                        label: qsTr("Current")
                        NumberBox {
                            id: currentBox
                            objectName: "currentBox"
                            width: 112
                            unit: "A"
                            quick1Value: "1.0"
                            quick2Value: "5.0"
                            quick3Value: page.formatted(dataMax)
                            onDataValueEntered: page.enterAndReload(dataValue, page.edit(viewEnergyModel.getCurrent),
                                                                    viewEnergyModel.setCurrent)
                        }
                    }
                    FieldRow {
                        label: qsTr("Angle")
                        NumberBox {
                            id: angleBox
                            objectName: "angleBox"
                            width: 116
                            enabled: !page.apparent
                            unit: "°"
                            dataMin: -360
                            dataMax: 360
                            quick1Value: "0.1"
                            quick2Value: "0.5"
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue, page.edit(viewEnergyModel.getPowerAngle),
                                                                    viewEnergyModel.setPowerAngle)
                        }
                    }
                    FieldRow {
                        label: qsTr("Pulse")
                        // Whole pulses: the engine counts whole pulses in a 16-bit counter.
                        NumberBox {
                            id: pulseBox
                            objectName: "pulseBox"
                            width: 112
                            unit: ""
                            dataPrecision: 0
                            dataMin: 1
                            dataMax: 65535
                            quick1Value: "1"
                            quick2Value: "10"
                            quick3Value: "100"
                            onDataValueEntered: page.enterAndReload(dataValue,
                                                                    page.edit(viewEnergyModel.getSettingPulse),
                                                                    viewEnergyModel.setSettingPulse)
                        }
                    }
                    FieldRow {
                        label: "Cos φ"
                        NumberBox {
                            id: factorBox
                            objectName: "factorBox"
                            width: 116
                            enabled: !page.apparent
                            unit: ""
                            dataMax: 1
                            quick1Value: "0.1"
                            quick2Value: "0.5"
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue, page.edit(viewEnergyModel.getPowerFactor),
                                                                    viewEnergyModel.setPowerFactor)
                        }
                    }
                    Combo {
                        id: loadKindBox
                        objectName: "loadKindBox"
                        width: pointGrid.labelWidths[1] + 4 + 112
                        model: page.loadTypes
                        onActivated: page.applyAndReload(viewEnergyModel.setLoadKind, index)
                    }
                }

                // Below the fields.
                Row {
                    y: pointGrid.height + 4
                    spacing: 6
                    Repeater {
                        model: [{ text: qsTr("Add"), name: "addButton" },
                                { text: qsTr("Remove"), name: "removeButton" },
                                { text: qsTr("Clear"), name: "clearButton" }]
                        ToolTextButton {
                            objectName: modelData.name
                            width: Math.max(90, Math.ceil(textImplicitWidth) + 12)
                            height: page.rowHeight
                            text: modelData.text
                            onClicked: {
                                var m = viewEnergyModel
                                if (index === 0)
                                    m.addPoint()
                                else if (index === 1)
                                    m.removePoint(m.getActiveIndex())
                                else
                                    m.clearPoint()
                                page.updateControlValue()
                            }
                        }
                    }
                }

                // The edit point's output phasors (display only).
                PhasorTable {
                    id: phasorTable
                    objectName: "phasorTable"
                    x: parent.width - width
                    width: 264
                    ports: page.phasorPorts
                    columnWidths: [40, 112, 112]
                    cellHeight: page.voltFour ? 22 : 23
                    pixelSize: page.tinyFontSize
                    revision: page.revision
                    cellText: page.phasorText
                }
            }

            PointResultList {
                id: resultList
                objectName: "pointResults"
                y: collapsed ? 0 : upperPart.height + 4
                width: parent.width
                height: parent.height - y
                enabled: !page.running
                count: page.pointsCount
                revision: page.revision
                pixelSize: page.tinyFontSize
                columnWidths: [27, 89, 96, 92, 96, 92, 82, 87, 110]
                titles: [qsTr("Power"), qsTr("Factor"), qsTr("Pulse"), qsTr("Time"), qsTr("Setting"),
                         qsTr("Actual"), qsTr("Dev"), qsTr("Result")]
                cellText: page.cellText
                onRowClicked: page.selectRow(row)
            }
        }

        // ---- 2. Meter settings ---------------------------------------------------------------------
        Item {
            id: generalPanel
            objectName: "generalPanel"
            enabled: !page.running

            component GeneralRow: LabeledRow {
                labelHeight: page.rowHeight
                labelPixelSize: page.smallFontSize
            }
            component WideBox: NumberBox {
                width: 150
                dataAutoToLimit: true
                dataMax: 9999999999
            }

            // The meter: its kind, its class, how it is wired.
            LabelColumn {
                id: meterBox
                objectName: "meterBox"
                spacing: 2
                GeneralRow {
                    label: qsTr("Meter type")
                    Combo {
                        id: meterKindBox
                        objectName: "meterKindBox"
                        width: 190
                        model: [qsTr("Active Power"), qsTr("Reactive Power"), qsTr("Apparent Power")]
                        onActivated: page.applyAndReload(viewEnergyModel.setMeterKind, index)
                    }
                }
                GeneralRow {
                    label: qsTr("Precision")
                    NumberBox {
                        id: precisionBox
                        objectName: "precisionBox"
                        width: 110
                        unit: "%"
                        dataMax: 100
                        dataAutoToLimit: true
                        quick1Value: "0.5"
                        quick2Value: "1.0"
                        quick3Value: "2.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getPrecision,
                                                                viewEnergyModel.setPrecision)
                    }
                }
                Row {
                    spacing: 12
                    ToolRadioButton {
                        id: fourWireRadio
                        objectName: "fourWireRadio"
                        width: 130
                        leftPadding: 0
                        rightPadding: 0
                        spacing: 4
                        height: page.rowHeight
                        radioSize: 18
                        checkable: false
                        font.pixelSize: page.tinyFontSize
                        text: qsTr("3P4W")
                        onClicked: page.applyAndReload(viewEnergyModel.setMeasureMeterKind, ViewEnergyModel.Measure_Four)
                    }
                    ToolRadioButton {
                        id: threeWireRadio
                        objectName: "threeWireRadio"
                        width: 130
                        leftPadding: 0
                        rightPadding: 0
                        spacing: 4
                        height: page.rowHeight
                        radioSize: 18
                        checkable: false
                        font.pixelSize: page.tinyFontSize
                        text: qsTr("3P3W")
                        onClicked: page.applyAndReload(viewEnergyModel.setMeasureMeterKind, ViewEnergyModel.Measure_Three)
                    }
                    ToolCheckBox {
                        id: singleCheck
                        objectName: "singleCheck"
                        width: 130
                        leftPadding: 0
                        rightPadding: 0
                        spacing: 4
                        height: page.rowHeight
                        radioSize: 18
                        font.pixelSize: page.tinyFontSize
                        text: qsTr("Single")
                        onClicked: page.applyAndReload(viewEnergyModel.setSingleEnable, checked)
                    }
                }
            }

            // Meter constants; beside them the times.
            LabelColumn {
                id: constantBox
                objectName: "constantBox"
                y: 104
                spacing: 2
                FitLabel {
                    width: 300
                    height: page.rowHeight
                    font.pixelSize: page.smallFontSize
                    text: qsTr("Pulse") + "/" + qsTr("Quantity")
                }
                GeneralRow {
                    label: qsTr("Secondary")
                    WideBox {
                        id: secondaryPulseBox
                        objectName: "secondaryPulseBox"
                        width: 230
                        unit: "imp/" + page.quantityUnit
                        unitWidth: 72
                        dataPrecision: 0
                        quick1Value: "1200"
                        quick2Value: "3600"
                        quick3Value: "6400"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getSecondaryPulseKWH,
                                                                viewEnergyModel.setSecondaryPulseKWH)
                    }
                }
                GeneralRow {
                    label: qsTr("Primary")
                    WideBox {
                        id: primaryPulseBox
                        objectName: "primaryPulseBox"
                        width: 230
                        unit: "imp/k" + page.quantityUnit
                        unitWidth: 80
                        dataPrecision: 0
                        quick1Value: "5.0"
                        quick2Value: "10.0"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getPrimaryPulseKWH,
                                                                viewEnergyModel.setPrimaryPulseKWH)
                    }
                }
            }
            LabelColumn {
                id: timeBox
                objectName: "timeBox"
                x: 440
                y: 138
                spacing: 2
                GeneralRow {
                    label: qsTr("Heat time")
                    NumberBox {
                        id: hotTimeBox
                        objectName: "hotTimeBox"
                        width: 150
                        unit: "s"
                        quick1Value: "0.1"
                        quick2Value: "0.5"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getHotTime,
                                                                viewEnergyModel.setHotTime)
                    }
                }
                GeneralRow {
                    label: qsTr("Start time")
                    NumberBox {
                        id: startTimeBox
                        objectName: "startTimeBox"
                        width: 150
                        unit: "s"
                        quick1Value: "0.1"
                        quick2Value: "0.5"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getStartTime,
                                                                viewEnergyModel.setStartTime)
                    }
                }
            }

            // CT and PT ratings; beside them the pulse settings (stored and reported).
            Grid {
                id: ratingBox
                objectName: "ratingBox"
                y: 210
                columns: 3
                spacing: 2
                Item { width: 40; height: page.rowHeight }
                FitLabel {
                    width: 116; height: page.rowHeight
                    horizontalAlignment: Text.AlignHCenter
                    font.pixelSize: page.smallFontSize
                    text: qsTr("Primary")
                }
                FitLabel {
                    width: 116; height: page.rowHeight
                    horizontalAlignment: Text.AlignHCenter
                    font.pixelSize: page.smallFontSize
                    text: qsTr("Secondary")
                }
                FitLabel { width: 40; height: page.rowHeight; font.pixelSize: page.smallFontSize; text: "CT" }
                WideBox {
                    id: primaryCTBox
                    objectName: "primaryCTBox"
                    width: 116
                    unit: "A"
                    quick1Value: "5"
                    quick2Value: "10.0"
                    quick3Value: "220.0"
                    onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getPrimaryCT,
                                                            viewEnergyModel.setPrimaryCT)
                }
                WideBox {
                    id: secondaryCTBox
                    objectName: "secondaryCTBox"
                    width: 116
                    unit: "A"
                    quick1Value: "5"
                    quick2Value: "10.0"
                    quick3Value: "220.0"
                    onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getSecondaryCT,
                                                            viewEnergyModel.setSecondaryCT)
                }
                FitLabel { width: 40; height: page.rowHeight; font.pixelSize: page.smallFontSize; text: "PT" }
                WideBox {
                    id: primaryPTBox
                    objectName: "primaryPTBox"
                    width: 116
                    unit: "V"
                    quick1Value: "110.0"
                    quick2Value: "220.0"
                    quick3Value: "1.0"
                    onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getPrimaryPT,
                                                            viewEnergyModel.setPrimaryPT)
                }
                WideBox {
                    id: secondaryPTBox
                    objectName: "secondaryPTBox"
                    width: 116
                    unit: "V"
                    quick1Value: "110.0"
                    quick2Value: "220.0"
                    quick3Value: "1.0"
                    onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getSecondaryPT,
                                                            viewEnergyModel.setSecondaryPT)
                }
            }
            LabelColumn {
                id: pulseSettingBox
                objectName: "pulseSettingBox"
                x: 290
                y: 210
                spacing: 2
                GeneralRow {
                    label: qsTr("Pulse type")
                    Combo {
                        id: pulseKindBox
                        objectName: "pulseKindBox"
                        width: 190
                        model: [qsTr("Rising"), qsTr("Falling")]
                        onActivated: page.applyAndReload(viewEnergyModel.setPulseKind, index)
                    }
                }
                GeneralRow {
                    label: qsTr("Direction")
                    Combo {
                        id: orientationBox
                        objectName: "orientationBox"
                        width: 190
                        model: [qsTr("Import"), qsTr("Export"), qsTr("Import/Export")]
                        onActivated: page.applyAndReload(viewEnergyModel.setOrientationKind, index)
                    }
                }
                GeneralRow {
                    label: qsTr("Pulse Count")
                    WideBox {
                        id: pulseCountBox
                        objectName: "pulseCountBox"
                        width: 110
                        unit: ""
                        dataPrecision: 0
                        quick1Value: "10"
                        quick2Value: "100"
                        quick3Value: "220"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getPulseCount,
                                                                viewEnergyModel.setPulseCount)
                    }
                }
                GeneralRow {
                    label: qsTr("Settling time")
                    WideBox {
                        id: holdTimeBox
                        objectName: "holdTimeBox"
                        width: 110
                        unit: "s"
                        quick1Value: "5.0"
                        quick2Value: "10.0"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getHoldTime,
                                                                viewEnergyModel.setHoldTime)
                    }
                }
            }
        }

        // ---- 3. Local pulse output ---------------------------------------------------------------
        Item {
            id: pulsePanel
            objectName: "pulsePanel"
            enabled: !page.running

            Column {
                spacing: 10
                LabeledRow {
                    labelWidth: 200
                    labelHeight: page.rowHeight
                    labelPixelSize: page.smallFontSize
                    label: qsTr("Pulse constant")
                    NumberBox {
                        id: pulseConstBox
                        objectName: "pulseConstBox"
                        width: 220
                        unit: "imp/" + page.quantityUnit
                        unitWidth: 72
                        dataPrecision: 0
                        dataMax: 9999999999
                        quick1Value: "1200"
                        quick2Value: "3600"
                        quick3Value: "6400"
                        onDataValueEntered: page.enterAndReload(dataValue, viewEnergyModel.getPulseConst,
                                                                viewEnergyModel.setPulseConst)
                    }
                }
                ToolCheckBox {
                    id: localPulseCheck
                    objectName: "localPulseCheck"
                    width: 420
                    height: page.rowHeight
                    radioSize: 18
                    font.pixelSize: page.smallFontSize
                    text: qsTr("Whether to send a local pulse")
                    onClicked: page.applyAndReload(viewEnergyModel.setLocalPulseEnable, checked)
                }
            }
        }
    }
}

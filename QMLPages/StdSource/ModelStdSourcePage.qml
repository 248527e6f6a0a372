import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewStdSourceModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The standard power source page on the module page frame: the settings
// block (work mode, power factor and sense, power angle, element selection,
// voltage, current, frequency, active, reactive and apparent power) and the
// read-only block of the six output phasors with their element powers.
// Everything it shows comes from its view model (viewStdSourceModel); the
// model derives the phasors, the powers and the limits of the power fields.
// No binary inputs or outputs. The main window reaches the page from no tile.
ModulePageFrame {
    id: page

    viewModel: viewStdSourceModel
    testType: ViewBaseModel.TEST_STDSOURCE
    fileModule: "StdSource_"
    binaryLamps: false

    readonly property int innerTopMargin: 4
    readonly property int innerLeftMargin: 4
    // The boxes of the three columns of settings: power factor and angle;
    // voltage, current and frequency; the powers (with units up to "Var").
    readonly property int boxWidth: 108
    readonly property int sourceBoxWidth: 112
    readonly property int powerBoxWidth: 140
    readonly property int fontSize: globalConfiguration.customFontL2Size

    property int workMode: ViewStdSourceModel.WORK_MODE_SINGLE_ACTIVE_POWER
    property bool senseNone: true
    property real maxVoltage: 300
    property real maxCurrent: 10
    // Voltage row labels (rows UPA, UPB, UPC).
    property var voltageLabels: ["Ua", "Ub", "Uc"]

    readonly property bool threeElements: workMode === ViewStdSourceModel.WORK_MODE_3P4W_Y_ACTIVE_POWER
                                          || workMode === ViewStdSourceModel.WORK_MODE_3P4W_Y_REACTIVE_POWER
                                          || workMode === ViewStdSourceModel.WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER
    readonly property bool reactiveMode: workMode >= ViewStdSourceModel.WORK_MODE_3P4W_Y_REACTIVE_POWER
    readonly property bool singleElement: workMode === ViewStdSourceModel.WORK_MODE_SINGLE_ACTIVE_POWER

    readonly property var workModeNames: [qsTr("单项有功功率"), qsTr("三相四线(Y型接法)有功功率"),
                                          qsTr("三相三线(V型接法)有功功率"), qsTr("三相三线(△型接法)有功功率"),
                                          qsTr("三相四线(Y型接法)真无功功率"), qsTr("三相三线(V型接法)真无功功率"),
                                          qsTr("三相三线(△型接法)真无功功率"), qsTr("三元件90°无功功率"),
                                          qsTr("二元件90°无功功率")]

    ViewStdSourceModel {
        id: viewStdSourceModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    // A value the model derived, shown as it is: the field's limits apply to
    // entries only.
    function showDerived(box, value) {
        var min = box.dataMin
        var max = box.dataMax
        box.dataMin = -Number.MAX_VALUE
        box.dataMax = Number.MAX_VALUE
        box.setDataValue(value)
        box.dataMin = min
        box.dataMax = max
    }

    // A number entered in a field: the setter when it is one and differs, then
    // every control again.
    function enterSetting(value, getter, setter) {
        if (ViewUtilityHelper.qmlIsNaN(value) || value === getter())
            return
        setter(value)
        updateControlValue()
    }

    // ---- Frame hooks -------------------------------------------------------------------
    // Shown or a file loaded: everything derived again from the settings and
    // into the entity, then the limits of the unit.
    function initControls() {
        viewStdSourceModel.updateSetting()
        viewStdSourceModel.updateVMToEnt(ViewBaseModel.DATA_TYPE_TEST_OUTPUTDATA, -1, false)
        maxVoltage = viewStdSourceModel.getDeviceAOVMaxRange()
        maxCurrent = viewStdSourceModel.getDeviceAOIMaxRange()
    }

    function loadControls() {
        updateControlLimit()
        workMode = viewStdSourceModel.getWorkMode()
        workModeBox.setDataValue(workMode)
        var factor = viewStdSourceModel.getPowerFactor()
        factorBox.setDataValue(Math.abs(factor) < 1e-9 ? 0 : factor)
        phaseBox.setDataValue(viewStdSourceModel.getPowerPhase())
        updateFactorType()
        frequencyBox.setDataValue(viewStdSourceModel.getSrcFrequency())
        elementBox.model = singleElement ? [qsTr("分元无效")]
                                         : threeElements ? [qsTr("三元件"), qsTr("A元件"), qsTr("B元件"), qsTr("C元件")]
                                                         : [qsTr("二元件"), qsTr("A元件"), qsTr("C元件")]
        voltageBox.setDataValue(viewStdSourceModel.getSrcVoltageAmp())
        currentBox.setDataValue(viewStdSourceModel.getSrcCurrentAmp())
        showDerived(activeBox, viewStdSourceModel.getActivePower())
        showDerived(reactiveBox, viewStdSourceModel.getReactivePower())
        showDerived(apparentBox, viewStdSourceModel.getApprentPower())
        for (var p = 0; p < 6; ++p) {
            var row = outputRows.itemAt(p)
            row.rangeBox.setDataValue(viewStdSourceModel.getOutputRange(p))
            row.phaseBox.setDataValue(viewStdSourceModel.getOutputPhase(p))
            row.powerBox.setDataValue(viewStdSourceModel.getOutputPower(p))
        }
        updateModeState()
        updatePowerControlLimit()
    }

    // The voltage and current fields' quick values and limits from the unit.
    function updateControlLimit() {
        voltageBox.quick1Value = formatted(viewStdSourceModel.getRateVRange())
        voltageBox.quick2Value = formatted(maxVoltage)
        voltageBox.dataMax = maxVoltage
        currentBox.quick1Value = formatted(viewStdSourceModel.getRateIRange() / 10)
        currentBox.quick2Value = formatted(maxCurrent)
        currentBox.dataMax = maxCurrent
        updatePowerControlLimit()
    }

    function updatePowerControlLimit() {
        activeBox.dataMin = viewStdSourceModel.getMinActivePower()
        activeBox.dataMax = viewStdSourceModel.getMaxActivePower()
        reactiveBox.dataMin = viewStdSourceModel.getMinReactivePower()
        reactiveBox.dataMax = viewStdSourceModel.getMaxReactivePower()
    }

    // Row labels by mode and the element shown.
    function updateModeState() {
        switch (workMode) {
        case ViewStdSourceModel.WORK_MODE_SINGLE_ACTIVE_POWER:
        case ViewStdSourceModel.WORK_MODE_3P4W_Y_ACTIVE_POWER:
        case ViewStdSourceModel.WORK_MODE_3P4W_Y_REACTIVE_POWER:
            voltageLabels = ["Ua", "Ub", "Uc"]
            break
        case ViewStdSourceModel.WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER:
            voltageLabels = ["Ubc", "Uca", "Uab"]
            break
        case ViewStdSourceModel.WORK_MODE_2COM_90_DEGREE_REACTIVE_POWER:
            voltageLabels = ["Ubc", "Uca", "Uab"]
            break
        default:
            voltageLabels = ["Uab", "Ubc", "Ucb"]
            break
        }
        elementBox.setDataValue(viewStdSourceModel.getComponentSel())
    }

    // "L", "C" with a sense; with none the blank entry, locked.
    function updateFactorType() {
        var type = viewStdSourceModel.getFactorType()
        senseNone = type === ViewStdSourceModel.POWER_FACTOR_TYPE_NONE
        senseBox.model = senseNone ? ["L", "C", " "] : ["L", "C"]
        senseBox.setDataValue(type)
    }

    // ---- 1. Settings ---------------------------------------------------------------------
    Rectangle {
        id: settingBlock
        objectName: "settingBlock"
        x: 4
        y: 2
        width: page.width - 8
        height: 4 * (page.rowHeight + 4) + 2 * page.innerTopMargin
        color: "transparent"
        border.color: globalConfiguration.customAccent
        border.width: 1
        radius: 2

        component Field: LabeledRow {
            labelHeight: page.rowHeight
            labelPixelSize: page.fontSize
        }
        component Choice: ToolComboBox {
            height: page.rowHeight
            // Locked: a dark background.
            backColor: enabled ? globalConfiguration.customBackground : globalConfiguration.customDark
        }

        Column {
            x: page.innerLeftMargin
            y: page.innerTopMargin
            spacing: 4

            LabeledRow {
                label: qsTr("工作方式")                                      // work mode
                labelWidth: Math.max(firstColumn.labelWidth, labelImplicitWidth)
                labelHeight: page.rowHeight
                labelPixelSize: page.fontSize
                Choice {
                    id: workModeBox
                    objectName: "workModeBox"
                    width: 460
                    model: page.workModeNames
                    enabled: !page.running
                    onActivated: page.applyAndReload(viewStdSourceModel.setWorkMode, index)
                }
            }
            // The power settings; beside them voltage, current and frequency, then the three powers:
            // the labels as wide as the widest of their column, as far as the fields leave room.
            Row {
                spacing: 8

                LabelColumn {
                    id: firstColumn
                    spacing: 4
                    minimumLabelWidth: 84
                    maximumLabelWidth: 114

                    Field {
                        label: qsTr("功率因数")                                      // power factor
                        EditNumberBox {
                            id: factorBox
                            objectName: "factorBox"
                            width: page.boxWidth
                            height: page.rowHeight
                            dataPrecision: 6
                            dataMin: -1
                            dataMax: 1
                            dataAutoToLimit: true
                            quick1Value: "0.5"
                            quick2Value: "-0.5"
                            onDataValueEntered: page.enterSetting(dataValue, viewStdSourceModel.getPowerFactor,
                                                                  viewStdSourceModel.setPowerFactor)
                        }
                        Choice {
                            id: senseBox
                            objectName: "senseBox"
                            width: 56
                            model: ["L", "C", " "]
                            enabled: !page.senseNone
                            onActivated: {
                                if (index !== viewStdSourceModel.getFactorType())
                                    page.applyAndReload(viewStdSourceModel.setFactorType, index)
                            }
                        }
                    }
                    Field {
                        label: qsTr("功率相角")                                      // power angle
                        EditNumberBox {
                            id: phaseBox
                            objectName: "phaseBox"
                            width: page.boxWidth
                            height: page.rowHeight
                            unit: "°"
                            dataMin: 0
                            dataMax: 360
                            dataAutoToLimit: true
                            quick1Value: "30"
                            quick2Value: "60"
                            onDataValueEntered: page.enterSetting(dataValue, viewStdSourceModel.getPowerPhase,
                                                                  viewStdSourceModel.setPowerPhase)
                        }
                    }
                    Field {
                        label: qsTr("分元选择")                                      // element selection
                        Choice {
                            id: elementBox
                            objectName: "elementBox"
                            width: page.boxWidth + 4 + 56
                            enabled: !page.running && !page.singleElement
                            onActivated: page.applyAndReload(viewStdSourceModel.setComponentSel, index)
                        }
                    }
                }

                LabelColumn {
                    spacing: 4
                    minimumLabelWidth: 84
                    maximumLabelWidth: 125

                    Field {
                        label: qsTr("电压幅值")                                      // voltage amplitude
                        EditNumberBox {
                            id: voltageBox
                            objectName: "voltageBox"
                            width: page.sourceBoxWidth
                            height: page.rowHeight
                            unit: "V"
                            dataMin: 0
                            dataAutoToLimit: true
                            quick1Value: "57.735"
                            quick2Value: "100"
                            onDataValueEntered: page.enterSetting(dataValue, viewStdSourceModel.getSrcVoltageAmp,
                                                                  viewStdSourceModel.setSrcVoltageAmp)
                        }
                    }
                    Field {
                        label: qsTr("电流幅值")                                      // current amplitude
                        EditNumberBox {
                            id: currentBox
                            objectName: "currentBox"
                            width: page.sourceBoxWidth
                            height: page.rowHeight
                            unit: "A"
                            dataMin: 0
                            dataAutoToLimit: true
                            quick1Value: "1"
                            quick2Value: "-0.5"
                            onDataValueEntered: page.enterSetting(dataValue, viewStdSourceModel.getSrcCurrentAmp,
                                                                  viewStdSourceModel.setSrcCurrentAmp)
                        }
                    }
                    Field {
                        label: qsTr("频率")                                          // frequency
                        EditNumberBox {
                            id: frequencyBox
                            objectName: "frequencyBox"
                            width: page.sourceBoxWidth
                            height: page.rowHeight
                            unit: "Hz"
                            unitWidth: 24
                            dataMin: viewStdSourceModel.minOutputFrequency
                            dataMax: viewStdSourceModel.maxOutputFrequency
                            dataAutoToLimit: true
                            quick1Value: "50"
                            quick2Value: "60"
                            // Stored only: it reaches the output with the next push.
                            onDataValueEntered: page.enterValue(dataValue, viewStdSourceModel.getSrcFrequency,
                                                                viewStdSourceModel.setSrcFrequency)
                        }
                    }
                }

                LabelColumn {
                    spacing: 4
                    minimumLabelWidth: 84
                    maximumLabelWidth: 97

                    Field {
                        label: qsTr("有功功率")                                      // active power
                        EditNumberBox {
                            id: activeBox
                            objectName: "activeBox"
                            width: page.powerBoxWidth
                            height: page.rowHeight
                            unit: "W"
                            enabled: !page.reactiveMode
                            dataAutoToLimit: true
                            quick1Value: "100"
                            quick2Value: "200"
                            onDataValueEntered: page.enterSetting(dataValue, viewStdSourceModel.getActivePower,
                                                                  viewStdSourceModel.setActivePower)
                        }
                    }
                    Field {
                        label: qsTr("无功功率")                                      // reactive power
                        EditNumberBox {
                            id: reactiveBox
                            objectName: "reactiveBox"
                            width: page.powerBoxWidth
                            height: page.rowHeight
                            unit: "Var"
                            unitWidth: 34
                            enabled: page.reactiveMode
                            dataAutoToLimit: true
                            quick1Value: "1"
                            quick2Value: "-0.5"
                            onDataValueEntered: page.enterSetting(dataValue, viewStdSourceModel.getReactivePower,
                                                                  viewStdSourceModel.setReactivePower)
                        }
                    }
                    Field {
                        label: qsTr("视在功率")                                      // apparent power
                        EditNumberBox {
                            id: apparentBox
                            objectName: "apparentBox"
                            width: page.powerBoxWidth
                            height: page.rowHeight
                            unit: "VA"
                            unitWidth: 28
                            readOnly: true
                            enabled: false
                        }
                    }
                }
            }
        }
    }

    // ---- 2. Output phasors and element powers (read-only) ------------------------------------
    Column {
        id: outputBlock
        objectName: "outputBlock"
        x: 4 + page.innerLeftMargin
        anchors.top: settingBlock.bottom
        anchors.topMargin: 6
        spacing: 2
        enabled: false

        Repeater {
            id: outputRows
            model: 6

            Row {
                id: outputRow

                readonly property int port: index
                readonly property bool voltage: index < 3
                readonly property int phase: index % 3
                readonly property alias rangeBox: rangeBox
                readonly property alias phaseBox: angleBox
                readonly property alias powerBox: powerBox

                objectName: ["rowUPA", "rowUPB", "rowUPC", "rowIQA", "rowIQB", "rowIQC"][index]
                // B only with three elements, C in every mode but the single one.
                visible: phase === 0 || (phase === 1 ? page.threeElements : !page.singleElement)
                height: page.rowHeight
                spacing: 6

                FitLabel {
                    objectName: "portLabel" + outputRow.port
                    width: 54
                    height: page.rowHeight
                    font.pixelSize: page.fontSize
                    text: outputRow.voltage ? page.voltageLabels[outputRow.phase] : ["Ia", "Ib", "Ic"][outputRow.phase]
                }
                EditNumberBox {
                    id: rangeBox
                    objectName: "outputRange" + outputRow.port
                    width: 180
                    height: page.rowHeight
                    readOnly: true
                    unit: outputRow.voltage ? "V" : "A"
                }
                EditNumberBox {
                    id: angleBox
                    objectName: "outputPhase" + outputRow.port
                    width: 180
                    height: page.rowHeight
                    readOnly: true
                    unit: "°"
                }
                FitLabel {
                    objectName: "powerLabel" + outputRow.port
                    width: 44
                    height: page.rowHeight
                    font.pixelSize: page.fontSize
                    text: (outputRow.voltage ? "P" : "Q") + ["a", "b", "c"][outputRow.phase]
                }
                EditNumberBox {
                    id: powerBox
                    objectName: "outputPower" + outputRow.port
                    width: 200
                    height: page.rowHeight
                    readOnly: true
                    unit: outputRow.voltage ? "W" : "Var"
                    unitWidth: 34
                }
            }
        }
    }
}

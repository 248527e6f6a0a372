import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewDistanceModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The distance-protection test page on the module page frame (page protocol,
// bottom bar, file flow, messages). Everything it shows comes from its view
// model (viewDistanceModel), everything it does goes through the model.
//
// Three tabs over the parameter area: the test points (the edit point's
// impedance, loop, direction, setting time and fault phasors, the impedance
// factors, "添加" / "删除" / "清除", and the result list below, which can take
// the whole panel), the line and fault set-up, and the times with the binary
// inputs and outputs. While a test runs the list follows the engine's state
// (three states per point).
ModulePageFrame {
    id: page

    viewModel: viewDistanceModel
    testType: ViewBaseModel.TEST_DISTANCE
    fileModule: "Distance_"
    triggerPanel: triggerPanel

    property bool voltFour: false
    property real maxVoltage: 300
    property real maxCurrent: 10
    // The UX range's maximum until the device's value is set.
    property real uxMaxVoltage: 10
    property real rateVoltage: 57.735
    property real rateCurrent: 1
    property int distanceKind: ViewDistanceModel.DISTANCE_TYPE_ICONSTANT
    property int repairKind: ViewDistanceModel.REPAIR_TYPE_KL
    property int uxType: 0
    property int pointsCount: 0
    property int activeIndex: -1
    // Bumped on every refresh: the list's cells and the phasor table read the model again.
    property int revision: 0

    readonly property alias tabs: tabs
    readonly property alias resultList: resultList
    readonly property var faultNames: ["A-N", "B-N", "C-N", "A-B", "B-C", "C-A", "A-B-N", "B-C-N", "C-A-N", "A-B-C"]
    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var phasorPorts: voltFour ? [0, 1, 2, 3, 4, 5, 6] : [0, 1, 2, 4, 5, 6]
    readonly property int fieldWidth: 150

    ViewDistanceModel {
        id: viewDistanceModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    function directionName(direction) {
        return direction === ViewDistanceModel.DIRECTION_TYPE_NEGATIVE ? qsTr("反方向") : qsTr("正方向")  // reverse, forward
    }

    // The text of result cell `column` of point `line`.
    function cellText(line, column) {
        var m = viewDistanceModel
        var state = m.getTestStates(line)
        var completed = state === ViewBaseModel.AO_STATE_TYPE_COMPLETED
        switch (column) {
        case 0: return String(line + 1)
        case 1: return faultNames[m.getFaultKind(line)] || ""
        case 2: return directionName(m.getFaultDirection(line))
        case 3: return formatted(m.getFaultZRange(line)) + "Ω"
        case 4: return formatted(m.getFaultZAngle(line)) + "°"
        case 5: return formatted(m.getSettingTimes(line)) + "s"
        case 6: return formatted(m.getDevTimes(line)) + "s"
        case 7:
            var word = m.getTripTimeWord(line)                       // not reset, no trip
            if (word !== "")
                return word
            var time = m.getActionTimes(line)
            return !ViewUtilityHelper.qmlIsNaN(time) && time > 0 ? timeText(time) : ""
        case 8:
            var input = m.getBinaryInputIndex(line)
            return input > 0 ? String(input) : (completed ? "--" : "")
        default:
            if (state === ViewBaseModel.AO_STATE_TYPE_INITING)
                return qsTr("未测试")                                  // not tested
            if (state === ViewBaseModel.AO_STATE_TYPE_RUNNNING)
                return qsTr("测试中")                                  // testing
            if (m.getRelayNotReset(line))
                return qsTr("未复归")                                  // relay not reset
            var result = m.getTestResults(line)
            if (result === ViewBaseModel.AO_Result_TYPE_SUCCESS)
                return qsTr("通过")                                    // passed
            if (result === ViewBaseModel.AO_Result_TYPE_FAILED)
                return qsTr("失败")                                    // failed
            return qsTr("未动作")
        }
    }

    function phasorText(port, angle) {
        if (revision < 0)
            return ""
        if (angle)
            return formatted(viewDistanceModel.getOutputAngle(-1, port)) + "°"
        return formatted(viewDistanceModel.getOutputRange(-1, port)) + (port < 4 ? "V" : "A")
    }

    // ---- Frame hooks -------------------------------------------------------------------
    // Limits and quick values from the device, the rows by the voltage phases.
    function initControls() {
        maxVoltage = viewDistanceModel.getDeviceAOVMaxRange()
        maxCurrent = viewDistanceModel.getDeviceAOIMaxRange()
        uxMaxVoltage = maxVoltage
        rateVoltage = viewDistanceModel.getRateVRange()
        rateCurrent = viewDistanceModel.getRateIRange()
        voltFour = viewDistanceModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
    }

    function loadControls() {
        var m = viewDistanceModel
        zRangeBox.setDataValue(m.getFaultZRange(-1))
        zAngleBox.setDataValue(m.getFaultZAngle(-1))
        zRealBox.setDataValue(m.getFaultZReal(-1))
        zImageBox.setDataValue(m.getFaultZImage(-1))
        faultKindBox.setDataValue(m.getFaultKind(-1))
        faultDirectionBox.setDataValue(m.getFaultDirection(-1))
        settingTimeBox.setDataValue(m.getSettingTimes(m.getActiveIndex()))
        for (var k = 0; k < 4; ++k)
            factorChecks.itemAt(k).checked = m.getFactorChecked(k)

        distanceKind = m.getDistanceKind()
        distanceKindBox.setDataValue(distanceKind < 2 ? distanceKind : -1)
        ctPositionBox.setDataValue(m.getCTPosition())
        ptPositionBox.setDataValue(m.getPTPosition())
        faultVoltageBox.setDataValue(m.getFaultVoltage())
        faultCurrentBox.setDataValue(m.getFaultCurrent())
        loadCurrentBox.setDataValue(m.getLoadCurrent())
        loadAngleBox.setDataValue(m.getLoadAngle())
        repairKind = m.getRepairKind()
        repairKindBox.setDataValue(repairKind)
        repairFactor1Box.setDataValue(m.getRepairFactor(0))
        repairFactor2Box.setDataValue(m.getRepairFactor(1))
        timeErrAbsBox.setDataValue(m.getTimeErrAbs())
        timeErrRelBox.setDataValue(m.getTimeErrRel())
        uxType = m.getUXDefineType()
        uxTypeBox.setDataValue(uxType)
        uxRangeBox.setDataValue(uxType === 0 ? m.getUXDefineRange() : 0)
        uxAngleBox.setDataValue(uxType === 0 ? m.getUXDefineAngle() : 0)

        normalTimeBox.setDataValue(m.getNormalTime())
        intervalTimeBox.setDataValue(m.getIntervalTime())
        timeFactor1Box.setDataValue(m.getOupputTimeFactor1())
        timeFactor2Box.setDataValue(m.getOupputTimeFactor2())

        pointsCount = m.getPointsCount()
        activeIndex = m.getActiveIndex()
        revision++
        resultList.follow(activeIndex)
    }

    // With no point there is nothing to start.
    function startAllowed() {
        return viewDistanceModel.getPointsCount() > 0
    }

    // ---- Actions -----------------------------------------------------------------------------
    // An entered number goes to the model when it differs; then every field again.
    function enterAndReload(value, getter, setter) {
        enterValue(value, getter, setter)
        updateControlValue()
    }

    function selectRow(row) {
        viewDistanceModel.setActiveIndex(row)
        updateControlValue()
    }

    // The engine's state index while the test runs: three states per point.
    function followStateIndex(index) {
        if (!visible || viewDistanceModel.getTestActiveType() !== ViewBaseModel.TEST_DISTANCE
                || viewDistanceModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) === 0)
            return
        var point = ViewUtilityHelper.doubleFormatToInt(index / 3)
        viewDistanceModel.setActiveIndex(point >= 0 && point < viewDistanceModel.getPointsCount() ? point : 0)
        updateControlValue()
    }

    onRunningChanged: if (running) closeInputPanels()

    Connections {
        target: viewDistanceModel
        function onSigUpdateStateIndexToView(index) {
            page.followStateIndex(index)
        }
    }

    component NumberBox: EditNumberBox {
        width: page.fieldWidth
        height: page.rowHeight
        dataPrecision: 3
    }

    // Its label at least 76 wide, wider as its text needs.
    component FieldRow: LabeledRow {
        labelWidth: Math.max(76, labelImplicitWidth)
        labelHeight: page.rowHeight
        labelPixelSize: page.smallFontSize
    }

    ParameterTabs {
        id: tabs
        objectName: "parameterTabs"
        x: 4
        y: 2
        width: 792
        height: page.height - page.bottomBar.height - 4
        tabs: [{ text: qsTr("测试参数"), name: "pointTabButton" },          // test points
               { text: qsTr("综合参数"), name: "generalTabButton" },        // general set-up
               { text: qsTr("时间触发"), name: "timeTabButton" }]           // times and trigger

        // ---- 1. Test points ----------------------------------------------------------------------
        Item {
            id: pointPanel
            objectName: "pointPanel"

            Item {
                id: upperPart
                objectName: "upperPart"
                width: parent.width
                height: 170
                visible: !resultList.collapsed
                enabled: !page.running

                Column {
                    id: pointFields
                    spacing: 2

                    Row {
                        spacing: 6
                        FieldRow {
                            labelWidth: 40
                            label: "|Z|"
                            NumberBox {
                                id: zRangeBox
                                objectName: "zRangeBox"
                                unit: "Ω"
                                dataMin: 0
                                dataMax: 100000
                                quick1Value: "50.0"
                                quick2Value: "100.0"
                                quick3Value: "1.0"
                                onDataValueEntered: page.enterAndReload(dataValue,
                                    function() { return viewDistanceModel.getFaultZRange(-1) },
                                    viewDistanceModel.setFaultZRange)
                            }
                        }
                        FieldRow {
                            labelWidth: 40
                            label: qsTr("角")                                 // angle
                            NumberBox {
                                id: zAngleBox
                                objectName: "zAngleBox"
                                unit: "°"
                                dataMin: -360
                                dataMax: 360
                                dataAutoToLimit: true
                                quick1Value: "120.0"
                                quick2Value: "240.0"
                                quick3Value: "360.0"
                                onDataValueEntered: page.enterAndReload(dataValue,
                                    function() { return viewDistanceModel.getFaultZAngle(-1) },
                                    viewDistanceModel.setFaultZAngle)
                            }
                        }
                    }
                    Row {
                        spacing: 6
                        FieldRow {
                            labelWidth: 40
                            label: "R"
                            NumberBox {
                                id: zRealBox
                                objectName: "zRealBox"
                                unit: "Ω"
                                dataMin: 0
                                dataMax: 100000
                                onDataValueEntered: page.enterAndReload(dataValue,
                                    function() { return viewDistanceModel.getFaultZReal(-1) },
                                    viewDistanceModel.setFaultZReal)
                            }
                        }
                        FieldRow {
                            labelWidth: 40
                            label: "X"
                            NumberBox {
                                id: zImageBox
                                objectName: "zImageBox"
                                unit: "Ω"
                                dataMin: 0
                                dataMax: 100000
                                onDataValueEntered: page.enterAndReload(dataValue,
                                    function() { return viewDistanceModel.getFaultZImage(-1) },
                                    viewDistanceModel.setFaultZImage)
                            }
                        }
                    }
                    Row {
                        spacing: 6
                        FieldRow {
                            label: qsTr("故障类型")                           // fault loop
                            ToolComboBox {
                                id: faultKindBox
                                objectName: "faultKindBox"
                                width: 114
                                height: page.rowHeight
                                model: page.faultNames
                                onActivated: page.applyAndReload(viewDistanceModel.setFaultKind, index)
                            }
                        }
                        FieldRow {
                            label: qsTr("故障方向")                           // fault direction
                            ToolComboBox {
                                id: faultDirectionBox
                                objectName: "faultDirectionBox"
                                width: 114
                                height: page.rowHeight
                                model: [qsTr("正方向"), qsTr("反方向")]
                                onActivated: page.applyAndReload(viewDistanceModel.setFaultDirection, index)
                            }
                        }
                    }
                    Row {
                        spacing: 6
                        FieldRow {
                            label: qsTr("整定时间")                           // setting time
                            NumberBox {
                                id: settingTimeBox
                                objectName: "settingTimeBox"
                                width: 110
                                unit: "s"
                                dataMin: 0
                                dataMax: 100000
                                quick1Value: "0.1"
                                quick2Value: "0.5"
                                quick3Value: "1.0"
                                onDataValueEntered: {
                                    var m = viewDistanceModel
                                    page.enterAndReload(dataValue,
                                        function() { return m.getSettingTimes(m.getActiveIndex()) },
                                        function(v) { m.setSettingTimes(m.getActiveIndex(), v) })
                                }
                            }
                        }
                        Repeater {
                            model: [{ text: qsTr("添加"), name: "addButton" },          // add
                                    { text: qsTr("删除"), name: "deleteButton" },       // remove
                                    { text: qsTr("清除"), name: "clearButton" }]        // clear
                            ToolTextButton {
                                objectName: modelData.name
                                width: Math.max(62, Math.ceil(textImplicitWidth) + 8)
                                height: page.rowHeight
                                text: modelData.text
                                onClicked: {
                                    var m = viewDistanceModel
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
                    FieldRow {
                        label: qsTr("阻抗倍数")                               // impedance factors
                        labelWidth: Math.max(70, labelImplicitWidth)
                        Repeater {
                            id: factorChecks
                            model: ["0.70", "0.95", "1.05", "1.20"]
                            ToolCheckBox {
                                objectName: "factorCheck" + index
                                width: 88
                                height: page.rowHeight
                                leftPadding: 0
                                rightPadding: 0
                                radioSize: 18
                                spacing: 4
                                font.pixelSize: globalConfiguration.customFontL3Size
                                text: modelData
                                onClicked: page.applyAndReload(viewDistanceModel.setFactorChecked, index, checked)
                            }
                        }
                    }
                }

                // The edit point's fault phasors (display only), beside the
                // fields however wide their labels and buttons make them.
                Column {
                    id: phasorTable
                    objectName: "phasorTable"
                    x: Math.max(488, pointFields.width + 6)
                    width: parent.width - x - 4
                    readonly property int cellHeight: page.voltFour ? 24 : 26
                    readonly property int valueWidth: Math.floor((width - 40) / 2)

                    Repeater {
                        model: page.phasorPorts
                        Row {
                            id: phasorRow
                            readonly property int port: modelData
                            objectName: "phasorRow" + index
                            Repeater {
                                model: 3
                                Rectangle {
                                    width: index === 0 ? 40 : phasorTable.valueWidth
                                    height: phasorTable.cellHeight
                                    color: globalConfiguration.customBackground
                                    border.color: globalConfiguration.customGray
                                    Text {
                                        objectName: "phasor" + phasorRow.port + "_" + index
                                        anchors.fill: parent
                                        horizontalAlignment: Text.AlignHCenter
                                        verticalAlignment: Text.AlignVCenter
                                        color: globalConfiguration.customForeground
                                        font.family: globalConfiguration.customFontFamily
                                        font.pixelSize: page.tinyFontSize
                                        text: index === 0 ? page.portNames[phasorRow.port]
                                                          : page.phasorText(phasorRow.port, index === 2)
                                    }
                                }
                            }
                        }
                    }
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
                columnWidths: [26, 100, 88, 85, 86, 70, 67, 112, 37, 105]
                titles: [qsTr("故障类型"), qsTr("故障方向"), qsTr("阻抗值"), qsTr("阻抗角"), qsTr("整定时间"),
                         qsTr("偏差"), qsTr("动作时间"), qsTr("开入"), qsTr("结果")]
                // What a run may write: no trip, a trip under a second, the verdicts.
                columnTexts: [[], [], [], [], [], [], [], [qsTr("未动作"), qsTr("未复归"), page.timeText(0.999999)], ["--"],
                              [qsTr("未测试"), qsTr("测试中"), qsTr("未复归"), qsTr("通过"), qsTr("失败"), qsTr("未动作")]]
                cellText: page.cellText
                onRowClicked: page.selectRow(row)
            }
        }

        // ---- 2. General set-up ---------------------------------------------------------------------
        Item {
            id: generalPanel
            objectName: "generalPanel"
            enabled: !page.running

            component GeneralRow: LabeledRow {
                labelHeight: page.rowHeight
                labelPixelSize: page.smallFontSize
            }
            component GeneralCombo: ToolComboBox {
                width: 200
                height: page.rowHeight
            }

            LabelColumn {
                x: 0
                width: 390
                spacing: 2
                minimumLabelWidth: 128

                GeneralRow {
                    label: qsTr("计算模型")                                   // calculation mode
                    GeneralCombo {
                        id: distanceKindBox
                        objectName: "distanceKindBox"
                        model: [qsTr("电流恒定"), qsTr("电压恒定")]           // I constant, V constant
                        onActivated: page.applyAndReload(viewDistanceModel.setDistanceKind, index)
                    }
                }
                GeneralRow {
                    label: qsTr("CT位置")                                    // CT side
                    GeneralCombo {
                        id: ctPositionBox
                        objectName: "ctPositionBox"
                        model: [qsTr("指向母线"), qsTr("指向线路")]           // towards bus, towards line
                        onActivated: page.applyAndReload(viewDistanceModel.setCTPosition, index)
                    }
                }
                GeneralRow {
                    label: qsTr("PT位置")                                    // PT side
                    GeneralCombo {
                        id: ptPositionBox
                        objectName: "ptPositionBox"
                        model: [qsTr("在母线上"), qsTr("在线路上")]           // on bus, on line
                        onActivated: page.applyAndReload(viewDistanceModel.setPTPosition, index)
                    }
                }
                GeneralRow {
                    visible: page.distanceKind === ViewDistanceModel.DISTANCE_TYPE_VCONSTANT
                    label: qsTr("故障电压")                                   // fault voltage
                    NumberBox {
                        width: 200
                        id: faultVoltageBox
                        objectName: "faultVoltageBox"
                        unit: "V"
                        dataMin: 0
                        dataMax: page.maxVoltage
                        dataAutoToLimit: true
                        quick1Value: page.formatted(page.rateVoltage)
                        quick2Value: page.formatted(page.maxVoltage)
                        quick3Value: "220.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getFaultVoltage,
                                                                viewDistanceModel.setFaultVoltage)
                    }
                }
                GeneralRow {
                    visible: page.distanceKind === ViewDistanceModel.DISTANCE_TYPE_ICONSTANT
                    label: qsTr("故障电流")                                   // fault current
                    NumberBox {
                        width: 200
                        id: faultCurrentBox
                        objectName: "faultCurrentBox"
                        unit: "A"
                        dataMin: 0
                        dataMax: page.maxCurrent
                        dataAutoToLimit: true
                        quick1Value: page.formatted(page.rateCurrent / 10)
                        quick2Value: page.formatted(page.maxCurrent)
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getFaultCurrent,
                                                                viewDistanceModel.setFaultCurrent)
                    }
                }
                GeneralRow {
                    label: qsTr("负荷电流")                                   // load current
                    NumberBox {
                        width: 200
                        id: loadCurrentBox
                        objectName: "loadCurrentBox"
                        unit: "A"
                        dataMin: 0
                        dataMax: page.maxCurrent
                        dataAutoToLimit: true
                        quick1Value: page.formatted(page.rateCurrent / 10)
                        quick2Value: page.formatted(page.maxCurrent)
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getLoadCurrent,
                                                                viewDistanceModel.setLoadCurrent)
                    }
                }
                GeneralRow {
                    label: qsTr("负荷相角")                                   // load angle
                    NumberBox {
                        width: 200
                        id: loadAngleBox
                        objectName: "loadAngleBox"
                        unit: "°"
                        dataMin: -360
                        dataMax: 360
                        dataAutoToLimit: true
                        quick1Value: "120.0"
                        quick2Value: "240.0"
                        quick3Value: "360.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getLoadAngle,
                                                                viewDistanceModel.setLoadAngle)
                    }
                }
            }

            LabelColumn {
                x: 400
                width: 390
                spacing: 2
                minimumLabelWidth: 128

                GeneralRow {
                    label: qsTr("零序补偿")                                   // earth-return compensation
                    GeneralCombo {
                        id: repairKindBox
                        objectName: "repairKindBox"
                        model: ["KL", "Re/RL & XE/XL", "Z0/Z1"]
                        onActivated: page.applyAndReload(viewDistanceModel.setRepairKind, index)
                    }
                }
                GeneralRow {
                    label: page.repairKind === ViewDistanceModel.REPAIR_TYPE_RERL_XEXL
                           ? "RE/RL" : (page.repairKind === ViewDistanceModel.REPAIR_TYPE_Z0Z1 ? qsTr("Z0/Z1幅值")
                                                                                              : qsTr("KL幅值"))
                    NumberBox {
                        width: 200
                        id: repairFactor1Box
                        objectName: "repairFactor1Box"
                        unit: ""
                        dataMin: 0
                        dataMax: 100000
                        onDataValueEntered: page.enterAndReload(dataValue,
                            function() { return viewDistanceModel.getRepairFactor(0) },
                            function(v) { viewDistanceModel.setRepairFactor(0, v) })
                    }
                }
                GeneralRow {
                    label: page.repairKind === ViewDistanceModel.REPAIR_TYPE_RERL_XEXL
                           ? "XE/XL" : (page.repairKind === ViewDistanceModel.REPAIR_TYPE_Z0Z1 ? qsTr("Z0/Z1角度")
                                                                                              : qsTr("KL角度"))
                    NumberBox {
                        width: 200
                        id: repairFactor2Box
                        objectName: "repairFactor2Box"
                        unit: page.repairKind === ViewDistanceModel.REPAIR_TYPE_RERL_XEXL ? "" : "°"
                        dataMin: -360
                        dataMax: 360
                        onDataValueEntered: page.enterAndReload(dataValue,
                            function() { return viewDistanceModel.getRepairFactor(1) },
                            function(v) { viewDistanceModel.setRepairFactor(1, v) })
                    }
                }
                GeneralRow {
                    label: qsTr("时间绝对误差")                               // absolute time tolerance
                    NumberBox {
                        width: 200
                        id: timeErrAbsBox
                        objectName: "timeErrAbsBox"
                        unit: "s"
                        dataMin: 0
                        dataMax: 10000
                        dataAutoToLimit: true
                        quick1Value: "0.1"
                        quick2Value: "0.5"
                        quick3Value: "1"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getTimeErrAbs,
                                                                viewDistanceModel.setTimeErrAbs)
                    }
                }
                GeneralRow {
                    label: qsTr("时间相对误差")                               // relative time tolerance
                    NumberBox {
                        width: 200
                        id: timeErrRelBox
                        objectName: "timeErrRelBox"
                        unit: "%"
                        dataMin: 0
                        dataMax: 10000
                        dataAutoToLimit: true
                        quick1Value: "1"
                        quick2Value: "5"
                        quick3Value: "10"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getTimeErrRel,
                                                                viewDistanceModel.setTimeErrRel)
                    }
                }

                // The auxiliary voltage UX, on four-phase units.
                Column {
                    id: uxBlock
                    objectName: "uxBlock"
                    visible: page.voltFour
                    spacing: 2

                    GeneralRow {
                        labelWidth: 128
                        label: "V AUX"
                        GeneralCombo {
                            id: uxTypeBox
                            objectName: "uxTypeBox"
                            model: [qsTr("Custom"), "+U0", "-U0", "+√3U0", "-√3U0", "+3U0", "-3U0", "+√3*3U0",
                                    "-√3*3U0"]
                            onActivated: {
                                if (index !== viewDistanceModel.getUXDefineType())
                                    viewDistanceModel.setUXDefineType(index)
                                page.updateControlValue()
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FieldRow {
                            labelWidth: 72
                            label: qsTr("Range")
                            NumberBox {
                                id: uxRangeBox
                                objectName: "uxRangeBox"
                                width: 112
                                unit: "V"
                                readOnly: page.uxType !== 0
                                dataMin: 0
                                dataMax: page.uxMaxVoltage
                                dataAutoToLimit: true
                                quick1Value: page.formatted(page.rateVoltage)
                                quick2Value: page.formatted(page.maxVoltage)
                                quick3Value: "300.0"
                                onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getUXDefineRange,
                                                                        viewDistanceModel.setUXDefineRange)
                            }
                        }
                        FieldRow {
                            labelWidth: 72
                            label: qsTr("Angle")
                            NumberBox {
                                id: uxAngleBox
                                objectName: "uxAngleBox"
                                width: 112
                                unit: "°"
                                readOnly: page.uxType !== 0
                                dataMin: -360
                                dataMax: 360
                                dataAutoToLimit: true
                                quick1Value: "120.0"
                                quick2Value: "240.0"
                                quick3Value: "360.0"
                                onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getUXDefineAngle,
                                                                        viewDistanceModel.setUXDefineAngle)
                            }
                        }
                    }
                }
            }
        }

        // ---- 3. Times and binary inputs and outputs ------------------------------------------------
        Item {
            id: timePanel
            objectName: "timePanel"
            enabled: !page.running

            PageTriggerPanel {
                id: triggerPanel
                objectName: "triggerPanel"
                width: 380
                viewModel: viewDistanceModel
                rowHeight: page.rowHeight
                labelPixelSize: page.smallFontSize
                optionPixelSize: page.tinyFontSize
            }

            Column {
                x: 400
                width: 390
                spacing: 10

                FieldRow {
                    labelWidth: 128
                    label: qsTr("故障前时间")                                  // pre-fault time
                    NumberBox {
                        id: normalTimeBox
                        objectName: "normalTimeBox"
                        width: 200
                        unit: "s"
                        dataMin: 0
                        dataMax: 100000
                        quick1Value: "0.1"
                        quick2Value: "0.5"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getNormalTime,
                                                                viewDistanceModel.setNormalTime)
                    }
                }
                FieldRow {
                    labelWidth: 128
                    label: qsTr("故障后时间")                                  // after-fault time
                    NumberBox {
                        id: intervalTimeBox
                        objectName: "intervalTimeBox"
                        width: 200
                        unit: "s"
                        dataMin: 0
                        dataMax: 500
                        quick1Value: "0.1"
                        quick2Value: "0.5"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getIntervalTime,
                                                                viewDistanceModel.setIntervalTime)
                    }
                }
            }

            // Fault time = largest setting time x factor 1 + factor 2.
            Row {
                y: 150
                spacing: 6
                FitLabel {
                    width: 260
                    height: page.rowHeight
                    font.pixelSize: page.smallFontSize
                    text: qsTr("故障时间 = 最大整定时间  x")
                }
                NumberBox {
                    id: timeFactor1Box
                    objectName: "timeFactor1Box"
                    width: 140
                    unit: ""
                    dataMin: 1
                    dataMax: 10000
                    dataAutoToLimit: true
                    quick1Value: "1.0"
                    quick2Value: "1.5"
                    quick3Value: "2.0"
                    onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getOupputTimeFactor1,
                                                            viewDistanceModel.setOupputTimeFactor1)
                }
                LabelText {
                    width: 24
                    height: page.rowHeight
                    horizontalAlignment: Text.AlignHCenter
                    text: "+"
                }
                NumberBox {
                    id: timeFactor2Box
                    objectName: "timeFactor2Box"
                    width: 140
                    unit: "s"
                    dataMin: 0.05
                    dataMax: 10000
                    dataAutoToLimit: true
                    quick1Value: "0.1"
                    quick2Value: "0.5"
                    quick3Value: "1"
                    onDataValueEntered: page.enterAndReload(dataValue, viewDistanceModel.getOupputTimeFactor2,
                                                            viewDistanceModel.setOupputTimeFactor2)
                }
            }
        }
    }
}

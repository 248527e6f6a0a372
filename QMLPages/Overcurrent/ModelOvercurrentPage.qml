import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewOvercurrentModel 1.0
import ZOR.ViewOvercurrentCurvePainter 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The overcurrent test page on the module page frame. Four tabs: the two
// characteristics (definite time 50, inverse time 51) with the edit point and
// the point list actions, the tolerances and fault set-up, the trigger logic,
// and the time-current chart. The result list sits below the first three;
// the chart takes its place on the fourth. While a test runs the list follows
// the engine's state (three states per point).
//
// The chart evaluates nothing itself: feedChart() computes every curve point
// with the model before each repaint and each report image.
ModulePageFrame {
    id: page

    viewModel: viewOvercurrentModel
    testType: ViewBaseModel.TEST_OVERCURRENT
    fileModule: "Overcurrent_"
    triggerPanel: triggerPanel

    property real maxVoltage: 300
    property real maxCurrent: 10
    property real rateVoltage: 57.735
    property real rateCurrent: 1
    property int pointsCount: 0
    property int activeIndex: -1
    property int revision: 0
    property bool normalEnable: false
    property bool intervalEnable: false
    property bool faultVPEnable: false
    property var charNames: []
    // What the curve and test points go to: the chart, or a recorder standing in for it.
    property var curveSink: null

    readonly property alias tabs: tabs
    readonly property alias resultList: resultList
    readonly property alias chart: chart
    readonly property alias multiDialog: multiDialog
    readonly property bool curveShown: tabs.currentIndex === 3
    readonly property var faultList: ["A-N", "B-N", "C-N", "A-B", "B-C", "C-A", "A-B-C", "I2", "3I0", "A", "B", "C"]
    readonly property var functionList: ["50", "51"]
    readonly property int fieldWidth: 140

    ViewOvercurrentModel {
        id: viewOvercurrentModel
    }

    // ---- Helpers -----------------------------------------------------------------------
    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    function isLargest(value) {
        return value >= Number.MAX_VALUE
    }

    function cellText(line, column) {
        var m = viewOvercurrentModel
        var state = m.getTestStates(line)
        var completed = state === ViewBaseModel.AO_STATE_TYPE_COMPLETED
        switch (column) {
        case 0: return String(line + 1)
        case 1: return faultList[m.getFaultKind(line)] || ""
        case 2: return formatted(m.getTestCurrent(line)) + "A"
        case 3: return functionList[m.getFunction(line)] || ""
        case 4:
            var setting = m.getSettingTimes(line)
            return ViewUtilityHelper.qmlIsNaN(setting) || isLargest(setting) ? qsTr("未动作") : formatted(setting) + "s"
        case 5:
        case 6:
            var bound = column === 5 ? m.getMinTimes(line) : m.getMaxTimes(line)
            return isLargest(bound) ? "INF" : formatted(bound) + "s"
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

    // ---- The chart's feed --------------------------------------------------------------------
    // Curve point n at current I after computerTime(): the scratch point's
    // window; a time of -1 feeds the short-time edge only.
    function feedCurvePoint(n, current, time) {
        var m = viewOvercurrentModel
        var tmin = m.getCurvePointMinTime()
        var tmax = m.getCurvePointMaxTime()
        var leftI = m.getCurvePointLeftI(current)
        var rightI = m.getCurvePointRightI(current)
        var sink = curveSink ? curveSink : chart
        if (tmin <= 0.001)
            tmin = 0.001
        if (leftI <= 0.001)
            leftI = 0.001
        if (n === 0)
            sink.updateCurveData(0, current, 100000, leftI, 1000000, rightI, 1000000)
        else if (time === -1)
            sink.updateCurveData(n, current, -1, leftI, -1, -1, tmin)
        else
            sink.updateCurveData(n, current, time, leftI, tmax, rightI, tmin)
    }

    // The characteristic of `func` and its band, fed point by point. Only a
    // finite pickup above 0 is fed (the steps are fractions of it); false
    // when nothing was fed.
    function feedCurve(func) {
        var m = viewOvercurrentModel
        chart.curveType = func
        var ip = m.getIPickUp(func)
        if (!isFinite(ip) || !(ip > 0))
            return false
        var imax = m.getDeviceAOIMaxRange() + 1
        var n = 0
        function point(current) {
            feedCurvePoint(n, current, m.computerTime(func, current))
            ++n
        }
        if (func === ViewOvercurrentModel.FUNCTION_TYPE_50) {
            point(ip)
            point(ip)
            point(imax)
            return true
        }

        var sections = ip >= 1 ? 1 : (ip >= 0.1 ? 2 : (ip >= 0.01 ? 3 : 4))
        var middle = 2 * ip
        var max = 10 * ip
        var littleStep = 0.005 * ip * sections
        var bigStep = 0.05 * ip * sections
        var miniStep = 0.0000001 * ip
        point(ip)
        point(ip)
        var current = ip
        while (miniStep * Math.pow(2, n) <= imax - ip && miniStep * Math.pow(2, n) <= littleStep) {
            current = ip + Math.pow(2, n) * miniStep
            point(current)
        }
        while (current < imax) {
            point(current)
            if (current < middle) {
                current += littleStep
            } else if (current < max) {
                current += bigStep
            } else {
                littleStep *= 10
                bigStep *= 10
                middle = 2 * current
                max = 10 * current
                current += littleStep
            }
        }
        point(imax)

        // Below the pickup, until the shortest acceptable time reaches 10000 s.
        var extraStep = 0.01 * ip
        var below = 0
        current = ip
        function belowPoint(at) {
            feedCurvePoint(n, at, -1)
            ++n
            ++below
        }
        while (extraStep > 0.0000001 && current > 0.001 && below < 1000) {
            current -= extraStep
            m.computerTime(func, current)
            while (current > 0.001 && m.getCurvePointMinTime() < 10000 && below < 1000) {
                belowPoint(current)
                current -= extraStep
                m.computerTime(func, current)
            }
            current += extraStep
            extraStep /= 2
        }
        if (current > 0.001) {
            m.computerTime(func, current)
            belowPoint(current)
        }
        return true
    }

    // The test points, at the time the model gives each.
    function feedTestPoints() {
        var m = viewOvercurrentModel
        var sink = curveSink ? curveSink : chart
        for (var n = 0; n < m.getPointsCount(); ++n)
            sink.updataPonit(n, m.getFunction(n), m.getTestCurrent(n), m.getChartTime(n), m.getTestResults(n))
    }

    function feedChart(func) {
        if (feedCurve(func))
            feedTestPoints()
    }

    // The curve tab: the edit point's function, fed and repainted.
    function updateCurveView() {
        feedChart(viewOvercurrentModel.getFunction(-1))
        chart.update()
    }

    function hasFunction(func) {
        var m = viewOvercurrentModel
        for (var n = 0; n < m.getPointsCount(); ++n) {
            if (m.getFunction(n) === func)
                return true
        }
        return false
    }

    // One image per function the list holds, for the report; none left from
    // an earlier report of a function the list no longer holds.
    function buildReportImages() {
        var m = viewOvercurrentModel
        m.releaseImage()
        var funcs = [ViewOvercurrentModel.FUNCTION_TYPE_50, ViewOvercurrentModel.FUNCTION_TYPE_51]
        for (var k = 0; k < funcs.length; ++k) {
            if (!hasFunction(funcs[k]))
                continue
            feedChart(funcs[k])
            m.saveImage(funcs[k], chart.drawImage())
        }
    }

    // ---- Frame hooks -------------------------------------------------------------------
    function initControls() {
        var m = viewOvercurrentModel
        maxVoltage = m.getDeviceAOVMaxRange()
        maxCurrent = m.getDeviceAOIMaxRange()
        rateVoltage = m.getRateVRange()
        rateCurrent = m.getRateIRange()
    }

    function loadControls() {
        var m = viewOvercurrentModel
        pickUp50Box.setDataValue(m.getIPickUp(0))
        time50Box.setDataValue(m.getTdPickUp(0))
        pickUp51Box.setDataValue(m.getIPickUp(1))
        time51Box.setDataValue(m.getTdPickUp(1))
        testCurrentBox.setDataValue(m.getTestCurrent(-1))
        charTypeBox.setDataValue(m.getCharType())
        charNames = m.getCharNames()
        charIndexBox.setDataValue(m.getCharIndex())
        functionBox.setDataValue(m.getFunction(-1))
        faultKindBox.setDataValue(m.getFaultKind(-1))

        currentTolRelBox.setDataValue(m.getCurrentTolRel())
        currentTolAbsBox.setDataValue(m.getCurrentTolAbs())
        timeTolRelBox.setDataValue(m.getTimeTolRel())
        timeTolAbsBox.setDataValue(m.getTimeTolAbs())
        normalEnable = m.getNormalEnable()
        normalCheck.checked = normalEnable
        normalTimeBox.setDataValue(m.getNormalTime())
        outputOnceCheck.checked = m.getOutputOnceOnly()
        intervalEnable = m.getIntervalEnable()
        intervalCheck.checked = intervalEnable
        intervalTimeBox.setDataValue(m.getIntervalTime())
        maxFaultTimeBox.setDataValue(m.getMaxFaultTime())
        faultVPEnable = m.getFaultVPEnable()
        faultVPCheck.checked = faultVPEnable
        faultVPNBox.setDataValue(m.getFaultVPNRange())
        testAngleBox.setDataValue(m.getTestAngle())

        pointsCount = m.getPointsCount()
        activeIndex = m.getActiveIndex()
        revision++
        resultList.follow(activeIndex)
        if (tabs.currentIndex === 3)
            updateCurveView()
    }

    function startAllowed() {
        return viewOvercurrentModel.getPointsCount() > 0
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterAndReload(value, getter, setter) {
        enterValue(value, getter, setter)
        updateControlValue()
    }

    function selectRow(row) {
        viewOvercurrentModel.setActiveIndex(row)
        updateControlValue()
    }

    function openMultiDialog() {
        var m = viewOvercurrentModel
        multiDialog.setDataValue(1.05 * m.getIPickUp(m.getFunction(-1)), m.getDeviceAOIMaxRange(), 1.0,
                                 m.getDeviceAOIMaxRange())
        multiDialog.open()
    }

    function addSeries(begin, end, step) {
        multiDialog.close()
        closeInputPanels()
        viewOvercurrentModel.addPoint(begin, end, step)
        updateControlValue()
    }

    function followStateIndex(index) {
        var m = viewOvercurrentModel
        if (!visible || m.getTestActiveType() !== ViewBaseModel.TEST_OVERCURRENT
                || m.getState(ViewBaseModel.STATE_TYPE_RUNNING) === 0)
            return
        var point = ViewUtilityHelper.doubleFormatToInt(index / 3)
        m.setActiveIndex(point >= 0 && point < m.getPointsCount() ? point : 0)
        updateControlValue()
    }

    onRunningChanged: if (running) closeInputPanels()

    Connections {
        target: viewOvercurrentModel
        function onSigUpdateStateIndexToView(index) {
            page.followStateIndex(index)
        }
    }

    // The report carries the chart of each function; saved parameters drop them.
    Connections {
        target: page.fileDialog
        function onReportSaving() {
            page.buildReportImages()
        }
        function onParametersSaved() {
            viewOvercurrentModel.releaseImage()
        }
    }

    component NumberBox: EditNumberBox {
        width: page.fieldWidth
        height: page.rowHeight
        dataPrecision: 3
    }

    component FieldRow: LabeledRow {
        labelHeight: page.rowHeight
        labelPixelSize: page.smallFontSize
    }

    component FieldCheck: ToolCheckBox {
        width: 150
        height: page.rowHeight
        leftPadding: 0
        radioSize: 18
        spacing: 4
        font.pixelSize: page.smallFontSize
    }

    ParameterTabs {
        id: tabs
        objectName: "parameterTabs"
        x: 4
        y: 2
        width: 792
        height: page.curveShown ? page.height - page.bottomBar.height - 4
                                : (resultList.collapsed ? tabHeight + 4 : 192)
        tabs: [{ text: qsTr("测试参数"), name: "pointTabButton" },          // test parameters
               { text: qsTr("综合参数"), name: "generalTabButton" },        // general parameters
               { text: qsTr("触发逻辑"), name: "triggerTabButton" },        // trigger logic
               { text: qsTr("曲线图"), name: "curveTabButton" }]            // curve
        // Opening the chart feeds it (the tab's binding may not have followed yet).
        onCurrentIndexChanged: if (currentIndex === 3) page.updateCurveView()

        // ---- 1. Characteristics and the edit point -----------------------------------------------
        Item {
            id: pointPanel
            objectName: "pointPanel"
            enabled: !page.running

            Row {
                visible: !resultList.collapsed
                spacing: 8

                LabelColumn {
                    spacing: 2
                    minimumLabelWidth: 90
                    LabelText {
                        height: 24
                        font.pixelSize: page.smallFontSize
                        text: qsTr("Inst. Overcurrent") + "(50)"
                    }
                    FieldRow {
                        label: qsTr("Pick-up")
                        NumberBox {
                            id: pickUp50Box
                            objectName: "pickUp50Box"
                            unit: "A"
                            dataMin: 0
                            dataMax: page.maxCurrent
                            quick1Value: page.formatted(page.rateCurrent / 10)
                            quick2Value: page.formatted(page.maxCurrent)
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue,
                                function() { return viewOvercurrentModel.getIPickUp(0) },
                                function(v) { viewOvercurrentModel.setIPickUp(0, v) })
                        }
                    }
                    FieldRow {
                        label: qsTr("Dial Time")
                        NumberBox {
                            id: time50Box
                            objectName: "time50Box"
                            unit: "s"
                            dataMin: 0
                            dataMax: 100000
                            quick1Value: "0.1"
                            quick2Value: "10.0"
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue,
                                function() { return viewOvercurrentModel.getTdPickUp(0) },
                                function(v) { viewOvercurrentModel.setTdPickUp(0, v) })
                        }
                    }
                    FieldRow {
                        label: qsTr("Function")
                        ToolComboBox {
                            id: functionBox
                            objectName: "functionBox"
                            width: page.fieldWidth
                            height: page.rowHeight
                            model: page.functionList
                            onActivated: page.applyAndReload(viewOvercurrentModel.setFunction, index)
                        }
                    }
                    FieldRow {
                        label: qsTr("Fault-Type")
                        ToolComboBox {
                            id: faultKindBox
                            objectName: "faultKindBox"
                            width: page.fieldWidth
                            height: page.rowHeight
                            model: page.faultList
                            onActivated: page.applyAndReload(viewOvercurrentModel.setFaultKind, index)
                        }
                    }
                }

                LabelColumn {
                    spacing: 2
                    minimumLabelWidth: 90
                    LabelText {
                        height: 24
                        font.pixelSize: page.smallFontSize
                        text: qsTr("Time Overcurrent") + "(51)"
                    }
                    FieldRow {
                        label: qsTr("Pick-up")
                        NumberBox {
                            id: pickUp51Box
                            objectName: "pickUp51Box"
                            unit: "A"
                            dataMin: 0
                            dataMax: page.maxCurrent
                            quick1Value: page.formatted(page.rateCurrent / 10)
                            quick2Value: page.formatted(page.maxCurrent)
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue,
                                function() { return viewOvercurrentModel.getIPickUp(1) },
                                function(v) { viewOvercurrentModel.setIPickUp(1, v) })
                        }
                    }
                    FieldRow {
                        label: qsTr("Dial Time")
                        NumberBox {
                            id: time51Box
                            objectName: "time51Box"
                            unit: ""
                            dataMin: 0
                            dataMax: 100000
                            quick1Value: "0.1"
                            quick2Value: "10.0"
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue,
                                function() { return viewOvercurrentModel.getTdPickUp(1) },
                                function(v) { viewOvercurrentModel.setTdPickUp(1, v) })
                        }
                    }
                    FieldRow {
                        label: qsTr("Curve")
                        Row {
                            spacing: 4
                            ToolComboBox {
                                id: charTypeBox
                                objectName: "charTypeBox"
                                width: 72
                                height: page.rowHeight
                                model: ["IEC", "IAC"]
                                onActivated: page.applyAndReload(viewOvercurrentModel.setCharType, index)
                            }
                            ToolComboBox {
                                id: charIndexBox
                                objectName: "charIndexBox"
                                width: 200
                                // The catalogue's longest names need the smaller size.
                                minimumPixelSize: 12
                                height: page.rowHeight
                                model: page.charNames
                                onActivated: page.applyAndReload(viewOvercurrentModel.setCharIndex, index)
                            }
                        }
                    }
                    FieldRow {
                        label: qsTr("I test")
                        NumberBox {
                            id: testCurrentBox
                            objectName: "testCurrentBox"
                            unit: "A"
                            dataMin: 0
                            dataMax: page.maxCurrent
                            quick1Value: page.formatted(page.rateCurrent / 10)
                            quick2Value: page.formatted(page.maxCurrent)
                            quick3Value: "1.0"
                            onDataValueEntered: page.enterAndReload(dataValue,
                                function() { return viewOvercurrentModel.getTestCurrent(-1) },
                                viewOvercurrentModel.setTestCurrent)
                        }
                    }
                }

                Column {
                    spacing: 2
                    topPadding: 26
                    Repeater {
                        model: [{ text: qsTr("Add"), name: "addButton" },
                                { text: qsTr("Multi"), name: "multiButton" },
                                { text: qsTr("Remove"), name: "removeButton" },
                                { text: qsTr("Clear"), name: "clearButton" }]
                        ToolTextButton {
                            objectName: modelData.name
                            width: 104
                            height: page.rowHeight
                            text: modelData.text
                            onClicked: {
                                var m = viewOvercurrentModel
                                if (index === 1) {
                                    page.openMultiDialog()
                                    return
                                }
                                if (index === 0)
                                    m.addPoint()
                                else if (index === 2)
                                    m.removePoint()
                                else
                                    m.clearPoint()
                                page.updateControlValue()
                            }
                        }
                    }
                }
            }
        }

        // ---- 2. Tolerances and fault set-up ------------------------------------------------------
        Item {
            id: generalPanel
            objectName: "generalPanel"
            enabled: !page.running

            // A row of the grid: its label as wide as the widest of its column.
            component GeneralRow: LabeledRow {
                labelWidth: generalGrid.labelWidths[Positioner.index % 3]
                labelHeight: page.rowHeight
                labelPixelSize: page.smallFontSize
            }

            // The check boxes before a field count as labels.
            LabelGrid {
                id: generalGrid
                visible: !resultList.collapsed
                columns: 3
                columnSpacing: 8
                rowSpacing: 2

                GeneralRow {
                    label: qsTr("Current Tol")
                    NumberBox {
                        id: currentTolRelBox
                        objectName: "currentTolRelBox"
                        width: 92
                        unit: "%"
                        dataMin: 0
                        dataMax: 99
                        quick1Value: "10"
                        quick2Value: "50.0"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getCurrentTolRel,
                                                                viewOvercurrentModel.setCurrentTolRel)
                    }
                }
                GeneralRow {
                    label: qsTr("电流允许绝对偏差")                           // absolute current tolerance
                    NumberBox {
                        id: currentTolAbsBox
                        objectName: "currentTolAbsBox"
                        width: 116
                        unit: "A"
                        dataMin: 0
                        dataMax: page.rateCurrent
                        quick1Value: page.formatted(page.rateCurrent / 20)
                        quick2Value: page.formatted(page.rateCurrent / 10)
                        quick3Value: "5"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getCurrentTolAbs,
                                                                viewOvercurrentModel.setCurrentTolAbs)
                    }
                }
                FieldCheck {
                    id: faultVPCheck
                    objectName: "faultVPCheck"
                    width: generalGrid.labelWidths[2] + 4 + 108
                    text: qsTr("辅助故障电压")                                 // auxiliary fault voltage
                    onClicked: page.applyAndReload(viewOvercurrentModel.setFaultVPEnable, checked)
                }
                GeneralRow {
                    label: qsTr("Time Tol")
                    NumberBox {
                        id: timeTolRelBox
                        objectName: "timeTolRelBox"
                        width: 92
                        unit: "%"
                        dataMin: 0
                        dataMax: 99
                        quick1Value: "10"
                        quick2Value: "50.0"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getTimeTolRel,
                                                                viewOvercurrentModel.setTimeTolRel)
                    }
                }
                GeneralRow {
                    label: qsTr("时间允许绝对偏差")                           // absolute time tolerance
                    NumberBox {
                        id: timeTolAbsBox
                        objectName: "timeTolAbsBox"
                        width: 116
                        unit: "s"
                        dataMin: 0
                        dataMax: 1000
                        quick1Value: "0.04"
                        quick2Value: "0.4"
                        quick3Value: "4"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getTimeTolAbs,
                                                                viewOvercurrentModel.setTimeTolAbs)
                    }
                }
                GeneralRow {
                    label: qsTr("Fault VPN")
                    NumberBox {
                        id: faultVPNBox
                        objectName: "faultVPNBox"
                        width: 108
                        unit: "V"
                        readOnly: !page.faultVPEnable
                        dataMin: 0
                        dataMax: page.maxVoltage
                        quick1Value: page.formatted(page.rateVoltage)
                        quick2Value: page.formatted(page.maxVoltage)
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getFaultVPNRange,
                                                                viewOvercurrentModel.setFaultVPNRange)
                    }
                }
                Row {
                    readonly property real labelImplicitWidth: normalCheck.implicitWidth - 4
                    spacing: 0
                    FieldCheck {
                        id: normalCheck
                        objectName: "normalCheck"
                        width: generalGrid.labelWidths[0] + 4
                        text: qsTr("故障前时间:")                              // pre-fault time
                        onClicked: page.applyAndReload(viewOvercurrentModel.setNormalEnable, checked)
                    }
                    NumberBox {
                        id: normalTimeBox
                        objectName: "normalTimeBox"
                        width: 92
                        unit: "s"
                        readOnly: !page.normalEnable
                        dataMin: 0
                        dataMax: 300
                        quick1Value: "0.1"
                        quick2Value: "0.5"
                        quick3Value: "10.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getNormalTime,
                                                                viewOvercurrentModel.setNormalTime)
                    }
                }
                GeneralRow {
                    label: qsTr("Max Fault Time")
                    NumberBox {
                        id: maxFaultTimeBox
                        objectName: "maxFaultTimeBox"
                        width: 116
                        unit: "s"
                        dataMin: 0
                        dataMax: 1000
                        quick1Value: "120"
                        quick2Value: "200.0"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getMaxFaultTime,
                                                                viewOvercurrentModel.setMaxFaultTime)
                    }
                }
                GeneralRow {
                    label: qsTr("I-Angle")
                    NumberBox {
                        id: testAngleBox
                        objectName: "testAngleBox"
                        width: 108
                        unit: "°"
                        readOnly: !page.faultVPEnable
                        dataMin: -360
                        dataMax: 360
                        quick1Value: "120"
                        quick2Value: "240.0"
                        quick3Value: "1.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getTestAngle,
                                                                viewOvercurrentModel.setTestAngle)
                    }
                }
                FieldCheck {
                    id: outputOnceCheck
                    objectName: "outputOnceCheck"
                    width: generalGrid.labelWidths[0] + 4 + 92
                    enabled: page.normalEnable
                    text: qsTr("仅输出一次")                                   // output once only
                    onClicked: page.applyAndReload(viewOvercurrentModel.setOutputOnceOnly, checked)
                }
                Row {
                    readonly property real labelImplicitWidth: intervalCheck.implicitWidth - 4
                    spacing: 0
                    FieldCheck {
                        id: intervalCheck
                        objectName: "intervalCheck"
                        width: generalGrid.labelWidths[1] + 4
                        text: qsTr("间隔时间:")                                // interval time
                        onClicked: page.applyAndReload(viewOvercurrentModel.setIntervalEnable, checked)
                    }
                    NumberBox {
                        id: intervalTimeBox
                        objectName: "intervalTimeBox"
                        width: 116
                        unit: "s"
                        readOnly: !page.intervalEnable
                        dataMin: 0
                        dataMax: 300
                        quick1Value: "0.1"
                        quick2Value: "0.5"
                        quick3Value: "10.0"
                        onDataValueEntered: page.enterAndReload(dataValue, viewOvercurrentModel.getIntervalTime,
                                                                viewOvercurrentModel.setIntervalTime)
                    }
                }
            }
        }

        // ---- 3. Trigger logic --------------------------------------------------------------------
        Item {
            id: triggerTab
            objectName: "triggerTab"
            enabled: !page.running

            PageTriggerPanel {
                id: triggerPanel
                objectName: "triggerPanel"
                visible: !resultList.collapsed
                width: 500
                viewModel: viewOvercurrentModel
                rowHeight: page.rowHeight
                labelPixelSize: page.smallFontSize
                optionPixelSize: page.tinyFontSize
            }
        }

        // ---- 4. Time-current chart ---------------------------------------------------------------
        Item {
            id: curvePanel
            objectName: "curvePanel"

            LabelText {
                id: charName
                objectName: "charName"
                width: parent.width
                height: 22
                font.pixelSize: globalConfiguration.customFontL3Size
                horizontalAlignment: Text.AlignHCenter
                text: page.revision >= 0 ? viewOvercurrentModel.getCurrentCharName() : ""
            }

            ViewOvercurrentCurvePainter {
                id: chart
                objectName: "chart"
                y: 22
                width: 792 - 60
                height: 360 - 22 - 30
                fontFamily: "Arial"
                fontSize: 10
                backgroundColor: "transparent"
                rangeDashColor: globalConfiguration.customPrimary
                mainCurveColor: globalConfiguration.customPrimary
            }
        }
    }

    PointResultList {
        id: resultList
        objectName: "pointResults"
        x: 4
        y: tabs.y + tabs.height + 2
        visible: !page.curveShown
        width: 792
        height: page.height - page.bottomBar.height - y - 2
        enabled: !page.running
        count: page.pointsCount
        revision: page.revision
        pixelSize: page.tinyFontSize
        followFrom: 5
        collapsedFollowFrom: 10
        columnWidths: [26, 106, 76, 92, 68, 68, 68, 124, 36, 114]
        titles: [qsTr("故障类型"), qsTr("绝对值"), qsTr("Function"), qsTr("整定时间"), qsTr("最小时间"),
                 qsTr("最大时间"), qsTr("动作时间"), qsTr("开入"), qsTr("结果")]
        // What a run may write: no trip, a trip under a second, the verdicts.
        columnTexts: [[], [], [], [], [qsTr("未动作")], ["INF"], ["INF"], [qsTr("未动作"), qsTr("未复归"), page.timeText(0.999999)],
                      ["--"], [qsTr("未测试"), qsTr("测试中"), qsTr("未复归"), qsTr("通过"), qsTr("失败"), qsTr("未动作")]]
        cellText: page.cellText
        onRowClicked: page.selectRow(row)
    }

    UserMultiDialog {
        id: multiDialog
        objectName: "multiDialog"
        onAccept: page.addSeries(begin, end, step)
    }
}

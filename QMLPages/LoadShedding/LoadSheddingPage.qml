import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// What the under-frequency and under-voltage load-shedding pages share, on the
// module page frame: the tabs "测试参数" (the item buttons, the edit point's
// item panel, "添加" / "删除" / "清除", the result list and the port table of
// the edit point) and "综合参数" (the three times). A page sets the frame's
// viewModel, testType and fileModule and describes its items:
//   itemRows   the item buttons, row by row: [[{ item, text }]]
//   fields     per item, its fields: [{ key, label, unit, min, max, value,
//              quick1, quick2, device, rated }] where key names the model's
//              get<Key>/set<Key>; device ("V" or "I") replaces max by the
//              unit's maximum once the page is shown, rated replaces quick1
//              by the rated value.
// While a test runs the list follows the engine's state index, one state per
// point.
ModulePageFrame {
    id: page

    property var itemRows: []
    property var fields: ({})
    property int portTableGap: 20

    property bool voltFour: false
    property bool deviceRead: false
    property real maxVoltage: 265
    property real maxCurrent: 265
    property real rateVoltage: 57.735
    property real rateCurrent: 1
    property int activeItem: 0
    property int pointsCount: 0
    property int activeIndex: -1
    // Bumped on every refresh: the list's cells and the port table read the model again.
    property int revision: 0

    readonly property alias tabs: tabs
    readonly property alias resultList: resultList
    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var shownPorts: voltFour ? [0, 1, 2, 3, 4, 5, 6] : [0, 1, 2, 4, 5, 6]
    readonly property var timeFields: [
        { key: "PreFaultTime", label: qsTr("故障前时间"), value: 2.0 },     // pre-fault time
        { key: "HoldTime", label: qsTr("保持时间"), value: 5.0 },           // hold time
        { key: "AfterFaultTime", label: qsTr("故障后时间"), value: 0.5 }]   // after-fault time

    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    // Field limits and quick values: the device's once it has been read.
    function fieldMax(field) {
        if (!deviceRead || !field.device)
            return field.max
        return field.device === "V" ? maxVoltage : maxCurrent
    }

    function fieldQuick1(field) {
        if (!deviceRead || !field.rated)
            return field.quick1
        return formatted(field.rated === "V" ? rateVoltage : rateCurrent)
    }

    // The text of result cell `column` of point `line`.
    function cellText(line, column) {
        var m = viewModel
        if (!m || line >= m.getPointsCount())
            return ""
        switch (column) {
        case 0: return String(line + 1)
        case 1: return m.getTestItemName(line)
        }
        var state = m.getTestStates(line)
        if (state === ViewBaseModel.AO_STATE_TYPE_INITING)
            return qsTr("未测试")                                      // not tested
        if (state === ViewBaseModel.AO_STATE_TYPE_RUNNNING)
            return qsTr("测试中")                                      // testing
        if (m.getRelayNotReset(line))
            return qsTr("未复归")                                      // relay not reset
        var time = m.getActionTime(line)
        if (ViewUtilityHelper.qmlIsNaN(time) || time <= 0)
            return qsTr("未动作")                                      // no trip
        return column === 2 ? m.getActionValueStr(line) : m.getActionTimeStr(line)
    }

    function portText(port, angle) {
        if (revision < 0 || !viewModel)
            return ""
        if (angle)
            return formatted(viewModel.getOutputAngle(port)) + "°"
        return formatted(viewModel.getOutputRange(port)) + (port < 4 ? "V" : "A")
    }

    // ---- Frame hooks -------------------------------------------------------------------
    function initControls() {
        maxVoltage = viewModel.getDeviceAOVMaxRange()
        maxCurrent = viewModel.getDeviceAOIMaxRange()
        rateVoltage = viewModel.getRateVRange()
        rateCurrent = viewModel.getRateIRange()
        voltFour = viewModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        deviceRead = true
    }

    function loadControls() {
        var m = viewModel
        activeItem = m.getActiveTestItem()
        for (var item in fields) {
            for (var k = 0; k < fields[item].length; ++k) {
                var box = findBox(fieldName(item, fields[item][k]))
                if (box)
                    box.setDataValue(m["get" + fields[item][k].key]())
            }
        }
        for (var t = 0; t < timeFields.length; ++t)
            findBox("time" + timeFields[t].key).setDataValue(m["get" + timeFields[t].key]())
        pointsCount = m.getPointsCount()
        activeIndex = m.getActiveIndex()
        revision++
        resultList.follow(activeIndex)
    }

    // "Start" only with points, while no test runs and the power stage is cool.
    function startAllowed() {
        return viewModel.getStartEnabled()
    }

    // ---- Fields ------------------------------------------------------------------------------
    function fieldName(item, field) {
        return field.key.charAt(0).toLowerCase() + field.key.slice(1) + "Box" + item
    }

    function findBox(name) {
        return boxes[name] || null
    }

    property var boxes: ({})

    function enterField(key, value) {
        enterValue(value, viewModel["get" + key], viewModel["set" + key])
        updateControlValue()
    }

    function chooseItem(item) {
        viewModel.setActiveTestItem(item)
        updateControlValue()
    }

    function selectRow(row) {
        viewModel.setActiveIndex(row)
        updateControlValue()
    }

    function editList(action) {
        var m = viewModel
        if (action === 0)
            m.addPoint()
        else if (action === 1)
            m.removePoint(m.getActiveIndex())
        else
            m.clearPoint()
        updateControlValue()
    }

    // The engine's state index while the test runs: one state per point.
    function followStateIndex(index) {
        if (!visible || viewModel.getTestActiveType() !== testType
                || viewModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) === 0)
            return
        var point = ViewUtilityHelper.doubleFormatToInt(index)
        viewModel.setActiveIndex(point >= 0 && point < viewModel.getPointsCount() ? point : 0)
        updateControlValue()
    }

    onRunningChanged: if (running) closeInputPanels()

    Connections {
        target: page.viewModel
        ignoreUnknownSignals: true
        function onSigUpdateStateIndexToView(index) {
            page.followStateIndex(index)
        }
    }

    component NumberField: LabeledRow {
        id: fieldRow
        property var field: ({})
        property string boxName: ""
        property alias box: numberBox
        // The width of a field and its label together: three side by side.
        property int cellWidth: 260
        labelHeight: page.rowHeight
        labelPixelSize: page.smallFontSize
        label: field.label + ":"
        EditNumberBox {
            id: numberBox
            objectName: fieldRow.boxName
            width: fieldRow.cellWidth - fieldRow.labelWidth - fieldRow.spacing
            height: page.rowHeight
            dataPrecision: 3
            dataAutoToLimit: true
            unit: fieldRow.field.unit || ""
            // The unit at the field's font size, the rates ("Hz/s") too.
            unitWidth: unit.length > 2 ? 42 : 24
            dataMin: fieldRow.field.min || 0
            dataMax: page.fieldMax(fieldRow.field)
            quick1Value: page.fieldQuick1(fieldRow.field)
            quick2Value: fieldRow.field.quick2 || ""
            Component.onCompleted: {
                page.boxes[fieldRow.boxName] = numberBox
                setDataValue(fieldRow.field.value)
            }
            onDataValueEntered: page.enterField(fieldRow.field.key, dataValue)
        }
    }

    ParameterTabs {
        id: tabs
        objectName: "parameterTabs"
        x: 4
        y: 2
        width: 792
        height: page.height - page.bottomBar.height - 4
        tabs: [{ text: qsTr("测试参数"), name: "pointTabButton" },          // test parameters
               { text: qsTr("综合参数"), name: "generalTabButton" }]        // general parameters

        // ---- Test parameters -----------------------------------------------------------------
        Item {
            id: pointPanel
            objectName: "pointPanel"

            Item {
                id: upperPart
                objectName: "upperPart"
                width: parent.width
                height: 150
                visible: !resultList.collapsed
                enabled: !page.running

                Column {
                    id: itemButtons
                    spacing: 0
                    Repeater {
                        model: page.itemRows
                        Row {
                            spacing: 4
                            Repeater {
                                model: modelData
                                ToolRadioButton {
                                    objectName: "itemButton" + modelData.item
                                    width: 228
                                    height: 28
                                    text: modelData.text
                                    font.pixelSize: page.smallFontSize
                                    // The model's item decides; a tap only asks for it.
                                    checkable: false
                                    checked: page.activeItem === modelData.item
                                    onClicked: page.chooseItem(modelData.item)
                                }
                            }
                        }
                    }
                }

                // One panel per item, the edit point's shown.
                Repeater {
                    model: Object.keys(page.fields)
                    // The labels as wide as the widest of the panel's, as far
                    // as the fields leave room.
                    LabelGrid {
                        id: panel
                        readonly property int item: Number(modelData)
                        minimumLabelWidth: 84
                        maximumLabelWidth: 140
                        objectName: "itemPanel" + item
                        y: itemButtons.height + 4
                        columns: 3
                        columnSpacing: 6
                        rowSpacing: 2
                        visible: page.activeItem === item
                        Repeater {
                            model: page.fields[modelData]
                            NumberField {
                                field: modelData
                                boxName: page.fieldName(panel.item, modelData)
                            }
                        }
                    }
                }

                // Beside the second row of item buttons.
                Row {
                    x: parent.width - width
                    y: 28
                    spacing: 4
                    Repeater {
                        model: [{ text: qsTr("添加"), name: "addButton" },          // add
                                { text: qsTr("删除"), name: "deleteButton" },       // remove
                                { text: qsTr("清除"), name: "clearButton" }]        // clear
                        ToolTextButton {
                            objectName: modelData.name
                            width: Math.max(80, Math.ceil(textImplicitWidth) + 12)
                            height: 28
                            text: modelData.text
                            onClicked: page.editList(index)
                        }
                    }
                }
            }

            PointResultList {
                id: resultList
                objectName: "pointResults"
                y: collapsed ? 0 : upperPart.height + 4
                width: 428
                height: parent.height - y
                enabled: !page.running
                count: page.pointsCount
                revision: page.revision
                pixelSize: page.smallFontSize
                columnWidths: [38, 150, 120, 120]
                titles: [qsTr("测试项目"), qsTr("动作值"), qsTr("动作时间")]   // item, action value, action time
                cellText: page.cellText
                onRowClicked: page.selectRow(row)
            }

            // The edit point's outputs (display only).
            Column {
                id: portTable
                objectName: "portTable"
                x: resultList.width + page.portTableGap
                y: resultList.y + 52
                Repeater {
                    model: page.shownPorts
                    Row {
                        id: portRow
                        readonly property int port: modelData
                        objectName: "portRow" + index
                        Repeater {
                            model: 3
                            Rectangle {
                                width: index === 0 ? 40 : 120
                                height: page.voltFour ? 22 : 23
                                color: globalConfiguration.customBackground
                                border.color: globalConfiguration.customGray
                                Text {
                                    objectName: "port" + portRow.port + "_" + index
                                    anchors.fill: parent
                                    horizontalAlignment: Text.AlignHCenter
                                    verticalAlignment: Text.AlignVCenter
                                    color: globalConfiguration.customForeground
                                    font.family: globalConfiguration.customFontFamily
                                    font.pixelSize: page.tinyFontSize
                                    text: index === 0 ? page.portNames[portRow.port]
                                                      : page.portText(portRow.port, index === 2)
                                }
                            }
                        }
                    }
                }
            }
        }

        // ---- General parameters ----------------------------------------------------------------
        Item {
            id: generalPanel
            objectName: "generalPanel"
            enabled: !page.running

            LabelColumn {
                id: timeColumn
                spacing: 10
                minimumLabelWidth: 140
                Repeater {
                    model: page.timeFields
                    NumberField {
                        cellWidth: labelWidth + spacing + 136
                        field: ({ key: modelData.key, label: modelData.label, unit: "s", min: 0, max: 10000,
                                 value: modelData.value, quick1: "10.0", quick2: "0.5" })
                        boxName: "time" + modelData.key
                    }
                }
            }
        }
    }
}

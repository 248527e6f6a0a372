import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewOscillateModel 1.0
import ZOR.ViewUtilityHelper 1.0
import "../Common"

// The power-swing test page on the module page frame. Everything it shows
// comes from its view model (viewOscillateModel), everything it does goes
// through the model's invokables.
//
// Regions: the output table (amplitude, angle, frequency of UA..IX, locked
// while a test runs), the "参数设置" tab (swing percent, angle and frequency,
// which stay editable during a run and switch the output, and the swinging
// group), the "触发逻辑" tab and the result area.
ModulePageFrame {
    id: page

    viewModel: viewOscillateModel
    testType: ViewBaseModel.TEST_OSCILLATE
    fileModule: "Oscillate_"
    triggerPanel: triggerPanel

    // The rows of the group list (UX and IX only on four-phase units).
    property var rampPortList: []
    property bool uxVisible: false
    property bool ixVisible: false
    property real maxVoltage: 300
    property real maxCurrent: 30

    readonly property var portNames: ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]
    readonly property var allRampPorts: ["UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                                         "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"]

    ViewOscillateModel {
        id: viewOscillateModel
    }

    // ---- Frame hooks -------------------------------------------------------------------
    function initControls() {
        maxVoltage = viewOscillateModel.getDeviceAOVMaxRange()
        maxCurrent = viewOscillateModel.getDeviceAOIMaxRange()
        var volFour = viewOscillateModel.getVoltagePhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
        var curFour = viewOscillateModel.getCurrentPhasesType() === ViewBaseModel.PHASES_TYPE_FOUR
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

    function loadControls() {
        for (var p = 0; p < 8; ++p) {
            var row = outputRows.itemAt(p)
            if (!row)
                continue
            row.rangeBox.setDataValue(viewOscillateModel.getOutputRange(p))
            row.angleBox.setDataValue(viewOscillateModel.getOutputAngle(p))
            row.frequencyBox.setDataValue(viewOscillateModel.getOutputFrequency(p))
        }
        updateResult()
        // The maximum first: reading it may lower the stored percent.
        percentBox.dataMax = viewOscillateModel.getOscillatePercentMax()
        portBox.setDataValue(viewOscillateModel.getOscillatePort())
        percentBox.setDataValue(viewOscillateModel.getOscillatePercent())
        swingFrequencyBox.setDataValue(viewOscillateModel.getOscillateFrequency())
        swingAngleBox.setDataValue(viewOscillateModel.getOscillateAngle())
    }

    // A running test locks the output table.
    function lockedWhileRunning() {
        return true
    }

    function updateResult() {
        var none = viewOscillateModel.getNoActionText()             // no trip; "" until a run played
        var trip = viewOscillateModel.isExistFaultActionValue()
        actionValueField.text = trip ? viewOscillateModel.getFaultActionValue() : none
        actionTimeField.text = trip ? timeText(viewOscillateModel.getFaultActionTime()) : none
    }

    // ---- Actions -----------------------------------------------------------------------------
    function enterOutput(kind, port, value) {
        if (ViewUtilityHelper.qmlIsNaN(value))
            return
        var getters = [viewOscillateModel.getOutputRange, viewOscillateModel.getOutputAngle,
                       viewOscillateModel.getOutputFrequency]
        var setters = [viewOscillateModel.setOutputRange, viewOscillateModel.setOutputAngle,
                       viewOscillateModel.setOutputFrequency]
        if (value === getters[kind](port))
            return
        setters[kind](port, value)
        updateControlValue()
    }

    function enterSwing(value, getter, setter) {
        if (ViewUtilityHelper.qmlIsNaN(value) || value === getter())
            return
        setter(value)
        updateControlValue()
    }

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
                    onQuick1Clicked: page.applyAndReload(viewOscillateModel.setRateRange, outputRowItem.port)
                    onQuick2Clicked: page.applyAndReload(viewOscillateModel.setBalanceRange, outputRowItem.port)
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
                    onQuick1Clicked: page.applyAndReload(viewOscillateModel.setPositiveAngle, outputRowItem.port, true)
                    onQuick2Clicked: page.applyAndReload(viewOscillateModel.setPositiveAngle, outputRowItem.port, false)
                    onDataValueEntered: page.enterOutput(1, outputRowItem.port, dataValue)
                }
                EditNumberBox {
                    id: frequencyBox
                    objectName: "frequency" + outputRowItem.port
                    width: 146
                    height: page.rowHeight
                    unit: "Hz"
                    unitWidth: 24
                    dataMin: viewOscillateModel.minOutputFrequency
                    dataMax: viewOscillateModel.maxOutputFrequency
                    dataAutoToLimit: true
                    signalEnable: true
                    quick1Value: qsTr("额定")
                    quick2Value: qsTr("平衡")
                    onQuick1Clicked: page.applyAndReload(viewOscillateModel.setRateFrequency, outputRowItem.port)
                    onQuick2Clicked: page.applyAndReload(viewOscillateModel.setBalanceFrequency, outputRowItem.port)
                    onDataValueEntered: page.enterOutput(2, outputRowItem.port, dataValue)
                }
            }
        }
    }

    // ---- 2. Setting and trigger tabs --------------------------------------------------------------
    Item {
        x: 508
        y: 2
        width: 288
        height: 272

        PageTabBar {
            id: tabBar
            width: parent.width
            tabs: [{ text: qsTr("参数设置"), name: "settingTabButton" },          // settings
                   { text: qsTr("触发逻辑"), name: "triggerTabButton" }]          // trigger
        }

        // Setting tab: the swing values stay editable while a test runs.
        LabelColumn {
            id: settingPanel
            objectName: "settingPanel"
            anchors.top: tabBar.bottom
            anchors.topMargin: 4
            width: parent.width
            spacing: 2
            visible: tabBar.currentIndex === 0
            minimumLabelWidth: 100

            readonly property int boxWidth: width - labelWidth - 4

            component SettingRow: LabeledRow {
                labelHeight: page.rowHeight
            }

            SettingRow {
                label: qsTr("百分比") + ":"                           // swing depth, percent
                labelPixelSize: page.tinyFontSize
                EditNumberBox {
                    id: percentBox
                    objectName: "percentBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    unit: "%"
                    dataMin: 0
                    dataMax: 100
                    dataAutoToLimit: true
                    quick1Value: "5.0"
                    quick2Value: "10.0"
                    onDataValueEntered: page.enterSwing(dataValue, viewOscillateModel.getOscillatePercent,
                                                        viewOscillateModel.setOscillatePercent)
                }
            }

            SettingRow {
                label: qsTr("相角") + ":"                             // swing angle
                labelPixelSize: page.smallFontSize
                EditNumberBox {
                    id: swingAngleBox
                    objectName: "swingAngleBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    unit: "°"
                    dataMin: -360
                    dataMax: 360
                    dataAutoToLimit: true
                    quick1Value: "5.0"
                    quick2Value: "10.0"
                    onDataValueEntered: page.enterSwing(dataValue, viewOscillateModel.getOscillateAngle,
                                                        viewOscillateModel.setOscillateAngle)
                }
            }

            SettingRow {
                label: qsTr("频率") + ":"                             // swing frequency
                labelPixelSize: page.smallFontSize
                EditNumberBox {
                    id: swingFrequencyBox
                    objectName: "swingFrequencyBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    unit: "Hz"
                    unitWidth: 24
                    dataMin: viewOscillateModel.minSwingFrequency
                    dataMax: viewOscillateModel.maxOutputFrequency
                    dataAutoToLimit: true
                    quick1Value: "5.0"
                    quick2Value: "10.0"
                    onDataValueEntered: page.enterSwing(dataValue, viewOscillateModel.getOscillateFrequency,
                                                        viewOscillateModel.setOscillateFrequency)
                }
            }

            SettingRow {
                label: qsTr("变量选择:")                              // swinging group
                labelPixelSize: page.smallFontSize
                ToolComboBox {
                    id: portBox
                    objectName: "portBox"
                    width: settingPanel.boxWidth
                    height: page.rowHeight
                    model: page.rampPortList
                    enabled: !page.running
                    onActivated: {
                        if (index !== viewOscillateModel.getOscillatePort())
                            page.applyAndReload(viewOscillateModel.setOscillatePort, index)
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
            viewModel: viewOscillateModel
            rowHeight: page.rowHeight
            labelPixelSize: page.smallFontSize
            optionPixelSize: page.tinyFontSize
        }
    }

    // ---- 3. Result area --------------------------------------------------------------------------------
    LabelColumn {
        id: resultArea
        objectName: "resultArea"
        x: 4
        y: 278
        width: 791
        height: 94
        spacing: 2
        minimumLabelWidth: 116

        readonly property int fieldWidth: 326

        LabeledRow {
            label: qsTr("动作值")                                      // trip value
            labelPixelSize: page.smallFontSize
            ResultField { id: actionValueField; objectName: "actionValueField"; width: resultArea.fieldWidth }
        }
        LabeledRow {
            label: qsTr("动作时间")                                    // trip time
            labelPixelSize: page.smallFontSize
            ResultField { id: actionTimeField; objectName: "actionTimeField"; width: resultArea.fieldWidth }
        }
    }
}

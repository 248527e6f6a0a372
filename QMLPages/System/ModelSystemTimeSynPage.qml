import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0

// Clock synchronisation (title "对时设置"): the reference on or off, its
// source (GPS or IRIG-B), the time zone and the external trigger input and
// output. Each choice goes to the view model at once; "应用" makes the clock
// take the settings. The values are read each time the page is shown.
Item {
    id: page

    property bool syncEnabled: false
    property bool zoneListRefused: false

    readonly property alias syncCheckBox: syncCheckBox
    readonly property alias sourceGps: sourceGps
    readonly property alias sourceIrigB: sourceIrigB
    readonly property alias timeZoneBox: timeZoneBox
    readonly property alias zoneListRefusedText: zoneListRefusedText
    readonly property alias dstCheckBox: dstCheckBox
    readonly property alias inputTimePulse: inputTimePulse
    readonly property alias inputExternalPulse: inputExternalPulse
    readonly property alias inputFalling: inputFalling
    readonly property alias inputRising: inputRising
    readonly property alias outputTimePulse: outputTimePulse
    readonly property alias outputSecondPulse: outputSecondPulse
    readonly property alias outputMinutePulse: outputMinutePulse
    readonly property alias outputFalling: outputFalling
    readonly property alias outputRising: outputRising
    readonly property alias applyButton: applyButton

    function refresh() {
        syncEnabled = viewBaseModel.getClkSyncEnabled()
        syncCheckBox.checked = syncEnabled
        var source = viewBaseModel.getClockSource()
        sourceGps.checked = source === ViewBaseModel.CLOCK_SOURCE_GPS
        sourceIrigB.checked = source === ViewBaseModel.CLOCK_SOURCE_IRIG_B
        zoneListRefused = viewBaseModel.getTimeZoneListRefused()
        timeZoneBox.setDataValue(viewBaseModel.getTimeZoneCurrentIndex())
        dstCheckBox.checked = viewBaseModel.getDSTEnabled()
        var inputType = viewBaseModel.getExtTriggerInputType()
        inputTimePulse.checked = inputType === ViewBaseModel.IN_TIME_PULSE
        inputExternalPulse.checked = inputType === ViewBaseModel.IN_EXTERNAL_PULSE
        var inputMode = viewBaseModel.getExtTriggerInputMode()
        inputFalling.checked = inputMode === ViewBaseModel.FALLING_EDGE
        inputRising.checked = inputMode === ViewBaseModel.RAISING_EDGE
        var outputType = viewBaseModel.getExtTriggerOutputType()
        outputTimePulse.checked = outputType === ViewBaseModel.OUT_TIME_PULSE
        outputSecondPulse.checked = outputType === ViewBaseModel.OUT_PPS_PULSE_SECOND
        outputMinutePulse.checked = outputType === ViewBaseModel.OUT_PPS_PULSE_MINUTE
        var outputMode = viewBaseModel.getExtTriggerOutputMode()
        outputFalling.checked = outputMode === ViewBaseModel.FALLING_EDGE
        outputRising.checked = outputMode === ViewBaseModel.RAISING_EDGE
    }

    function zoneChosen(index) {
        if (index === viewBaseModel.getTimeZoneCurrentIndex())
            return
        viewBaseModel.setTimeZoneCurrentIndex(index)
        viewBaseModel.updateTimeZoneOffset(index)
    }

    // The zone names, read once.
    function zoneNames() {
        var names = []
        var count = viewBaseModel.getTimeZoneCount()
        for (var i = 0; i < count; ++i)
            names.push(viewBaseModel.getTimeZoneName(i))
        return names
    }

    onVisibleChanged: {
        if (visible) {
            refresh()
        } else if (inputNumberPanel) {
            // Hidden (also while the window is being built): the panels close.
            inputNumberPanel.close()
            inputDateTimePanel.close()
            inputTimePanel.close()
        }
    }

    Component.onCompleted: timeZoneBox.model = zoneNames()

    Column {
        x: 20
        y: 10
        spacing: 8

        Row {
            height: 40
            spacing: 30
            ToolCheckBox {
                id: syncCheckBox
                objectName: "syncCheckBox"
                height: 40
                text: qsTr("时钟源")                                // clock reference
                onClicked: {
                    viewBaseModel.setClkSyncEnabled(checked)
                    page.syncEnabled = checked
                }
            }
            Row {
                height: 40
                spacing: 20
                enabled: page.syncEnabled
                ToolRadioButton {
                    id: sourceGps
                    objectName: "sourceGps"
                    height: 40
                    text: qsTr("GPS")
                    onClicked: viewBaseModel.setClockSource(ViewBaseModel.CLOCK_SOURCE_GPS)
                }
                ToolRadioButton {
                    id: sourceIrigB
                    objectName: "sourceIrigB"
                    height: 40
                    text: qsTr("B码")                               // IRIG-B
                    onClicked: viewBaseModel.setClockSource(ViewBaseModel.CLOCK_SOURCE_IRIG_B)
                }
            }
        }

        Row {
            height: 40
            spacing: 10
            enabled: page.syncEnabled
            LabelText {
                width: 80
                height: parent.height
                text: qsTr("时区")                                  // time zone
            }
            ToolComboBox {
                id: timeZoneBox
                objectName: "timeZoneBox"
                width: 620
                height: 36
                anchors.verticalCenter: parent.verticalCenter
                onActivated: function(index) { page.zoneChosen(index) }
            }
        }

        LabelText {
            id: zoneListRefusedText
            objectName: "zoneListRefusedText"
            visible: page.zoneListRefused
            // Within the screen, on two lines where the language needs them.
            width: 760
            height: Math.max(30, implicitHeight)
            wrapMode: Text.WordWrap
            elide: Text.ElideNone
            color: "red"
            text: qsTr("时区列表无法读取：不显示时区，时钟不按时区偏移。")   // zone list not read
        }

        ToolCheckBox {
            id: dstCheckBox
            objectName: "dstCheckBox"
            visible: false
            height: 40
            text: qsTr("自动调整夏令时")                           // daylight saving
            onClicked: viewBaseModel.setDSTEnabled(checked)
        }

        LabelText {
            height: 34
            enabled: page.syncEnabled
            text: qsTr("外部触发输入")                             // external trigger input
        }
        Row {
            height: 40
            spacing: 10
            enabled: page.syncEnabled
            LabelText { width: 80; height: parent.height; horizontalAlignment: Text.AlignRight; text: qsTr("类型") + ":" }
            Row {
                width: 320
                height: 40
                spacing: 10
                ToolRadioButton {
                    id: inputTimePulse
                    objectName: "inputTimePulse"
                    height: 40
                    text: qsTr("对时脉冲")                         // time pulse
                    onClicked: viewBaseModel.setExtTriggerInputType(ViewBaseModel.IN_TIME_PULSE)
                }
                ToolRadioButton {
                    id: inputExternalPulse
                    objectName: "inputExternalPulse"
                    height: 40
                    text: qsTr("外部脉冲")                         // external pulse
                    onClicked: viewBaseModel.setExtTriggerInputType(ViewBaseModel.IN_EXTERNAL_PULSE)
                }
            }
            LabelText { width: 84; height: parent.height; horizontalAlignment: Text.AlignRight; text: qsTr("方式") + ":" }
            Row {
                height: 40
                spacing: 10
                ToolRadioButton {
                    id: inputFalling
                    objectName: "inputFalling"
                    height: 40
                    text: qsTr("下降沿")                           // falling edge
                    onClicked: viewBaseModel.setExtTriggerInputMode(ViewBaseModel.FALLING_EDGE)
                }
                ToolRadioButton {
                    id: inputRising
                    objectName: "inputRising"
                    height: 40
                    text: qsTr("上升沿")                           // rising edge
                    onClicked: viewBaseModel.setExtTriggerInputMode(ViewBaseModel.RAISING_EDGE)
                }
            }
        }

        LabelText {
            height: 34
            enabled: page.syncEnabled
            text: qsTr("外部触发输出")                             // external trigger output
        }
        Row {
            height: 40
            spacing: 10
            enabled: page.syncEnabled
            LabelText { width: 80; height: parent.height; horizontalAlignment: Text.AlignRight; text: qsTr("类型") + ":" }
            Row {
                width: 320
                height: 40
                spacing: 10
                ToolRadioButton {
                    id: outputTimePulse
                    objectName: "outputTimePulse"
                    height: 40
                    text: qsTr("对时脉冲")                         // time pulse
                    onClicked: viewBaseModel.setExtTriggerOutputType(ViewBaseModel.OUT_TIME_PULSE)
                }
                ToolRadioButton {
                    id: outputSecondPulse
                    objectName: "outputSecondPulse"
                    height: 40
                    text: qsTr("秒脉冲")                           // pulse per second
                    onClicked: viewBaseModel.setExtTriggerOutputType(ViewBaseModel.OUT_PPS_PULSE_SECOND)
                }
                ToolRadioButton {
                    id: outputMinutePulse
                    objectName: "outputMinutePulse"
                    height: 40
                    text: qsTr("分脉冲")                           // pulse per minute
                    onClicked: viewBaseModel.setExtTriggerOutputType(ViewBaseModel.OUT_PPS_PULSE_MINUTE)
                }
            }
            LabelText { width: 84; height: parent.height; horizontalAlignment: Text.AlignRight; text: qsTr("方式") + ":" }
            Row {
                height: 40
                spacing: 10
                ToolRadioButton {
                    id: outputFalling
                    objectName: "outputFalling"
                    height: 40
                    text: qsTr("下降沿")                           // falling edge
                    onClicked: viewBaseModel.setExtTriggerOutputMode(ViewBaseModel.FALLING_EDGE)
                }
                ToolRadioButton {
                    id: outputRising
                    objectName: "outputRising"
                    height: 40
                    text: qsTr("上升沿")                           // rising edge
                    onClicked: viewBaseModel.setExtTriggerOutputMode(ViewBaseModel.RAISING_EDGE)
                }
            }
        }
    }

    ToolTextButton {
        id: applyButton
        objectName: "applyButton"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 8
        width: 160
        height: 40
        text: qsTr("应用")                                         // apply
        onClicked: viewBaseModel.setClockSyncConfig()
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewUtilityHelper 1.0
import ZOR.ViewComputerDistanceModel 1.0

// The fault calculator of the AC and state-sequence pages: the settings of the
// shared distance fault model (fault loop, model, CT and PT side, direction,
// fault impedance, earth factor, UX), each written at once through
// distanceModel. "确定" sets accepted and emits accept(), on which the page
// computes its fault state; "取消" sets rejected and emits reject(). Either
// way the edits stay in the shared model. A page reports a failed computation
// with distanceModel.getComputeResult() / getComputeMessage().
UserDialogFrame {
    id: dialog

    property bool accepted: false
    property bool rejected: false
    property int selfWidth: 800
    property int selfHeight: 480
    property int rowHeight: 38
    readonly property ViewComputerDistanceModel distanceModel: ViewComputerDistanceModel {}

    // The device's largest outputs (until the first opening: 300 V, 10 A).
    property real maxVoltage: 300
    property real maxCurrent: 10
    property bool uxVisible: false
    property int languageType: 0

    readonly property int labelWidth: 88
    readonly property int comboWidth: 118
    readonly property int labelFontSize: languageType === 3 ? globalConfiguration.customFontL3Size
                                                            : globalConfiguration.customFontL2Size
    readonly property int directionFontSize: languageType === 3 ? globalConfiguration.customFontL3Size - 3
                                                                : globalConfiguration.customFontL2Size
    readonly property int captionFontSize: globalConfiguration.customFontL1Size
    readonly property int impedanceCaptionFontSize: languageType === 3 ? globalConfiguration.customFontL2Size
                                                                       : globalConfiguration.customFontL1Size

    signal accept()
    signal reject()

    parent: Overlay.overlay
    width: selfWidth
    height: selfHeight
    title: qsTr("故障计算")
    acceptText: qsTr("确定")
    rejectText: qsTr("取消")
    titleHeight: 42
    buttonWidth: 132
    buttonHeight: 44

    Overlay.modal: Rectangle {
        color: "#000000"
        opacity: 0.2
    }

    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, 3, globalConfiguration.customLocalName)
    }

    // Shows a stored value even where it lies outside the box's entry limits
    // (written by another page or module, or a converted factor), rather than
    // leaving the box's previous value on display.
    function showValue(box, value) {
        box.setDataValue(value)
        if (box.dataValue !== value && !ViewUtilityHelper.qmlIsNaN(value)) {
            box.dataValue = value
            box.shownText = ViewUtilityHelper.doubleFormatToString(value, box.dataPrecision,
                                                                   globalConfiguration.customLocalName)
            box.text = box.shownText
        }
    }

    // The device's limits and quick values, the UX block for four voltages.
    function initControlValue() {
        var rateV = viewBaseModel.getRateVRange()
        var rateI = viewBaseModel.getRateIRange()
        maxVoltage = viewBaseModel.getDeviceAOVMaxRange()
        maxCurrent = viewBaseModel.getDeviceAOIMaxRange()
        languageType = viewBaseModel.getLanuageType()
        var voltageBoxes = [faultVoltageBox, uxRangeBox]
        for (var i = 0; i < voltageBoxes.length; ++i) {
            voltageBoxes[i].quick1Value = formatted(rateV)
            voltageBoxes[i].quick2Value = formatted(maxVoltage)
        }
        var currentBoxes = [faultCurrentBox, loadCurrentBox]
        for (var j = 0; j < currentBoxes.length; ++j) {
            currentBoxes[j].quick1Value = formatted(rateI)
            currentBoxes[j].quick2Value = formatted(maxCurrent)
        }
        uxVisible = distanceModel.getVoltagePhasesType() === ViewComputerDistanceModel.PHASES_TYPE_FOUR
    }

    // Every control from the shared model.
    function updateControlValue() {
        distanceTypeBox.setDataValue(distanceModel.getDistanceType())
        faultTypeBox.setDataValue(distanceModel.getFaultType())
        ctPositionBox.setDataValue(distanceModel.getCTPosition())
        ptPositionBox.setDataValue(distanceModel.getPTPosition())
        directionBox.setDataValue(distanceModel.getDirection())
        showValue(faultVoltageBox, distanceModel.getFaultVoltage())
        showValue(faultCurrentBox, distanceModel.getFaultCurrent())
        showValue(loadCurrentBox, distanceModel.getLoadCurrent())
        showValue(loadAngleBox, distanceModel.getLoadAngle())

        showValue(shortRangeBox, distanceModel.getShortRange())
        showValue(shortAngleBox, distanceModel.getShortAngle())
        showValue(shortRealBox, distanceModel.getShortReal())
        showValue(shortImageBox, distanceModel.getShortImage())

        var factorType = distanceModel.getShortFactorType()
        factorTypeBox.setDataValue(factorType)
        if (factorType === 2) {
            factorRangeLabel.text = qsTr("Z0/Z1幅值")
            factorAngleLabel.text = qsTr("Z0/Z1角度")
            factorAngleBox.unit = "°"
        } else if (factorType === 1) {
            factorRangeLabel.text = "RE/RL"
            factorAngleLabel.text = "XE/XL"
            factorAngleBox.unit = ""
        } else {
            factorRangeLabel.text = qsTr("KL幅值")
            factorAngleLabel.text = qsTr("KL角度")
            factorAngleBox.unit = "°"
        }
        showValue(factorRangeBox, distanceModel.getShortFactorRange())
        showValue(factorAngleBox, distanceModel.getShortFactorAngle())

        var custom = distanceModel.getUXDefineType() === 0
        uxDefineBox.setDataValue(distanceModel.getUXDefineType())
        showValue(uxRangeBox, custom ? distanceModel.getUXDefineRange() : 0)
        showValue(uxAngleBox, custom ? distanceModel.getUXDefineAngle() : 0)

        updateControlState()
    }

    function updateControlState() {
        var type = distanceModel.getDistanceType()
        faultVoltageRow.visible = type === 1
        faultCurrentRow.visible = type === 0
        var custom = distanceModel.getUXDefineType() === 0
        uxRangeBox.enabled = custom
        uxRangeBox.readOnly = !custom
        uxAngleBox.enabled = custom
        uxAngleBox.readOnly = !custom
    }

    onAboutToShow: {
        accepted = false
        rejected = false
        initControlValue()
        updateControlValue()
    }
    onAcceptClicked: {
        accepted = true
        rejected = false
        accept()
        close()
    }
    onRejectClicked: {
        accepted = false
        rejected = true
        reject()
        close()
    }

    Item {
        anchors.fill: parent

        // ---- Fault parameters ------------------------------------------------
        Item {
            id: faultGroup
            width: 450
            height: parent.height

            Text {
                id: faultCaption
                width: parent.width
                height: 30
                text: qsTr("故障参数")
                color: globalConfiguration.customPrimary
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: dialog.captionFontSize
                verticalAlignment: Text.AlignVCenter
            }

            Column {
                anchors.top: faultCaption.bottom
                anchors.topMargin: 2
                spacing: 2

                Row {
                    spacing: 12
                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("计算模型"); font.pixelSize: dialog.labelFontSize }
                        ToolComboBox {
                            id: distanceTypeBox
                            objectName: "distanceTypeBox"
                            width: dialog.comboWidth
                            height: dialog.rowHeight
                            model: [qsTr("电流恒定"), qsTr("电压恒定")]
                            onActivated: {
                                if (currentIndex !== distanceModel.getDistanceType()) {
                                    distanceModel.setDistanceType(currentIndex)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("故障类型"); font.pixelSize: dialog.labelFontSize }
                        ToolComboBox {
                            id: faultTypeBox
                            objectName: "faultTypeBox"
                            width: dialog.comboWidth
                            height: dialog.rowHeight
                            model: ["A-N", "B-N", "C-N", "A-B", "B-C", "C-A", "A-B-N", "B-C-N", "C-A-N", "A-B-C"]
                            onActivated: {
                                if (currentIndex !== distanceModel.getFaultType()) {
                                    distanceModel.setFaultType(currentIndex)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                }

                Row {
                    spacing: 12
                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("CT位置"); font.pixelSize: dialog.labelFontSize }
                        ToolComboBox {
                            id: ctPositionBox
                            objectName: "ctPositionBox"
                            width: dialog.comboWidth
                            height: dialog.rowHeight
                            model: [qsTr("指向母线"), qsTr("指向线路")]
                            onActivated: {
                                if (currentIndex !== distanceModel.getCTPosition()) {
                                    distanceModel.setCTPosition(currentIndex)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("PT位置"); font.pixelSize: dialog.labelFontSize }
                        ToolComboBox {
                            id: ptPositionBox
                            objectName: "ptPositionBox"
                            width: dialog.comboWidth
                            height: dialog.rowHeight
                            model: [qsTr("在母线上"), qsTr("在线路上")]
                            onActivated: {
                                if (currentIndex !== distanceModel.getPTPosition()) {
                                    distanceModel.setPTPosition(currentIndex)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                }

                Row {
                    spacing: 12
                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("故障方向"); font.pixelSize: dialog.directionFontSize }
                        ToolComboBox {
                            id: directionBox
                            objectName: "directionBox"
                            width: dialog.comboWidth
                            height: dialog.rowHeight
                            model: [qsTr("正方向"), qsTr("反方向")]
                            onActivated: {
                                if (currentIndex !== distanceModel.getDirection()) {
                                    distanceModel.setDirection(currentIndex)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    // The held quantity of the model: voltage or current (none
                    // for the constant-source-impedance model).
                    Item {
                        width: dialog.labelWidth + 4 + dialog.comboWidth
                        height: dialog.rowHeight
                        Row {
                            id: faultVoltageRow
                            objectName: "faultVoltageRow"
                            spacing: 4
                            FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("故障电压"); font.pixelSize: dialog.labelFontSize }
                            EditNumberBox {
                                id: faultVoltageBox
                                objectName: "faultVoltageBox"
                                width: dialog.comboWidth
                                height: dialog.rowHeight
                                unit: "V"
                                dataMin: 0
                                dataMax: dialog.maxVoltage
                                dataAutoToLimit: true
                                onDataValueEntered: {
                                    if (dataValue !== distanceModel.getFaultVoltage()) {
                                        distanceModel.setFaultVoltage(dataValue)
                                        dialog.updateControlValue()
                                    }
                                }
                            }
                        }
                        Row {
                            id: faultCurrentRow
                            objectName: "faultCurrentRow"
                            spacing: 4
                            FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("故障电流"); font.pixelSize: dialog.labelFontSize }
                            EditNumberBox {
                                id: faultCurrentBox
                                objectName: "faultCurrentBox"
                                width: dialog.comboWidth
                                height: dialog.rowHeight
                                unit: "A"
                                dataMin: 0
                                dataMax: dialog.maxCurrent
                                dataAutoToLimit: true
                                onDataValueEntered: {
                                    if (dataValue !== distanceModel.getFaultCurrent()) {
                                        distanceModel.setFaultCurrent(dataValue)
                                        dialog.updateControlValue()
                                    }
                                }
                            }
                        }
                    }
                }

                Row {
                    spacing: 12
                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("负荷电流"); font.pixelSize: dialog.labelFontSize }
                        EditNumberBox {
                            id: loadCurrentBox
                            objectName: "loadCurrentBox"
                            width: dialog.comboWidth
                            height: dialog.rowHeight
                            unit: "A"
                            dataMin: 0
                            dataMax: dialog.maxCurrent
                            dataAutoToLimit: true
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getLoadCurrent()) {
                                    distanceModel.setLoadCurrent(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("负荷相角"); font.pixelSize: dialog.labelFontSize }
                        EditNumberBox {
                            id: loadAngleBox
                            objectName: "loadAngleBox"
                            width: dialog.comboWidth
                            height: dialog.rowHeight
                            unit: "°"
                            dataMin: -360
                            dataMax: 360
                            dataAutoToLimit: true
                            quick1Value: "120.0"
                            quick2Value: "240.0"
                            quick3Value: "360.0"
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getLoadAngle()) {
                                    distanceModel.setLoadAngle(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                }

                // UX, for an instrument with a fourth voltage output.
                Column {
                    id: uxBlock
                    objectName: "uxBlock"
                    visible: dialog.uxVisible
                    spacing: 2

                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: "V AUX"; font.pixelSize: dialog.labelFontSize }
                        ToolComboBox {
                            id: uxDefineBox
                            objectName: "uxDefineBox"
                            width: 2 * dialog.comboWidth
                            height: dialog.rowHeight
                            model: ["Custom", "+U0", "-U0", "+√3U0", "-√3U0", "+3U0", "-3U0", "+√3*3U0", "-√3*3U0"]
                            onActivated: {
                                if (currentIndex !== distanceModel.getUXDefineType()) {
                                    distanceModel.setUXDefineType(currentIndex)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 12
                        Row {
                            spacing: 4
                            FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: "Range"; font.pixelSize: dialog.labelFontSize }
                            EditNumberBox {
                                id: uxRangeBox
                                objectName: "uxRangeBox"
                                width: dialog.comboWidth
                                height: dialog.rowHeight
                                unit: "V"
                                dataMin: 0
                                dataMax: dialog.maxVoltage
                                dataAutoToLimit: true
                                onDataValueEntered: {
                                    if (dataValue !== distanceModel.getUXDefineRange()) {
                                        distanceModel.setUXDefineRange(dataValue)
                                        dialog.updateControlValue()
                                    }
                                }
                            }
                        }
                        Row {
                            spacing: 4
                            FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: "Angle"; font.pixelSize: dialog.labelFontSize }
                            EditNumberBox {
                                id: uxAngleBox
                                objectName: "uxAngleBox"
                                width: dialog.comboWidth
                                height: dialog.rowHeight
                                unit: "°"
                                dataMin: -360
                                dataMax: 360
                                dataAutoToLimit: true
                                quick1Value: "120.0"
                                quick2Value: "240.0"
                                quick3Value: "360.0"
                                onDataValueEntered: {
                                    if (dataValue !== distanceModel.getUXDefineAngle()) {
                                        distanceModel.setUXDefineAngle(dataValue)
                                        dialog.updateControlValue()
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }

        Rectangle {
            id: splitBar
            x: faultGroup.width + 8
            width: 2
            height: parent.height
            color: globalConfiguration.customPrimary
        }

        // ---- Fault impedance and earth factor --------------------------------
        Item {
            id: rightGroup
            x: splitBar.x + splitBar.width + 10
            width: parent.width - x
            height: parent.height

            Item {
                id: impedanceGroup
                width: parent.width
                height: 140

                Text {
                    id: impedanceCaption
                    width: parent.width
                    height: 30
                    text: qsTr("短路阻抗")
                    color: globalConfiguration.customPrimary
                    font.family: globalConfiguration.customFontFamily
                    font.pixelSize: dialog.impedanceCaptionFontSize
                    verticalAlignment: Text.AlignVCenter
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 12
                }

                Grid {
                    anchors.top: impedanceCaption.bottom
                    anchors.topMargin: 2
                    columns: 2
                    rowSpacing: 4
                    columnSpacing: 8

                    Row {
                        spacing: 4
                        FitLabel { width: 36; height: dialog.rowHeight; text: "|Z|"; font.pixelSize: dialog.labelFontSize }
                        EditNumberBox {
                            id: shortRangeBox
                            objectName: "shortRangeBox"
                            width: (rightGroup.width - 8) / 2 - 40
                            height: dialog.rowHeight
                            unit: "Ω"
                            dataMin: 0
                            dataMax: 100000
                            quick1Value: "50.0"
                            quick2Value: "100.0"
                            quick3Value: "1.0"
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getShortRange()) {
                                    distanceModel.setShortRange(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel { width: 36; height: dialog.rowHeight; text: "R"; font.pixelSize: dialog.labelFontSize }
                        EditNumberBox {
                            id: shortRealBox
                            objectName: "shortRealBox"
                            width: (rightGroup.width - 8) / 2 - 40
                            height: dialog.rowHeight
                            unit: "Ω"
                            dataMin: 0
                            dataMax: 100000
                            quick1Value: "50.0"
                            quick2Value: "100.0"
                            quick3Value: "1.0"
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getShortReal()) {
                                    distanceModel.setShortReal(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel { width: 36; height: dialog.rowHeight; text: qsTr("角"); font.pixelSize: dialog.labelFontSize }
                        EditNumberBox {
                            id: shortAngleBox
                            objectName: "shortAngleBox"
                            width: (rightGroup.width - 8) / 2 - 40
                            height: dialog.rowHeight
                            unit: "°"
                            dataMin: -360
                            dataMax: 360
                            dataAutoToLimit: true
                            quick1Value: "120.0"
                            quick2Value: "240.0"
                            quick3Value: "360.0"
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getShortAngle()) {
                                    distanceModel.setShortAngle(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel { width: 36; height: dialog.rowHeight; text: "X"; font.pixelSize: dialog.labelFontSize }
                        EditNumberBox {
                            id: shortImageBox
                            objectName: "shortImageBox"
                            width: (rightGroup.width - 8) / 2 - 40
                            height: dialog.rowHeight
                            unit: "Ω"
                            dataMin: 0
                            dataMax: 100000
                            quick1Value: "50.0"
                            quick2Value: "100.0"
                            quick3Value: "1.0"
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getShortImage()) {
                                    distanceModel.setShortImage(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                }
            }

            Item {
                id: factorGroup
                anchors.top: impedanceGroup.bottom
                anchors.topMargin: 10
                width: parent.width
                height: parent.height - impedanceGroup.height - 10

                Text {
                    id: factorCaption
                    width: parent.width
                    height: 30
                    text: qsTr("零序补偿系数")
                    color: globalConfiguration.customPrimary
                    font.family: globalConfiguration.customFontFamily
                    font.pixelSize: dialog.captionFontSize
                    verticalAlignment: Text.AlignVCenter
                }

                Column {
                    anchors.top: factorCaption.bottom
                    anchors.topMargin: 2
                    spacing: 4

                    Row {
                        spacing: 4
                        FitLabel { width: dialog.labelWidth; height: dialog.rowHeight; text: qsTr("补偿方式"); font.pixelSize: dialog.labelFontSize }
                        ToolComboBox {
                            id: factorTypeBox
                            objectName: "factorTypeBox"
                            width: rightGroup.width - dialog.labelWidth - 4
                            height: dialog.rowHeight
                            model: ["KL", "Re/RL & XE/XL", "Z0/Z1"]
                            onActivated: {
                                if (currentIndex !== distanceModel.getShortFactorType()) {
                                    distanceModel.setShortFactorType(currentIndex)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel {
                            id: factorRangeLabel
                            objectName: "factorRangeLabel"
                            width: 120
                            height: dialog.rowHeight
                            text: qsTr("KL幅值")
                            font.pixelSize: dialog.labelFontSize
                        }
                        EditNumberBox {
                            id: factorRangeBox
                            objectName: "factorRangeBox"
                            width: rightGroup.width - 124
                            height: dialog.rowHeight
                            dataMin: 0
                            dataMax: 100000
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getShortFactorRange()) {
                                    distanceModel.setShortFactorRange(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                    Row {
                        spacing: 4
                        FitLabel {
                            id: factorAngleLabel
                            objectName: "factorAngleLabel"
                            width: 120
                            height: dialog.rowHeight
                            text: qsTr("KL角度")
                            font.pixelSize: dialog.labelFontSize
                        }
                        EditNumberBox {
                            id: factorAngleBox
                            objectName: "factorAngleBox"
                            width: rightGroup.width - 124
                            height: dialog.rowHeight
                            unit: "°"
                            dataMin: -360
                            dataMax: 360
                            onDataValueEntered: {
                                if (dataValue !== distanceModel.getShortFactorAngle()) {
                                    distanceModel.setShortFactorAngle(dataValue)
                                    dialog.updateControlValue()
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

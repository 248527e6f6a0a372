import QtQuick 2.15
import ZOR.ViewUtilityHelper 1.0

// The auxiliary DC output setting: "关闭", "24V", "48V", "110V", "220V" or
// "Other" with a value in volts. A constant-type output (getDeviceAuxDCType()
// 0) offers only its pair of levels, "24V"/"48V" (level type 0) or
// "110V"/"220V" (level type 1); the adjustable type offers all, with "Other"
// up to getDeviceAuxDCMaxValue() (quick keys half and all of it). Each choice
// tells viewBaseModel at once (setAuxDCVSwitch, setAuxDCVSwitchValue); the
// value field is used with "Other" only. Showing or hiding the dialog closes
// the on-screen panels. auxDCNoneEnable tells whether "关闭" is chosen.
UserDialogFrame {
    id: dialog

    // AuxDCSwitchType of the system view model.
    readonly property int switchNone: 0
    readonly property int switch24V: 1
    readonly property int switch48V: 2
    readonly property int switch110V: 3
    readonly property int switch220V: 4
    readonly property int switchOther: 5
    readonly property var switchVolts: [0, 24, 48, 110, 220]

    property bool adjustable: true
    property int levelType: 0
    property real maxValue: 350
    property int chosen: switchNone
    readonly property bool auxDCNoneEnable: chosen === switchNone
    readonly property alias valueBox: value

    signal accept()
    signal reject()

    title: qsTr("辅助直流输出设置")
    width: 400
    height: 320

    function levelVisible(type) {
        if (type === switchNone || adjustable)
            return true
        if (type === switchOther)
            return false
        return levelType === 0 ? (type === switch24V || type === switch48V)
                               : (type === switch110V || type === switch220V)
    }

    // Reads the device's kind of output and the current choice.
    function refresh() {
        adjustable = viewBaseModel.getDeviceAuxDCType() !== 0
        levelType = viewBaseModel.getDeviceAuxDCLevelType()
        var max = viewBaseModel.getDeviceAuxDCMaxValue()
        maxValue = ViewUtilityHelper.qmlIsNaN(max) || max <= 0 ? 350 : max
        var current = viewBaseModel.getAuxDCVSwitch()
        chosen = current >= switchNone && current <= switchOther && levelVisible(current) ? current : switchNone
        if (chosen === switchOther)
            value.setDataValue(viewBaseModel.getAuxDCVSwitchValue())
        for (var i = 0; i < choices.count; ++i)
            choices.itemAt(i).checked = (i === chosen)
    }

    function choose(type) {
        chosen = type
        viewBaseModel.setAuxDCVSwitch(type)
        if (type === switchOther)
            viewBaseModel.setAuxDCVSwitchValue(ViewUtilityHelper.qmlIsNaN(value.dataValue) ? 0 : value.dataValue)
        else
            viewBaseModel.setAuxDCVSwitchValue(switchVolts[type])
    }

    onAboutToShow: {
        closeInputPanels()
        refresh()
    }
    onAcceptClicked: {
        accept()
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    Column {
        anchors.fill: parent
        spacing: 10

        Grid {
            columns: 3
            rowSpacing: 6
            columnSpacing: 10

            Repeater {
                id: choices
                model: [qsTr("关闭"), "24V", "48V", "110V", "220V", "Other"]
                ToolRadioButton {
                    objectName: "choice" + index
                    text: modelData
                    visible: dialog.levelVisible(index)
                    onClicked: dialog.choose(index)
                }
            }
        }

        EditNumberBox {
            id: value
            objectName: "valueBox"
            width: 200
            height: 40
            unit: "V"
            unitWidth: 20
            enabled: dialog.chosen === dialog.switchOther
            dataMin: 0
            dataMax: dialog.chosen === dialog.switchOther ? dialog.maxValue : 350
            dataAutoToLimit: true
            dataPrecision: 1
            quick1Value: dialog.chosen === dialog.switchOther
                         ? ViewUtilityHelper.doubleFormatToString(dialog.maxValue / 2, 1, globalConfiguration.customLocalName)
                         : "300.0"
            quick2Value: dialog.chosen === dialog.switchOther
                         ? ViewUtilityHelper.doubleFormatToString(dialog.maxValue, 1, globalConfiguration.customLocalName)
                         : "350.0"
            onDataValueEntered: viewBaseModel.setAuxDCVSwitchValue(dataValue)
        }
    }
}

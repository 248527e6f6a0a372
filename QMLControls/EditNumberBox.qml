import QtQuick 2.15
import ZOR.ViewUtilityHelper 1.0

// A number field: typed on the number panel (inputNumberPanel), kept within
// dataMin..dataMax and shown with dataPrecision decimals in the palette's
// locale. Entering (the panel's confirm key, Enter, or losing the focus)
// parses the text, applies the limits, emits dataValueEntered() and then
// stores the shown text in dataOldText.
EditBoxFrame {
    id: root

    property real dataMax: 9999999999.999
    property real dataMin: -9999999999.999
    property bool dataAutoToLimit: false
    property int dataPrecision: 3
    property real dataValue: NaN
    property bool invalidEnable: false
    property bool invalidUnitEnable: false
    property string invalidText: qsTr("无效值")
    property string quick1Value: "100.0"
    property string quick2Value: "50.0"
    property string quick3Value: "1.0"
    property string dataOldText: ""
    // The quick keys only emit quick1Clicked() / quick2Clicked().
    property bool signalEnable: false

    // The text last shown by setDataValue(); an entry of that same text
    // leaves the value as it is (it may be the invalid text, or rounded).
    property string shownText: ""
    property bool invalidShown: false
    // The text entered last while the field has had the focus: Enter and
    // then losing the focus make one entry, not two.
    property string enteredText: ""
    property bool enteredInFocus: false

    signal dataValueEntered()
    signal dataChanged()
    signal quick1Clicked()
    signal quick2Clicked()

    maximumLength: 16
    overwriteMode: true
    unitShown: unitVisible && (!invalidShown || invalidUnitEnable)

    function setDataValue(v) {
        var value = Number(v)
        var old = dataValue
        if (ViewUtilityHelper.qmlIsNaN(value)) {
            if (invalidEnable) {
                dataValue = NaN
                invalidShown = true
                shownText = invalidText
                text = invalidText
                if (!ViewUtilityHelper.qmlIsNaN(old))
                    dataChanged()
                return
            }
            value = old
        } else if (value < dataMin || value > dataMax) {
            if (dataAutoToLimit)
                value = value < dataMin ? dataMin : dataMax
            else
                value = old
        }
        dataValue = value
        invalidShown = invalidEnable && ViewUtilityHelper.qmlIsNaN(value)
        shownText = invalidShown
                ? invalidText
                : ViewUtilityHelper.doubleFormatToString(value, dataPrecision, globalConfiguration.customLocalName)
        text = shownText
        if (value !== old && !(ViewUtilityHelper.qmlIsNaN(value) && ViewUtilityHelper.qmlIsNaN(old)))
            dataChanged()
    }

    function enterText() {
        if (enteredInFocus && text === enteredText)
            return
        if (text !== shownText)
            setDataValue(ViewUtilityHelper.stringFormatToDouble(text, globalConfiguration.customLocalName))
        enteredInFocus = inputFocus
        enteredText = text
        dataValueEntered()
        dataOldText = text
    }

    function openPanel() {
        if (!readOnly && enabled)
            inputNumberPanel.openFor(root)
    }

    onClicked: if (inputFocus) openPanel()

    Connections {
        target: root.inputItem
        function onActiveFocusChanged() {
            if (root.inputItem.activeFocus) {
                root.enteredInFocus = false
                root.inputItem.selectAll()
                root.openPanel()
            } else {
                inputNumberPanel.closeFor(root)
            }
        }
        function onEditingFinished() {
            root.enterText()
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewUtilityHelper 1.0

// A number field: typed on the number panel (inputNumberPanel), kept within
// dataMin..dataMax and shown with dataPrecision decimals in the palette's
// locale. Entering (the panel's confirm key, Enter, or losing the focus)
// parses the text, applies the limits, emits dataValueEntered() and then
// stores the shown text in dataOldText. An entry outside the range is
// clamped to it with dataAutoToLimit; without, it is refused: the field keeps
// its value and a tip above it shows the range (rangeText).
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
    readonly property string rangeText: qsTr("超出范围") + ": " + formatted(dataMin) + " ~ " + formatted(dataMax)
                                        + (unit !== "" ? " " + unit : "")                // out of range
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

    function formatted(value) {
        return ViewUtilityHelper.doubleFormatToString(value, dataPrecision, globalConfiguration.customLocalName)
    }

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
        shownText = invalidShown ? invalidText : formatted(value)
        text = shownText
        if (value !== old && !(ViewUtilityHelper.qmlIsNaN(value) && ViewUtilityHelper.qmlIsNaN(old)))
            dataChanged()
    }

    function enterText() {
        if (enteredInFocus && text === enteredText)
            return
        if (text !== shownText) {
            var value = ViewUtilityHelper.stringFormatToDouble(text, globalConfiguration.customLocalName)
            if (!dataAutoToLimit && (value < dataMin || value > dataMax))
                ToolTip.show(rangeText, 3000)
            setDataValue(value)
        }
        enteredInFocus = inputFocus
        enteredText = text
        dataValueEntered()
        dataOldText = text
    }

    function openPanel() {
        if (!readOnly && enabled)
            inputNumberPanel.openFor(root)
    }

    // A tap on the field that kept the focus after its panel closed opens the
    // panel again (which selects the text, as gaining the focus does).
    onClicked: if (inputFocus) openPanel()

    Connections {
        target: root.inputItem
        function onActiveFocusChanged() {
            if (root.inputItem.activeFocus) {
                root.enteredInFocus = false
                root.inputItem.selectAll()
            } else {
                inputNumberPanel.closeFor(root)
            }
        }
        function onEditingFinished() {
            root.enterText()
        }
    }
}

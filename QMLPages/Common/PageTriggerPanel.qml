import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0

// The trigger tab of a single-state test page: how the binary inputs combine
// ("与" / "或"), which change of each input counts as an action (each tap:
// all edges, on-off, off-on, none), and the binary outputs of the test. Every
// tap goes to the view model at once; load() shows the model's values and
// clearOutputs() turns the output buttons off (the page frame calls both).
Column {
    id: panel

    property var viewModel: null
    // The state the conditions belong to (0 on single-state pages).
    property int stateIndex: 0
    property int rowHeight: 32
    // The labels of the input and output rows at their full size, as far as
    // the four outputs with their numbers leave room (the logic label takes
    // the width it needs: its row has room).
    readonly property int outputsWidth: 4 * (14 + 2 + 36) + 3 * 4 + 6
    property int labelWidth: Math.min(width - outputsWidth, Math.max(60, inputRow.labelImplicitWidth,
                                                                     outputRow.labelImplicitWidth))
    property int labelPixelSize: globalConfiguration.customFontL2Size
    property int optionPixelSize: globalConfiguration.customFontL2Size

    spacing: 10

    function load() {
        for (var i = 0; i < 4; ++i) {
            biConditions.itemAt(i).setStateValue(viewModel.getOutputBIState(stateIndex, i))
            boButtons.itemAt(i).setChecked(viewModel.getOutputBOState(i) !== 0)
        }
        var andLogic = viewModel.getOutputBILogic(stateIndex) === ViewBaseModel.AO_BILOGIC_TYPE_AND
        logicAnd.checked = andLogic
        logicOr.checked = !andLogic
    }

    function clearOutputs() {
        for (var i = 0; i < 4; ++i)
            boButtons.itemAt(i).setChecked(false)
    }

    Component.onCompleted: clearOutputs()

    component PanelRow: LabeledRow {
        labelHeight: panel.rowHeight
        spacing: 6
    }

    PanelRow {
        id: logicRow
        labelWidth: Math.max(panel.labelWidth, labelImplicitWidth)
        spacing: 8
        label: qsTr("逻辑:")                                   // input logic
        labelPixelSize: panel.labelPixelSize
        ToolRadioButton {
            id: logicAnd
            objectName: "logicAnd"
            height: panel.rowHeight
            text: qsTr("与")                                    // and
            font.pixelSize: panel.optionPixelSize
            onClicked: panel.viewModel.setOutputBILogic(panel.stateIndex, ViewBaseModel.AO_BILOGIC_TYPE_AND)
        }
        ToolRadioButton {
            id: logicOr
            objectName: "logicOr"
            height: panel.rowHeight
            text: qsTr("或")                                    // or
            font.pixelSize: panel.optionPixelSize
            onClicked: panel.viewModel.setOutputBILogic(panel.stateIndex, ViewBaseModel.AO_BILOGIC_TYPE_OR)
        }
    }

    PanelRow {
        id: inputRow
        spacing: 4
        label: qsTr("开入:")                                 // binary inputs
        Repeater {
            id: biConditions
            model: 4
            ToolBinarCheckBox {
                objectName: "biCondition" + index
                width: textWidth + 4 + height
                height: panel.rowHeight - 4
                anchors.verticalCenter: parent.verticalCenter
                textValue: String(index + 1)
                textWidth: 14
                onClicked: panel.viewModel.setOutputBIState(panel.stateIndex, index, stateValue)
            }
        }
    }

    PanelRow {
        id: outputRow
        spacing: 4
        label: qsTr("开出:")                                 // binary outputs
        Repeater {
            id: boButtons
            model: 4
            Row {
                spacing: 2
                height: panel.rowHeight
                function setChecked(on) { boButton.setChecked(on) }
                readonly property alias checked: boButton.checked
                Text {
                    width: 14
                    height: parent.height
                    text: String(index + 1)
                    color: globalConfiguration.customForeground
                    font.family: globalConfiguration.customFontFamily
                    font.pixelSize: globalConfiguration.customFontL2Size
                    horizontalAlignment: Text.AlignRight
                    verticalAlignment: Text.AlignVCenter
                }
                ToolBinaryButton {
                    id: boButton
                    objectName: "boButton" + index
                    width: 36
                    height: panel.rowHeight
                    onClicked: panel.viewModel.setOutputBOState(index, checked ? 1 : 0)
                }
            }
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// What the idle page offers by the unit's phases and the chosen item, the
// output fields' limits and quick keys, and the trigger tab; each edit is
// checked in the model.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_ALTERNATE
        pageSource: "qrc:/QMLPages/AC/ModelAlternatePage.qml"
        relays: "threshold:channel=IA,pickup=4.5,delay=2,dropoff=0.95,input=0"
    }

    ModulePageTestCase {
        name: "AcPageLayout"
        harness: harness

        function init() {
            idlePage()
        }

        // The unit's phases as the hardware configuration would set them;
        // the page reads them when it is shown.
        function showWithPhases(voltageFour, currentFour) {
            hidePage()
            harness.systemModel.setVoltagePhasesType(voltageFour ? 1 : 0)
            harness.systemModel.setCurrentPhasesType(currentFour ? 1 : 0)
            showPage()
        }

        function cleanupTestCase() {
            harness.systemModel.setVoltagePhasesType(0)
            harness.systemModel.setCurrentPhasesType(0)
        }

        function test_rowsAndGroupsFollowThePhases_data() {
            return [
                { tag: "three and three", v: false, i: false, groups: 14 },
                { tag: "four voltages", v: true, i: false, groups: 15 },
                { tag: "four currents", v: false, i: true, groups: 15 },
                { tag: "four and four", v: true, i: true, groups: 16 },
            ]
        }
        function test_rowsAndGroupsFollowThePhases(row) {
            showWithPhases(row.v, row.i)
            var groups = comboTexts("variableBox")
            compare(groups.length, row.groups)
            compare(groups.indexOf("UX") >= 0, row.v)
            compare(groups.indexOf("IX") >= 0, row.i)
            compare(control("outputRow3").visible, row.v)
            compare(control("outputRow7").visible, row.i)
            // Every row chosen reads back as the same row.
            var last = groups.length - 1
            choose("variableBox", last)
            compare(model.getFaultActionPort(), last)
            compare(control("variableBox").displayText, "IAIBIC")
            choose("variableBox", 0)
        }

        function test_ixOnAThreePhaseVoltageUnitTakesCurrentUnits() {
            showWithPhases(false, true)
            choose("itemBox", 0)
            choose("variableBox", 10)
            compare(control("variableBox").displayText, "IX")
            compare(model.getFaultActionPort(), 10)
            compare(control("endBox").unit, "A")
            compare(control("stepBox").unit, "A")
            compare(control("endBox").dataMax, model.getDeviceAOIMaxRange())
            choose("variableBox", 6)
            compare(control("variableBox").displayText, "UAUBUC")
            compare(control("endBox").unit, "V")
            compare(control("endBox").quick1Value, "57.735")
        }

        function test_endValueLimitsFollowTheItem_data() {
            return [
                { tag: "voltage amplitude", group: "UA", item: 0, unit: "V", min: 0, max: 265,
                  quick: ["57.735", "265.000"] },
                { tag: "current amplitude", group: "IB", item: 0, unit: "A", min: 0, max: 10,
                  quick: ["0.100", "10.000"] },
                { tag: "angle", group: "UB", item: 1, unit: "°", min: -360, max: 360, quick: ["180.0", "270.0"] },
                { tag: "frequency", group: "IA", item: 2, unit: "Hz", min: 10, max: 1000,
                  quick: ["50.000", "100.000"] },
            ]
        }
        function test_endValueLimitsFollowTheItem(row) {
            showWithPhases(false, false)
            choose("variableBox", comboTexts("variableBox").indexOf(row.group))
            choose("itemBox", row.item)
            compare(model.getFaultActionItem(), row.item)
            var end = control("endBox")
            compare(end.unit, row.unit)
            compare(control("stepBox").unit, row.unit)
            compare(end.dataMin, row.min)
            compare(end.dataMax, row.max)
            compare([end.quick1Value, end.quick2Value], row.quick)
            // Beyond the limit: the limit.
            enter("endBox", String(row.max + 5))
            compare(model.getEndRampValue(), row.max)
        }

        function test_outputFieldsAndTheirQuickKeys() {
            showWithPhases(false, false)
            // Amplitudes: held to the device's largest output; "平衡" copies
            // UA to UB and UC, "额定" sets the rated value.
            enter("range0", "500")
            compare(model.getOutputRange(0), 265)
            compare(control("range0").text, "265.000")
            quickKey("range0", 2)
            compare(model.getOutputRange(1), 265)
            compare(model.getOutputRange(2), 265)
            compare(control("range2").text, "265.000")
            quickKey("range0", 1)
            compare(model.getOutputRange(0), 57.735)
            compare(model.getOutputRange(1), 265)
            quickKey("range1", 2)
            compare(model.getOutputRange(0), 265)

            // Angles: positive and negative sequence from UA.
            enter("angle0", "30")
            compare(model.getOutputAngle(0), 30)
            quickKey("angle0", 1)
            compare(model.getOutputAngle(1), 270)
            compare(model.getOutputAngle(2), 150)
            compare(control("angle1").text, "270.000")
            quickKey("angle0", 2)
            compare(model.getOutputAngle(1), 150)
            compare(model.getOutputAngle(2), 270)

            // Frequencies: "平衡" to every port, "额定" the rated frequency.
            enter("frequency4", "60")
            quickKey("frequency4", 2)
            for (var p = 0; p < 8; ++p)
                compare(model.getOutputFrequency(p), 60)
            quickKey("frequency4", 1)
            compare(model.getOutputFrequency(4), 50)
            compare(model.getOutputFrequency(0), 60)
            enter("frequency0", "5")
            compare(model.getOutputFrequency(0), 10)

            // A fourth output's angle takes its quick values as text.
            showWithPhases(true, false)
            quickKey("angle3", 2)
            compare(model.getOutputAngle(3), 240)
        }

        function test_triggerTab() {
            showWithPhases(false, false)
            tap("triggerTabButton")
            verify(control("triggerPanel").visible)
            verify(!control("settingPanel").visible)

            // Each tap: all edges, falling (on-off), rising (off-on), none, all.
            compare(model.getOutputBIState(0, 2), ViewBaseModel.AO_BI_STATE_ALL)
            var states = [ViewBaseModel.AO_BI_STATE_ONOFF, ViewBaseModel.AO_BI_STATE_OFFON,
                          ViewBaseModel.AO_BI_STATE_NONE, ViewBaseModel.AO_BI_STATE_ALL]
            for (var i = 0; i < states.length; ++i) {
                tap("biCondition2")
                compare(model.getOutputBIState(0, 2), states[i])
            }

            tap("logicAnd")
            compare(model.getOutputBILogic(0), ViewBaseModel.AO_BILOGIC_TYPE_AND)
            tap("logicOr")
            compare(model.getOutputBILogic(0), ViewBaseModel.AO_BILOGIC_TYPE_OR)

            tap("boButton3")
            compare(model.getOutputBOState(3), 1)
            // Shown again: the buttons from the model.
            hidePage()
            showPage()
            compare(control("boButton3").checked, true)
            tap("boButton3")
            compare(model.getOutputBOState(3), 0)

            tap("settingTabButton")
            verify(control("settingPanel").visible)
        }
    }
}

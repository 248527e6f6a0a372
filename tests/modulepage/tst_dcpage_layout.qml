import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// What the idle DC page offers by the unit's phases, the mode and the chosen
// group, each choice checked in the model; and the page on a digital current
// amplifier, which drives one current channel, played on IA and IC.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_DIRECT
        pageSource: "qrc:/QMLPages/DC/ModelDirectPage.qml"
        relays: "threshold:channel=UA,pickup=9.9,delay=2,input=0"
    }

    ModulePageTestCase {
        name: "DcPageLayout"
        harness: harness

        function init() {
            idlePage()
        }

        function setAmplifier(type) {
            harness.systemModel.setDevicePowerAmpType(type)
            harness.systemModel.testConfig()   // into the driver's records
        }

        function cleanupTestCase() {
            setAmplifier(0)
            harness.systemModel.setVoltagePhasesType(0)
            harness.systemModel.setCurrentPhasesType(0)
        }

        function showWithPhases(voltageFour, currentFour) {
            hidePage()
            harness.systemModel.setVoltagePhasesType(voltageFour ? 1 : 0)
            harness.systemModel.setCurrentPhasesType(currentFour ? 1 : 0)
            showPage()
        }

        function visibleRows() {
            var n = 0
            for (var p = 0; p < 8; ++p)
                n += control("outputRow" + p).visible ? 1 : 0
            return n
        }

        function setAuto(on) {
            if (control("autoCheck").checked !== on)
                tap("autoCheck")
            compare(model.getAutoRampEnabled(), on)
        }

        function test_rowsAndListFollowThePhases_data() {
            return [
                { tag: "three and three", v: false, i: false, rows: 6,
                  list: ["UA", "UB", "UC", "UAUBUC", "IA", "IB", "IC", "IAIBIC"] },
                { tag: "four voltages", v: true, i: false, rows: 7,
                  list: ["UA", "UB", "UC", "UX", "UAUBUC", "IA", "IB", "IC", "IAIBIC"] },
                { tag: "four currents", v: false, i: true, rows: 7,
                  list: ["UA", "UB", "UC", "UAUBUC", "IA", "IB", "IC", "IX", "IAIBIC"] },
                { tag: "four and four", v: true, i: true, rows: 8,
                  list: ["UA", "UB", "UC", "UX", "UAUBUC", "IA", "IB", "IC", "IX", "IAIBIC"] },
            ]
        }
        function test_rowsAndListFollowThePhases(row) {
            showWithPhases(row.v, row.i)
            compare(visibleRows(), row.rows)
            compare(comboTexts("variableBox"), row.list)
            // The fresh page has no result; the item is the amplitude only,
            // angle and frequency are not edited.
            compare(resultText("actionValueField"), "")
            compare(resultText("actionTimeField"), "")
            compare(comboTexts("itemBox"), ["幅值"])
            verify(!control("itemBox").enabled)
            verify(!control("angle0").enabled)
            verify(!control("frequency4").enabled)
            compare(control("angle0").text, "90.000")
        }

        function test_ixIsKeptWhenThePageIsOpenedAgain() {
            showWithPhases(false, true)
            choose("variableBox", 7)
            compare(control("variableBox").displayText, "IX")
            compare(model.getFaultActionPort(), 7)
            hidePage()
            showPage()
            compare(control("variableBox").displayText, "IX")
            compare(control("endBox").unit, "A")
            choose("variableBox", 0)
        }

        function test_manualModeHasNoReturn() {
            showWithPhases(false, false)
            setAuto(true)
            compare(comboTexts("modeBox"), ["动作停止", "动作返回", "持续输出"])
            choose("modeBox", 1)
            compare(model.getFaultActionType(), ViewBaseModel.ACTION_TYPE_RETURN)
            verify(control("returnValueField").visible)
            verify(control("factorField").visible)
            verify(!control("autoTimeBox").readOnly)

            setAuto(false)
            compare(comboTexts("modeBox"), ["动作停止", "持续输出"])
            compare(control("modeBox").currentIndex, 1)
            compare(control("modeBox").displayText, "持续输出")
            compare(model.getFaultActionType(), ViewBaseModel.ACTION_TYPE_CONTINUE)
            verify(!control("returnValueField").visible)
            verify(!control("returnTimeField").visible)
            verify(!control("factorField").visible)
            verify(control("autoTimeBox").readOnly)
            choose("modeBox", 0)
        }

        function test_endLimitsFollowTheGroup_data() {
            return [
                { tag: "current group", group: "IAIBIC", unit: "A", max: 5, quick: ["0.100", "5.000"] },
                { tag: "voltage group", group: "UAUBUC", unit: "V", max: 265, quick: ["57.735", "265.000"] },
            ]
        }
        function test_endLimitsFollowTheGroup(row) {
            showWithPhases(false, false)
            choose("variableBox", comboTexts("variableBox").indexOf(row.group))
            var end = control("endBox")
            compare(end.unit, row.unit)
            compare(control("stepBox").unit, row.unit)
            compare([end.quick1Value, end.quick2Value], row.quick)
            compare(end.dataMax, row.max)
            enter("endBox", String(row.max + 5))
            compare(model.getEndRampValue(), row.max)
            // The current fields are held to half the device's current.
            enter("range4", "9")
            compare(model.getOutputRange(4), 5)
            choose("variableBox", 0)
        }

        // Last in name order: it leaves the amplifier type for the cleanup.
        function test_z_digitalAmplifierOffersOneCurrentChannel() {
            showWithPhases(false, true)
            choose("variableBox", comboTexts("variableBox").indexOf("IX"))
            hidePage()
            setAmplifier(1)
            showPage()
            compare(comboTexts("variableBox"), ["UA", "UB", "UC", "UAUBUC", "IA"])
            compare(control("variableBox").displayText, "UA")   // a stored group it cannot drive
            compare(visibleRows(), 4)
            enter("range4", "2")
            tap("startButton")
            waitRunning(true)
            // IA on IA and IC, in opposition; IB off.
            tryVerify(function() { return Math.abs(Math.abs(pageBench.measuredDc(4)) - 2) < 0.01 }, 30000, "IA 2 A")
            verify(Math.abs(pageBench.measuredDc(6) + pageBench.measuredDc(4)) < 0.01, "IC " + pageBench.measuredDc(6))
            verify(Math.abs(pageBench.measuredDc(5)) < 0.01, "IB " + pageBench.measuredDc(5))
            tap("stopButton")
            waitRunning(false)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// Automatic mode on the simulated instrument: the controls of the mode, a
// ramp the model refuses (its message shown), a ramp started with "+" that
// finds the relay's pick-up and drop-off, and the fault calculator.
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

    // What the page looked like while the engine ramped.
    property bool sawRamp: false
    property bool tableLockedInRamp: false
    property bool calcLockedInRamp: false
    Connections {
        target: harness.page
        function onLockedChanged() {
            if (!harness.page.locked)
                return
            root.sawRamp = true
            root.tableLockedInRamp = !findTable().enabled
            root.calcLockedInRamp = !findCalc().enabled
        }
    }
    function findTable() { return test.findChild(harness.page, "outputTable") }
    function findCalc() { return test.findChild(harness.page, "calcButton") }

    ModulePageTestCase {
        id: test
        name: "AcPageAuto"
        harness: harness

        function init() {
            idlePage()
        }

        function setAuto(on) {
            if (control("autoCheck").checked !== on)
                tap("autoCheck")
            compare(model.getAutoRampEnabled(), on)
        }

        // IA from 3 A upwards by 1 A per 10 s state, up to 10 A.
        function prepareRamp(modeRow) {
            setAuto(true)
            choose("variableBox", comboTexts("variableBox").indexOf("IA"))
            choose("itemBox", 0)
            choose("modeBox", modeRow)
            enter("range4", "3")
            enter("stepBox", "1")
            enter("endBox", "10")
            enter("autoTimeBox", "10")
            compare(model.getOutputRange(4), 3)
            compare(model.getRampStepValue(), 1)
            compare(model.getEndRampValue(), 10)
            compare(model.getRampTimeValue(), 10)
        }

        function test_modeControlsFollowTheAutoSwitch() {
            setAuto(true)
            verify(control("plusButton").enabled)
            verify(control("minusButton").enabled)
            verify(control("autoTimeBox").enabled)
            verify(!control("autoTimeBox").readOnly)
            compare(comboTexts("modeBox"), ["动作停止", "动作返回", "持续输出"])
            choose("modeBox", 1)
            compare(model.getFaultActionType(), ViewBaseModel.ACTION_TYPE_RETURN)
            verify(control("returnValueField").visible)
            verify(control("returnTimeField").visible)
            verify(control("factorField").visible)

            // Manual again: a return becomes continuous output.
            setAuto(false)
            compare(model.getFaultActionType(), ViewBaseModel.ACTION_TYPE_CONTINUE)
            compare(comboTexts("modeBox"), ["动作停止", "持续输出"])
            compare(control("modeBox").currentIndex, 1)
            verify(!control("returnValueField").visible)
            verify(!control("factorField").visible)
            verify(!control("plusButton").enabled)
            verify(!control("autoTimeBox").enabled)
            verify(control("autoTimeBox").readOnly)
        }

        function test_refusedRampShowsTheModelsMessage() {
            prepareRamp(0)
            // Down from 3 A to an end of 10 A: refused, nothing starts.
            tap("minusButton")
            verify(model.getUserMessage() !== "")
            answerMessage(model.getUserMessage())
            verify(!page.running)
            verify(!isRunning())
            // Start ramps upwards: an end below the outputs is refused too.
            model.clearUserMessage()
            enter("endBox", "2")
            tap("startButton")
            verify(model.getUserMessage() !== "")
            answerMessage(model.getUserMessage())
            verify(!page.running)
            verify(!isRunning())
            verify(harness.exitEnabled)
        }

        function test_rampFindsPickupAndReturnOfTheRelay() {
            prepareRamp(1)
            var pickups = pageBench.contactCloses(0)
            var dropoffs = pageBench.contactOpens(0)
            root.sawRamp = false
            harness.exitHistory = []

            tap("plusButton")
            // The engine ramps IA up to the pick-up, back to the drop-off and ends.
            tryVerify(function() { return root.sawRamp }, 30000, "ramp started")
            compare(harness.exitHistory[0], false)
            tryVerify(function() { return pageBench.contactCloses(0) > pickups }, 60000, "relay picked up")
            tryVerify(function() { return pageBench.contactOpens(0) > dropoffs }, 60000, "relay dropped off")
            waitRunning(false)
            verify(root.tableLockedInRamp)
            verify(root.calcLockedInRamp)

            compare(resultText("actionValueField"), "5.000 A")
            compare(resultText("returnValueField"), "4.000 A")
            compare(resultText("factorField"), "0.800")
            verify(/^[0-9.]+m?s$/.test(resultText("actionTimeField")), resultText("actionTimeField"))
            verify(/^[0-9.]+m?s$/.test(resultText("returnTimeField")), resultText("returnTimeField"))
            // The ramp's start again, the page free.
            compare(control("range4").text, "3.000")
            verify(control("outputTable").enabled)
            verify(control("calcButton").enabled)
            verify(control("startButton").visible)
            verify(harness.exitEnabled)
            compare(pageBench.violationText(), "")
        }

        function test_calculatorFillsTheOutputs() {
            setAuto(false)
            tap("calcButton")
            var dialog = page.distanceDialog
            tryCompare(dialog, "opened", true)
            // The fault itself is the dialog's (its own tests cover its controls).
            var fault = dialog.distanceModel
            fault.setDistanceType(0)
            fault.setFaultType(0)
            fault.setFaultCurrent(5)
            fault.setShortRange(2)
            fault.setShortAngle(75)
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            tryCompare(control("range4"), "text", "5.000")
            compare(model.getOutputRange(4), 5)
            var ua = model.getOutputRange(0)
            verify(ua > 0 && ua < 57.735, "faulted phase voltage " + ua)

            // Cancel computes nothing.
            fault.setFaultCurrent(2)
            tap("calcButton")
            tryCompare(dialog, "opened", true)
            mouseClick(popupButton(dialog, "rejectButton"))
            tryCompare(dialog, "opened", false)
            compare(model.getOutputRange(4), 5)

            // A fault that cannot be calculated: the model's message, outputs kept.
            fault.setDistanceType(1)
            fault.setFaultVoltage(10)
            fault.setShortRange(0)
            fault.setShortReal(0)
            fault.setShortImage(0)
            model.clearUserMessage()
            tap("calcButton")
            tryCompare(dialog, "opened", true)
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            verify(model.getUserMessage() !== "")
            answerMessage(model.getUserMessage())
            compare(model.getOutputRange(4), 5)
            compare(control("range4").text, "5.000")
        }
    }
}

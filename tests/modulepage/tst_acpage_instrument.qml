import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// What the simulated instrument does with an AC run's settings: the binary
// outputs take the states set on the trigger tab, and a relay that drops off
// at the very start of a state is timed above the contact debounce.
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
        name: "AcPageInstrument"
        harness: harness

        function init() {
            idlePage()
        }

        function setAuto(on) {
            if (control("autoCheck").checked !== on)
                tap("autoCheck")
            compare(model.getAutoRampEnabled(), on)
        }

        function lamps() {
            var on = []
            for (var i = 0; i < 4; ++i)
                on.push(control("boLamp" + i).on)
            return on
        }

        function test_outputLampsFollowTheTriggerTab() {
            setAuto(false)
            enter("range4", "1")
            tap("triggerTabButton")
            var set = [true, false, true, false]
            for (var i = 0; i < 4; ++i) {
                if (control("boButton" + i).checked !== set[i])
                    tap("boButton" + i)
                compare(model.getOutputBOState(i), set[i] ? 1 : 0)
            }
            tap("settingTabButton")

            tap("startButton")
            waitRunning(true)
            tryVerify(function() { return lamps()[0] && lamps()[2] }, 30000, "outputs 1 and 3 closed")
            compare(lamps(), set)
            tap("stopButton")
            waitRunning(false)
            tryVerify(function() { return !lamps()[0] && !lamps()[2] }, 30000, "outputs open after the run")
            compare(pageBench.violationText(), "")
        }

        function test_anInstantDropOffIsTimedToTheTickItFellOn() {
            // IA up from 3 A by 1 A per 10 s state: the relay picks up at 5 A
            // after its 2 s, and drops off as the ramp returns to 4 A, on the
            // first tick of that state.
            setAuto(true)
            choose("variableBox", comboTexts("variableBox").indexOf("IA"))
            choose("itemBox", 0)
            choose("modeBox", 1)
            enter("range4", "3")
            enter("stepBox", "1")
            enter("endBox", "10")
            enter("autoTimeBox", "10")
            var dropoffs = pageBench.contactOpens(0)
            tap("plusButton")
            tryVerify(function() { return pageBench.contactOpens(0) > dropoffs }, 60000, "relay dropped off")
            waitRunning(false)
            compare(resultText("returnValueField"), "4.000 A")
            compare(resultText("returnTimeField"), "0.035ms")
            compare(pageBench.violationText(), "")
        }
    }
}

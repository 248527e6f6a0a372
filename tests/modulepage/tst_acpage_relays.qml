import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The AC page against relays of different models on different channels and
// inputs: an automatic ramp of the relay's channel ends at the relay's own
// pick-up, after its own delay, seen at the input the relay is wired to.
Item {
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_ALTERNATE
        pageSource: "qrc:/QMLPages/AC/ModelAlternatePage.qml"
    }

    ModulePageTestCase {
        name: "AcPageRelays"
        harness: harness

        function test_rampEndsAtThePickupOfTheWiredRelay_data() {
            return [
                { tag: "threshold on IA", relays: "threshold:channel=IA,pickup=4.5,delay=2,input=0",
                  group: "IA", port: 4, input: 0, value: "5.000 A", delay: 2 },
                { tag: "timed with drop-off delay on IB",
                  relays: "timed:channel=IB,pickup=2.5,delay=3,dropoff=0.9,dropdelay=0.5,input=2",
                  group: "IB", port: 5, input: 2, value: "3.000 A", delay: 3 },
            ]
        }
        function test_rampEndsAtThePickupOfTheWiredRelay(row) {
            verify(harness.wireRelays(row.relays), pageBench.relayErrors())
            idlePage()
            if (!control("autoCheck").checked)
                tap("autoCheck")
            choose("variableBox", comboTexts("variableBox").indexOf(row.group))
            choose("itemBox", 0)
            choose("modeBox", 0)                            // up to the action, then stop
            enter("range" + row.port, "1")
            enter("stepBox", "1")
            enter("endBox", "8")
            enter("autoTimeBox", "5")
            var closes = [0, 1, 2, 3].map(function(i) { return pageBench.contactCloses(i) })

            tap("startButton")
            tryVerify(function() { return pageBench.contactCloses(row.input) > closes[row.input] }, 60000,
                      "relay picked up")
            waitRunning(false)
            tryCompare(control("actionValueField"), "text", row.value, 30000)
            var time = model.getFaultActionTime(0)
            verify(time > row.delay - 0.001 && time < 5, "trip time " + time)    // within the step
            for (var i = 0; i < 4; ++i) {
                if (i !== row.input)
                    compare(pageBench.contactCloses(i), closes[i], "input " + i)
            }
            compare(pageBench.violationText(), "")
        }

        function test_descriptionThatDoesNotParseIsRefused() {
            verify(!harness.wireRelays("threshold:channel=IQ,pickup=1"))
            verify(pageBench.relayErrors() !== "")
            verify(!harness.ready)
            verify(harness.wireRelays("none"))
        }
    }
}

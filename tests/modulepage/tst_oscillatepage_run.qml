import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// A power-swing test driven from the page on the simulated instrument: IA
// 1 A with a swing under an envelope relay set to 1.15 A; while it runs
// the swing's percent, angle and frequency are edited (the group, logic and
// outputs are locked), a 30 % swing trips the relay, the result is shown and
// the settings of the start come back. Then leaving the page during a run.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_OSCILLATE
        pageSource: "qrc:/QMLPages/Oscillate/ModelOscillatePage.qml"
        relays: "envelope:channel=IA,pickup=1.15,input=0"
    }

    ModulePageTestCase {
        name: "OscillatePageRun"
        harness: harness

        function init() {
            idlePage()
        }

        function test_1_liveSwingEditsTripTheRelayAndStopRestoresTheStart() {
            var groups = comboTexts("portBox")
            choose("portBox", groups.indexOf("IA"))
            enter("range4", "1")
            enter("percentBox", "10")
            enter("swingFrequencyBox", "49")
            enter("swingAngleBox", "0")

            tap("startButton")
            waitRunning(true)
            tryCompare(harness, "exitEnabled", true, 30000)
            verify(!control("portBox").enabled)
            verify(!control("triggerPanel").enabled)
            verify(!control("outputTable").enabled)
            verify(!control("fileButton").enabled)
            compare(resultText("actionValueField"), "")                 // no trip yet: no result

            // Below the pick-up: 1.1 A at the peak. The swing values stay
            // editable and reach the model at once.
            enter("swingAngleBox", "180")
            compare(model.getOscillateAngle(), 180)
            enter("swingFrequencyBox", "48")
            compare(model.getOscillateFrequency(), 48)
            compare(pageBench.contactCloses(0), 0)
            enter("percentBox", "30")
            compare(model.getOscillatePercent(), 30)

            // 1.3 A at the peak: the relay trips and the test ends.
            waitRunning(false)
            verify(pageBench.contactCloses(0) >= 1)
            tryCompare(control("actionValueField"), "text", "1.300 A", 30000)
            verify(/^[0-9.]+m?s$/.test(resultText("actionTimeField")), resultText("actionTimeField"))
            // The settings of the start.
            compare(model.getOscillatePercent(), 10)
            compare(control("percentBox").text, "10.000")
            compare(model.getOscillateAngle(), 0)
            compare(model.getOscillateFrequency(), 49)
            verify(control("portBox").enabled)
            verify(control("outputTable").enabled)
            compare(pageBench.violationText(), "")
        }

        function test_2_leavingDuringARunStopsItAndClearsTheOutputButtons() {
            tap("triggerTabButton")
            tap("boButton1")
            verify(control("boButton1").checked)
            verifyStartShowsNoOldResult(/^action(Value|Time)Field$/)
            hidePage()
            verify(!isRunning())
            verify(!control("boButton1").checked)
            showPage()
            tap("settingTabButton")
        }
    }
}

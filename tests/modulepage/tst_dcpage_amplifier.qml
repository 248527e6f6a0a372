import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The DC page on a unit with a digital current amplifier: one current
// channel is offered, a stored group it cannot drive becomes UA, and IA is
// played on IA and IC.
Item {
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_DIRECT
        pageSource: "qrc:/QMLPages/DC/ModelDirectPage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "DcPageAmplifier"
        harness: harness

        function setAmplifier(type) {
            harness.systemModel.setDevicePowerAmpType(type)
            harness.systemModel.testConfig()   // into the driver's records
        }

        function cleanupTestCase() {
            setAmplifier(0)
            harness.systemModel.setCurrentPhasesType(0)
        }

        function test_singleCurrentChannelDrivesIaAndIc() {
            idlePage()
            hidePage()
            harness.systemModel.setCurrentPhasesType(1)
            showPage()
            choose("variableBox", comboTexts("variableBox").indexOf("IX"))
            hidePage()
            setAmplifier(1)
            showPage()
            compare(comboTexts("variableBox"), ["UA", "UB", "UC", "UAUBUC", "IA"])
            compare(control("variableBox").displayText, "UA")
            compare(model.getFaultActionPort(), 0)
            for (var p = 5; p < 8; ++p)
                verify(!control("outputRow" + p).visible, "row " + p)

            enter("range4", "2")
            tap("startButton")
            waitRunning(true)
            // IA on IA and IC, in opposition; IB off.
            tryVerify(function() { return Math.abs(Math.abs(pageBench.measuredDc(4)) - 2) < 0.01 }, 30000,
                      "IA plays 2 A: " + pageBench.measuredDc(4))
            compare(Math.abs(pageBench.measuredDc(6) + pageBench.measuredDc(4)) < 0.01, true,
                    "IC " + pageBench.measuredDc(6) + " against IA " + pageBench.measuredDc(4))
            compare(Math.abs(pageBench.measuredDc(5)) < 0.01, true, "IB " + pageBench.measuredDc(5))
            tap("stopButton")
            waitRunning(false)
        }
    }
}

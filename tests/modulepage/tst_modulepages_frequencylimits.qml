import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The frequency boxes of the module pages take the outputs' range from their
// model (10 ... 1000 Hz), the power swing's frequency its own lowest, one
// that swings.
Item {
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        relays: "none"
    }

    ModulePageTestCase {
        name: "ModulePagesFrequencyLimits"
        harness: harness

        function test_boxes_data() {
            var B = ViewBaseModel
            return [
                { tag: "AC", module: B.TEST_ALTERNATE, source: "AC/ModelAlternatePage.qml", boxes: ["frequency0"] },
                { tag: "energy", module: B.TEST_ENERGY, source: "Energy/ModelEnergyPage.qml", boxes: ["frequencyBox"] },
                { tag: "ramping", module: B.TEST_RAMPING, source: "Ramping/ModelRampingPage.qml",
                  boxes: ["frequency0"] },
                { tag: "standard source", module: B.TEST_STDSOURCE, source: "StdSource/ModelStdSourcePage.qml",
                  boxes: ["frequencyBox"] },
                { tag: "state sequence", module: B.TEST_STATESEQUENCE,
                  source: "StateSequence/ModelStateSequencePage.qml", boxes: ["frequency0"] },
                { tag: "under frequency", module: B.TEST_SLIP_FREQUENCY,
                  source: "LoadShedding/ModelSlipFrequencyPage.qml",
                  boxes: ["frequencyBeginBox0", "frequencyEndBox0"] },
                { tag: "power swing", module: B.TEST_OSCILLATE, source: "Oscillate/ModelOscillatePage.qml",
                  boxes: ["frequency0"], swing: "swingFrequencyBox" },
            ]
        }

        function test_boxes(data) {
            if (harness.pageArea.visible) {
                harness.pageArea.visible = false
                tryCompare(page, "visible", false)
            }
            harness.module = data.module
            harness.pageSource = "qrc:/QMLPages/" + data.source
            verify(harness.wireRelays("none"), pageBench.relayErrors())
            idlePage()
            compare(model.minOutputFrequency, 10)
            compare(model.maxOutputFrequency, 1000)
            for (var i = 0; i < data.boxes.length; ++i) {
                var box = control(data.boxes[i])
                compare(box.dataMin, model.minOutputFrequency, data.boxes[i])
                compare(box.dataMax, model.maxOutputFrequency, data.boxes[i])
            }
            if (data.swing) {
                var swing = control(data.swing)
                verify(model.minSwingFrequency > 0)
                compare(swing.dataMin, model.minSwingFrequency)
                compare(swing.dataMax, model.maxOutputFrequency)
            }
        }
    }
}

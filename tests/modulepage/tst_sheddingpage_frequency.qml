import QtQuick 2.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewSlipFrequencyModel 1.0

// The under-frequency page against a 48.8 Hz relay with 0.2 s delay: the
// action frequency (49.5 .. 48.0 Hz by 0.2 Hz), a search that never reaches
// the setting, and the action time on a 50 -> 45 Hz ramp at 1 Hz/s timed
// from 48.8 Hz.
Item {
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_SLIP_FREQUENCY
        pageSource: "qrc:/QMLPages/LoadShedding/ModelSlipFrequencyPage.qml"
        relays: "frequency:pickup=48.8,delay=0.2"
    }

    SheddingPageTestCase {
        name: "SlipFrequencyPage"
        harness: harness
        filePrefix: "SlipFrequency_"
        fileName: "uf_run"
        items: [0, 1, 2, 3, 4]
        limitField: [ViewSlipFrequencyModel.ITEM_ACTION_FREQUENCY, "frequencyBeginBox0", "2000", "FrequencyBegin"]
        deviceFields: [["currentBeginBox3", "I"], ["currentStepBox3", "I"], ["voltageBeginBox4", "V"],
                       ["voltageStepBox4", "V"]]
        runPoints: [[0, [["frequencyBeginBox0", "49.5"], ["frequencyEndBox0", "48"], ["frequencyStepBox0", "0.2"],
                         ["frequencySlipBox0", "2"]]],
                    [0, [["frequencyBeginBox0", "50"], ["frequencyEndBox0", "49.5"]]],
                    [1, [["frequencyBeginBox1", "50"], ["frequencyEndBox1", "45"], ["timingFrequencyBox1", "48.8"],
                         ["frequencySlipBox1", "1"]]]]
        runResults: [["48.700Hz", /^---$/], ["未动作", /^未动作$/], ["---", /^(199\.9|200\.0)\d\dms$/]]
        zeroStep: [ViewSlipFrequencyModel.ITEM_ACTION_FREQUENCY, "frequencyStepBox0"]
    }
}

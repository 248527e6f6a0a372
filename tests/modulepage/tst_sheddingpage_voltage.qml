import QtQuick 2.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewSlipVoltageModel 1.0

// The under-voltage page against a 45 V relay with 0.3 s delay on UA..UC:
// the action voltage (50 .. 40 V by 2 V), a search that never reaches the
// setting, and the action time on a 57.735 -> 30 V ramp at 10 V/s timed
// from 45 V.
Item {
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_SLIP_VOLTAGE
        pageSource: "qrc:/QMLPages/LoadShedding/ModelSlipVoltagePage.qml"
        relays: "voltage:pickup=45,delay=0.3"
    }

    SheddingPageTestCase {
        name: "SlipVoltagePage"
        harness: harness
        filePrefix: "SlipVoltage_"
        fileName: "uv_run"
        items: [0, 1, 2, 3]
        limitField: [ViewSlipVoltageModel.ITEM_ACTION_VOLTAGE, "voltageSlipBox0", "2000", "VoltageSlip"]
        deviceFields: [["voltageBeginBox0", "V"], ["timingVoltageBox1", "V"], ["currentBeginBox3", "I"],
                       ["voltageSlipBox3", "V"]]
        runPoints: [[0, [["voltageBeginBox0", "50"], ["voltageEndBox0", "40"], ["voltageStepBox0", "2"],
                         ["voltageSlipBox0", "20"]]],
                    [0, [["voltageBeginBox0", "50"], ["voltageEndBox0", "46"]]],
                    [1, [["voltageBeginBox1", "57.735"], ["voltageEndBox1", "30"], ["timingVoltageBox1", "45"],
                         ["voltageSlipBox1", "10"]]]]
        runResults: [["44.000V", /^---$/], ["未动作", /^未动作$/], ["---", /^(299\.9|300\.0)\d\dms$/]]
        zeroStep: [ViewSlipVoltageModel.ITEM_ACTION_VOLTAGE, "voltageStepBox0"]
    }
}

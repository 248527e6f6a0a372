import QtQuick 2.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewSlipVoltageModel 1.0

// The under-voltage load-shedding test page: four items on a voltage slide
// (action voltage, action time, dv/dt blocking, low-current blocking), up to
// 32 points.
LoadSheddingPage {
    id: page

    viewModel: viewSlipVoltageModel
    testType: ViewBaseModel.TEST_SLIP_VOLTAGE
    fileModule: "SlipVoltage_"
    portTableGap: 70

    ViewSlipVoltageModel {
        id: viewSlipVoltageModel
    }

    function voltage(key, label, value, quick2) {
        return { key: key, label: label, unit: "V", max: 265, device: "V", value: value, quick1: "57.735",
                 rated: "V", quick2: quick2 }
    }
    readonly property var voltageSlip: ({ key: "VoltageSlip", label: qsTr("电压滑差"), unit: "V/s", min: 0.001,
                                          max: 1000, value: 0.1, quick1: "0.1", quick2: "0.5" })

    itemRows: [[{ item: ViewSlipVoltageModel.ITEM_ACTION_VOLTAGE, text: qsTr("动作电压") },     // action voltage
                { item: ViewSlipVoltageModel.ITEM_ACTION_TIME, text: qsTr("动作时间") },        // action time
                { item: ViewSlipVoltageModel.ITEM_VOLTAGE_SLIP, text: qsTr("电压滑差") }],      // dv/dt blocking
               [{ item: ViewSlipVoltageModel.ITEM_LOW_I_LOCK, text: qsTr("低流闭锁") }]]        // low-current blocking

    fields: [
        [voltage("VoltageBegin", qsTr("电压始值"), 57.735, "100"), voltage("VoltageEnd", qsTr("电压终值"), 30, "100"),
         Object.assign(voltage("VoltageStep", qsTr("电压步长"), 1, "10"), { quick1: "0.5" }),
         voltageSlip],
        [voltage("VoltageBegin", qsTr("电压始值"), 57.735, "100"), voltage("VoltageEnd", qsTr("电压终值"), 30, "10"),
         voltage("TimingVoltage", qsTr("计时电压"), 49, "100"),
         voltageSlip],
        [{ key: "SlipBegin", label: qsTr("滑差始值"), unit: "V/s", max: 1000, value: 1, quick1: "0.1", quick2: "0.5" },
         { key: "SlipEnd", label: qsTr("滑差终值"), unit: "V/s", max: 1000, value: 5, quick1: "10", quick2: "50" },
         { key: "SlipStep", label: qsTr("滑差步长"), unit: "V/s", max: 1000, value: 1, quick1: "0.1", quick2: "0.5" },
         voltage("VoltageBegin", qsTr("电压始值"), 57.735, "100"), voltage("VoltageEnd", qsTr("电压终值"), 30, "10")],
        [{ key: "CurrentBegin", label: qsTr("电流始值"), unit: "A", max: 265, device: "I", value: 5, quick1: "0.5",
           rated: "I", quick2: "10" },
         { key: "CurrentEnd", label: qsTr("电流终值"), unit: "A", max: 265, device: "I", value: 1, quick1: "0.5",
           rated: "I", quick2: "10" },
         { key: "CurrentStep", label: qsTr("电流步长"), unit: "A/s", max: 265, device: "I", value: 1, quick1: "0.1",
           rated: "I", quick2: "0.5" },
         voltage("VoltageBegin", qsTr("电压始值"), 57.735, "100"),
         { key: "VoltageEnd", label: qsTr("电压终值"), unit: "V", max: 265, value: 30, quick1: "57.735", quick2: "10" },
         Object.assign({}, voltageSlip, { max: 265, device: "V", rated: "V" })]]
}

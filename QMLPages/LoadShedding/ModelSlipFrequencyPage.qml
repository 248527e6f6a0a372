import QtQuick 2.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewSlipFrequencyModel 1.0

// The under-frequency load-shedding test page: five items on a frequency
// slide (action frequency, action time, df/dt blocking, low-current and
// voltage blocking), up to 8 points.
LoadSheddingPage {
    id: page

    viewModel: viewSlipFrequencyModel
    testType: ViewBaseModel.TEST_SLIP_FREQUENCY
    fileModule: "SlipFrequency_"

    ViewSlipFrequencyModel {
        id: viewSlipFrequencyModel
    }

    // A slide begins and ends at frequencies an output gives.
    readonly property var frequencyBegin: ({ key: "FrequencyBegin", label: qsTr("频率始值"), unit: "Hz",
                                             min: viewSlipFrequencyModel.minOutputFrequency,
                                             max: viewSlipFrequencyModel.maxOutputFrequency,
                                             value: 50, quick1: "50", quick2: "100" })
    readonly property var frequencyEnd: ({ key: "FrequencyEnd", label: qsTr("频率终值"), unit: "Hz",
                                           min: viewSlipFrequencyModel.minOutputFrequency,
                                           max: viewSlipFrequencyModel.maxOutputFrequency,
                                           value: 45, quick1: "50", quick2: "100" })
    readonly property var frequencySlip: ({ key: "FrequencySlip", label: qsTr("频率滑差"), unit: "Hz/s", max: 1000,
                                            value: 0.1, quick1: "0.1", quick2: "0.5" })
    // The blocking panels offer their slip with other quick values.
    readonly property var blockingSlip: ({ key: "FrequencySlip", label: qsTr("频率滑差"), unit: "Hz/s", max: 1000,
                                           value: 45, quick1: "50", quick2: "100" })

    itemRows: [[{ item: ViewSlipFrequencyModel.ITEM_ACTION_FREQUENCY, text: qsTr("动作频率") },   // action frequency
                { item: ViewSlipFrequencyModel.ITEM_ACTION_TIME, text: qsTr("动作时间") },        // action time
                { item: ViewSlipFrequencyModel.ITEM_FREQUENCY_SLIP, text: qsTr("频率滑差") }],    // df/dt blocking
               [{ item: ViewSlipFrequencyModel.ITEM_LOW_I_LOCK, text: qsTr("低流闭锁") },         // low-current blocking
                { item: ViewSlipFrequencyModel.ITEM_V_LOCK, text: qsTr("电压闭锁") }]]            // voltage blocking

    fields: [
        [Object.assign({}, frequencyBegin), Object.assign({}, frequencyEnd, { value: 50 }),
         { key: "FrequencyStep", label: qsTr("频率步长"), unit: "Hz", max: 265, value: 1, quick1: "10", quick2: "50" },
         frequencySlip],
        [Object.assign({}, frequencyBegin), Object.assign({}, frequencyEnd, { value: 50 }),
         { key: "TimingFrequency", label: qsTr("计时频率"), unit: "Hz",
           max: viewSlipFrequencyModel.maxOutputFrequency, value: 49, quick1: "50", quick2: "100" },
         frequencySlip],
        [{ key: "SlipBegin", label: qsTr("滑差始值"), unit: "Hz/s", max: 1000, value: 1, quick1: "10", quick2: "20" },
         { key: "SlipEnd", label: qsTr("滑差终值"), unit: "Hz/s", max: 1000, value: 5, quick1: "10", quick2: "20" },
         { key: "SlipStep", label: qsTr("滑差步长"), unit: "Hz/s", max: 1000, value: 1, quick1: "0.1", quick2: "10" },
         frequencyBegin, frequencyEnd],
        [{ key: "CurrentBegin", label: qsTr("电流始值"), unit: "A", max: 265, device: "I", value: 5, quick1: "0.5",
           rated: "I", quick2: "10" },
         { key: "CurrentEnd", label: qsTr("电流终值"), unit: "A", max: 265, device: "I", value: 1, quick1: "0.5",
           rated: "I", quick2: "10" },
         { key: "CurrentStep", label: qsTr("电流步长"), unit: "A", max: 265, device: "I", value: 1, quick1: "0.1",
           rated: "I", quick2: "0.5" },
         frequencyBegin, frequencyEnd, blockingSlip],
        [{ key: "VoltageBegin", label: qsTr("电压始值"), unit: "V", max: 265, device: "V", value: 57.735,
           quick1: "57.735", rated: "V", quick2: "100" },
         { key: "VoltageEnd", label: qsTr("电压终值"), unit: "V", max: 265, device: "V", value: 30, quick1: "57.735",
           rated: "V", quick2: "100" },
         { key: "VoltageStep", label: qsTr("电压步长"), unit: "V", max: 265, device: "V", value: 1, quick1: "0.5",
           rated: "V", quick2: "10" },
         frequencyBegin, frequencyEnd, blockingSlip]]
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewDistanceModel 1.0

// What the idle distance page offers: "开始" only with points (also after a
// temperature notice), the phasor rows and the UX block by the voltage
// phases, the fields by calculation mode and compensation form, the limits
// from the device, a fault that cannot be calculated, the enlarged list.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_DISTANCE
        pageSource: "qrc:/QMLPages/Distance/ModelDistancePage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "DistancePageLayout"
        harness: harness

        // I-constant at 2 Ω: an edit point that can be calculated.
        function init() {
            idlePage()
            model.setDistanceKind(0)
            model.setFaultZRange(2)
            for (var k = 0; k < 4; ++k)
                model.setFactorChecked(k, false)
            page.updateControlValue()
            if (page.resultList.collapsed)
                tap("resultTitleButton")
            tap("pointTabButton")
        }

        function cleanupTestCase() {
            harness.systemModel.setVoltagePhasesType(0)
        }

        function showWithPhases(voltageFour) {
            hidePage()
            harness.systemModel.setVoltagePhasesType(voltageFour ? 1 : 0)
            showPage()
        }

        // A temperature notice the page takes (a change of the power stage's
        // temperature, below the resume threshold).
        function waitTemperatureNotice(degC) {
            var seen = false
            var onData = function(type) { if (type === ViewBaseModel.DATA_TYPE_RT_TEMP) seen = true }
            model.sigUpdateDataToView.connect(onData)
            pageBench.setAmplifierTemperature(degC)
            tryVerify(function() { return seen }, 30000, "temperature notice")
            model.sigUpdateDataToView.disconnect(onData)
            verify(model.getRunEnabled())
        }

        function test_startNeedsAPoint() {
            tap("clearButton")
            verify(!control("startButton").enabled)
            // A start that reaches the model anyway sends nothing.
            harness.exitHistory = []
            verify(!model.testStart())
            compare(harness.exitHistory, [])
            waitTemperatureNotice(30)
            verify(!control("startButton").enabled)
            tap("addButton")
            verify(control("startButton").enabled)
            compare(control("headerCell0").text, "1")
            waitTemperatureNotice(25)
            verify(control("startButton").enabled)
        }

        function test_phasorRowsByVoltagePhases_data() {
            return [
                { tag: "four", four: true, rows: ["UA", "UB", "UC", "UX", "IA", "IB", "IC"] },
                { tag: "three", four: false, rows: ["UA", "UB", "UC", "IA", "IB", "IC"] },
            ]
        }
        function test_phasorRowsByVoltagePhases(data) {
            showWithPhases(data.four)
            var names = []
            for (var port = 0; port < 8; ++port) {
                var label = findChild(page, "phasor" + port + "_0")
                if (label)
                    names.push(label.text)
            }
            compare(names, data.rows)
            verify(!findChild(page, "phasorRow" + data.rows.length))
            compare(control("phasor4_1").text, model.getOutputRange(-1, 4).toFixed(3) + "A")
            tap("generalTabButton")
            compare(control("uxBlock").visible, data.four)
        }

        function test_compensationForms_data() {
            return [
                { tag: "KL", kind: 0, labels: ["KL幅值", "KL角度"], unit: "°" },
                { tag: "RE/RL", kind: 1, labels: ["RE/RL", "XE/XL"], unit: "" },
                { tag: "Z0/Z1", kind: 2, labels: ["Z0/Z1幅值", "Z0/Z1角度"], unit: "°" },
            ]
        }
        function test_compensationForms(data) {
            tap("generalTabButton")
            choose("repairKindBox", data.kind)
            compare(model.getRepairKind(), data.kind)
            var first = control("repairFactor1Box")
            var second = control("repairFactor2Box")
            compare([first.parent.label, second.parent.label], data.labels)
            compare([first.unit, second.unit], ["", data.unit])
            choose("repairKindBox", 0)
        }

        function test_faultFieldByMode_data() {
            return [
                { tag: "I constant", kind: 0, voltage: false, current: true, shown: 0 },
                { tag: "V constant", kind: 1, voltage: true, current: false, shown: 1 },
                { tag: "Z constant (stored)", kind: 2, voltage: false, current: false, shown: -1 },
            ]
        }
        function test_faultFieldByMode(data) {
            tap("generalTabButton")
            if (data.kind < 2)
                choose("distanceKindBox", data.kind)
            else
                page.applyAndReload(model.setDistanceKind, 2)
            compare(model.getDistanceKind(), data.kind)
            compare(control("faultVoltageBox").parent.visible, data.voltage)
            compare(control("faultCurrentBox").parent.visible, data.current)
            compare(control("distanceKindBox").currentIndex, data.shown)
            choose("distanceKindBox", 0)
        }

        function test_limitsAndQuickValuesFromTheDevice() {
            var maxV = model.getDeviceAOVMaxRange()
            var maxI = model.getDeviceAOIMaxRange()
            var text = function(v) { return v.toFixed(3) }
            var rows = [
                // field, max, quick 1, quick 2
                ["faultVoltageBox", maxV, text(model.getRateVRange()), text(maxV)],
                ["faultCurrentBox", maxI, text(model.getRateIRange() / 10), text(maxI)],
                ["loadCurrentBox", maxI, text(model.getRateIRange() / 10), text(maxI)],
                ["uxRangeBox", maxV, text(model.getRateVRange()), text(maxV)],
            ]
            for (var i = 0; i < rows.length; ++i) {
                var box = control(rows[i][0])
                compare([box.dataMax, box.quick1Value, box.quick2Value], rows[i].slice(1), rows[i][0])
            }
            // Clamped to the device's maximum.
            tap("generalTabButton")
            enter("loadCurrentBox", String(maxI + 5))
            compare(model.getLoadCurrent(), maxI)
            enter("loadCurrentBox", "0")
        }

        // V-constant at |Z| 0 cannot be calculated: the outputs stay as they
        // were, "添加" adds nothing, and the model's message shows.
        function test_aFaultThatCannotBeCalculated() {
            tap("clearButton")
            tap("generalTabButton")
            choose("distanceKindBox", 1)
            tap("pointTabButton")
            var phasors = control("phasor4_1").text + control("phasor0_1").text
            enter("zRangeBox", "0")
            var message = "故障无法计算，输出值未改变：请检查短路阻抗和计算模型。"
            answerMessage(message)
            compare(control("phasor4_1").text + control("phasor0_1").text, phasors)
            tap("addButton")
            answerMessage(message)
            compare(model.getPointsCount(), 0)
            verify(!control("startButton").enabled)
        }

        // The enlarged list: no upper part, taller rows, from row 5 the
        // selection scrolls to the bottom; kept over a hide and show.
        function test_enlargedList() {
            tap("clearButton")
            for (var k = 0; k < 4; ++k) {
                if (!control("factorCheck" + k).checked)
                    tap("factorCheck" + k)
            }
            tap("addButton")
            tap("addButton")
            compare(model.getPointsCount(), 8)
            tap("resultTitleButton")
            verify(!control("upperPart").visible)
            compare(control("resultRow0").height, 42)
            var view = page.resultList.view
            tryVerify(function() { return findChild(page, "rowArea4") !== null }, 5000, "row 4 in view")
            mouseClick(control("rowArea4"))
            compare(model.getActiveIndex(), 4)
            compare(view.contentY, 0)
            page.selectRow(7)                                  // the tap on a row out of view
            compare(model.getActiveIndex(), 7)
            compare(view.contentY + view.height, 8 * 42)
            hidePage()
            showPage()
            verify(page.resultList.collapsed)
            tap("resultTitleButton")
            verify(control("upperPart").visible)
            view.positionViewAtBeginning()
            tryVerify(function() { return findChild(page, "resultRow0") !== null }, 5000, "row 0 in view")
            compare(control("resultRow0").height, 32)
        }
    }
}

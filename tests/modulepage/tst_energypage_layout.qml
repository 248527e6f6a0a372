import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewEnergyModel 1.0

// What the idle energy-meter page offers: "Start" only with points (also
// after a temperature notice), the units by meter kind, "Angle" and "Cos φ"
// only where the meter kind has a phase angle, the phasor rows by the
// voltage phases.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_ENERGY
        pageSource: "qrc:/QMLPages/Energy/ModelEnergyPage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "EnergyPageLayout"
        harness: harness

        function init() {
            idlePage()
            if (page.resultList.collapsed)
                tap("resultTitleButton")
            tap("pointTabButton")
        }

        function cleanupTestCase() {
            model.setMeterKind(ViewEnergyModel.Power_Active)
            harness.systemModel.setVoltagePhasesType(0)
        }

        function test_phasorRowsByVoltagePhases_data() {
            return [
                { tag: "four", four: 1, rows: ["UA", "UB", "UC", "UX", "IA", "IB", "IC"] },
                { tag: "three", four: 0, rows: ["UA", "UB", "UC", "IA", "IB", "IC"] },
            ]
        }

        function test_phasorRowsByVoltagePhases(row) {
            hidePage()
            harness.systemModel.setVoltagePhasesType(row.four)
            showPage()
            var names = []
            for (var i = 0; i < 8; ++i) {
                var cell = findChild(page, "phasorRow" + i)
                if (cell)
                    names.push(findChild(cell, "phasor" + cell.port + "_0").text)
            }
            compare(names, row.rows)
            enter("angleBox", "60")
            compare(control("phasor4_2").text, "-60.000°")
        }

        function test_startNeedsAPoint() {
            tap("clearButton")
            compare(control("headerCell0").text, "")
            verify(!control("startButton").enabled)
            waitTemperatureNotice(30)
            verify(!control("startButton").enabled)
            tap("addButton")
            verify(control("startButton").enabled)
            compare(control("headerCell0").text, "1")
            waitTemperatureNotice(25)
            verify(control("startButton").enabled)
        }

        // Numbers read as in the report whatever the language: "1500W", not "1,500W".
        function test_numbersWithoutGroupSeparator() {
            tap("clearButton")
            enter("voltageLNBox", "100")
            enter("currentBox", "5")
            tap("addButton")
            var power = model.getGivenCount(0)
            verify(power >= 1000, power)
            compare(control("cell0_1").text, power.toFixed(0) + page.powerUnit)
            tap("generalTabButton")
            enter("secondaryPulseBox", "3600")
            compare(control("secondaryPulseBox").text, "3600")
        }

        function test_unitsAndFieldsByMeterKind_data() {
            return [
                { tag: "active", kind: 0, power: "W", energy: "Wh", quantity: "kWh", angle: true },
                { tag: "reactive", kind: 1, power: "Var", energy: "Varh", quantity: "kVarh", angle: true },
                { tag: "apparent", kind: 2, power: "Va", energy: "Vah", quantity: "kVah", angle: false },
            ]
        }

        function test_unitsAndFieldsByMeterKind(row) {
            tap("clearButton")
            tap("addButton")
            tap("generalTabButton")
            choose("meterKindBox", row.kind)
            compare(model.getMeterKind(), row.kind)
            compare([control("secondaryPulseBox").unit, control("primaryPulseBox").unit],
                    ["imp/" + row.quantity, "imp/k" + row.quantity])
            tap("pulseTabButton")
            compare(control("pulseConstBox").unit, "imp/" + row.quantity)
            tap("pointTabButton")
            compare([control("angleBox").enabled, control("factorBox").enabled], [row.angle, row.angle])
            var power = control("cell0_1").text
            var energy = control("cell0_5").text
            compare(power.slice(power.length - row.power.length), row.power, power)
            verify(/^[0-9]/.test(power.slice(power.length - row.power.length - 1)), power)
            compare(energy.slice(energy.length - row.energy.length), row.energy, energy)
            verify(/^[0-9]/.test(energy.slice(energy.length - row.energy.length - 1)), energy)
        }
    }
}

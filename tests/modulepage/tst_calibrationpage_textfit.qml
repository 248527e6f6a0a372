import QtQuick 2.15
import QtTest 1.15
import ZOR.TextFit 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewCalibrationModel 1.0

// Every text of the calibration page whole and apart, on each kind's panel,
// every panel at the size of the first, with four-phase outputs and the
// auxiliary DC set by value (every cell and kind shown), in the language the
// file runs in (CMakeLists.txt runs it in Chinese, English and Portuguese);
// and the check finds on its probe each way a text fails to stand apart, is
// drawn too small or is hidden.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_CALIBRATION
        pageSource: "qrc:/QMLPages/Calibration/ModelSystemCalPage.qml"
        relays: "none"
    }

    Loader {
        id: probe
        z: 1
        active: false
        source: Qt.resolvedUrl("../qml/TextFitRowsProbe.qml")
    }

    ModulePageTestCase {
        name: "CalibrationPageTextFit"
        harness: harness

        readonly property var sys: harness.systemModel
        // The size the first panel's texts are drawn in.
        property int panelSize: 0

        function init() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            if (harness.pageArea.visible)
                return
            sys.setVoltagePhasesType(ViewBaseModel.PHASES_TYPE_FOUR)
            sys.setCurrentPhasesType(ViewBaseModel.PHASES_TYPE_FOUR)
            sys.setDevicePowerAmpType(0)
            sys.setDeviceAuxDCType(1)
            harness.pageArea.visible = true
            tryCompare(page, "visible", true)
        }

        function test_panels_data() {
            var K = ViewCalibrationModel
            return [
                { tag: "low-level offset", group: "groupLowLevel", kind: K.CAL_TYPE_LLODCO },
                { tag: "low-level amplitude", group: "groupLowLevel", kind: K.CAL_TYPE_LLOAMP },
                { tag: "low-level DC", group: "groupLowLevel", kind: K.CAL_TYPE_LLODC },
                { tag: "AC offset", group: "groupPower", kind: K.CAL_TYPE_ACDCO },
                { tag: "AC amplitude", group: "groupPower", kind: K.CAL_TYPE_ACAMP },
                { tag: "AC phase", group: "groupPower", kind: K.CAL_TYPE_ACPHA },
                { tag: "AC frequency", group: "groupPower", kind: K.CAL_TYPE_ACFRQ },
                { tag: "amplitude against frequency", group: "groupPower", kind: K.CAL_TYPE_ACFAC },
                { tag: "DC amplitude", group: "groupPower", kind: K.CAL_TYPE_DCAMP },
                { tag: "auxiliary DC", group: "groupPower", kind: K.CAL_TYPE_AUXDC }
            ]
        }

        function test_panels(data) {
            tap(data.group)
            tap("kind" + data.kind)
            var panel = control("panel" + data.kind)
            tryCompare(panel, "visible", true)
            waitForRendering(page)
            compare(TextFit.misfits(page).join("\n"), "")
            if (panelSize === 0)
                panelSize = panel.layout.size
            compare(panel.layout.size, panelSize, "drawn smaller than the first panel")
        }

        // The texts the probe means to fail, and none of those that fit.
        function test_probe() {
            probe.active = true
            tryCompare(probe, "status", Loader.Ready)
            waitForRendering(probe.item)
            var failed = {}
            var lines = TextFit.misfits(probe.item)
            for (var i = 0; i < lines.length; ++i)
                failed[lines[i].split("\"")[1]] = true
            compare(Object.keys(failed).sort().join(", "),
                    "hidden edge, run, shrunk alone, shrunk text, tiny, together, touching, under the bar",
                    lines.join("\n"))
            probe.active = false
        }
    }
}

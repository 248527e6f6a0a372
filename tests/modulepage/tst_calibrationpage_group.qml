import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewCalibrationModel 1.0

// The calibration page's output groups on the simulated instrument: after a
// switch to the low-level outputs the engine's notices (which copy the
// engine's kind and cells into the page's model) leave the low-level kind
// shown, and "开始" runs the low-level cell ticked.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_CALIBRATION
        pageSource: "qrc:/QMLPages/System/ModelSettingsPage.qml"
        relays: "none"
    }

    SignalSpy {
        id: notices
        target: testCase.calModel
        signalName: "sigUpdateDataToView"
    }

    ModulePageTestCase {
        id: testCase
        name: "CalibrationPageGroup"
        harness: harness

        readonly property var settings: harness.page
        readonly property var cal: settings ? settings.calibrationSlot.item : null
        readonly property var calModel: cal ? cal.viewModel : null
        property real temperature: 25

        // Waits for an engine notice (a new amplifier temperature brings one).
        function notice() {
            notices.clear()
            temperature += 1
            pageBench.setAmplifierTemperature(temperature)
            tryVerify(function() { return notices.count > 0 }, 30000, "an engine notice")
        }

        function test_lowLevelCellRunsAfterTheGroupSwitch() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            harness.pageArea.visible = true
            tryCompare(settings, "visible", true)
            settings.passwordDialog.open()
            settings.passwordDialog.accept("58302914")
            tryCompare(cal, "visible", true)

            tap("groupLowLevel")
            notice()
            tap("cell" + ViewCalibrationModel.CAL_TYPE_LLOAMP + "_0_0")
            notice()
            tap("startButton")
            tryVerify(function() { return calModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0 }, 30000,
                      "the run started")
            compare(calModel.getCurrentCalType(), ViewCalibrationModel.CAL_TYPE_LLOAMP)
            compare(calModel.getCurrentPortIndex(), 0)
            cal.saveClicked()
            tryVerify(function() { return calModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) === 0 }, 30000)
            tryCompare(cal.messageDialog, "opened", true)
            mouseClick(popupButton(cal.messageDialog, "rejectButton"))
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewCalibrationModel 1.0

// Calibration runs from the page inside the settings page, on the simulated
// instrument: the page behind its access code, a whole AC amplitude run with the meter's
// readings typed in and saved, a run whose coefficients are thrown away, the
// stop by "保存" and by leaving the page, and the start held back by a hot
// amplifier.
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

    ModulePageTestCase {
        id: testCase
        name: "CalibrationPageRun"
        harness: harness

        readonly property var settings: harness.page
        readonly property var cal: settings ? settings.calibrationSlot.item : null
        readonly property var calModel: cal ? cal.viewModel : null
        readonly property string calFile: pageBench.appPath("dat/calacamp.xml")

        function openCalibration() {
            if (!harness.pageArea.visible) {
                harness.pageArea.visible = true
                tryCompare(settings, "visible", true)
            }
            if (settings.calibrationSlot.visible)
                return
            // Only the calibration code opens the page.
            settings.passwordDialog.open()
            settings.passwordDialog.accept("12345678")
            compare(settings.calibrationSlot.visible, false)
            settings.passwordDialog.accept("58302914")
            tryCompare(settings.calibrationSlot, "visible", true)
            tryCompare(cal, "visible", true)
            compare(calModel.getTestActiveType(), ViewBaseModel.TEST_CALIBRATION)
        }

        function calRunning() {
            return calModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
        }

        function waitCalRunning(on) {
            tryVerify(function() { return calRunning() === on }, 30000, "engine running " + on)
            tryCompare(cal, "running", on, 30000)
        }

        // The question or notice of the page's message dialog, answered.
        function answer(text, accept) {
            var dialog = cal.messageDialog
            tryCompare(dialog, "opened", true, 30000)
            compare(dialog.content, text)
            mouseClick(popupButton(dialog, accept ? "acceptButton" : "rejectButton"))
            tryCompare(dialog, "opened", false)
        }

        function typeInto(box, text) {
            mouseClick(box)
            tryCompare(harness.numberPanel, "opened", true)
            for (var i = 0; i < text.length; ++i)
                panelKey(keyName(text[i]))
            panelKey("keyConfirm")
            tryCompare(harness.numberPanel, "opened", false)
        }

        // Answers the open measure dialog (the reading typed in, or the
        // pre-filled value) and waits until it has closed.
        function measure(reading) {
            var dialog = cal.measureDialog
            tryCompare(dialog, "opened", true, 30000)
            if (reading !== undefined)
                typeInto(dialog.measureBox, reading)
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
        }

        // The kind and cells of a run, only these.
        function choose(kind, cells) {
            tap("kind" + kind)
            compare(cal.currentKind, kind)
            for (var port = 0; port < 8; ++port) {
                for (var level = 0; level < 2; ++level) {
                    var want = cells.indexOf(port * 2 + level) >= 0
                    var box = control("cell" + kind + "_" + port + "_" + level)
                    if (box.visible && box.checked !== want)
                        tap(box.objectName)
                    compare(calModel.getCurrentSelected(kind, port, level), want)
                }
            }
        }

        function init() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            verify(harness.ready, "relays not wired: " + pageBench.relayErrors())
            pageBench.setAmplifierTemperature(25)
            openCalibration()
            if (cal.messageDialog.opened)
                cal.messageDialog.close()
            cal.measureDialog.close()
            if (calRunning() || cal.locked) {
                cal.saveClicked()
                waitCalRunning(false)
                answer("是否需要保存校准系数？", false)
            }
        }

        function test_2_wholeRunSaved() {
            choose(ViewCalibrationModel.CAL_TYPE_ACAMP, [0, 9])       // UA-L0, IA-L1
            tap("startButton")
            // Only asked: the dialog waits for the engine's running notice.
            compare(cal.measureDialog.opened, false)
            verify(cal.locked)
            waitCalRunning(true)
            var expected = [[3.6, "V"], [6, "V"], [12, "V"], [24, "V"], [2.5, "A"], [4, "A"], [8, "A"], [16, "A"]]
            var readings = ["3.5", "5.9"]
            for (var i = 0; i < expected.length; ++i) {
                var dialog = cal.measureDialog
                tryCompare(dialog, "opened", true, 30000)
                compare(dialog.pointBox.dataValue, expected[i][0], "point " + i)
                compare(dialog.pointBox.unit, expected[i][1])
                compare(dialog.measureBox.unit, expected[i][1])
                compare(dialog.measureBox.dataMax, expected[i][1] === "V" ? 300 : 30)
                compare(dialog.measureBox.dataMin, expected[i][1] === "V" ? -300 : -30)
                compare(dialog.measureBox.dataValue, expected[i][0], "pre-filled " + i)
                // Every control but the stop waits for the end of the run.
                verify(!control("kind2").enabled)
                verify(!control("cell1_4_0").enabled)
                verify(!control("loadButton").enabled)
                verify(!control("exportButton").enabled)
                verify(control("saveButton").enabled)
                measure(readings[i])
            }
            // The last switch ends the run; one question, the last notice opens nothing.
            waitCalRunning(false)
            tryCompare(cal.messageDialog, "opened", true, 30000)
            compare(cal.messageDialog.content, "是否需要保存校准系数？")
            wait(300)
            compare(cal.measureDialog.opened, false)
            answer("是否需要保存校准系数？", true)
            answer("已保存的校准点：UA-L0; IA-L1", true)
            verify(pageBench.fileExists(calFile))
            fuzzyCompare(pageBench.driverAcampFactor(0, 0, 1), 1.0, 1e-5)
            fuzzyCompare(pageBench.driverAcampOffset(0, 0, 1), 0.1, 1e-5)
            fuzzyCompare(pageBench.driverAcampFactor(0, 0, 0), 3.6 / 3.5, 1e-5)
            fuzzyCompare(pageBench.driverAcampFactor(4, 1, 2), 1.0, 1e-5)
        }

        function test_3_cancelledRunReloads() {
            var stored = pageBench.readFile(calFile)
            verify(stored !== "")
            choose(ViewCalibrationModel.CAL_TYPE_ACAMP, [0])
            tap("startButton")
            waitCalRunning(true)
            for (var i = 0; i < 4; ++i)
                measure("3")
            waitCalRunning(false)
            answer("是否需要保存校准系数？", false)
            wait(300)
            compare(pageBench.readFile(calFile), stored)
            fuzzyCompare(pageBench.driverAcampFactor(0, 0, 1), 1.0, 1e-5)
            fuzzyCompare(pageBench.driverAcampOffset(0, 0, 1), 0.1, 1e-5)
        }

        // "保存" during a run asks at once; the stop's own notice asks
        // nothing, even after the answer.
        function test_4_saveStopsAndAsksOnce() {
            choose(ViewCalibrationModel.CAL_TYPE_ACAMP, [0])
            tap("startButton")
            waitCalRunning(true)
            tryCompare(cal.measureDialog, "opened", true, 30000)
            cal.measureDialog.close()                    // as if the dialog were moved aside
            tap("saveButton")
            compare(cal.running, false)
            answer("是否需要保存校准系数？", false)
            waitCalRunning(false)
            tryVerify(function() { return !pageBench.outputPlaying() }, 30000, "instrument stopped")
            wait(500)
            compare(cal.messageDialog.opened, false)
            compare(cal.measureDialog.opened, false)
        }

        // Leaving the page stops the run, asks nothing and reloads the kind.
        function test_5_leavingStopsTheRun() {
            var stored = pageBench.readFile(calFile)
            choose(ViewCalibrationModel.CAL_TYPE_ACAMP, [0])
            tap("startButton")
            waitCalRunning(true)
            measure("1")
            settings.goBack()
            compare(settings.calibrationSlot.visible, false)
            tryVerify(function() { return !calRunning() }, 30000, "run stopped")
            tryVerify(function() { return !pageBench.outputPlaying() }, 30000, "instrument stopped")
            wait(300)
            compare(cal.messageDialog.opened, false)
            compare(cal.measureDialog.opened, false)
            compare(pageBench.readFile(calFile), stored)
            fuzzyCompare(pageBench.driverAcampOffset(0, 0, 1), 0.1, 1e-5)
        }

        // A hot amplifier holds the start back until the temperature notice
        // says it cooled; a kind without a cell has no start.
        function test_6_startEnabling() {
            choose(ViewCalibrationModel.CAL_TYPE_ACAMP, [])
            verify(!control("startButton").enabled)
            choose(ViewCalibrationModel.CAL_TYPE_ACAMP, [0])
            verify(control("startButton").enabled)
            pageBench.setAmplifierTemperature(calModel.getDeviceTResume())
            tryVerify(function() { return !control("startButton").enabled }, 30000, "disabled while hot")
            verify(!calModel.getRunEnabled())
            pageBench.setAmplifierTemperature(25)
            tryVerify(function() { return control("startButton").enabled }, 30000, "enabled when cooled")
        }

        // A save that could not write the kind's file says so.
        function test_7_failedSaveIsShown() {
            verify(pageBench.blockFile(calFile, true))
            tap("kind" + ViewCalibrationModel.CAL_TYPE_ACAMP)
            tap("saveButton")
            answer("是否需要保存校准系数？", true)
            answer("校准系数保存失败：calacamp.xml", true)
            verify(pageBench.blockFile(calFile, false))
        }
    }
}

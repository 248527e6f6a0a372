import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// A harmonic test driven from the page on the simulated instrument: manual
// steps of IA's 2nd harmonic until the second-harmonic relay trips, the
// stepping keys by mode and run state, a run stopped without a trip, a start
// the hot power stage refuses, and the file dialog's messages.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_HARMONIC
        pageSource: "qrc:/QMLPages/Harmonic/ModelHarmonicPage.qml"
        relays: "harmonic:channel=IA,share=14,delay=1.05,input=1"
    }

    ModulePageTestCase {
        name: "HarmonicPageRun"
        harness: harness

        function init() {
            idlePage()
        }

        function setAuto(on) {
            if (control("autoCheck").checked !== on)
                tap("autoCheck")
            compare(model.getAutoRampEnabled(), on)
        }

        function steppingKeys() {
            return [control("plusButton").enabled, control("minusButton").enabled]
        }

        // The functions run in name order; each leaves the page idle.
        function test_1_manualStepsOfTheSecondHarmonicTripTheRelay() {
            setAuto(false)
            choose("variableBox", comboTexts("variableBox").indexOf("IA"))
            choose("rampOrderBox", 1)                  // the 2nd harmonic
            enter("stepBox", "0.05")
            compare(resultText("resultField"), "未测试")
            compare(steppingKeys(), [false, false])    // idle, manual: nothing to step

            tap("startButton")
            waitRunning(true)
            tryVerify(function() { return control("plusButton").enabled }, 30000, "+ enabled while running")
            compare(steppingKeys(), [true, true])
            verify(model.getRunEnabled())
            tryCompare(control("resultField"), "text", "测试中", 30000)
            for (var i = 0; i < 3; ++i)
                tap("plusButton")
            // "动作停止": the trip ends the test, judged against 1 s ± 0.1 s.
            waitRunning(false)
            tryCompare(control("actionValueField"), "text", "0.150 A", 30000)
            verify(/^1\.05\ds$/.test(resultText("actionTimeField")), resultText("actionTimeField"))
            compare(resultText("inputField"), "2")
            compare(resultText("resultField"), "通过")
            // The slot's settings from before the run.
            tap("nextOrderButton")
            compare(control("range4").text, "0.000")
            tap("prevOrderButton")
            compare(pageBench.violationText(), "")
        }

        function test_2_automaticKeysAndARunWithoutTrip() {
            setAuto(true)
            compare(steppingKeys(), [true, true])      // idle, automatic: they start the ramp
            verify(!control("stopCheck").enabled)
            setAuto(false)
            compare(steppingKeys(), [false, false])

            verifyStartShowsNoOldResult(/^(actionValue|actionTime|input|result)Field$/)
            tap("stopButton")
            waitRunning(false)
            // Stopped without a trip: not tested.
            compare(resultText("resultField"), "未测试")
            compare(resultText("actionValueField"), "")
            compare(resultText("inputField"), "")
            verify(harness.exitEnabled)
        }

        function test_3_hotPowerStageRefusesTheStart() {
            pageBench.setAmplifierTemperature(model.getDeviceTResume() + 10)
            tryVerify(function() { return !control("startButton").enabled }, 30000, "start disabled while hot")
            // A start that reaches the model anyway is refused: the page stays idle.
            page.startClicked()
            answerMessage("功放温度过高，请待其冷却后再开始试验。")
            verify(!page.running)
            verify(!isRunning())
            compare(resultText("resultField"), "未测试")
            setAuto(true)
            compare(steppingKeys(), [false, false])
            page.startClicked()                             // the ramp's "+" is held back first
            verify(!page.running)
            pageBench.setAmplifierTemperature(25)
            tryVerify(function() { return control("startButton").enabled }, 30000, "start enabled again")
            setAuto(false)
        }

        function test_4_fileDialogMessages() {
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "Harmonic_")
            dialog.nameBox.text = "hm_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            dialog = openFile("reportMode")
            dialog.nameBox.text = "hm_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存报告成功！")
            var report = model.getRootPath() + "/report/" + harness.folder + "/hm_run.htm"
            verify(pageBench.readFile(report).indexOf(">RMS<") >= 0, "the output table")

            enter("range0", "20")
            dialog = openFile("loadMode")
            dialog.fileBox.currentIndex = model.getParmFileList().indexOf("hm_run.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(control("range0").text, "57.735")
        }
    }
}

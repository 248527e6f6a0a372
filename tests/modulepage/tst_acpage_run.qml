import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// A manual AC test driven from the page on the simulated instrument: outputs
// typed in, start, a step that makes the threshold relay on IA trip, the
// result shown, stop; then the run's parameters and report through the file
// dialog, the start held back while the power stage is hot, and a start the
// engine refuses.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_ALTERNATE
        pageSource: "qrc:/QMLPages/AC/ModelAlternatePage.qml"
        relays: "threshold:channel=IA,pickup=4.5,delay=2,dropoff=0.95,input=0"
    }

    ModulePageTestCase {
        name: "AcPageRun"
        harness: harness

        function init() {
            idlePage()
        }

        // The functions run in name order; the second one works on the
        // result the first one leaves.
        function test_1_manualStepTripsTheRelayAndStopRestoresTheOutputs() {
            // Manual mode: IA stepped by 1 A, the output goes on after a trip.
            if (control("autoCheck").checked)
                tap("autoCheck")
            compare(model.getAutoRampEnabled(), false)
            var groups = comboTexts("variableBox")
            compare(groups.length, 14)                  // a three-phase unit
            choose("variableBox", groups.indexOf("IA"))
            choose("itemBox", 0)
            compare(comboTexts("modeBox"), ["动作停止", "持续输出"])
            choose("modeBox", 1)
            compare(model.getFaultActionType(), ViewBaseModel.ACTION_TYPE_CONTINUE)
            enter("stepBox", "1")
            compare(model.getRampStepValue(), 1)
            compare(control("stepBox").unit, "A")

            // IA 4 A, below the relay's pick-up.
            enter("range4", "4")
            compare(model.getOutputRange(4), 4)
            compare(control("range4").text, "4.000")

            // Idle in manual mode: nothing to step yet.
            verify(!control("plusButton").enabled)
            verify(!control("minusButton").enabled)
            verify(control("startButton").enabled)
            harness.exitHistory = []

            tap("startButton")
            waitRunning(true)
            // The exit is held from the start until the engine reports the run.
            tryCompare(harness, "exitEnabled", true, 30000)
            compare(harness.exitHistory[0], false)
            verify(model.getExitEnabled())
            verify(control("stopButton").visible)
            verify(!control("startButton").visible)
            verify(!control("fileButton").enabled)
            verify(!control("stepBox").enabled)
            verify(!control("variableBox").enabled)
            verify(!control("modeBox").enabled)
            verify(!control("autoCheck").enabled)
            verify(control("outputTable").enabled)       // manual: the outputs stay editable
            verify(control("calcButton").enabled)
            compare(resultText("actionValueField"), "")
            compare(resultText("actionTimeField"), "")

            tryVerify(function() { return Math.abs(pageBench.measuredRms(4) - 4) < 0.01 }, 30000, "IA plays 4 A")
            compare(pageBench.contactCloses(0), 0)
            tryVerify(function() { return control("plusButton").enabled }, 30000, "+ enabled while running")
            verify(control("minusButton").enabled)

            // One step up: 5 A, above the pick-up.
            tap("plusButton")
            compare(model.getOutputRange(4), 5)
            compare(control("range4").text, "5.000")
            tryVerify(function() { return Math.abs(pageBench.measuredRms(4) - 5) < 0.01 }, 30000, "IA plays 5 A")
            tryVerify(function() { return pageBench.contactCloses(0) === 1 }, 30000, "relay picked up")
            tryCompare(control("actionValueField"), "text", "5.000 A", 30000)
            verify(/^[0-9.]+m?s$/.test(resultText("actionTimeField")), resultText("actionTimeField"))
            tryCompare(control("biLamp0"), "on", true, 30000)
            // Continuous: the run goes on until the user stops it.
            verify(isRunning())
            verify(control("plusButton").enabled)

            tap("stopButton")
            waitRunning(false)
            // The outputs from before the run, the result kept.
            tryCompare(control("range4"), "text", "4.000", 30000)
            compare(model.getOutputRange(4), 4)
            compare(resultText("actionValueField"), "5.000 A")
            compare(model.getTestState(), 1)
            verify(control("startButton").visible)
            verify(control("fileButton").enabled)
            verify(!control("plusButton").enabled)
            verify(harness.exitEnabled)
            tryCompare(control("biLamp0"), "on", false, 30000)
            compare(pageBench.violationText(), "")
        }

        function test_2_parametersAndReportOfTheRun() {
            compare(resultText("actionValueField"), "5.000 A")
            var root = model.getRootPath()
            var parameters = root + "/parameters_bk/" + harness.folder + "/relay_run.xml"
            var report = root + "/report/" + harness.folder + "/relay_run.htm"

            // Parameters under a new name.
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "AC_")
            compare(page.messageDialog.rejectText, "")
            dialog.nameBox.text = "relay_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            verify(pageBench.fileExists(parameters))
            var stored = pageBench.readFile(parameters)
            verify(stored.indexOf("<testState>1</testState>") >= 0, "result stored")
            verify(/<port4>\s*<range>4<\/range>/.test(stored), "IA 4 A stored")

            // The report, then once more over the same name.
            dialog = openFile("reportMode")
            compare(dialog.nameBox.text, "AC_")
            dialog.nameBox.text = "relay_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存报告成功！")
            var html = pageBench.readFile(report)
            verify(html.indexOf(">IA<") >= 0, "ramped port in the report")
            verify(html.indexOf(">5.000A<") >= 0, "action value in the report")
            dialog = openFile("reportMode")
            dialog.nameBox.text = "relay_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("报告文件已存在, 确定要覆盖文件?", true)
            answerMessage("保存报告成功！")

            // IA changed, saved over the same name: asked, and "取消" keeps the file.
            enter("range4", "2")
            compare(model.getOutputRange(4), 2)
            dialog = openFile("parameterMode")
            dialog.nameBox.text = "relay_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("参数文件已存在, 确定要覆盖文件?", false)
            compare(page.msgType, "")
            verify(/<port4>\s*<range>4<\/range>/.test(pageBench.readFile(parameters)), "file kept")

            // Loaded back: IA 4 A and the stored result.
            dialog = openFile("loadMode")
            var files = model.getParmFileList()
            verify(files.indexOf("relay_run.xml") >= 0)
            dialog.fileBox.currentIndex = files.indexOf("relay_run.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(control("range4").text, "4.000")
            compare(model.getOutputRange(4), 4)
            compare(resultText("actionValueField"), "5.000 A")

            // A file holding a value beyond the page's limits (put in past the
            // number panel) loads it held to the limit, saying which.
            var ua = model.getOutputRange(0)
            model.setOutputRange(0, 1e308)
            dialog = openFile("parameterMode")
            dialog.nameBox.text = "beyond"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            model.setOutputRange(0, ua)
            dialog = openFile("loadMode")
            dialog.fileBox.currentIndex = model.getParmFileList().indexOf("beyond.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(page.messageDialog, "opened", true)
            var lines = page.messageDialog.content.split("\n")
            compare(lines[0], "导入参数成功！")
            compare(lines[1].indexOf("outputs/port0/range = 1e+308"), 0, lines[1])
            answerMessage()
            compare(model.getOutputRange(0), model.getDeviceAOVMaxRange())
            compare(control("range0").text, "265.000")
            compare(model.getOutputRange(4), 4)
            model.setOutputRange(0, ua)

            // A name that is no plain file name is refused.
            dialog = openFile("parameterMode")
            dialog.nameBox.text = "../escape"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数失败！")
            verify(!pageBench.fileExists(root + "/parameters_bk/escape.xml"))
        }

        function test_2b_startShowsNoResultOfTheRunBefore() {
            verifyStartShowsNoOldResult(/^(actionValue|actionTime|returnValue|returnTime|factor)Field$/)
            tap("stopButton")
            waitRunning(false)
        }

        function test_3_hotPowerStageHoldsTheStartBack() {
            verify(control("startButton").enabled)
            pageBench.setAmplifierTemperature(model.getDeviceTResume() + 10)
            tryVerify(function() { return !control("startButton").enabled }, 30000, "start disabled while hot")
            verify(!model.testStart())
            answerMessage("功放温度过高，请待其冷却后再开始试验。")
            pageBench.setAmplifierTemperature(25)
            tryVerify(function() { return control("startButton").enabled }, 30000, "start enabled again")
        }

        // A value no output can have (put in past the number panel): the
        // engine refuses the start, and the page says why in its notice.
        function test_4_aStartTheEngineRefusesIsExplained() {
            model.setOutputAngle(1, NaN)
            tap("startButton")
            answerMessage("有输出值不是有效数值或超出范围，试验未开始。")
            waitRunning(false)
            verify(control("startButton").visible)
            tryCompare(harness, "exitEnabled", true, 30000)
            compare(pageBench.violationText(), "")
            model.setOutputAngle(1, 240)
        }
    }
}

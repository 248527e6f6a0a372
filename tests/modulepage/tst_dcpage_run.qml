import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// A DC test driven from the page on the simulated instrument: a manual run
// whose step makes the threshold relay on UA trip, a run stopped without an
// action, the file dialog's messages, and an automatic start that the model
// refuses until the end value allows the ramp.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_DIRECT
        pageSource: "qrc:/QMLPages/DC/ModelDirectPage.qml"
        relays: "threshold:channel=UA,pickup=9.9,delay=2,input=0"
    }

    ModulePageTestCase {
        name: "DcPageRun"
        harness: harness

        function init() {
            idlePage()
        }

        // The functions run in name order; each leaves the page idle.
        function test_1_manualStepTripsTheRelay() {
            compare(resultText("actionValueField"), "")   // never run: no result
            enter("range0", "8")
            enter("stepBox", "1")
            compare(control("stepBox").unit, "V")
            // Idle in manual mode: nothing to step yet.
            verify(!control("plusButton").enabled)
            verify(!control("minusButton").enabled)

            tap("startButton")
            waitRunning(true)
            compare(resultText("actionValueField"), "")
            compare(resultText("actionTimeField"), "")
            tryVerify(function() { return Math.abs(pageBench.measuredDc(0) - 8) < 0.01 }, 30000, "UA plays 8 V")
            tryVerify(function() { return control("plusButton").enabled }, 30000, "+ enabled while running")
            verify(control("minusButton").enabled)
            verify(control("outputTable").enabled)       // manual: the outputs stay editable
            tap("plusButton")
            tap("plusButton")
            compare(control("range0").text, "10.000")
            // "From-to": the trip ends the test.
            waitRunning(false)
            tryCompare(control("actionValueField"), "text", "10.000 V", 30000)
            verify(/^[0-9.]+m?s$/.test(resultText("actionTimeField")), resultText("actionTimeField"))
            compare(control("range0").text, "8.000")
            verify(!control("plusButton").enabled)
            verify(harness.exitEnabled)
            compare(pageBench.violationText(), "")
        }

        function test_2_stopWithoutActionShowsNoAction() {
            verifyStartShowsNoOldResult(/^(actionValue|actionTime|returnValue|returnTime|factor)Field$/)
            compare(resultText("actionValueField"), "")
            tap("stopButton")
            waitRunning(false)
            compare(model.getTestState(), 0)
            compare(resultText("actionValueField"), "未动作")
            compare(resultText("actionTimeField"), "未动作")
        }

        function test_3_fileDialogMessages() {
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "DC_")
            dialog.nameBox.text = "dc_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            dialog = openFile("reportMode")
            dialog.nameBox.text = "dc_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存报告成功！")
            var report = model.getRootPath() + "/report/" + harness.folder + "/dc_run.htm"
            verify(pageBench.readFile(report).indexOf(">UA<") >= 0, "the result table")

            enter("range0", "20")
            dialog = openFile("loadMode")
            dialog.fileBox.currentIndex = model.getParmFileList().indexOf("dc_run.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(control("range0").text, "8.000")
        }

        function test_4_automaticStartOnACurrentGroupWaitsForAnEndValue() {
            tap("autoCheck")
            choose("variableBox", comboTexts("variableBox").indexOf("IA"))
            // IA at its rated 1 A, the end at half of it: "开始" ramps upwards.
            tap("startButton")
            verify(model.getUserMessage() !== "")
            answerMessage(model.getUserMessage())
            verify(!page.running)
            verify(!isRunning())
            verify(harness.exitEnabled)

            enter("endBox", "2")
            enter("autoTimeBox", "1")
            tap("startButton")
            waitRunning(true)
            tap("stopButton")
            waitRunning(false)
            tap("autoCheck")
        }
    }
}

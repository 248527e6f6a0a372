import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The standard source run from its page on the simulated instrument: the
// mode and element locked while running, edits played at once, the settings
// kept after the stop; then the file dialog's messages, and a load that
// derives everything again.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_STDSOURCE
        pageSource: "qrc:/QMLPages/StdSource/ModelStdSourcePage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "StdSourcePageRun"
        harness: harness

        function init() {
            idlePage()
        }

        function playing(channel, value) {
            tryVerify(function() { return Math.abs(pageBench.measuredRms(channel) - value) < 1e-3 * value }, 30000,
                      "channel " + channel + " plays " + value)
        }

        function test_1_runPlaysEditsAndLocksModeAndElement() {
            choose("workModeBox", 1)
            enter("voltageBox", "100")
            enter("currentBox", "2")
            verify(!control("biLamp0").visible)
            tap("startButton")
            waitRunning(true)
            compare(model.getTestState(), -1)
            verify(!control("workModeBox").enabled)
            verify(!control("elementBox").enabled)
            verify(!control("fileButton").enabled)
            verify(control("factorBox").enabled)
            playing(0, 100)
            playing(6, 2)

            enter("voltageBox", "110")
            playing(2, 110)
            // 300 W over three elements at PF 1: 0.909 A each.
            enter("activeBox", "300")
            playing(4, 300 / 330)
            fuzzyCompare(model.getActivePower(), 300, 1e-9)

            tap("stopButton")
            waitRunning(false)
            compare(model.getTestState(), 0)
            compare(model.getSrcVoltageAmp(), 110)
            compare(control("voltageBox").text, "110.000")
            verify(control("workModeBox").enabled)
            verify(control("elementBox").enabled)
            compare(pageBench.violationText(), "")
        }

        function test_2_fileDialogAndALoadThatDerivesEverythingAgain() {
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "StdSource_")
            dialog.nameBox.text = "std_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            dialog = openFile("parameterMode")
            dialog.nameBox.text = "std_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("参数文件已存在, 确定要覆盖文件?", true)
            answerMessage("保存参数成功！")

            dialog = openFile("reportMode")
            dialog.nameBox.text = "std_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存报告成功！")
            var html = pageBench.readFile(model.getRootPath() + "/report/" + harness.folder + "/std_run.htm")
            verify(html.indexOf(">110.000V<") >= 0, "voltage in the report")

            // Another mode and factor, then the file back: its mode, and the
            // limits and outputs derived from it, not the ones before.
            choose("workModeBox", 4)
            enter("factorBox", "0")
            verify(model.getMinActivePower() < 0)
            dialog = openFile("loadMode")
            var files = model.getParmFileList()
            dialog.fileBox.currentIndex = files.indexOf("std_run.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(model.getWorkMode(), 1)
            compare(model.getMinActivePower(), 0)
            compare(control("activeBox").dataMin, 0)
            verify(control("activeBox").enabled)
            compare(control("workModeBox").currentIndex, 1)
            for (var p = 0; p < 6; ++p)
                compare(Number(control("outputPower" + p).dataValue), model.getOutputPower(p))
        }
    }
}

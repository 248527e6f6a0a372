import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// A ramping test driven from the page on the simulated instrument: two
// states, the first ended by a threshold relay on UA, the second ramping to
// its end without action; the outputs show the ramp while it runs and the
// active state after it; the list follows the engine's state; the file
// dialog's messages.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_RAMPING
        pageSource: "qrc:/QMLPages/Ramping/ModelRampingPage.qml"
        relays: "threshold:channel=UA,pickup=52,delay=1.0,input=0"
    }

    ModulePageTestCase {
        name: "RampingPageRun"
        harness: harness

        function init() {
            idlePage()
        }

        function cell(row, column) {
            return control("cell" + row + "_" + column).text
        }

        // The functions run in name order; each leaves the page idle.
        function test_1_twoStatesOneTripOneWithout() {
            while (model.getStatesCount() > 0)
                tap("deleteButton")
            // UA 50 V up by 5 V every 1.5 s, then UA 30 V up to 40 V.
            enter("range0", "50")
            enter("endBox", "70")
            enter("stepBox", "5")
            enter("stepTimeBox", "1.5")
            tap("addButton")
            enter("range0", "30")
            enter("endBox", "40")
            tap("addButton")
            compare(model.getStatesCount(), 2)
            compare(cell(0, 8), "未测试")

            var followed = false
            tap("startButton")
            waitRunning(true)
            tryCompare(control("range0"), "text", "55.000", 30000)
            tryVerify(function() {
                followed = followed || model.getActiveIndex() === 1
                return !isRunning()
            }, 30000, "the run ends")
            waitRunning(false)
            verify(followed, "the list followed the second state")

            verify(/^1\.0\d\ds$/.test(cell(0, 5)), cell(0, 5))
            compare(cell(0, 6), "55.000V")
            compare(cell(0, 7), "1")
            compare(cell(0, 8), "通过")
            compare(cell(1, 5), "未动作")
            compare(cell(1, 6), "未动作")
            compare(cell(1, 7), "--")
            compare(cell(1, 8), "失败")
            // After the run: the active state's outputs again.
            compare(control("range0").text, model.getActiveIndex() === 1 ? "30.000" : "50.000")
            mouseClick(control("rowArea0"))
            compare(control("range0").text, "50.000")
            verify(harness.exitEnabled)
            compare(pageBench.violationText(), "")
        }

        function test_2_fileDialogMessages() {
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "Ramping_")
            dialog.nameBox.text = "rm_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            dialog = openFile("parameterMode")
            dialog.nameBox.text = "rm_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("参数文件已存在, 确定要覆盖文件?")
            answerMessage("保存参数成功！")
            dialog = openFile("reportMode")
            dialog.nameBox.text = "rm_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存报告成功！")
            var report = model.getRootPath() + "/report/" + harness.folder + "/rm_run.htm"
            verify(pageBench.readFile(report).indexOf(">State1<") >= 0, "the result table")

            tap("deleteButton")
            dialog = openFile("loadMode")
            dialog.fileBox.currentIndex = model.getParmFileList().indexOf("rm_run.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(model.getStatesCount(), 2)
            compare(cell(0, 8), "通过")
        }
    }
}

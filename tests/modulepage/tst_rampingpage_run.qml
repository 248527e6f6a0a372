import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// A ramping test driven from the page on the simulated instrument: two
// states, the first ended by a threshold relay on UA (60 V, above the
// pre-fault output), the second ramping to its end without action; the
// outputs show the ramp while it runs and the active state after it; the
// list follows the engine's state; the file dialog's messages.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_RAMPING
        pageSource: "qrc:/QMLPages/Ramping/ModelRampingPage.qml"
        relays: "threshold:channel=UA,pickup=60,delay=1.0,input=0"
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
            // UA 50 V up by 5 V every 1.5 s, then UA 30 V up to 40 V. The
            // ramped amplitude's box is the ramp's: UA is entered with UB chosen.
            choose("variableBox", 1)
            verify(!control("range1").enabled)
            enter("range0", "50")
            choose("variableBox", 0)
            verify(!control("range0").enabled)
            enter("endBox", "70")
            enter("stepBox", "5")
            enter("stepTimeBox", "1.5")
            tap("addButton")
            enter("endBox", "40")
            tap("addButton")
            choose("variableBox", 1)
            enter("range0", "30")                              // the new state's
            choose("variableBox", 0)
            compare(model.getStatesCount(), 2)
            compare(cell(0, 8), "未测试")
            // Pre-fault and interval outputs of 1 s before every state: the
            // engine's time to write the state after them.
            if (!control("normalCheck").checked)
                tap("normalCheck")
            if (!control("intervalCheck").checked)
                tap("intervalCheck")
            if (control("onceCheck").checked)
                tap("onceCheck")
            enter("normalTimeBox", "1")
            enter("intervalTimeBox", "1")

            // What the UA box and the list's selection show while the test runs.
            var shown = []
            var selected = []
            var box = control("range0")
            var onText = function() { shown.push(box.text) }
            var onActive = function() { selected.push(page.activeIndex) }
            box.textChanged.connect(onText)
            page.activeIndexChanged.connect(onActive)
            tap("startButton")
            waitRunning(true)
            waitRunning(false)
            box.textChanged.disconnect(onText)
            page.activeIndexChanged.disconnect(onActive)
            verify(shown.indexOf("60.000") >= 0, "the ramp shown: " + shown)
            verify(selected.indexOf(1) >= 0, "the list followed the second state: " + selected)

            verify(/^1\.0\d\ds$/.test(cell(0, 5)), cell(0, 5))
            compare(cell(0, 6), "60.000V")
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

        function test_3_startShowsNoResultOfTheRunBefore() {
            verifyStartShowsNoOldResult(/^cell\d+_[5-8]$/)
            tap("stopButton")
            waitRunning(false)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// A distance test driven from the page on the simulated instrument against a
// zone relay (zone 1: 2 Ω in 1 s, zone 2: 3 Ω in 2 s, on input 3): the edit
// point entered in both forms, four points from one "添加" with the factors
// and a reverse point, the run with the list following the engine's state,
// the verdicts, the file dialog, leaving the page during a run and a start
// the engine refuses.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_DISTANCE
        pageSource: "qrc:/QMLPages/Distance/ModelDistancePage.qml"
        relays: "distance:reach1=2,time1=1.0,reach2=3,time2=2.0,kl=0.67,input=2"
    }

    ModulePageTestCase {
        name: "DistancePageRun"
        harness: harness

        function init() {
            idlePage()
            tap("pointTabButton")
            if (page.resultList.collapsed)
                tap("resultTitleButton")
        }

        // The list makes only the rows in view: the row is brought into view first.
        function cell(row, column) {
            page.resultList.view.positionViewAtIndex(row, ListView.Contain)
            return control("cell" + row + "_" + column).text
        }

        function text(name) {
            return control(name).text
        }

        function setFactors(ticked) {
            for (var k = 0; k < 4; ++k) {
                if (control("factorCheck" + k).checked !== ticked[k])
                    tap("factorCheck" + k)
            }
        }

        // Five points: 1.4, 1.9, 2.1 and 2.4 Ω forward (A-N), 2 Ω reverse.
        function fivePoints() {
            tap("clearButton")
            compare(model.getPointsCount(), 0)
            enter("zRangeBox", "2")
            enter("zAngleBox", "75")
            choose("faultKindBox", 0)
            choose("faultDirectionBox", 0)
            enter("settingTimeBox", "1")
            setFactors([true, true, true, true])
            tap("addButton")
            compare(model.getPointsCount(), 4)
            setFactors([false, false, false, false])
            choose("faultDirectionBox", 1)
            tap("addButton")
            choose("faultDirectionBox", 0)
            compare(model.getPointsCount(), 5)
            tap("timeTabButton")
            enter("normalTimeBox", "1")
            enter("intervalTimeBox", "1")
            enter("timeFactor1Box", "1")
            enter("timeFactor2Box", "1.5")                     // 2.5 s of fault: zone 2 trips
            tap("pointTabButton")
        }

        function test_1_impedanceInBothForms() {
            var rows = [
                // field, text, |Z|, angle, R, X after the entry
                ["zRangeBox", "4", "4.000", "75.000", "1.035", "3.864"],
                ["zAngleBox", "60", "4.000", "60.000", "2.000", "3.464"],
                ["zRealBox", "0", "3.464", "90.000", "0.000", "3.464"],
                ["zImageBox", "2", "2.000", "90.000", "0.000", "2.000"],
                ["zRealBox", "2", "2.828", "45.000", "2.000", "2.000"],
            ]
            enter("zAngleBox", "75")
            for (var i = 0; i < rows.length; ++i) {
                var r = rows[i]
                enter(r[0], r[1])
                compare([text("zRangeBox"), text("zAngleBox"), text("zRealBox"), text("zImageBox")],
                        r.slice(2), r[0] + " " + r[1])
            }
        }

        function test_2_aRunFollowedByTheList() {
            fivePoints()
            compare(cell(0, 3), "1.400Ω")
            compare(cell(3, 3), "2.400Ω")
            compare(cell(4, 2), "反方向")
            compare(cell(0, 9), "未测试")
            // Selection and scroll position after the page took each state index.
            var seen = {}
            var view = page.resultList.view
            var onIndex = function(index) {
                seen[index] = { active: page.activeIndex, top: view.contentY, height: view.height,
                                rowHeight: page.resultList.rowHeight }
            }
            model.sigUpdateStateIndexToView.connect(onIndex)
            view.positionViewAtBeginning()
            harness.exitHistory = []
            tap("startButton")
            waitRunning(true)
            tryCompare(harness, "exitEnabled", true, 30000)
            compare(harness.exitHistory[0], false)
            verify(!control("fileButton").enabled)
            verify(!control("upperPart").enabled)
            verify(!control("pointResults").enabled)
            verify(!control("generalPanel").enabled)
            verify(!control("timePanel").enabled)
            waitRunning(false)
            model.sigUpdateStateIndexToView.disconnect(onIndex)

            verify(seen[7] !== undefined && seen[10] !== undefined, JSON.stringify(seen))
            compare(seen[7].active, 2)
            compare(seen[7].top, 0)
            compare(seen[10].active, 3)
            compare(seen[10].top + seen[10].height, 4 * seen[10].rowHeight)
            verify(seen[10].top > 0)

            // Zone 1 passes, zone 2 trips too late, the reverse point does not trip.
            var results = ["通过", "通过", "失败", "失败", "失败"]
            for (var i = 0; i < 5; ++i) {
                compare(cell(i, 9), results[i], "result " + i)
                if (i < 4) {
                    verify(/^[0-9.]+m?s$/.test(cell(i, 7)), cell(i, 7))
                    compare(cell(i, 8), "3")
                }
            }
            verify(/^1\.0\d\ds$/.test(cell(0, 7)), cell(0, 7))
            verify(/^2\.0\d\ds$/.test(cell(3, 7)), cell(3, 7))
            compare([cell(4, 7), cell(4, 8)], ["未动作", "--"])
            verify(control("startButton").visible)
            verify(control("fileButton").enabled)
            verify(harness.exitEnabled)
            compare(pageBench.violationText(), "")
        }

        function test_3_fileDialog() {
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "Distance_")
            dialog.nameBox.text = "ds_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            tap("clearButton")
            // "取消" at the overwrite question keeps the stored file.
            dialog = openFile("parameterMode")
            dialog.nameBox.text = "ds_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("参数文件已存在, 确定要覆盖文件?", false)
            dialog = openFile("reportMode")
            dialog.nameBox.text = "ds_run"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存报告成功！")
            dialog = openFile("loadMode")
            dialog.fileBox.currentIndex = model.getParmFileList().indexOf("ds_run.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(model.getPointsCount(), 5)
            compare(cell(0, 9), "通过")
            compare(cell(4, 7), "未动作")
        }

        function test_4_leavingDuringARunStops() {
            tap("timeTabButton")
            if (!control("boButton0").checked)
                tap("boButton0")
            compare(model.getOutputBOState(0), 1)
            verifyStartShowsNoOldResult(/^cell\d+_[789]$/)
            hidePage()
            waitRunning(false)
            verify(!control("boButton0").checked)
            compare(model.getOutputBOState(0), 1)
            showPage()
            verify(control("startButton").visible)
            verify(harness.exitEnabled)
            tap("timeTabButton")
            tap("boButton0")
        }

        // A fault time no state can have (put in past the number panel): the
        // engine refuses the start, the page says why and may be left.
        function test_5_aStartTheEngineRefusesIsExplained() {
            model.setActiveIndex(0)
            model.setOutputTime(NaN)
            tap("startButton")
            answerMessage("有输出值不是有效数值或超出范围，试验未开始。")
            waitRunning(false)
            verify(control("startButton").visible)
            tryCompare(harness, "exitEnabled", true, 30000)
            model.setOutputTime(1.1)
        }
    }
}

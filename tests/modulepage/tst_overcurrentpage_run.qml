import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewOvercurrentModel 1.0

// An overcurrent test driven from the page on the simulated instrument
// against the inverse-time relay (IEC standard inverse, Is 1 A, TMS 0.1, an
// instantaneous element at 5 A after 0.1 s, on input 3): both characteristics
// set, points added singly and as a series, the run with the list following
// the engine's state, the chart after the run, a start the engine refuses.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_OVERCURRENT
        pageSource: "qrc:/QMLPages/Overcurrent/ModelOvercurrentPage.qml"
        relays: "inverse:channels=IA+IB+IC,pickup=1,tms=0.1,curve=iec-si,inst=5,instdelay=0.1,input=2"
    }

    ModulePageTestCase {
        name: "OvercurrentPageRun"
        harness: harness

        function init() {
            idlePage()
            page.curveSink = null
            if (page.resultList.collapsed)
                tap("resultTitleButton")
            tap("pointTabButton")
        }

        function cell(row, column) {
            page.resultList.view.positionViewAtIndex(row, ListView.Contain)
            return control("cell" + row + "_" + column).text
        }

        // Function 50 at 6 A, function 51 at 2 A and as the series 1.05, 2.05, 3.05 A.
        function fivePoints() {
            tap("clearButton")
            enter("pickUp50Box", "5")
            enter("time50Box", "0.1")
            enter("pickUp51Box", "1")
            enter("time51Box", "0.1")
            choose("charTypeBox", 0)
            choose("charIndexBox", 0)
            choose("functionBox", 0)
            choose("faultKindBox", 0)
            enter("testCurrentBox", "6")
            tap("addButton")
            choose("functionBox", 1)
            enter("testCurrentBox", "2")
            tap("addButton")
            tap("multiButton")
            var dialog = page.multiDialog
            tryCompare(dialog, "opened", true)
            compare(dialog.beginBox.dataValue, 1.05)
            compare(dialog.endBox.dataValue, model.getDeviceAOIMaxRange())
            compare(dialog.stepBox.dataValue, 1)
            compare(dialog.endBox.dataMax, model.getDeviceAOIMaxRange())
            dialog.endBox.setDataValue(3.05)
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            compare(model.getPointsCount(), 5)
        }

        function test_1_aRunFollowedByTheList() {
            tap("generalTabButton")
            enter("currentTolRelBox", "10")
            enter("maxFaultTimeBox", "1.5")
            tap("pointTabButton")
            fivePoints()
            compare([cell(0, 2), cell(0, 3)], ["6.000A", "50"])
            compare([cell(1, 2), cell(1, 3), cell(1, 4)], ["2.000A", "51", "1.003s"])
            compare(cell(2, 6), "INF")
            compare(cell(0, 9), "未测试")

            var seen = {}
            var onIndex = function(index) { seen[index] = page.activeIndex }
            model.sigUpdateStateIndexToView.connect(onIndex)
            harness.exitHistory = []
            tap("startButton")
            waitRunning(true)
            compare(harness.exitHistory[0], false)
            verify(!control("fileButton").enabled)
            verify(!control("pointResults").enabled)
            waitRunning(false)
            model.sigUpdateStateIndexToView.disconnect(onIndex)
            verify(seen[4] === 1 && seen[7] === 2, JSON.stringify(seen))

            compare([cell(0, 8), cell(0, 9)], ["3", "通过"])
            verify(/^1\d\d\.\d\d\dms$/.test(cell(0, 7)), cell(0, 7))
            compare([cell(1, 8), cell(1, 9)], ["3", "通过"])
            verify(/^1\.0\d\ds$/.test(cell(1, 7)), cell(1, 7))
            verify(harness.exitEnabled)
            compare(pageBench.violationText(), "")

            // The curve tab shows the results: the points it is fed carry the verdicts.
            var points = []
            page.curveSink = {
                updateCurveData: function() {},
                updataPonit: function(n, f, i, t, r) { points.push([n, f, i, r]) }
            }
            model.setActiveIndex(1)
            tap("curveTabButton")
            compare(page.resultList.visible, false)
            compare(points.length, 5)
            compare(points[1], [1, 1, 2, ViewBaseModel.AO_Result_TYPE_SUCCESS])
            compare(points[0], [0, 0, 6, ViewBaseModel.AO_Result_TYPE_SUCCESS])
            tap("pointTabButton")
            compare(page.resultList.visible, true)
        }

        function test_1b_startShowsNoResultOfTheRunBefore() {
            verifyStartShowsNoOldResult(/^cell\d+_[789]$/)
            tap("stopButton")
            waitRunning(false)
        }

        // A pre-fault time no state can have (put in past the number panel):
        // the engine refuses the start, the page says why and may be left.
        function test_2_aStartTheEngineRefusesIsExplained() {
            tap("clearButton")
            tap("addButton")
            model.setNormalEnable(true)
            model.setNormalTime(NaN)
            harness.exitHistory = []
            tap("startButton")
            answerMessage("有输出值不是有效数值或超出范围，试验未开始。")
            waitRunning(false)
            verify(control("startButton").visible)
            tryCompare(harness, "exitEnabled", true, 30000)
            compare(harness.exitHistory[0], false)
            model.setNormalTime(0.5)
        }
    }
}

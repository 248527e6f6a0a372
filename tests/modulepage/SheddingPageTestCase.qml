import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// What both load-shedding pages must show, run on either page (one per test
// file: the engine is one per process). The file gives the page's own data:
//   items         the page's items
//   limitField    a field whose maximum is 1000, with the text that exceeds it
//   deviceFields  [box, "V" or "I"]: maxima and first quick values from the unit
//   runPoints     points entered through the page: [item, [[box, text], ...]]
//   runResults    per point: the action-value cell, a pattern of the time cell
//   zeroStep      [item, box]: the step that makes the engine refuse the start
//   filePrefix    the name the File dialog offers
ModulePageTestCase {
    id: testCase

    property var items: []
    property var limitField: []
    property var deviceFields: []
    property var runPoints: []
    property var runResults: []
    property var zeroStep: []
    property string fileName: "shed_run"
    property string filePrefix: ""

    // Rated voltages after each point (the page has no field for them): the
    // under-voltage relay resets between points.
    function init() {
        idlePage()
        for (var c = 0; c < 3; ++c)
            model.setIntervalOutput(ViewBaseModel.AO_ITEM_TYPE_RANGE, c, 57.735)
        tap("pointTabButton")
        if (page.resultList.collapsed)
            tap("resultTitleButton")
    }

    // A cell of the row the list shows now (a row of a list cleared a moment
    // ago may still wait for its deletion under the same name).
    function cell(row, column) {
        var view = page.resultList.view
        view.positionViewAtIndex(row, ListView.Contain)
        var line = view.itemAtIndex(row)
        verify(line, "no row " + row)
        var text = findChild(line, "cell" + row + "_" + column)
        verify(text, "no cell " + row + "_" + column)
        return text.text
    }

    function waitTemperatureNotice(degC) {
        var seen = false
        var onData = function(type) { if (type === ViewBaseModel.DATA_TYPE_RT_TEMP) seen = true }
        model.sigUpdateDataToView.connect(onData)
        pageBench.setAmplifierTemperature(degC)
        tryVerify(function() { return seen }, 30000, "temperature notice")
        model.sigUpdateDataToView.disconnect(onData)
        verify(model.getRunEnabled())
    }

    // Times of 1, 0.5 and 1 s, and the run's points.
    function enterRunPoints() {
        tap("generalTabButton")
        enter("timePreFaultTime", "1")
        enter("timeHoldTime", "0.5")
        enter("timeAfterFaultTime", "1")
        tap("pointTabButton")
        tap("clearButton")
        for (var i = 0; i < runPoints.length; ++i) {
            tap("itemButton" + runPoints[i][0])
            var entries = runPoints[i][1]
            for (var k = 0; k < entries.length; ++k)
                enter(entries[k][0], entries[k][1])
            tap("addButton")
        }
        compare(model.getPointsCount(), runPoints.length)
    }

    function test_1_startNeedsAPoint() {
        tap("clearButton")
        verify(!control("startButton").enabled)
        compare(control("headerCell0").text, "")
        waitTemperatureNotice(30)
        verify(!control("startButton").enabled)
        tap("addButton")
        verify(control("startButton").enabled)
        compare(control("headerCell0").text, "1")
        compare(cell(0, 2), "未测试")
        compare(cell(0, 3), "未测试")
        waitTemperatureNotice(25)
        verify(control("startButton").enabled)
    }

    function test_2_itemButtonsSwitchPanels() {
        for (var i = 0; i < items.length; ++i) {
            tap("itemButton" + items[i])
            compare(model.getActiveTestItem(), items[i])
            for (var k = 0; k < items.length; ++k) {
                compare(control("itemPanel" + items[k]).visible, k === i, "panel " + items[k])
                compare(control("itemButton" + items[k]).checked, k === i, "button " + items[k])
            }
        }
        verify(!findChild(page, "itemPanel" + items.length))
        tap("itemButton" + items[0])
    }

    function test_3_limitsAndQuickValues() {
        tap("itemButton" + limitField[0])
        var box = enter(limitField[1], limitField[2])
        compare(box.dataMax, 1000)
        compare(model["get" + limitField[3]](), 1000)
        for (var i = 0; i < deviceFields.length; ++i) {
            var f = deviceFields[i]
            box = control(f[0])
            var volts = f[1] === "V"
            compare(box.dataMax, volts ? model.getDeviceAOVMaxRange() : model.getDeviceAOIMaxRange(), f[0])
            fuzzyCompare(Number(box.quick1Value), volts ? model.getRateVRange() : model.getRateIRange(), 0.001, f[0])
        }
    }

    // Through the page against the shedding relay; the list follows the
    // engine's state index, one point after the other.
    function test_4_aFullRun() {
        enterRunPoints()
        var seen = []
        var onIndex = function(index) { seen.push(page.activeIndex) }
        model.sigUpdateStateIndexToView.connect(onIndex)
        harness.exitHistory = []
        tap("startButton")
        waitRunning(true)
        compare(harness.exitHistory[0], false)
        verify(!control("fileButton").enabled)
        verify(!control("upperPart").enabled)
        verify(!control("pointResults").enabled)
        verify(!control("generalPanel").enabled)
        tryVerify(function() { return cell(0, 2) === "测试中" }, 30000, "first point testing")
        // An index beyond the list selects the first row, which becomes the edit point.
        model.sigUpdateStateIndexToView(runPoints.length - 1)
        compare(page.activeItem, runPoints[runPoints.length - 1][0])
        model.sigUpdateStateIndexToView(99)
        compare(page.resultList.activeIndex, 0)
        compare(page.activeItem, runPoints[0][0])
        waitRunning(false)
        model.sigUpdateStateIndexToView.disconnect(onIndex)
        verify(harness.exitEnabled)
        compare(seen[seen.length - 1], runPoints.length - 1, JSON.stringify(seen))
        for (var i = 0; i < runResults.length; ++i) {
            compare(cell(i, 2), runResults[i][0], "value " + i + " of " + cell(i, 1) + ", time " + cell(i, 3))
            verify(runResults[i][1].test(cell(i, 3)), "time " + i + ": " + cell(i, 3))
        }
        verify(control("fileButton").enabled)
        compare(pageBench.violationText(), "")
    }

    function test_5_fileDialog() {
        var dialog = openFile("parameterMode")
        compare(dialog.nameBox.text, filePrefix)
        dialog.nameBox.text = fileName
        mouseClick(popupButton(dialog, "acceptButton"))
        answerMessage("保存参数成功！")
        var count = model.getPointsCount()
        tap("clearButton")
        dialog = openFile("parameterMode")
        dialog.nameBox.text = fileName
        mouseClick(popupButton(dialog, "acceptButton"))
        answerMessage("参数文件已存在, 确定要覆盖文件?", false)
        dialog = openFile("reportMode")
        dialog.nameBox.text = fileName
        mouseClick(popupButton(dialog, "acceptButton"))
        answerMessage("保存报告成功！")
        dialog = openFile("loadMode")
        dialog.fileBox.currentIndex = model.getParmFileList().indexOf(fileName + ".xml")
        mouseClick(popupButton(dialog, "acceptButton"))
        answerMessage("导入参数成功！")
        compare(model.getPointsCount(), count)
        compare(control("headerCell0").text, String(count))
    }

    // A pre-fault time of 10000 s: only the page stops the run.
    function test_6_leavingDuringARunStops() {
        if (model.getPointsCount() === 0)
            tap("addButton")
        tap("generalTabButton")
        enter("timePreFaultTime", "10000")
        tap("pointTabButton")
        verifyStartShowsNoOldResult(/^cell\d+_[23]$/)
        hidePage()
        waitRunning(false)
        showPage()
        verify(control("startButton").visible)
        verify(harness.exitEnabled)
    }

    // The engine refuses a step of 0: the page says why, returns to idle with
    // the home button usable and the points as they were.
    function test_7_aZeroStepIsRefused() {
        tap("clearButton")
        tap("itemButton" + zeroStep[0])
        enter(zeroStep[1], "0")
        tap("addButton")
        harness.exitHistory = []
        tap("startButton")
        answerMessage("步长为零，永远达不到终值，试验未开始。")
        compare(page.messageDialog.title, "系统提示")
        waitRunning(false)
        verify(control("startButton").visible)
        compare(harness.exitHistory[0], false)
        tryCompare(harness, "exitEnabled", true, 30000)
        compare(model.getPointsCount(), 1)
        compare(cell(0, 2), "未测试")
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewAlternateModel 1.0

// The state-sequence page's editor, assessments, fault calculator and file
// dialog on the simulated instrument (nothing is run here).
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_STATESEQUENCE
        pageSource: "qrc:/QMLPages/StateSequence/ModelStateSequencePage.qml"
    }

    // Another module, to make the state-sequence test inactive.
    ViewAlternateModel { id: otherModel }

    ModulePageTestCase {
        name: "StateSequencePageEditor"
        harness: harness

        // Three fresh states, the first active, no assessment, voltage tab.
        function init() {
            if (page && !page.shownOnce)
                compare([control("range0").dataMax, control("range4").dataMax], [300.0, 30.0])
            idlePage()
            page.stateDialog.close()
            page.timeDialog.close()
            if (model.getTestActiveType() !== harness.module)
                model.testActive()
            while (model.getStateCount() > 1)
                model.removeState(0)
            model.addState()
            model.addState()
            model.setActiveIndex(0)
            model.clearAssess()
            page.resultTabs.currentIndex = 0
            page.updateControlValue()
            tap("voltageTabButton")
        }

        function title() {
            return control("stateTitle").text
        }

        function test_listOperations() {
            model.setOutputRange(0, 0, 12)
            model.setActiveIndex(2)
            page.updateControlValue()
            var steps = [
                ["nextButton", 1, 3, 2], ["prevButton", 2, 3, 0], ["prevButton", 1, 3, 0],   // ends: nothing
                ["insertButton", 1, 4, 0], ["addStateButton", 6, 10, 9], ["prevButton", 6, 10, 3],
                ["deleteStateButton", 1, 9, 3], ["nextButton", 6, 9, 8], ["deleteStateButton", 1, 8, 7],
            ]
            for (var i = 0; i < steps.length; ++i) {
                for (var n = 0; n < steps[i][1]; ++n)
                    tap(steps[i][0])
                compare([model.getStateCount(), model.getActiveIndex()], [steps[i][2], steps[i][3]], "step " + i)
                compare(title(), "状态 [ " + (steps[i][3] + 1) + " / " + steps[i][2] + " ]")
            }
            // The inserted state took the place of the first; the first moved up.
            compare([model.getOutputRange(0, 0), model.getOutputRange(1, 0)], [0, 12])
            compare(model.getOutputLinkType(0), ViewBaseModel.AO_LINKSTATE_TYPE_INITIATE)
        }

        function test_rowsAndLimitsFollowTheUnit_data() {
            return [{ tag: "three/three", volt: 0, cur: 0 }, { tag: "four/three", volt: 1, cur: 0 },
                    { tag: "three/four", volt: 0, cur: 1 }]
        }

        function test_rowsAndLimitsFollowTheUnit(data) {
            var system = harness.systemModel
            var volt = system.getVoltagePhasesType()
            var cur = system.getCurrentPhasesType()
            system.setVoltagePhasesType(data.volt)
            system.setCurrentPhasesType(data.cur)
            hidePage()
            showPage()
            compare([control("range0").dataMax, control("range4").dataMax],
                    [model.getDeviceAOVMaxRange(), model.getDeviceAOIMaxRange()])
            compare([control("outputRow3").visible, control("outputRow7").visible], [data.volt === 1, false])
            tap("currentTabButton")
            compare([control("outputRow7").visible, control("outputRow2").visible], [data.cur === 1, false])
            system.setVoltagePhasesType(volt)
            system.setCurrentPhasesType(cur)
            hidePage()
        }

        // Each quick key writes the active state (the second) and no other.
        function test_quickKeysActOnTheActiveState_data() {
            return [
                { tag: "balance UA", field: "range0", key: 2, port: 1, get: "getOutputRange", value: 10 },
                { tag: "balance UA to UX", field: "range0", key: 2, port: 3, get: "getOutputRange", value: 10 },
                { tag: "negative UB", field: "angle1", key: 2, port: 0, get: "getOutputAngle", value: 120 },
                { tag: "rated IA", field: "frequency4", key: 1, port: 4, get: "getOutputFrequency", value: "rated" },
            ]
        }

        function test_quickKeysActOnTheActiveState(data) {
            tap("nextButton")
            enter("range0", "10")
            tap("currentTabButton")
            enter("frequency4", "60")
            if (data.port < 4)
                tap("voltageTabButton")
            var first = model[data.get](0, data.port)
            quickKey(data.field, data.key)
            compare(model[data.get](1, data.port), data.value === "rated" ? model.getRateFrequency() : data.value)
            compare(model[data.get](0, data.port), first)
        }

        function test_linkAndBinaryInputs() {
            verify(!control("linkBox").enabled)
            tap("nextButton")
            choose("linkBox", 1)
            compare(model.getOutputLinkType(1), ViewBaseModel.AO_LINKSTATE_TYPE_INITIATE)
            var seen = []
            for (var i = 0; i < 4; ++i) {
                tap("biSelector2")
                seen.push(model.getOutputBIState(1, 2))
            }
            compare(seen, [2, 1, 0, 3])
            tap("prevButton")
            verify(!control("linkBox").enabled)
        }

        function test_triggerChoices_data() {
            return [{ tag: "time", index: 0, shown: [true, false, false] },
                    { tag: "binary", index: 1, shown: [false, false, false] },
                    { tag: "time+binary", index: 2, shown: [true, false, false] },
                    { tag: "key press", index: 3, shown: [false, true, false] },
                    { tag: "GPS/IRIG-B", index: 4, shown: [false, false, true] }]
        }

        function test_triggerChoices(data) {
            tap("nextButton")
            choose("triggerBox", data.index)
            compare([model.getTriggerType(0), model.getTriggerType(1)], [0, data.index])
            compare([control("timeRow").visible, control("keyPressButton").visible,
                     control("triggerTimeButton").visible], data.shown)
            verify(!control("keyPressButton").enabled)
        }

        // "时间设置" follows the clock's synchronisation and opens the list.
        function test_triggerTimeButtonFollowsTheClock() {
            var system = harness.systemModel
            system.setClockSource(2)                                 // IRIG-B
            system.setClockSyncConfig()
            choose("triggerBox", 4)
            pageBench.setIrigbSignal(true)
            tryVerify(function() { return control("triggerTimeButton").enabled }, 30000, "synchronised")
            tap("triggerTimeButton")
            tryCompare(harness.triggerTimeDialog, "opened", true)
            harness.triggerTimeDialog.close()
            pageBench.setIrigbSignal(false)
            tryVerify(function() { return !control("triggerTimeButton").enabled }, 30000, "synchronisation lost")
            system.setClockSource(0)
            system.setClockSyncConfig()
        }

        function test_assessmentButtons() {
            tap("assessTabButton")
            var steps = [["assessDeleteButton", 0], ["assessAddButton", 1], ["assessAddButton", 2],
                         ["assessDeleteButton", 1], ["assessDeleteButton", 1],   // the last goes only by "清除"
                         ["assessClearButton", 0], ["assessDeleteButton", 0]]    // no row: nothing
            for (var i = 0; i < steps.length; ++i) {
                tap(steps[i][0])
                compare([model.getAssessCount(), page.assessList.count], [steps[i][1], steps[i][1]], "step " + i)
                if (steps[i][1] > 0)
                    compare(control("assess0_5").text, "", "no time before a run")
            }
        }

        // Double clicks on a start, stop, setting or deviation cell.
        function test_assessmentDialogs_data() {
            return [
                { tag: "stop beyond the list", column: 2, stored: 40, shown: 2, pick: 1, value: 1, text: "状态2" },
                { tag: "start", column: 1, stored: 0, shown: 0, pick: 2, value: 2, text: "状态3" },
                { tag: "setting time", column: 3, stored: 1, shown: 1, pick: 2.5, value: 2.5, text: "2.500s" },
                { tag: "deviation, limited", column: 4, stored: 0.1, shown: 0.1, pick: 5000, value: 1000,
                  text: "1000.000s" },
            ]
        }

        function openAssess(data) {
            var dialog = data.column < 3 ? page.stateDialog : page.timeDialog
            var x = [0, 86, 186, 296, 406][data.column]               // inside the column
            mouseDoubleClickSequence(control("assessArea0"), x, 10)
            tryCompare(dialog, "opened", true)
            if (data.column < 3) {
                compare([dialog.selectedItem, dialog.stateCount], [data.shown, 3])
                dialog.selectedItem = data.pick
            } else {
                compare([dialog.numberBox.dataValue, dialog.numberBox.dataMax], [data.shown, 1000])
                dialog.numberBox.text = String(data.pick)
            }
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
        }

        function test_assessmentDialogs(data) {
            var getters = [null, "getAssessStart", "getAssessStop", "getSettingTime", "getDevTime"]
            var setters = [null, "setAssessStart", "setAssessStop", "setSettingTime", "setDevTime"]
            tap("assessTabButton")
            tap("assessAddButton")
            model[setters[data.column]](0, data.stored)
            page.updateControlValue()
            otherModel.testActive()                                  // another test: nothing written
            openAssess(data)
            compare(model[getters[data.column]](0), data.stored)
            model.testActive()
            openAssess(data)
            compare(model[getters[data.column]](0), data.value)
            compare(control("assess0_" + data.column).text, data.text)
        }

        function test_calculatorWritesTheActiveState() {
            tap("nextButton")
            var before = model.getOutputRange(0, 4)
            var dialog = page.distanceDialog
            var fault = dialog.distanceModel
            var faults = [[0, 5, 2, 5], [1, 2, 0, 5]]                 // type, current, impedance; IA then
            for (var i = 0; i < faults.length; ++i) {
                fault.setDistanceType(faults[i][0])
                fault.setFaultType(0)
                fault.setFaultCurrent(faults[i][1])
                fault.setFaultVoltage(10)
                fault.setShortRange(faults[i][2])
                fault.setShortAngle(75)
                fault.setShortReal(0)
                fault.setShortImage(0)
                tap("calcButton")
                tryCompare(dialog, "opened", true)
                mouseClick(popupButton(dialog, "acceptButton"))
                tryCompare(dialog, "opened", false)
                if (i === 1)                                         // cannot be calculated
                    answerMessage(model.getUserMessage())
                compare([model.getOutputRange(1, 4), model.getOutputRange(0, 4)], [faults[i][3], before])
            }
            tap("currentTabButton")
            compare(control("range4").text, "5.000")
        }

        // The page's name prefix, and a load shows the loaded list.
        function test_fileDialog() {
            tap("addStateButton")
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "Sequence_")
            dialog.nameBox.text = "ss_page"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            tap("deleteStateButton")
            compare(title(), "状态 [ 3 / 3 ]")
            dialog = openFile("loadMode")
            dialog.fileBox.currentIndex = model.getParmFileList().indexOf("ss_page.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(title(), "状态 [ " + (model.getActiveIndex() + 1) + " / 4 ]")
        }
    }
}

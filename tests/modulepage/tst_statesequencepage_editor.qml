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
            if (page && !page.shownOnce) {
                compare(control("range0").dataMax, 300.0)
                compare(control("range4").dataMax, 30.0)
            }
            idlePage()
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

        function test_amplitudeLimitsAreTheDevicesOnceShown() {
            compare(control("range0").dataMax, model.getDeviceAOVMaxRange())
            compare(control("range4").dataMax, model.getDeviceAOIMaxRange())
            verify(model.getDeviceAOVMaxRange() !== 300.0 || model.getDeviceAOIMaxRange() !== 30.0)
        }

        function test_listOperations() {
            model.setOutputRange(0, 0, 12)
            model.setActiveIndex(2)
            page.updateControlValue()
            var steps = [
                { tap: "nextButton", count: 3, active: 2 },             // at the end: nothing
                { tap: "prevButton", count: 3, active: 1 },
                { tap: "prevButton", count: 3, active: 0 },
                { tap: "prevButton", count: 3, active: 0 },             // at the start: nothing
                { tap: "insertButton", count: 4, active: 0 },           // in place of the active one
                { tap: "addStateButton", count: 5, active: 4 },
                { tap: "addStateButton", count: 6, active: 5 },
                { tap: "addStateButton", count: 7, active: 6 },
                { tap: "addStateButton", count: 8, active: 7 },
                { tap: "addStateButton", count: 9, active: 8 },
                { tap: "addStateButton", count: 10, active: 9 },
                { tap: "prevButton", count: 10, active: 3, times: 6 },
                { tap: "deleteStateButton", count: 9, active: 3 },
                { tap: "nextButton", count: 9, active: 8, times: 6 },
                { tap: "deleteStateButton", count: 8, active: 7 },      // the last one: the new last
            ]
            for (var i = 0; i < steps.length; ++i) {
                var s = steps[i]
                for (var n = 0; n < (s.times || 1); ++n)
                    tap(s.tap)
                if (i === 11)
                    compare(title(), "状态 [ 4 / 10 ]")
                compare(model.getStateCount(), s.count, "step " + i)
                compare(model.getActiveIndex(), s.active, "step " + i)
                compare(title(), "状态 [ " + (s.active + 1) + " / " + s.count + " ]", "step " + i)
            }
            // The inserted state took the place of the first; the first moved up.
            compare(model.getOutputRange(0, 0), 0)
            compare(model.getOutputRange(1, 0), 12)
            compare(model.getOutputLinkType(0), ViewBaseModel.AO_LINKSTATE_TYPE_INITIATE)
        }

        function test_rowsFollowThePhaseTypes_data() {
            return [
                { tag: "three/three", volt: 0, cur: 0 },
                { tag: "four/three", volt: 1, cur: 0 },
                { tag: "three/four", volt: 0, cur: 1 },
            ]
        }

        function test_rowsFollowThePhaseTypes(data) {
            var system = harness.systemModel
            var volt = system.getVoltagePhasesType()
            var cur = system.getCurrentPhasesType()
            system.setVoltagePhasesType(data.volt)
            system.setCurrentPhasesType(data.cur)
            hidePage()
            showPage()
            compare(control("outputRow3").visible, data.volt === ViewBaseModel.PHASES_TYPE_FOUR)
            verify(!control("outputRow7").visible)
            tap("currentTabButton")
            compare(control("outputRow7").visible, data.cur === ViewBaseModel.PHASES_TYPE_FOUR)
            verify(control("outputRow6").visible && !control("outputRow2").visible)
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
                { tag: "rated frequency IA", field: "frequency4", key: 1, port: 4, get: "getOutputFrequency",
                  value: "rated", current: true },
            ]
        }

        function test_quickKeysActOnTheActiveState(data) {
            tap("nextButton")
            enter("range0", "10")
            tap("currentTabButton")
            enter("frequency4", "60")
            if (!data.current)
                tap("voltageTabButton")
            var first = model[data.get](0, data.port)
            quickKey(data.field, data.key)
            compare(model[data.get](1, data.port), data.value === "rated" ? model.getRateFrequency() : data.value)
            compare(model[data.get](0, data.port), first)
        }

        function test_linkComboOnlyAfterTheFirstState() {
            verify(!control("linkBox").enabled)
            tap("nextButton")
            choose("linkBox", 1)
            compare(model.getOutputLinkType(1), ViewBaseModel.AO_LINKSTATE_TYPE_INITIATE)
            compare(comboTexts("linkBox"), ["连续", "Abs.Angle"])
            tap("prevButton")
            verify(!control("linkBox").enabled)
        }

        function test_binaryInputSelectorCycles() {
            var seen = []
            for (var i = 0; i < 4; ++i) {
                tap("biSelector2")
                seen.push(model.getOutputBIState(0, 2))
            }
            compare(seen, [2, 1, 0, 3])
            compare(control("biSelector2").stateValue, 3)
        }

        function test_triggerChoices_data() {
            return [
                { tag: "time", index: 0, time: true, key: false, clock: false },
                { tag: "binary", index: 1, time: false, key: false, clock: false },
                { tag: "time+binary", index: 2, time: true, key: false, clock: false },
                { tag: "key press", index: 3, time: false, key: true, clock: false },
                { tag: "GPS/IRIG-B", index: 4, time: false, key: false, clock: true },
            ]
        }

        function test_triggerChoices(data) {
            tap("nextButton")
            choose("triggerBox", data.index)
            compare(model.getTriggerType(1), data.index)
            compare(control("timeRow").visible, data.time)
            compare(control("keyPressButton").visible, data.key)
            compare(control("triggerTimeButton").visible, data.clock)
            verify(!control("keyPressButton").enabled)
            compare(model.getTriggerType(0), ViewBaseModel.AO_TRIGGER_TYPE_TIME)
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
            tryCompare(harness.triggerTimeDialog, "opened", false)
            pageBench.setIrigbSignal(false)
            tryVerify(function() { return !control("triggerTimeButton").enabled }, 30000, "synchronisation lost")
            system.setClockSource(0)
            system.setClockSyncConfig()
        }

        function test_assessmentButtons() {
            tap("assessTabButton")
            var steps = [
                { tap: "assessDeleteButton", count: 0 },             // no row: nothing
                { tap: "assessAddButton", count: 1 },
                { tap: "assessAddButton", count: 2 },
                { tap: "assessAddButton", count: 3 },
                { tap: "assessDeleteButton", count: 2 },
                { tap: "assessDeleteButton", count: 1 },
                { tap: "assessDeleteButton", count: 1 },             // the last goes only by "清除"
                { tap: "assessClearButton", count: 0 },
                { tap: "assessDeleteButton", count: 0 },
            ]
            for (var i = 0; i < steps.length; ++i) {
                tap(steps[i].tap)
                compare(model.getAssessCount(), steps[i].count, "step " + i)
                compare(page.assessList.count, steps[i].count, "step " + i)
            }
        }

        function assessCell(row, column) {
            return control("assess" + row + "_" + column)
        }

        // Double clicks on a start, stop, setting or deviation cell.
        function test_assessmentDialogs_data() {
            return [
                { tag: "stop beyond the list", x: 186, column: 2, dialog: "stateDialog", stored: 40, shown: 2, pick: 1,
                  get: "getAssessStop", set: "setAssessStop", value: 1, text: "状态2" },
                { tag: "start", x: 86, column: 1, dialog: "stateDialog", stored: 0, shown: 0, pick: 2,
                  get: "getAssessStart", set: "setAssessStart", value: 2, text: "状态3" },
                { tag: "setting time", x: 296, column: 3, dialog: "timeDialog", stored: 1, shown: 1, pick: 2.5,
                  get: "getSettingTime", set: "setSettingTime", value: 2.5, text: "2.500s" },
                { tag: "deviation, limited", x: 406, column: 4, dialog: "timeDialog", stored: 0.1, shown: 0.1, pick: 5000,
                  get: "getDevTime", set: "setDevTime", value: 1000, text: "1,000.000s" },
            ]
        }

        function openAssess(data) {
            var dialog = page[data.dialog]
            mouseDoubleClickSequence(control("assessArea0"), data.x, 10)
            tryCompare(dialog, "opened", true)
            if (data.dialog === "stateDialog") {
                compare(dialog.selectedItem, data.shown)
                compare(dialog.stateCount, 3)
                dialog.selectedItem = data.pick
            } else {
                compare(dialog.numberBox.dataValue, data.shown)
                compare(dialog.numberBox.dataMax, 1000)
                dialog.numberBox.text = String(data.pick)
            }
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
        }

        function test_assessmentDialogs(data) {
            tap("assessTabButton")
            tap("assessAddButton")
            model[data.set](0, data.stored)
            page.updateControlValue()
            // Another test active: the dialog writes nothing.
            otherModel.testActive()
            openAssess(data)
            compare(model[data.get](0), data.stored)
            model.testActive()
            openAssess(data)
            compare(model[data.get](0), data.value)
            compare(assessCell(0, data.column).text, data.text)
        }

        function test_calculatorWritesTheActiveState() {
            tap("nextButton")
            var before = model.getOutputRange(0, 4)
            tap("calcButton")
            var dialog = page.distanceDialog
            tryCompare(dialog, "opened", true)
            var fault = dialog.distanceModel
            fault.setDistanceType(0)
            fault.setFaultType(0)
            fault.setFaultCurrent(5)
            fault.setShortRange(2)
            fault.setShortAngle(75)
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            compare(model.getOutputRange(1, 4), 5)
            compare(model.getOutputRange(0, 4), before)
            tap("currentTabButton")
            compare(control("range4").text, "5.000")

            // A fault that cannot be calculated: the model's message, the state kept.
            fault.setDistanceType(1)
            fault.setFaultVoltage(10)
            fault.setShortRange(0)
            fault.setShortReal(0)
            fault.setShortImage(0)
            tap("calcButton")
            tryCompare(dialog, "opened", true)
            mouseClick(popupButton(dialog, "acceptButton"))
            tryCompare(dialog, "opened", false)
            verify(model.getUserMessage() !== "")
            answerMessage(model.getUserMessage())
            compare(model.getOutputRange(1, 4), 5)
            compare(control("range4").text, "5.000")
        }

        function test_fileDialogRequests() {
            tap("addStateButton")
            var dialog = openFile("parameterMode")
            compare(dialog.nameBox.text, "Sequence_")
            dialog.nameBox.text = "ss_page"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存参数成功！")
            dialog = openFile("parameterMode")
            dialog.nameBox.text = "ss_page"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("参数文件已存在, 确定要覆盖文件?")
            answerMessage("保存参数成功！")
            dialog = openFile("reportMode")
            dialog.nameBox.text = "ss_page"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("保存报告成功！")
            dialog = openFile("reportMode")
            dialog.nameBox.text = "ss_page"
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("报告文件已存在, 确定要覆盖文件?", false)
            verify(pageBench.fileExists(model.getRootPath() + "/report/" + harness.folder + "/ss_page.htm"))

            tap("deleteStateButton")
            compare(title(), "状态 [ 3 / 3 ]")
            dialog = openFile("loadMode")
            dialog.fileBox.currentIndex = model.getParmFileList().indexOf("ss_page.xml")
            mouseClick(popupButton(dialog, "acceptButton"))
            answerMessage("导入参数成功！")
            compare(model.getStateCount(), 4)
            compare(title(), "状态 [ " + (model.getActiveIndex() + 1) + " / 4 ]")
        }
    }
}

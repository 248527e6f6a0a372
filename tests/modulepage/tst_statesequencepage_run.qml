import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// State sequences run from the page on the simulated instrument, a threshold
// relay on IA (2 A, 4 s) wired to binary input 1: the editor and the result
// table follow the state being output, trips and binary-output changes go
// into the result table and the event recorder, the verdicts wait for the
// end; key presses, refused starts and leaving the page during a run.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_STATESEQUENCE
        pageSource: "qrc:/QMLPages/StateSequence/ModelStateSequencePage.qml"
        relays: "threshold:channel=IA,pickup=2,delay=4.0,input=0"
    }

    ModulePageTestCase {
        name: "StateSequencePageRun"
        harness: harness

        function init() {
            idlePage()
        }

        // The list from descriptions: trigger, time, IA, binary outputs.
        function buildStates(states) {
            while (model.getStateCount() > 1)
                model.removeState(0)
            while (model.getStateCount() < states.length)
                model.addState()
            for (var i = 0; i < states.length; ++i) {
                var s = states[i]
                for (var p = 4; p < 8; ++p)
                    model.setOutputRange(i, p, 0)
                model.setOutputRange(i, 4, s.ia || 0)
                model.setTriggerType(i, s.trigger)
                model.setOutputTime(i, s.time)
                for (var k = 0; k < 4; ++k)
                    model.setOutputBOState(i, k, (s.bo || []).indexOf(k + 1) >= 0 ? 1 : 0)
            }
            model.setActiveIndex(0)
            model.clearAssess()
            page.updateControlValue()
        }

        function events() {
            var list = []
            for (var i = 0; i < model.getEventRecorderCnt(); ++i)
                list.push({ time: model.getEventRecorderTime(i), type: model.getEventRecorderType(i),
                            signal: model.getEventRecorderSignalName(i), slope: model.getEventRecorderSlop(i) })
            return list
        }

        // No event with a time twice (those of states after a skipped one
        // have none); the events with a time in time order.
        function checkEvents(list) {
            var keys = {}
            var last = -1
            for (var i = 0; i < list.length; ++i) {
                var e = list[i]
                if (isNaN(e.time))
                    continue
                var key = e.type + "/" + e.signal + "/" + e.slope + "/" + e.time
                verify(!keys[key], "logged twice: " + key)
                keys[key] = true
                verify(e.time >= last, "out of order at " + i + ": " + e.time + " < " + last)
                last = e.time
            }
        }

        function countOf(list, type, signal, slope) {
            return list.filter(function(e) { return e.type === type && e.signal === signal && e.slope === slope }).length
        }

        function text(name) {
            return control(name).text
        }

        // The functions run in name order; each leaves the page idle.
        function test_1_theRunIsFollowedStateByState() {
            buildStates([
                { trigger: ViewBaseModel.AO_TRIGGER_TYPE_TIME, time: 5 },
                { trigger: ViewBaseModel.AO_TRIGGER_TYPE_TIME_BINARY, time: 20, ia: 5, bo: [1] },
                { trigger: ViewBaseModel.AO_TRIGGER_TYPE_TIME, time: 5, bo: [2] },
            ])
            tap("assessTabButton")
            tap("assessAddButton")
            model.setAssessStop(0, 1)
            model.setSettingTime(0, 5)
            model.setDevTime(0, 0.5)
            page.updateControlValue()

            var followed = []
            var rows = []
            var testing = []
            var onActive = function() {
                followed.push(page.activeIndex)
                testing.push(text("assess0_6"))
            }
            var onRow = function() { rows.push(page.resultList.currentIndex) }
            page.activeIndexChanged.connect(onActive)
            page.resultList.currentIndexChanged.connect(onRow)
            tap("startButton")
            waitRunning(true)
            var linkWhileRunning = control("linkBox").enabled
            testing.push(text("assess0_6"))
            waitRunning(false)
            page.activeIndexChanged.disconnect(onActive)
            page.resultList.currentIndexChanged.disconnect(onRow)
            verify(!linkWhileRunning)

            compare(followed, [1, 2])
            compare(rows, [1, 2])
            compare(testing, ["测试中", "测试中", "测试中"])
            compare(text("assess0_6"), "通过")
            verify(/^(4\.9|5\.0)\d\ds$/.test(text("assess0_5")), text("assess0_5"))
            for (var s = 0; s < 3; ++s)
                compare(model.getTestStates(s), ViewBaseModel.AO_STATE_TYPE_COMPLETED)
            compare(text("state0_1"), "未动作")
            verify(/^4\.0\d\ds$/.test(text("state1_1")), text("state1_1"))
            compare(text("state1_2"), "未动作")

            var list = events()
            checkEvents(list)
            compare(countOf(list, 1, "1", "0->1"), 1)
            compare(countOf(list, 1, "1", "1->0"), 1)
            compare(countOf(list, 1, "2", "0->1"), 1)
            compare(countOf(list, 0, "1", "0->1"), 1)
            // The last event is current and in view.
            tap("eventTabButton")
            var view = page.eventList
            compare(view.count, list.length)
            compare(view.currentIndex, list.length - 1)
            var last = view.itemAtIndex(list.length - 1)
            verify(last && last.y + last.height <= view.contentY + view.height + 1, "last event in view")
            verify(harness.exitEnabled)
            compare(pageBench.violationText(), "")
        }

        // A key-press state waits for "Key-Press"; "停止" ends the run.
        function test_2_keyPressAndStop() {
            buildStates([
                { trigger: ViewBaseModel.AO_TRIGGER_TYPE_TIME, time: 2 },
                { trigger: ViewBaseModel.AO_TRIGGER_TYPE_KEY_PRESS, time: 1, bo: [3] },
                { trigger: ViewBaseModel.AO_TRIGGER_TYPE_TIME, time: 1000 },
            ])
            tap("assessTabButton")
            tap("assessAddButton")
            model.setSettingTime(0, 2)              // state 1 lasts its 2 s
            tap("nextButton")
            verify(control("keyPressButton").visible && !control("keyPressButton").enabled)
            verifyStartShowsNoOldResult(/^(state\d+_[1-4]|assess\d+_[56]|event\d+_\d)$/)
            tryCompare(page, "activeIndex", 1, 30000)
            compare(text("assess0_6"), "测试中")
            tap("keyPressButton")
            tryCompare(page, "activeIndex", 2, 30000)
            compare(model.getTestStates(1), ViewBaseModel.AO_STATE_TYPE_COMPLETED)
            compare(text("assess0_6"), "测试中")
            tap("stopButton")
            waitRunning(false)
            compare(model.getTestStates(2), ViewBaseModel.AO_STATE_TYPE_COMPLETED)
            verify(text("assess0_6") !== "测试中")
            verify(control("startButton").visible)
        }

        // Refused starts: the page stays idle, the events stay, the exit is free.
        function test_3_refusedStarts() {
            var before = events()
            verify(before.length > 0)
            pageBench.setAmplifierTemperature(model.getDeviceTResume() + 10)
            tryVerify(function() { return !control("startButton").enabled }, 30000, "start disabled while hot")
            page.startClicked()
            answerMessage("功放温度过高，请待其冷却后再开始试验。")
            verify(!page.running && control("startButton").visible)
            compare(JSON.stringify(events()), JSON.stringify(before))
            pageBench.setAmplifierTemperature(25)
            tryVerify(function() { return control("startButton").enabled }, 30000, "start enabled again")

            // A start the engine refuses after taking it: the home button comes back.
            model.setOutputAngle(0, 1, NaN)
            tap("startButton")
            answerMessage("有输出值不是有效数值或超出范围，试验未开始。")
            waitRunning(false)
            verify(control("startButton").visible)
            tryCompare(harness, "exitEnabled", true, 30000)
            model.setOutputAngle(0, 1, 240)
        }

        // The live outputs switch while idle; leaving the page clears them
        // and stops a run.
        function test_4_leavingThePageInterruptsTheRun() {
            buildStates([{ trigger: ViewBaseModel.AO_TRIGGER_TYPE_TIME, time: 1000, bo: [1] }])
            mouseClick(control("boLamp1"))
            verify(model.getBOState(1))
            mouseClick(control("boLamp1"))
            verify(!model.getBOState(1))
            mouseClick(control("boLamp2"))
            verify(model.getBOState(2))
            hidePage()
            verify(!model.getBOState(2), "output 3 cleared")
            showPage()
            tap("startButton")
            waitRunning(true)
            mouseClick(control("boLamp3"))
            verify(!model.getBOState(3))
            hidePage()
            waitRunning(false)
            for (var k = 0; k < 4; ++k)
                verify(!model.getBOState(k), "output " + (k + 1) + " cleared")
            verify(!pageBench.outputPlaying())
        }

        // 32 short states with the outputs changing each time.
        function test_5_thirtyTwoShortStates() {
            var states = []
            for (var i = 0; i < 32; ++i)
                states.push({ trigger: ViewBaseModel.AO_TRIGGER_TYPE_TIME, time: 0.05,
                              bo: [i % 2 ? 1 : 0, (i >> 1) % 2 ? 2 : 0] })
            buildStates(states)
            tap("startButton")
            // The run can be over before the page sees it running.
            tryVerify(function() { return model.getTestStates(31) === ViewBaseModel.AO_STATE_TYPE_COMPLETED },
                      30000, "the last state reached")
            waitRunning(false)
            verify(control("startButton").visible)
            for (var s = 0; s < 32; ++s)
                compare(model.getTestStates(s), ViewBaseModel.AO_STATE_TYPE_COMPLETED, "state " + (s + 1))
            var list = events()
            checkEvents(list)
            // Each change of the states up to the last one followed, once.
            var changes = 0
            for (s = 0; s <= model.getActiveIndex(); ++s) {
                for (var k = 1; k <= 2; ++k)
                    changes += (states[s].bo.indexOf(k) >= 0) !== (s > 0 && states[s - 1].bo.indexOf(k) >= 0) ? 1 : 0
            }
            compare(list.filter(function(e) { return e.type === 1 }).length, changes)
        }
    }
}

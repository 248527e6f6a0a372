import QtQuick 2.15
import QtTest 1.15
import ZOR.TextFit 1.0
import ZOR.ViewBaseModel 1.0

// Every module page after a run against a relay (results in every field, the
// lists filled past their view, a point that does not act among trips under
// a second, written in ms; the harmonic result row with a trip and without),
// tab by tab and with the result list enlarged: every text whole, apart, at
// 12 px or more and not far smaller than another of its kind, in the
// language the file runs in (CMakeLists.txt runs it in Chinese, English and
// Portuguese). The pictures of what was checked are left in the build's
// screenshots/modulepages/<language>. The calibration page has a file of its
// own (tst_calibrationpage_textfit.qml).
Item {
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        relays: "none"
    }

    ModulePageTestCase {
        name: "ModulePagesTextFit"
        harness: harness

        // A page: its relays, the points it adds ("adds" taps of Add), the
        // steps before its run ([action, control, value]), how long it runs
        // ("stopAfter" ms, else to its end), then the tabs it shows in turn.
        function test_pages_data() {
            var B = ViewBaseModel
            var points = ["generalTabButton", "pointTabButton", "resultTitleButton"]
            return [
                { tag: "AC", module: B.TEST_ALTERNATE, source: "AC/ModelAlternatePage.qml",
                  relays: "threshold:channel=UA,pickup=60,delay=0.95,input=0",
                  steps: [["tap", "autoCheck"], ["choose", "modeBox", 1], ["enter", "endBox", "70"],
                          ["enter", "autoTimeBox", "1"]],
                  tabs: ["triggerTabButton", "settingTabButton"] },
                { tag: "DC", module: B.TEST_DIRECT, source: "DC/ModelDirectPage.qml",
                  relays: "threshold:channel=UA,pickup=50,delay=0.95,input=0",
                  tabs: ["triggerTabButton", "settingTabButton"] },
                { tag: "harmonic", module: B.TEST_HARMONIC, source: "Harmonic/ModelHarmonicPage.qml",
                  relays: "threshold:channel=IA,pickup=0.9,delay=0.95,input=0",
                  tabs: ["triggerTabButton", "settingTabButton"] },
                { tag: "harmonic without a trip", module: B.TEST_HARMONIC, source: "Harmonic/ModelHarmonicPage.qml",
                  relays: "none", stopAfter: 300 },
                { tag: "state sequence", module: B.TEST_STATESEQUENCE,
                  source: "StateSequence/ModelStateSequencePage.qml", relays: "fixed:delay=0.95,input=0",
                  tabs: ["currentTabButton", "assessTabButton", "eventTabButton", "stateTabButton"] },
                { tag: "standard source", module: B.TEST_STDSOURCE, source: "StdSource/ModelStdSourcePage.qml",
                  relays: "none", stopAfter: 300 },
                { tag: "ramping", module: B.TEST_RAMPING, source: "Ramping/ModelRampingPage.qml",
                  relays: "threshold:channel=UA,pickup=5,delay=0.95,input=0", adds: 7,
                  tabs: ["currentTabButton", "triggerTabButton", "resultTitleButton"] },
                { tag: "distance", module: B.TEST_DISTANCE, source: "Distance/ModelDistancePage.qml",
                  relays: "distance:reach1=5,time1=0.95,angle=75,kl=0.67,klangle=0,input=0", adds: 7,
                  steps: [["enter", "zRangeBox", "8"], ["tap", "addButton"], ["enter", "zRangeBox", "4"]],
                  tabs: ["timeTabButton"].concat(points) },
                { tag: "overcurrent", module: B.TEST_OVERCURRENT, source: "Overcurrent/ModelOvercurrentPage.qml",
                  relays: "inverse:channels=IA+IB+IC,pickup=1,tms=0.95,curve=dt,input=0", adds: 7,
                  steps: [["enter", "testCurrentBox", "0.5"], ["tap", "addButton"], ["enter", "testCurrentBox", "2"]],
                  tabs: ["triggerTabButton", "curveTabButton"].concat(points) },
                { tag: "energy", module: B.TEST_ENERGY, source: "Energy/ModelEnergyPage.qml",
                  relays: "energy:constant=3600,error=0.005,kind=active", adds: 6,
                  tabs: ["pulseTabButton"].concat(points) },
                { tag: "UFLS", module: B.TEST_SLIP_FREQUENCY, source: "LoadShedding/ModelSlipFrequencyPage.qml",
                  relays: "frequency:channel=UA,pickup=49.5,delay=0.2,input=0", adds: 6,
                  tabs: ["itemButton1", "itemButton2", "itemButton3", "itemButton4"].concat(points) },
                { tag: "UVLS", module: B.TEST_SLIP_VOLTAGE, source: "LoadShedding/ModelSlipVoltagePage.qml",
                  relays: "voltage:channels=UA+UB+UC,pickup=57,delay=0.2,input=0", adds: 6,
                  tabs: ["itemButton1", "itemButton2", "itemButton3"].concat(points) },
                { tag: "swing", module: B.TEST_OSCILLATE, source: "Oscillate/ModelOscillatePage.qml",
                  relays: "envelope:channel=UA,pickup=60,dropoff=0.8,input=0",
                  tabs: ["triggerTabButton", "settingTabButton"] }
            ]
        }

        function openPage(data) {
            if (harness.pageArea.visible) {
                harness.pageArea.visible = false
                tryCompare(page, "visible", false)
            }
            harness.module = data.module
            harness.pageSource = "qrc:/QMLPages/" + data.source
            verify(harness.wireRelays(data.relays), pageBench.relayErrors())
            // The amplifiers cool down from the page before.
            pageBench.setAmplifierTemperature(25)
            idlePage()
        }

        function run(data) {
            var steps = data.steps || []
            for (var i = 0; i < steps.length; ++i) {
                var s = steps[i]
                if (s[0] === "tap")
                    tap(s[1])
                else if (s[0] === "enter")
                    enter(s[1], s[2])
                else
                    choose(s[1], s[2])
            }
            for (var n = 0; n < (data.adds || 0); ++n)
                tap("addButton")
            tryVerify(function() { return control("startButton").enabled }, 30000, "Start enabled")
            tap("startButton")
            verify(page.running, "not started")
            if (data.stopAfter) {
                wait(data.stopAfter)
                tap("stopButton")
            }
            waitRunning(false)
        }

        // The misfits on the page as shown now, into `found` (each once, with
        // where it was seen first); the page's picture into the run's folder
        // ("<page>-<tab>.png").
        function collect(found, name, where) {
            wait(100)                                           // laid out
            verify(pageBench.savePicture(harness, (name + (where ? "-" + where : "")).replace(/ /g, "_")))
            var lines = TextFit.misfits(page)
            for (var i = 0; i < lines.length; ++i) {
                if (!(lines[i] in found))
                    found[lines[i]] = where ? where + ": " : ""
            }
        }

        function test_pages(data) {
            openPage(data)
            run(data)
            var found = {}
            collect(found, data.tag, "")
            var tabs = data.tabs || []
            for (var t = 0; t < tabs.length; ++t) {
                tap(tabs[t])
                collect(found, data.tag, tabs[t])
            }
            if (tabs.indexOf("resultTitleButton") >= 0)
                tap("resultTitleButton")
            compare(Object.keys(found).map(function(line) { return found[line] + line }).join("\n"), "")
        }
    }
}

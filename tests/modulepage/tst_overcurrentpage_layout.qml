import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewOvercurrentModel 1.0

// What the idle overcurrent page offers: the chart's feed as the item
// receives it (none for a pickup of 0 or less), "开始" only with points (also
// after a temperature notice), the limits from the unit, the read-only rules
// of the check boxes, report images, "取消" at an overwrite question.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_OVERCURRENT
        pageSource: "qrc:/QMLPages/Overcurrent/ModelOvercurrentPage.qml"
        relays: "none"
    }

    Image { id: decoded; visible: false }

    ModulePageTestCase {
        name: "OvercurrentPageLayout"
        harness: harness

        function init() {
            idlePage()
            page.curveSink = null
            if (page.resultList.collapsed)
                tap("resultTitleButton")
            tap("pointTabButton")
        }

        // The curve points the page feeds for `func`: [index, I, time, leftI,
        // leftTime, rightI, rightTime] each.
        function recordFeed(func) {
            var calls = []
            page.curveSink = { updateCurveData: function(n, i, t, li, lt, ri, rt) { calls.push([n, i, t, li, lt, ri, rt]) } }
            page.feedCurve(func)
            page.curveSink = null
            return calls
        }

        function near(actual, expected, what) {
            verify(Math.abs(actual - expected) <= 1e-9 * Math.max(1, Math.abs(expected)),
                   what + ": " + actual + " != " + expected)
        }

        function test_inverseFeed() {
            model.setIPickUp(1, 0.5)
            var calls = recordFeed(ViewOvercurrentModel.FUNCTION_TYPE_51)
            var imax = model.getDeviceAOIMaxRange() + 1
            for (var k = 0; k < calls.length; ++k)
                compare(calls[k][0], k)
            near(calls[0][1], 0.5, "point 0")
            near(calls[1][1], 0.5, "point 1")
            for (var n = 2; n <= 16; ++n)
                near(calls[n][1], 0.5 + Math.pow(2, n) * 0.00000005, "dense point " + n)
            // Main run: 0.005 A below 1 A, 0.05 A below 5 A, tenfold per decade after.
            var last = calls.findIndex(function(c) { return Math.abs(c[1] - imax) < 1e-9 })
            verify(last > 17, "no point at the largest range + 1 A")
            var step = 0.005
            for (k = 18; k < last; ++k) {
                var from = calls[k - 1][1]
                var size = calls[k][1] - from
                if (from < 1 - 1e-9) {
                    near(size, 0.005, "step after " + from)
                } else if (from < 5 - 1e-9) {
                    near(size, 0.05, "step after " + from)
                } else {
                    var decades = Math.log(size / 0.05) / Math.LN10
                    near(decades, Math.round(decades), "step after " + from)
                    verify(size >= step - 1e-9 && size <= from / 10 + 1e-9, "step " + size + " after " + from)
                }
                step = size
            }
            // Below the pickup: the short-time edge only, until it reaches 10000 s.
            var below = calls.slice(last + 1)
            verify(below.length > 0)
            for (k = 0; k < below.length; ++k) {
                verify(below[k][1] < 0.5, "below point at " + below[k][1])
                compare(below[k][2], -1)
                compare(below[k][4], -1)
            }
            verify(below[below.length - 2][6] < 10000)
        }

        // A pickup of 0 stepped by nothing and a negative one walked away from the end.
        function test_noFeedWithoutPickup_data() {
            return [
                { tag: "51 zero", func: 1, pickup: 0 },
                { tag: "51 negative", func: 1, pickup: -0.5 },
                { tag: "50 zero", func: 0, pickup: 0 },
            ]
        }
        function test_noFeedWithoutPickup(data) {
            model.setIPickUp(data.func, data.pickup)
            compare(recordFeed(data.func).length, 0)
            model.setIPickUp(data.func, 1)
            verify(recordFeed(data.func).length >= 3)
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

        function test_startNeedsAPoint() {
            tap("clearButton")
            verify(!control("startButton").enabled)
            waitTemperatureNotice(30)
            verify(!control("startButton").enabled)
            tap("addButton")
            verify(control("startButton").enabled)
            waitTemperatureNotice(25)
            verify(control("startButton").enabled)
        }

        // Maxima and quick values from the unit's ranges once the page is shown.
        function test_deviceLimits_data() {
            return [
                { tag: "pickup 50", box: "pickUp50Box", tab: "pointTabButton", max: "i", quick: ["i10", "i"] },
                { tag: "pickup 51", box: "pickUp51Box", tab: "pointTabButton", max: "i", quick: ["i10", "i"] },
                { tag: "test current", box: "testCurrentBox", tab: "pointTabButton", max: "i", quick: ["i10", "i"] },
                { tag: "fault voltage", box: "faultVPNBox", tab: "generalTabButton", max: "v", quick: ["vr", "v"] },
                { tag: "current tolerance", box: "currentTolAbsBox", tab: "generalTabButton", max: "ir",
                  quick: ["i20", "i10"] },
            ]
        }
        function test_deviceLimits(data) {
            var values = {
                i: model.getDeviceAOIMaxRange(), v: model.getDeviceAOVMaxRange(), ir: model.getRateIRange(),
                vr: model.getRateVRange(), i10: model.getRateIRange() / 10, i20: model.getRateIRange() / 20
            }
            tap(data.tab)
            var box = control(data.box)
            compare(box.dataMax, values[data.max])
            compare([box.quick1Value, box.quick2Value], [page.formatted(values[data.quick[0]]),
                                                         page.formatted(values[data.quick[1]])])
        }

        function test_readOnlyByCheckBox_data() {
            return [
                { tag: "pre-fault", check: "normalCheck", fields: ["normalTimeBox"], enabled: ["outputOnceCheck"] },
                { tag: "interval", check: "intervalCheck", fields: ["intervalTimeBox"], enabled: [] },
                { tag: "fault voltage", check: "faultVPCheck", fields: ["faultVPNBox", "testAngleBox"], enabled: [] },
            ]
        }
        function test_readOnlyByCheckBox(data) {
            tap("generalTabButton")
            for (var pass = 0; pass < 2; ++pass) {
                tap(data.check)
                var on = control(data.check).checked
                for (var k = 0; k < data.fields.length; ++k)
                    compare(control(data.fields[k]).readOnly, !on, data.fields[k])
                for (k = 0; k < data.enabled.length; ++k)
                    compare(control(data.enabled[k]).enabled, on, data.enabled[k])
            }
        }

        function imagesOf(html) {
            var found = []
            var re = /data:image\/png;base64,([A-Za-z0-9+\/=]+)/g
            var m
            while ((m = re.exec(html)) !== null)
                found.push(m[1])
            return found
        }

        // With the curve tab never opened: one image per function in the list.
        function test_reportImagesPerFunction_data() {
            return [
                { tag: "both functions", functions: [0, 1, 1], images: 2, overwrite: false },
                { tag: "function 50 only", functions: [0], images: 1, overwrite: true },
            ]
        }
        function test_reportImagesPerFunction(data) {
            compare(page.tabs.currentIndex === 3, false)
            model.clearPoint()
            model.setIPickUp(0, 5)
            model.setIPickUp(1, 1)
            for (var n = 0; n < data.functions.length; ++n) {
                model.setFunction(data.functions[n])
                model.setTestCurrent(2 + 4 * n)
                model.addPoint()
            }
            page.updateControlValue()
            var report = model.getRootPath() + "/report/" + harness.folder + "/oc_images.htm"
            var dialog = openFile("reportMode")
            compare(dialog.nameBox.text, "Overcurrent_")
            dialog.nameBox.text = "oc_images"
            mouseClick(popupButton(dialog, "acceptButton"))
            if (data.overwrite)
                answerMessage("报告文件已存在, 确定要覆盖文件?", true)
            answerMessage("保存报告成功！")
            var images = imagesOf(pageBench.readFile(report))
            compare(images.length, data.images)
            var blank = page.chart.drawImage()
            for (var k = 0; k < images.length; ++k) {
                verify(images[k] !== blank, "image " + k + " blank")
                decoded.source = "data:image/png;base64," + images[k]
                tryCompare(decoded, "status", Image.Ready)
                compare(decoded.sourceSize.width, Math.floor(page.chart.width))
                compare(decoded.sourceSize.height, Math.floor(page.chart.height))
            }
        }

        // "取消" at the overwrite question leaves the stored report as it was.
        function test_reportCancelSavesNothing() {
            var report = model.getRootPath() + "/report/" + harness.folder + "/oc_cancel.htm"
            tap("clearButton")
            tap("addButton")
            for (var pass = 0; pass < 2; ++pass) {
                var dialog = openFile("reportMode")
                dialog.nameBox.text = "oc_cancel"
                mouseClick(popupButton(dialog, "acceptButton"))
                if (pass === 0) {
                    answerMessage("保存报告成功！")
                    var before = pageBench.readFile(report)
                    tap("addButton")                    // a report now would differ
                } else {
                    answerMessage("报告文件已存在, 确定要覆盖文件?", false)
                }
            }
            verify(before.length > 0)
            wait(200)                                   // a save would follow the answer at once
            compare(page.messageDialog.opened, false)
            compare(pageBench.readFile(report), before)
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0
import ZOR.ViewCalibrationModel 1.0

// The calibration page's panels by device: which cells are shown and kept
// selected with three- or four-phase outputs and a digital amplifier, the
// auxiliary-DC kind, the reference cells of the phase and frequency kinds,
// the point labels; and the export and import dialog with and without the
// USB stick.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_CALIBRATION
        pageSource: "qrc:/QMLPages/Calibration/ModelSystemCalPage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "CalibrationPageLayout"
        harness: harness

        readonly property var sys: harness.systemModel
        readonly property int acamp: ViewCalibrationModel.CAL_TYPE_ACAMP
        readonly property int dcamp: ViewCalibrationModel.CAL_TYPE_DCAMP

        function cellBox(kind, port, level) {
            return control("cell" + kind + "_" + port + "_" + level)
        }

        // Shown again, as the settings page shows it, with a device.
        function showWith(voltages4, currents4, digital, auxByValue) {
            harness.pageArea.visible = false
            tryCompare(page, "visible", false)
            sys.setVoltagePhasesType(voltages4 ? ViewBaseModel.PHASES_TYPE_FOUR : ViewBaseModel.PHASES_TYPE_THREE)
            sys.setCurrentPhasesType(currents4 ? ViewBaseModel.PHASES_TYPE_FOUR : ViewBaseModel.PHASES_TYPE_THREE)
            sys.setDevicePowerAmpType(digital ? 1 : 0)
            sys.setDeviceAuxDCType(auxByValue ? 1 : 0)
            harness.pageArea.visible = true
            tryCompare(page, "visible", true)
        }

        function init() {
            verify(pageBenchReady, "the engine did not come up on the simulated instrument")
            page.exportDialog.close()
            page.messageDialog.close()
        }

        function test_cells_data() {
            return [
                { tag: "three phases", v4: false, i4: false, digital: false, aux: false },
                { tag: "four phases", v4: true, i4: true, digital: false, aux: true },
                { tag: "four phases, digital amplifier", v4: true, i4: true, digital: true, aux: false }
            ]
        }

        // Every cell selected while shown; then shown again on the device of the row.
        function test_cells(data) {
            showWith(true, true, false, true)
            var kinds = [1, 2, 3, 5, 7, 8, 9, 10]
            for (var k = 0; k < kinds.length; ++k)
                for (var port = 0; port < 8; ++port)
                    for (var level = 0; level < 2; ++level)
                        model.setCurrentSelected(kinds[k], port, level, true)
            showWith(data.v4, data.i4, data.digital, data.aux)
            for (k = 0; k < kinds.length; ++k) {
                for (port = 0; port < 8; ++port) {
                    for (level = 0; level < 2; ++level) {
                        var shown = !(port === 3 && !data.v4) && !(port === 7 && !data.i4)
                                && !(kinds[k] === dcamp && data.digital && (port === 5 || port === 7))
                        compare(model.getCurrentSelected(kinds[k], port, level), shown,
                                kinds[k] + "/" + port + "/" + level)
                    }
                }
            }
            // The kind's own panel shows its boxes.
            tap("kind" + dcamp)
            compare(cellBox(dcamp, 5, 0).visible, !data.digital)
            compare(cellBox(dcamp, 7, 1).visible, data.i4 && !data.digital)
            compare(cellBox(dcamp, 3, 0).visible, data.v4)
            compare(control("kind" + ViewCalibrationModel.CAL_TYPE_AUXDC).visible, data.aux)
        }

        function test_referenceCellsAndPoints() {
            showWith(false, false, false, true)
            // Phase: UA checked and fixed, the voltage rows show UB's points.
            tap("kind" + ViewCalibrationModel.CAL_TYPE_ACPHA)
            var ua0 = cellBox(3, 0, 0)
            verify(ua0.checked && !ua0.enabled)
            verify(cellBox(3, 0, 1).checked && !cellBox(3, 0, 1).enabled)
            verify(cellBox(3, 1, 0).enabled)
            compare(control("point3_0_0").text, "10.0V")
            compare(control("point3_3_0").text, "5.0A")
            // Frequency: one box, UA-L1.
            tap("kind" + ViewCalibrationModel.CAL_TYPE_ACFRQ)
            for (var port = 0; port < 8; ++port)
                for (var level = 0; level < 2; ++level)
                    compare(cellBox(4, port, level).visible, port === 0 && level === 1, port + "/" + level)
            verify(cellBox(4, 0, 1).checked && !cellBox(4, 0, 1).enabled)
            // Labels by kind: decimals, units, the third and fourth only when set.
            var rows = [
                { kind: acamp, row: 0, texts: ["3.6V", "6.0V", "12.0V", "24.0V"] },
                { kind: acamp, row: 3, texts: ["2.5A", "4.0A", "8.0A", "16.0A"] },
                { kind: dcamp, row: 1, texts: ["60.0V", "230.0V", "", ""] },
                { kind: 8, row: 2, texts: ["0.05V", "0.16V", "0.32V", "0.64V"] },
                { kind: 9, row: 1, texts: ["6.40V", "", "", ""] },
                { kind: 10, row: 3, texts: ["1.6V", "6.4V", "", ""] },
                { kind: 6, row: 0, texts: ["24.0V", "48.0V", "110.0V", "220.0V", "300.0V"] }
            ]
            for (var r = 0; r < rows.length; ++r) {
                for (var k = 0; k < rows[r].texts.length; ++k) {
                    var label = control("point" + rows[r].kind + "_" + rows[r].row + "_" + k)
                    compare(label.text, rows[r].texts[k], label.objectName)
                }
            }
            // Amplitude against frequency: ten points, alternately on the level-0
            // and level-1 rows, four to a column.
            tap("kind" + ViewCalibrationModel.CAL_TYPE_ACFAC)
            for (var f = 0; f < 10; ++f) {
                var point = control("frequency" + f)
                compare(point.text, (100 * (f + 1)).toFixed(1) + "Hz")
                compare(point.parent.row, f % 4)
            }
        }

        // The mask between openings; without the stick a warning and no accept.
        function test_exchangeDialog() {
            var dialog = page.exportDialog
            pageBench.setUsbStickMounted(false)
            tap("exportButton")
            tryCompare(dialog, "opened", true)
            compare(dialog.title, "导出系数")
            verify(dialog.folderWarning.visible)
            compare(dialog.folderWarning.text, "U盘不存在！")
            verify(!popupButton(dialog, "acceptButton").enabled)
            mouseClick(dialog.lowLevelBox)
            mouseClick(dialog.voltageBox)
            mouseClick(dialog.currentBox)
            compare(dialog.exportCalType, 7)
            mouseClick(popupButton(dialog, "rejectButton"))
            tryCompare(dialog, "opened", false)

            pageBench.setUsbStickMounted(true)
            tap("importButton")
            tryCompare(dialog, "opened", true)
            compare(dialog.title, "导入系数")
            compare(dialog.exportCalType, 6)
            verify(!dialog.lowLevelBox.checked && dialog.voltageBox.checked && dialog.currentBox.checked)
            verify(!dialog.folderWarning.visible)
            verify(popupButton(dialog, "acceptButton").enabled)
            compare(dialog.backupFolderName, "/media/usb/backup/" + sys.getDeviceCode())
            mouseClick(dialog.lowLevelBox)                         // it can be checked again
            compare(dialog.exportCalType, 7)
            mouseClick(popupButton(dialog, "rejectButton"))
            tryCompare(dialog, "opened", false)
            tap("exportButton")
            tryCompare(dialog, "opened", true)
            verify(dialog.lowLevelBox.checked)
            mouseClick(popupButton(dialog, "rejectButton"))
        }

        // Export and import through the stick, off the GUI thread; the
        // messages by result (a refused import names its file and why); the
        // page refreshed by the import's load notice.
        function test_exchangeWithTheStick() {
            pageBench.setUsbStickMounted(true)
            var folder = "/media/usb/backup/" + sys.getDeviceCode()
            var dialog = page.exportDialog
            var rows = [
                { exported: true, mask: [false, true, false], message: "校准系数导出成功!" },
                { exported: false, mask: [false, true, false], message: "校准系数导入成功!" },
                { exported: true, mask: [false, false, false], message: "没有可导出校准系数文件!" },
                { exported: false, mask: [false, false, false], message: "没有可导入校准系数文件!" },
                { exported: false, mask: [false, true, false], blocked: "calacamp.xml",
                  message: "校准系数未导入：calacamp.xml不是普通文件（是链接、管道、设备或文件夹）" }
            ]
            for (var i = 0; i < rows.length; ++i) {
                var row = rows[i]
                var revision = page.revision
                if (row.blocked)
                    verify(pageBench.blockFile(pageBench.devicePath(folder + "/" + row.blocked), true))
                tap(row.exported ? "exportButton" : "importButton")
                tryCompare(dialog, "opened", true)
                var boxes = [dialog.lowLevelBox, dialog.voltageBox, dialog.currentBox]
                for (var b = 0; b < 3; ++b)
                    if (boxes[b].checked !== row.mask[b])
                        mouseClick(boxes[b])
                mouseClick(popupButton(dialog, "acceptButton"))
                tryCompare(dialog, "opened", false)
                verify(page.exchangeBusy, "busy until the result comes")
                verify(!sys.startImportCal(folder, 2), "a second request is refused meanwhile")
                verify(!control("exportButton").enabled)
                answerMessage(row.message)
                verify(!page.exchangeBusy)
                if (row.blocked) {
                    verify(pageBench.blockFile(pageBench.devicePath(folder + "/" + row.blocked), false))
                    continue
                }
                if (row.exported && row.mask[1])
                    verify(pageBench.fileExists(pageBench.devicePath(folder + "/calacamp.xml")))
                if (!row.exported && row.mask[1])
                    tryVerify(function() { return page.revision > revision }, 30000, "refreshed on the load notice")
            }
        }
    }
}

import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import ZOR.ViewComputerDistanceModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Common"

// The fault calculator dialog over the shared distance model: what opening
// shows, edits written at once (through the combos and the number panel),
// the rows that follow the model, the factor form, UX, OK and Cancel.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    // The main window's system view model, with a device of 265 V / 20 A.
    QtObject {
        id: viewBaseModel
        property int language: 0
        function setBeep() {}
        function getRateVRange() { return 57.735 }
        function getRateIRange() { return 5.0 }
        function getDeviceAOVMaxRange() { return 265.0 }
        function getDeviceAOIMaxRange() { return 20.0 }
        function getLanuageType() { return language }
    }

    ComputerDistanceDialog {
        id: dialog
        // What the page's computerDistance() would see on accept().
        property real currentAtAccept: NaN
        onAccept: currentAtAccept = distanceModel.getFaultCurrent()
    }

    SignalSpy { id: acceptSpy; target: dialog; signalName: "accept" }
    SignalSpy { id: rejectSpy; target: dialog; signalName: "reject" }

    TestCase {
        name: "ComputerDistanceDialog"
        when: windowShown

        property var model: dialog.distanceModel

        function init() {
            acceptSpy.clear()
            rejectSpy.clear()
            viewBaseModel.language = 0
            model.setDistanceType(0)
            model.setFaultType(0)
            model.setCTPosition(0)
            model.setPTPosition(0)
            model.setDirection(1)
            model.setFaultVoltage(0)
            model.setFaultCurrent(0)
            model.setLoadCurrent(0)
            model.setLoadAngle(0)
            model.setShortRange(0)
            model.setShortAngle(75)
            model.setShortFactorType(0)
            model.setShortFactorRange(1)
            model.setShortFactorAngle(0)
            model.setUXDefineType(0)
            model.setUXDefineRange(0)
            model.setUXDefineAngle(0)
        }

        function cleanup() {
            dialog.close()
            tryCompare(dialog, "opened", false)
            tryCompare(inputNumberPanel, "opened", false)
        }

        function show() {
            dialog.open()
            tryCompare(dialog, "opened", true)
            // The positioners lay the rows out for the first frame.
            waitForRendering(dialog.contentItem)
        }

        function child(name) {
            var item = findChild(dialog.contentItem, name)
            verify(item, "no " + name)
            return item
        }

        function choose(name, index) {
            var box = child(name)
            box.currentIndex = index
            box.activated(index)
        }

        // Types keys on the number panel into the box, then confirms.
        function type(name, keys) {
            var box = child(name)
            mouseClick(box)
            tryCompare(inputNumberPanel, "opened", true)
            compare(inputNumberPanel.owner, box)
            for (var i = 0; i < keys.length; ++i)
                mouseClick(findChild(inputNumberPanel.contentItem, keys[i]))
            mouseClick(findChild(inputNumberPanel.contentItem, "keyConfirm"))
            tryCompare(inputNumberPanel, "opened", false)
            return box
        }

        function test_openingShowsTheSharedSettings() {
            model.setFaultType(7)
            model.setCTPosition(1)
            model.setFaultCurrent(2.5)
            model.setLoadCurrent(0.5)
            model.setLoadAngle(-20)
            model.setShortRange(10)
            model.setShortAngle(60)
            show()
            compare(dialog.accepted, false)
            compare(dialog.rejected, false)
            compare(child("faultTypeBox").currentIndex, 7)
            compare(child("ctPositionBox").currentIndex, 1)
            compare(child("directionBox").currentIndex, 1)
            compare(child("faultCurrentBox").text, "2.500")
            compare(child("loadCurrentBox").text, "0.500")
            compare(child("loadAngleBox").text, "-20.000")
            compare(child("shortRangeBox").text, "10.000")
            compare(child("shortAngleBox").text, "60.000")
            compare(child("shortRealBox").text, "5.000")
            compare(child("shortImageBox").text, "8.660")
            // Quick keys and limits from the device.
            compare(child("faultVoltageBox").quick1Value, "57.735")
            compare(child("faultVoltageBox").quick2Value, "265.000")
            compare(child("faultVoltageBox").dataMax, 265)
            compare(child("loadCurrentBox").quick1Value, "5.000")
            compare(child("loadCurrentBox").quick2Value, "20.000")
            compare(child("faultCurrentBox").dataMax, 20)
            // The test configuration has three voltages: no UX block.
            compare(child("uxBlock").visible, false)
        }

        function test_rowsFollowTheModel_data() {
            return [
                { tag: "constant current", type: 0, voltage: false, current: true },
                { tag: "constant voltage", type: 1, voltage: true, current: false },
                { tag: "constant source impedance", type: 2, voltage: false, current: false },
            ]
        }

        function test_rowsFollowTheModel(data) {
            model.setDistanceType(data.type)
            show()
            compare(child("faultVoltageRow").visible, data.voltage)
            compare(child("faultCurrentRow").visible, data.current)
        }

        function test_choicesWriteAtOnce() {
            show()
            choose("distanceTypeBox", 1)
            compare(model.getDistanceType(), 1)
            compare(child("faultVoltageRow").visible, true)
            compare(child("faultCurrentRow").visible, false)
            choose("faultTypeBox", 4)
            compare(model.getFaultType(), 4)
            choose("ptPositionBox", 1)
            compare(model.getPTPosition(), 1)
            choose("directionBox", 0)
            compare(model.getDirection(), 0)

            // Through the list itself.
            var box = child("ctPositionBox")
            mouseClick(box)
            tryCompare(box.popup, "opened", true)
            var list = box.popup.contentItem
            tryVerify(function() { return list.itemAtIndex(1) !== null })
            mouseClick(list.itemAtIndex(1))
            tryCompare(box.popup, "opened", false)
            compare(model.getCTPosition(), 1)
        }

        function test_numbersClampOrAreRefused() {
            show()
            type("faultCurrentBox", ["key5", "key0"])
            compare(model.getFaultCurrent(), 20)
            compare(child("faultCurrentBox").text, "20.000")
            type("shortRangeBox", ["key2", "key0", "key0", "key0", "key0", "key0", "key0"])
            compare(model.getShortRange(), 0)
            compare(child("shortRangeBox").text, "0.000")
            type("loadAngleBox", ["keyMinus", "key4", "key0", "key0"])
            compare(model.getLoadAngle(), -360)
        }

        function test_rectangularEditShowsThePolarForm() {
            show()
            type("shortRealBox", ["key5"])
            compare(model.getShortReal(), 5)
            compare(child("shortRangeBox").text, "5.000")
            compare(child("shortAngleBox").text, "0.000")
            type("shortImageBox", ["key5"])
            compare(child("shortRangeBox").text, "7.071")
            compare(child("shortAngleBox").text, "45.000")
            // An angle is kept as typed.
            type("shortAngleBox", ["keyMinus", "key3", "key0"])
            compare(model.getShortAngle(), -30)
            compare(child("shortAngleBox").text, "-30.000")
        }

        function test_storedValuesBeyondTheEntryLimitsAreShown() {
            // Written by another module with other limits, or a polar angle
            // giving a negative resistance.
            model.setLoadCurrent(25)
            model.setShortRange(10)
            model.setShortAngle(120)
            show()
            compare(child("loadCurrentBox").text, "25.000")
            compare(child("shortRealBox").text, "-5.000")
            compare(model.getLoadCurrent(), 25)
        }

        function test_factorFormRelabelsAndConverts() {
            model.setShortFactorRange(0.5)
            model.setShortFactorAngle(0)
            show()
            compare(child("factorRangeLabel").text, "KL幅值")
            compare(child("factorAngleLabel").text, "KL角度")
            choose("factorTypeBox", 2)
            compare(model.getShortFactorType(), 2)
            compare(child("factorRangeLabel").text, "Z0/Z1幅值")
            compare(child("factorAngleLabel").text, "Z0/Z1角度")
            compare(child("factorRangeBox").text, "2.500")
            compare(child("factorAngleBox").unit, "°")
            choose("factorTypeBox", 1)
            compare(child("factorRangeLabel").text, "RE/RL")
            compare(child("factorAngleLabel").text, "XE/XL")
            compare(child("factorAngleBox").unit, "")
            compare(child("factorAngleBox").unitShown, false)
            compare(child("factorRangeBox").text, "0.500")
            compare(child("factorAngleBox").text, "0.500")
        }

        function test_uxBlock() {
            show()
            // As with a four-voltage configuration.
            dialog.uxVisible = true
            verify(child("uxBlock").visible)
            model.setUXDefineRange(30)
            model.setUXDefineAngle(90)
            choose("uxDefineBox", 1)
            compare(model.getUXDefineType(), 1)
            compare(child("uxRangeBox").text, "0.000")
            compare(child("uxAngleBox").text, "0.000")
            compare(child("uxRangeBox").readOnly, true)
            compare(child("uxRangeBox").enabled, false)
            choose("uxDefineBox", 0)
            compare(child("uxRangeBox").text, "30.000")
            compare(child("uxAngleBox").text, "90.000")
            compare(child("uxRangeBox").readOnly, false)
            type("uxAngleBox", ["key1", "key2", "key0"])
            compare(model.getUXDefineAngle(), 120)
        }

        function test_okEmitsAcceptAfterTheEdits() {
            show()
            type("faultCurrentBox", ["key3"])
            mouseClick(child("acceptButton"))
            tryCompare(dialog, "opened", false)
            compare(acceptSpy.count, 1)
            compare(dialog.accepted, true)
            compare(dialog.rejected, false)
            compare(dialog.currentAtAccept, 3)
            tryCompare(inputNumberPanel, "opened", false)
        }

        function test_cancelKeepsTheEdits() {
            show()
            type("loadCurrentBox", ["key1", "keyPoint", "key5"])
            mouseClick(child("rejectButton"))
            tryCompare(dialog, "opened", false)
            compare(rejectSpy.count, 1)
            compare(acceptSpy.count, 0)
            compare(dialog.rejected, true)
            compare(model.getLoadCurrent(), 1.5)
            show()
            compare(dialog.rejected, false)
            compare(child("loadCurrentBox").text, "1.500")
        }

        function test_russianLabelsUseTheSmallerFont() {
            viewBaseModel.language = 3
            show()
            compare(dialog.labelFontSize, globalConfiguration.customFontL3Size)
            compare(dialog.directionFontSize, globalConfiguration.customFontL3Size - 3)
            compare(dialog.impedanceCaptionFontSize, globalConfiguration.customFontL2Size)
        }
    }
}

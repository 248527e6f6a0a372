import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import "qrc:/"

// The dialogs: their buttons and signals, fields typed through the panels,
// the auxiliary DC choices and the pulse-time list.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    UserMessageDialog { id: message; title: "系统提示"; content: "是否退出?" }
    UserInputDialog { id: input }
    UserPasswordDialog { id: password }
    UserAuxDCDialog { id: auxDC }
    UserReportParmDialog { id: files; moduleName: "AC_" }
    UserTriggerTimeDialog { id: triggers }
    UserSelectedDialog { id: states; stateCount: 3 }
    UserMultiDialog { id: multi }
    UserReportDialog { id: report }

    SignalSpy { id: messageAccept; target: message; signalName: "accept" }
    SignalSpy { id: messageReject; target: message; signalName: "reject" }
    SignalSpy { id: inputAccept; target: input; signalName: "accept" }
    SignalSpy { id: passwordAccept; target: password; signalName: "accept" }
    SignalSpy { id: saveReportSpy; target: files; signalName: "saveReport" }
    SignalSpy { id: saveParametersSpy; target: files; signalName: "saveParameters" }
    SignalSpy { id: loadParameterSpy; target: files; signalName: "loadParameter" }
    SignalSpy { id: statesAccept; target: states; signalName: "accept" }
    SignalSpy { id: multiAccept; target: multi; signalName: "accept" }
    SignalSpy { id: reportSave; target: report; signalName: "save" }

    TestCase {
        name: "Dialogs"
        when: windowShown

        function init() {
            viewBaseModel.calls = []
            var spies = [messageAccept, messageReject, inputAccept, passwordAccept, saveReportSpy,
                         saveParametersSpy, loadParameterSpy, statesAccept, multiAccept, reportSave]
            for (var i = 0; i < spies.length; ++i)
                spies[i].clear()
        }

        function cleanup() {
            var dialogs = [message, input, password, auxDC, files, triggers, states, multi, report]
            for (var i = 0; i < dialogs.length; ++i)
                dialogs[i].close()
            tryCompare(inputNumberPanel, "opened", false)
            tryCompare(inputCharNumberPanel, "opened", false)
            tryCompare(inputTimePanel, "opened", false)
        }

        function show(dialog) {
            dialog.open()
            tryCompare(dialog, "opened", true)
        }

        function button(dialog, name) {
            var item = findChild(dialog.contentItem, name)
            verify(item, "no " + name)
            return item
        }

        function numberKeys(keys) {
            for (var i = 0; i < keys.length; ++i)
                mouseClick(findChild(inputNumberPanel.contentItem, keys[i]))
        }

        function test_messageAcceptAndReject() {
            show(message)
            mouseClick(button(message, "acceptButton"))
            tryCompare(message, "opened", false)
            compare(message.accepted, true)
            compare(message.rejected, false)
            compare(messageAccept.count, 1)
            show(message)
            compare(message.accepted, false)
            mouseClick(button(message, "rejectButton"))
            tryCompare(message, "opened", false)
            compare(message.rejected, true)
            compare(messageReject.count, 1)
        }

        function test_messageWithoutReject() {
            message.rejectText = ""
            show(message)
            compare(button(message, "rejectButton").visible, false)
            message.rejectText = "取消"
        }

        function test_titleBarDragsTheDialog() {
            show(message)
            var x0 = message.x
            var y0 = message.y
            compare(x0, (window.width - message.width) / 2)
            // Window coordinates: the title bar moves with the dialog.
            mouseDrag(window, x0 + 100, y0 + 20, 60, 40)
            tryCompare(message, "x", x0 + 60)
            compare(message.y, y0 + 40)
            message.close()
            tryCompare(message, "opened", false)
            // Opening again centres it.
            show(message)
            compare(message.x, x0)
        }

        function test_inputDialogTypesThroughThePanel() {
            input.setDataValue(5, "1.0", "5.0", 20, 0, "A")
            show(input)
            compare(input.numberBox.text, "5.000")
            mouseClick(input.numberBox)
            tryCompare(inputNumberPanel, "opened", true)
            compare(inputNumberPanel.owner, input.numberBox)
            numberKeys(["key2", "key5"])
            mouseClick(button(input, "acceptButton"))
            tryCompare(input, "opened", false)
            compare(inputAccept.count, 1)
            compare(inputAccept.signalArguments[0][0], 20)
            // Closing the dialog closed the panel.
            tryCompare(inputNumberPanel, "opened", false)
        }

        function test_passwordStaysOpenUntilThePageDecides() {
            show(password)
            mouseClick(password.passwordBox)
            tryCompare(inputCharNumberPanel, "opened", true)
            var keys = ["key1", "key2", "key3"]
            for (var i = 0; i < keys.length; ++i)
                mouseClick(findChild(inputCharNumberPanel.currentPage, keys[i]))
            compare(password.passwordBox.text, "123")
            verify(password.passwordBox.inputItem.displayText !== "123")
            mouseClick(button(password, "acceptButton"))
            compare(passwordAccept.count, 1)
            compare(passwordAccept.signalArguments[0][0], "123")
            compare(password.opened, true)
            mouseClick(button(password, "rejectButton"))
            tryCompare(password, "opened", false)
        }

        function test_auxDCChoices_data() {
            return [
                { tag: "constant 24/48", type: 0, level: 0, shown: [true, true, true, false, false, false] },
                { tag: "constant 110/220", type: 0, level: 1, shown: [true, false, false, true, true, false] },
                { tag: "adjustable", type: 1, level: 0, shown: [true, true, true, true, true, true] }
            ]
        }

        function test_auxDCChoices(data) {
            viewBaseModel.auxDCType = data.type
            viewBaseModel.auxDCLevelType = data.level
            viewBaseModel.auxDCSwitch = 0
            show(auxDC)
            for (var i = 0; i < data.shown.length; ++i)
                compare(button(auxDC, "choice" + i).visible, data.shown[i], "choice " + i)
            compare(auxDC.auxDCNoneEnable, true)
            compare(button(auxDC, "choice0").checked, true)
        }

        function test_auxDCLevelCallsTheModel() {
            viewBaseModel.auxDCType = 0
            viewBaseModel.auxDCLevelType = 0
            viewBaseModel.auxDCSwitch = 0
            show(auxDC)
            mouseClick(button(auxDC, "choice2"))
            compare(viewBaseModel.calls, ["setAuxDCVSwitch(2)", "setAuxDCVSwitchValue(48)"])
            compare(auxDC.auxDCNoneEnable, false)
            compare(auxDC.valueBox.enabled, false)
            // Opening again shows the stored choice.
            auxDC.close()
            tryCompare(auxDC, "opened", false)
            show(auxDC)
            compare(button(auxDC, "choice2").checked, true)
        }

        function test_auxDCOtherValue() {
            viewBaseModel.auxDCType = 1
            viewBaseModel.auxDCMaxValue = 300
            viewBaseModel.auxDCSwitch = 0
            show(auxDC)
            mouseClick(button(auxDC, "choice5"))
            // The model gets the value the field shows (none yet: 0), not
            // the volts of the level chosen before.
            compare(viewBaseModel.calls, ["setAuxDCVSwitch(5)", "setAuxDCVSwitchValue(0)"])
            compare(auxDC.valueBox.quick1Value, "150.0")
            compare(auxDC.valueBox.quick2Value, "300.0")
            compare(auxDC.valueBox.dataMax, 300)
            mouseClick(auxDC.valueBox)
            tryCompare(inputNumberPanel, "opened", true)
            numberKeys(["key4", "key0", "key0", "keyConfirm"])
            tryCompare(viewBaseModel, "auxDCValue", 300)
            compare(auxDC.valueBox.text, "300.0")
            // Opening again shows the stored value.
            auxDC.close()
            tryCompare(auxDC, "opened", false)
            show(auxDC)
            compare(button(auxDC, "choice5").checked, true)
            compare(auxDC.valueBox.text, "300.0")
        }

        function test_reportAndParameterFiles() {
            files.fileModelList = []
            show(files)
            compare(files.nameBox.text, "AC_")
            mouseClick(button(files, "acceptButton"))
            tryCompare(files, "opened", false)
            compare(saveReportSpy.count, 1)
            compare(saveReportSpy.signalArguments[0][0], "AC_.htm")

            show(files)
            mouseClick(button(files, "parameterMode"))
            files.nameBox.text = ""
            compare(button(files, "acceptButton").enabled, false)
            files.nameBox.text = "AC_1"
            mouseClick(button(files, "acceptButton"))
            compare(saveParametersSpy.signalArguments[0][0], "AC_1.xml")

            show(files)
            compare(files.mode, 0)
            mouseClick(button(files, "loadMode"))
            compare(button(files, "acceptButton").enabled, false)
            files.close()
            files.fileModelList = ["first.xml", "second.xml"]
            show(files)
            mouseClick(button(files, "loadMode"))
            files.fileBox.setDataValue(1)
            mouseClick(button(files, "acceptButton"))
            compare(loadParameterSpy.count, 1)
            compare(loadParameterSpy.signalArguments[0][0], "second.xml")
        }

        function test_pulseTimes() {
            viewBaseModel.clearPPXUtcTime()
            show(triggers)
            triggers.startBox.text = "08:00:00"
            triggers.intervalBox.setDataValue(10)
            triggers.countBox.setDataValue(3)
            mouseClick(button(triggers, "addButton"))
            compare(triggers.timeCount, 3)
            compare(triggers.selectedIndex, 2)
            compare(viewBaseModel.calls[viewBaseModel.calls.length - 1], "addPPXUtcTime(08:00:00,10,3)")
            tryCompare(triggers.timeList, "count", 3)
            mouseClick(button(triggers, "deleteButton"))
            compare(viewBaseModel.calls[viewBaseModel.calls.length - 1], "delPPXUtcTime(2)")
            compare(triggers.timeCount, 2)
            compare(triggers.selectedIndex, 1)
            mouseClick(button(triggers, "clearButton"))
            compare(triggers.timeCount, 0)
            compare(button(triggers, "deleteButton").enabled, false)
        }

        function test_pulseTimeFieldsAreWholeNumbers() {
            show(triggers)
            compare(triggers.intervalBox.text, "1")
            compare(triggers.countBox.text, "5")
            triggers.countBox.setDataValue(100)
            compare(triggers.countBox.dataValue, 64)
        }

        function test_selectedState() {
            show(states)
            var list = findChild(states.contentItem, "stateList")
            tryVerify(function() { return list.itemAtIndex(1) !== null })
            mouseClick(list.itemAtIndex(1))
            mouseClick(button(states, "acceptButton"))
            compare(statesAccept.signalArguments[0][0], 1)
        }

        function test_multiplePoints() {
            multi.setDataValue(1, 10, 0.5, 50)
            show(multi)
            compare(multi.endBox.dataMax, 50)
            mouseClick(button(multi, "acceptButton"))
            compare(multiAccept.signalArguments[0][0], 1)
            compare(multiAccept.signalArguments[0][1], 10)
            compare(multiAccept.signalArguments[0][2], 0.5)
        }

        function test_reportDialogSave() {
            show(report)
            mouseClick(button(report, "saveButton"))
            compare(reportSave.count, 1)
            tryCompare(report, "opened", false)
        }
    }
}

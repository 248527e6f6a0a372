import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import "qrc:/"

// Text typed through the character panel: both pages, capitals, the
// field's length limit.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    EditCharTextBox { id: fileName; x: 20; y: 20; width: 300; height: 40; inputMaxLen: 8 }
    EditCharTextBox { id: note; x: 20; y: 80; width: 300; height: 40 }
    TextInput { id: elsewhere; x: 600; y: 20; width: 100; height: 40 }

    SignalSpy { id: finishedSpy; target: fileName; signalName: "editingFinished" }

    TestCase {
        name: "InputCharNumberPanel"
        when: windowShown

        function init() {
            elsewhere.forceActiveFocus()
            tryCompare(inputCharNumberPanel, "opened", false)
            inputCharNumberPanel.letterPage = false
            inputCharNumberPanel.capsEnable = false
            fileName.text = ""
            note.text = ""
            finishedSpy.clear()
            viewBaseModel.beepRequests = 0
        }

        function edit(field) {
            mouseClick(field)
            tryCompare(field, "inputFocus", true)
            tryCompare(inputCharNumberPanel, "opened", true)
            compare(inputCharNumberPanel.owner, field)
        }

        function type(codes) {
            for (var i = 0; i < codes.length; ++i) {
                var button = findChild(inputCharNumberPanel.currentPage, "key" + codes[i])
                verify(button, "no key " + codes[i])
                mouseClick(button)
            }
        }

        function test_typesBothPages() {
            edit(note)
            type(["1", "_", "#abc"])
            compare(inputCharNumberPanel.letterPage, true)
            type(["A", "B", "#caps", "C", "D", "#caps", "E", "#123", ".", "9", "-", "0"])
            compare(note.text, "1_abCDe.9-0")
            type(["#back"])
            compare(note.text, "1_abCDe.9-")
            type(["#ok"])
            tryCompare(inputCharNumberPanel, "opened", false)
            compare(note.dataOldText, "1_abCDe.9-")
            compare(viewBaseModel.beepRequests, 17)
        }

        function test_letterKeysShowTheirCase() {
            edit(note)
            type(["#abc"])
            var q = findChild(inputCharNumberPanel.currentPage, "keyQ")
            compare(q.text, "q")
            type(["#caps"])
            compare(q.text, "Q")
        }

        function test_lengthLimit() {
            edit(fileName)
            type(["1", "2", "3", "4", "5", "6", "7", "8", "9", "0"])
            compare(fileName.text, "12345678")
        }

        function test_closingEntersOnce() {
            edit(fileName)
            type(["7"])
            mouseClick(window, 700, 200)
            tryCompare(inputCharNumberPanel, "opened", false)
            compare(finishedSpy.count, 1)
            compare(fileName.dataOldText, "7")
        }
    }
}

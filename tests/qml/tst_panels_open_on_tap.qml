import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import "qrc:/"

// Every field's panel opens for a tap only: a field that gets its focus back
// by itself (its page enabled again after a run) leaves the panel closed.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    // The page: disabled while a run goes on.
    Item {
        id: page
        anchors.fill: parent
        EditNumberBox { id: numberBox; x: 20; y: 20; width: 150; height: 40 }
        EditTextBox { id: textBox; x: 200; y: 20; width: 150; height: 40 }
        EditCharTextBox { id: charBox; x: 380; y: 20; width: 150; height: 40 }
        EditTimeBox { id: timeBox; x: 20; y: 80; width: 150; height: 40 }
        EditDateTimeBox { id: dateTimeBox; x: 200; y: 80; width: 300; height: 40 }
    }
    TextInput { id: elsewhere; x: 650; y: 400; width: 100; height: 40 }

    TestCase {
        name: "PanelsOpenOnTap"
        when: windowShown

        function init() {
            page.enabled = true
            elsewhere.forceActiveFocus()
            for (var p of [inputNumberPanel, inputCharNumberPanel, inputTimePanel, inputDateTimePanel])
                tryCompare(p, "opened", false)
        }

        function test_focusBackOpensNoPanel_data() {
            return [
                { tag: "number", box: numberBox, panel: inputNumberPanel },
                { tag: "text", box: textBox, panel: inputNumberPanel },
                { tag: "characters", box: charBox, panel: inputCharNumberPanel },
                { tag: "time", box: timeBox, panel: inputTimePanel },
                { tag: "date and time", box: dateTimeBox, panel: inputDateTimePanel }
            ]
        }

        function test_focusBackOpensNoPanel(data) {
            mouseClick(data.box)
            tryCompare(data.panel, "opened", true)
            data.panel.close()
            tryCompare(data.panel, "opened", false)
            page.enabled = false
            tryCompare(data.box, "inputFocus", false)
            page.enabled = true
            tryCompare(data.box, "inputFocus", true)
            wait(50)
            compare(data.panel.opened, false)
        }
    }
}

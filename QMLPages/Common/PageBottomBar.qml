import QtQuick 2.15
import QMLControls 1.0

// The bar at the foot of a test page: "开始" and, in the same place while a
// test runs, "停止"; the live binary inputs and outputs (display only); "File"
// at the right, disabled while a test runs.
Rectangle {
    id: bar

    property bool running: false
    property bool runEnabled: true
    // The live binary inputs and outputs are shown (a page without them hides them).
    property bool lampsShown: true
    // A tap on a live binary output asks to switch it (outputClicked).
    property bool outputsSwitchable: false

    signal startClicked()
    signal stopClicked()
    signal fileClicked()
    signal outputClicked(int index)

    // The lamps from the view model's live states.
    function updateInputs(model) {
        for (var i = 0; i < 4; ++i)
            biLamps.itemAt(i).on = model.getBIState(i)
    }

    function updateOutputs(model) {
        for (var i = 0; i < 4; ++i)
            boLamps.itemAt(i).on = model.getBOState(i)
    }

    height: 56
    color: globalConfiguration.customBackground
    border.color: globalConfiguration.customGray
    border.width: 1

    ToolTextButton {
        id: startButton
        objectName: "startButton"
        x: 8
        width: 110
        height: 42
        anchors.verticalCenter: parent.verticalCenter
        text: qsTr("开始")                                        // start
        visible: !bar.running
        enabled: bar.runEnabled
        onClicked: bar.startClicked()
    }
    ToolTextButton {
        objectName: "stopButton"
        x: 8
        width: 110
        height: 42
        anchors.verticalCenter: parent.verticalCenter
        text: qsTr("停止")                                        // stop
        visible: bar.running
        onClicked: bar.stopClicked()
    }

    Row {
        visible: bar.lampsShown
        anchors.left: startButton.right
        anchors.leftMargin: 24
        anchors.verticalCenter: parent.verticalCenter
        spacing: 6

        LabelText {
            height: 30
            text: qsTr("开入:")
        }
        Repeater {
            id: biLamps
            model: 4
            BinaryLamp {
                objectName: "biLamp" + index
                anchors.verticalCenter: parent.verticalCenter
                label: String(index + 1)
            }
        }
        Item { width: 18; height: 1 }
        LabelText {
            height: 30
            text: qsTr("开出:")
        }
        Repeater {
            id: boLamps
            model: 4
            BinaryLamp {
                objectName: "boLamp" + index
                anchors.verticalCenter: parent.verticalCenter
                label: String(index + 1)
                TapHandler {
                    enabled: bar.outputsSwitchable
                    onTapped: bar.outputClicked(index)
                }
            }
        }
    }

    ToolTextButton {
        objectName: "fileButton"
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        width: 110
        height: 42
        text: qsTr("File")
        enabled: !bar.running
        onClicked: bar.fileClicked()
    }
}

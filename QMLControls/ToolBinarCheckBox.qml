import QtQuick 2.15

// The edge a binary input is watched for, as a symbol in a box beside its
// name: stateValue 0 none (empty box), 1 off to on (rising edge), 2 on to off
// (falling edge), 3 both (a pulse) - the values of AOBIStateType. A tap moves
// 0 -> 3 -> 2 -> 1 -> 0 and then emits clicked().
Item {
    id: root

    implicitWidth: (textVisible ? textWidth + row.spacing : 0) + implicitHeight
    implicitHeight: 32

    property string textValue: ""
    property int textWidth: 40
    property bool textVisible: true
    property int stateValue: 0
    property color foreground: globalConfiguration.customForeground
    property color checkedColor: globalConfiguration.customPrimary
    property int fontPixelSize: globalConfiguration.customFontL2Size
    readonly property alias down: area.pressed

    // The symbol's strokes for each state, in units of the box: [x, y, w, h].
    readonly property var strokes: [
        [],
        [[0.15, 0.75, 0.35, 0], [0.5, 0.25, 0, 0.5], [0.5, 0.25, 0.35, 0]],
        [[0.15, 0.25, 0.35, 0], [0.5, 0.25, 0, 0.5], [0.5, 0.75, 0.35, 0]],
        [[0.1, 0.75, 0.25, 0], [0.35, 0.25, 0, 0.5], [0.35, 0.25, 0.3, 0],
         [0.65, 0.25, 0, 0.5], [0.65, 0.75, 0.25, 0]]
    ]

    signal clicked()
    signal released()

    function setStateValue(state) {
        stateValue = state >= 0 && state <= 3 ? state : 0
    }

    Row {
        id: row
        anchors.fill: parent
        spacing: 4
        opacity: root.enabled ? 1.0 : 0.5

        Text {
            visible: root.textVisible
            width: root.textWidth
            height: parent.height
            text: root.textValue
            color: root.foreground
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: root.fontPixelSize
        }

        Rectangle {
            id: box
            width: parent.height
            height: parent.height
            radius: 3
            color: root.down ? globalConfiguration.customPrimary : "transparent"
            border.color: root.stateValue !== 0 ? root.checkedColor : root.foreground
            border.width: 2

            Repeater {
                model: root.strokes[root.stateValue] || []
                Rectangle {
                    readonly property real stroke: 2
                    x: modelData[0] * box.width - stroke / 2
                    y: modelData[1] * box.height - stroke / 2
                    width: modelData[2] * box.width + stroke
                    height: modelData[3] * box.height + stroke
                    color: root.checkedColor
                }
            }
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        enabled: root.enabled
        onClicked: {
            root.stateValue = (root.stateValue + 3) % 4
            root.clicked()
        }
        onReleased: root.released()
    }
}

import QtQuick 2.15

// A number wheel of the time panels: `number` entries counting up from
// numberStartValue, `count` of them visible, the current one in the middle.
// Flicking or tapping an entry makes it current; every change emits
// valueChanged(index, value).
Item {
    id: root

    implicitWidth: 70
    implicitHeight: 150

    property int number: 60
    property int numberStartValue: 0
    property var model: number
    property int count: 5
    property color checkedColor: globalConfiguration.customPrimary
    property alias currentIndex: view.currentIndex
    readonly property int currentValue: numberStartValue + view.currentIndex
    readonly property real itemHeight: height / count

    signal valueChanged(int index, int value)

    // Makes the entry of value v current at once; nothing when v is not on
    // the wheel.
    function setValue(v) {
        var index = v - numberStartValue
        if (index < 0 || index >= number)
            return
        view.currentIndex = index
        view.positionViewAtIndex(index, PathView.Center)
    }

    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        height: root.itemHeight
        color: "transparent"
        border.color: root.checkedColor
        border.width: 1
        radius: 4
    }

    PathView {
        id: view
        anchors.fill: parent
        clip: true
        model: root.model
        pathItemCount: root.count
        preferredHighlightBegin: 0.5
        preferredHighlightEnd: 0.5
        highlightRangeMode: PathView.StrictlyEnforceRange
        snapMode: PathView.SnapToItem
        highlightMoveDuration: 150

        delegate: PathTextItem {
            width: view.width
            height: root.itemHeight
            number: root.numberStartValue + index
            numberStartValue: root.numberStartValue
            checkedColor: root.checkedColor
            checked: PathView.isCurrentItem
            onSelected: view.currentIndex = index
        }

        path: Path {
            startX: view.width / 2
            startY: 0
            PathLine {
                x: view.width / 2
                y: view.height
            }
        }

        onCurrentIndexChanged: root.valueChanged(currentIndex, root.numberStartValue + currentIndex)
    }
}

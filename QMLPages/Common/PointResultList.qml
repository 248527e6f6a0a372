import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0

// The result list of a protection-test page: the button "测试结果" that
// collapses the page's upper part (collapsed: the list fills its area with
// taller rows), a header whose first cell is the number of points, and one
// row per point whose cells the page writes (cellText(row, column)). The
// selected row is marked; follow(index) marks it and, from row followFrom
// (collapsedFollowFrom while collapsed) on, scrolls it to the bottom of the
// view. A tap on a row emits rowClicked(row). The collapsed state stays as
// the user left it.
//   titles        the column titles after the first
//   columnWidths  widths of every column, the first included
//   count         the number of rows (a change rebuilds the rows)
//   revision      bumped by the page: the cells read cellText again
Column {
    id: list

    property var titles: []
    property var columnWidths: []
    property int count: 0
    property int activeIndex: -1
    property int revision: 0
    property var cellText: function(row, column) { return "" }
    property bool collapsed: false
    property int rowHeight: collapsed ? 42 : 32
    property int followFrom: 3
    property int collapsedFollowFrom: 5
    property int pixelSize: globalConfiguration.customFontL2Size

    readonly property alias view: view

    signal rowClicked(int row)

    function follow(index) {
        activeIndex = index
        view.currentIndex = index
        if (index >= 0 && index < count && index >= (collapsed ? collapsedFollowFrom : followFrom))
            view.positionViewAtIndex(index, ListView.End)
    }

    spacing: 0

    ToolTextButton {
        objectName: "resultTitleButton"
        width: list.width
        height: 26
        text: (list.collapsed ? "▲ " : "▼ ") + qsTr("测试结果")      // test result
        onClicked: list.collapsed = !list.collapsed
    }

    Row {
        id: header
        objectName: "resultHeader"
        height: 26
        Repeater {
            model: [list.count > 0 ? String(list.count) : ""].concat(list.titles)
            Rectangle {
                width: list.columnWidths[index] || 0
                height: header.height
                color: globalConfiguration.customPrimary
                border.color: globalConfiguration.customGray
                FitLabel {
                    objectName: "headerCell" + index
                    anchors.fill: parent
                    anchors.margins: 2
                    horizontalAlignment: Text.AlignHCenter
                    color: globalConfiguration.customTitleForeground
                    font.pixelSize: list.pixelSize
                    text: modelData
                }
            }
        }
    }

    ListView {
        id: view
        objectName: "resultList"
        width: list.width
        height: list.height - 52
        clip: true
        model: list.count
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {
            objectName: "resultScrollBar"
            policy: ScrollBar.AlwaysOn
        }

        delegate: Item {
            id: line
            readonly property int row: index
            readonly property bool selected: row === list.activeIndex
            objectName: "resultRow" + index
            width: view.width
            height: list.rowHeight

            Row {
                Repeater {
                    model: list.columnWidths.length
                    Rectangle {
                        width: list.columnWidths[index]
                        height: line.height
                        color: line.selected ? globalConfiguration.customPrimary : globalConfiguration.customBackground
                        border.color: globalConfiguration.customGray
                        Text {
                            objectName: "cell" + line.row + "_" + index
                            anchors.fill: parent
                            anchors.leftMargin: 2
                            anchors.rightMargin: 2
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            color: line.selected ? globalConfiguration.customTitleForeground
                                                 : globalConfiguration.customForeground
                            font.family: globalConfiguration.customFontFamily
                            font.pixelSize: list.pixelSize
                            fontSizeMode: Text.HorizontalFit
                            minimumPixelSize: 10
                            elide: Text.ElideRight
                            text: list.revision >= 0 ? list.cellText(line.row, index) : ""
                        }
                    }
                }
            }
            MouseArea {
                objectName: "rowArea" + line.row
                anchors.fill: parent
                onClicked: list.rowClicked(line.row)
            }
        }
    }
}

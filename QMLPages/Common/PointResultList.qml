import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import "ColumnFit.js" as ColumnFit

// The result list of a protection-test page: the button "测试结果" that
// collapses the page's upper part (collapsed: the list fills its area with
// taller rows), a header whose first cell is the number of points, and one
// row per point whose cells the page writes (cellText(row, column)). The
// selected row is marked; follow(index) marks it and, from row followFrom
// (collapsedFollowFrom while collapsed) on, scrolls it to the bottom of the
// view. A tap on a row emits rowClicked(row). The collapsed state stays as
// the user left it. The list reads at one size: each column is as wide as
// its widest title or cell (and the texts a page names for it, so that the
// columns stay put while a run fills them), the columns end where the
// scroll bar begins, and when they cannot all take their texts at
// pixelSize, titles and cells go down together to the size at which they
// can (ColumnFit.js).
//   titles        the column titles after the first
//   columnWidths  widths of every column, the first included: the share of
//                 the room a column keeps beyond its texts
//   columnTexts   per column, the texts it may show besides those it shows now
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
    property var columnTexts: []

    readonly property alias view: view
    // The size the titles and the cells are drawn in, and the columns as
    // drawn, beside the scroll bar.
    readonly property var layout: revision >= 0 ? fitColumns() : null
    readonly property int textPixelSize: layout.pixelSize
    readonly property var cellWidths: layout.widths

    // The widest title and cell of each column at pixelSize, side by side
    // in the room beside the scroll bar, with 3 px clear of each border
    // beyond the cell's margins.
    function fitColumns() {
        var titleTexts = [String(count)].concat(titles)
        var widest = []
        for (var c = 0; c < columnWidths.length; ++c) {
            var w = headerMetrics.advanceWidth(titleTexts[c] || "")
            var texts = columnTexts[c] || []
            for (var t = 0; t < texts.length; ++t)
                w = Math.max(w, cellMetrics.advanceWidth(texts[t]))
            for (var row = 0; row < count; ++row)
                w = Math.max(w, cellMetrics.advanceWidth(cellText(row, c)))
            widest.push(w)
        }
        return ColumnFit.fit(widest, 10, columnWidths, width - scrollBar.width, pixelSize)
    }

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
            ListCell {
                width: list.cellWidths[index] || 0
                height: header.height
                title: true
                cellName: "headerCell" + index
                pixelSize: list.textPixelSize
                text: modelData
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
            id: scrollBar
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
                    model: list.cellWidths.length
                    ListCell {
                        width: list.cellWidths[index]
                        height: line.height
                        current: line.selected
                        cellName: "cell" + line.row + "_" + index
                        pixelSize: list.textPixelSize
                        text: list.revision >= 0 ? list.cellText(line.row, index) : ""
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

    // The fonts of the titles (bold) and of the cells at pixelSize, measured
    // for the size the list reads at.
    FontMetrics {
        id: headerMetrics
        font.family: globalConfiguration.customFontFamily
        font.weight: Font.DemiBold
        font.pixelSize: list.pixelSize
    }
    FontMetrics {
        id: cellMetrics
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: list.pixelSize
    }
}

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
// the user left it. The columns end where the scroll bar begins, narrowed in
// proportion when their widths leave it no room. The list reads at one
// size: a title or cell too wide for its column at pixelSize makes all
// titles and cells take the size at which every one fits, never under 10 px.
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
    // The columns as drawn, beside the scroll bar.
    readonly property var cellWidths: {
        var total = 0
        for (var i = 0; i < columnWidths.length; ++i)
            total += columnWidths[i]
        var room = width - scrollBar.width
        var scale = total > room ? room / total : 1
        return columnWidths.map(function(w) { return Math.floor(w * scale) })
    }
    // The size the titles and the cells are drawn in.
    readonly property int textPixelSize: revision >= 0 ? fittingSize() : pixelSize

    // The largest size up to pixelSize at which every title and every cell
    // fits its column, within the cell's margins and a pixel to spare.
    function fittingSize() {
        var scale = 1
        var titleTexts = [String(count)].concat(titles)
        for (var c = 0; c < cellWidths.length; ++c) {
            var widest = headerMetrics.advanceWidth(titleTexts[c] || "")
            for (var row = 0; row < count; ++row)
                widest = Math.max(widest, cellMetrics.advanceWidth(cellText(row, c)))
            if (widest > 0)
                scale = Math.min(scale, (cellWidths[c] - 5) / widest)
        }
        return Math.max(10, Math.min(pixelSize, Math.floor(pixelSize * scale)))
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

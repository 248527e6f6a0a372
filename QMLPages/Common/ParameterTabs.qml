import QtQuick 2.15
import QtQuick.Layouts 1.15

// The tabs of a protection-test page over its parameter area: the tab bar
// (PageTabBar) and below it the panels the page declares inside, one per tab,
// only the current one shown. The current tab stays as the user left it.
//   tabs          [{ text, name }] as PageTabBar takes them
//   currentIndex  the shown panel
Item {
    id: area

    property alias tabs: tabBar.tabs
    property alias currentIndex: tabBar.currentIndex
    property int tabHeight: 30
    default property alias panels: stack.data

    PageTabBar {
        id: tabBar
        width: area.width
        height: area.tabHeight
    }

    StackLayout {
        id: stack
        anchors.top: tabBar.bottom
        anchors.topMargin: 4
        width: area.width
        height: area.height - tabBar.height - 4
        currentIndex: tabBar.currentIndex
    }
}

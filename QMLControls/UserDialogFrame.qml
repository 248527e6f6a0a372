import QtQuick 2.15
import QtQuick.Controls 2.15

// Common part of the dialogs: a modal popup with a title bar that drags the
// dialog, the dialog's content, and the accept button (acceptText) with the
// reject button (rejectText, shown only when not empty). The dialogs turn
// acceptClicked() / rejectClicked() into their own accept / reject signals.
// The dialog centres on its window when it opens and again when the window's
// size changes (a window is still 0 x 0 while it is being shown); closing it
// closes the on-screen input panels of the main window.
Popup {
    id: dialog

    property string title: ""
    property string acceptText: qsTr("确定")
    property string rejectText: qsTr("取消")
    property bool acceptEnabled: true
    property int fontSize: globalConfiguration.customFontL2Size
    property int titleHeight: 40
    property int buttonWidth: 110
    property int buttonHeight: 38
    // Further buttons, placed before the accept button.
    property alias extraButtons: extra.data
    default property alias contents: content.data

    signal acceptClicked()
    signal rejectClicked()

    width: 400
    height: 300
    modal: true
    focus: true
    padding: 0
    closePolicy: Popup.NoAutoClose

    // The window's area: its overlay, which popups are shown in.
    readonly property Item windowArea: Overlay.overlay

    function centre() {
        var area = windowArea || parent
        if (!parent || !area)
            return
        var topLeft = area.mapToItem(parent, (area.width - width) / 2, (area.height - height) / 2)
        x = Math.round(topLeft.x)
        y = Math.round(topLeft.y)
    }

    // The main window's on-screen panels that exist.
    function inputPanels() {
        var panels = []
        if (typeof inputNumberPanel !== "undefined" && inputNumberPanel)
            panels.push(inputNumberPanel)
        if (typeof inputCharNumberPanel !== "undefined" && inputCharNumberPanel)
            panels.push(inputCharNumberPanel)
        if (typeof inputTimePanel !== "undefined" && inputTimePanel)
            panels.push(inputTimePanel)
        if (typeof inputDateTimePanel !== "undefined" && inputDateTimePanel)
            panels.push(inputDateTimePanel)
        return panels
    }

    function closeInputPanels() {
        var panels = inputPanels()
        for (var i = 0; i < panels.length; ++i)
            panels[i].close()
    }

    // Whether the dialog lies wholly within its window.
    function insideWindow() {
        if (!windowArea || !parent)
            return false
        var topLeft = parent.mapToItem(windowArea, x, y)
        return topLeft.x >= 0 && topLeft.y >= 0 && topLeft.x + width <= windowArea.width
                && topLeft.y + height <= windowArea.height
    }

    // A new window size centres the dialog again, except while an input panel
    // is open and the dialog is on screen: the main window grows and moves up
    // for the panel so that the field typed into stays above it, and the
    // dialog keeps its place.
    function windowResized() {
        var panels = inputPanels()
        for (var i = 0; i < panels.length; ++i) {
            if (panels[i].visible && insideWindow())
                return
        }
        centre()
    }

    onAboutToShow: centre()
    onClosed: closeInputPanels()

    Connections {
        target: dialog.windowArea
        enabled: dialog.visible
        function onWidthChanged() { dialog.windowResized() }
        function onHeightChanged() { dialog.windowResized() }
    }

    background: Rectangle {
        color: globalConfiguration.customBackground
        border.color: globalConfiguration.customPrimary
        border.width: 2
        radius: 4
    }

    contentItem: Item {
        Rectangle {
            id: titleBar
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 2
            height: dialog.titleHeight
            color: globalConfiguration.customPrimary

            Text {
                anchors.fill: parent
                anchors.leftMargin: 10
                anchors.rightMargin: 10
                text: dialog.title
                color: globalConfiguration.customTitleForeground
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: dialog.fontSize
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
            }

            MouseArea {
                anchors.fill: parent
                property point last
                onPressed: function(mouse) {
                    last = mapToItem(null, mouse.x, mouse.y)
                }
                onPositionChanged: function(mouse) {
                    var now = mapToItem(null, mouse.x, mouse.y)
                    dialog.x += now.x - last.x
                    dialog.y += now.y - last.y
                    last = now
                }
            }
        }

        Item {
            id: content
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: titleBar.bottom
            anchors.bottom: buttons.top
            anchors.margins: 10
        }

        Row {
            id: buttons
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 10
            spacing: 10

            Row {
                id: extra
                spacing: 10
            }
            ToolTextButton {
                objectName: "acceptButton"
                width: dialog.buttonWidth
                height: dialog.buttonHeight
                text: dialog.acceptText
                visible: text !== ""
                enabled: dialog.acceptEnabled
                font.pixelSize: dialog.fontSize
                onClicked: dialog.acceptClicked()
            }
            ToolTextButton {
                objectName: "rejectButton"
                width: dialog.buttonWidth
                height: dialog.buttonHeight
                text: dialog.rejectText
                visible: text !== ""
                font.pixelSize: dialog.fontSize
                onClicked: dialog.rejectClicked()
            }
        }
    }
}

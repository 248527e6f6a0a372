import QtQuick 2.15
import QtQuick.Controls 2.15

// A message with an optional icon-font glyph; "确定" sets accepted, emits
// accept() and closes, "取消" (shown while rejectText is not empty) sets
// rejected, emits reject() and closes. A message longer than the dialog
// scrolls within it, the buttons staying where they are.
UserDialogFrame {
    id: dialog

    property string content: ""
    property string iconText: ""
    property bool accepted: false
    property bool rejected: false

    signal accept()
    signal reject()

    width: 400
    height: 300

    onAboutToShow: {
        accepted = false
        rejected = false
    }
    onAcceptClicked: {
        accepted = true
        rejected = false
        accept()
        close()
    }
    onRejectClicked: {
        accepted = false
        rejected = true
        reject()
        close()
    }

    Row {
        anchors.fill: parent
        spacing: 10

        Text {
            id: icon
            visible: dialog.iconText !== ""
            width: visible ? implicitWidth : 0
            anchors.verticalCenter: parent.verticalCenter
            text: dialog.iconText
            color: globalConfiguration.customPrimary
            font.family: globalConfiguration.iconFontName
            font.pixelSize: 48
        }
        Flickable {
            id: scroller
            objectName: "messageScroller"
            width: parent.width - icon.width - (icon.visible ? parent.spacing : 0)
            height: parent.height
            clip: true
            contentWidth: width
            contentHeight: Math.max(height, message.implicitHeight)
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                objectName: "messageScrollBar"
                width: 14
                policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }

            Text {
                id: message
                // Clear of the scroll bar, were there one.
                width: scroller.width - 18
                height: scroller.contentHeight
                text: dialog.content
                color: globalConfiguration.customForeground
                wrapMode: Text.Wrap
                verticalAlignment: Text.AlignVCenter
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: dialog.fontSize
            }
        }
    }
}

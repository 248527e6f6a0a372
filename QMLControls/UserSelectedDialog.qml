import QtQuick 2.15
import QtQuick.Controls 2.15

// Asks for one of stateCount states, listed as "状态" followed by the state
// number (1, 2, ...). "确定" emits accept(selectedItem), the chosen index.
UserDialogFrame {
    id: dialog

    property int stateCount: 0
    property int selectedItem: 0

    signal accept(int selectedItem)
    signal reject()

    title: qsTr("请选择")
    width: 400
    height: 300
    acceptEnabled: selectedItem >= 0 && selectedItem < stateCount

    onAcceptClicked: {
        accept(selectedItem)
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    ListView {
        id: list
        objectName: "stateList"
        anchors.fill: parent
        clip: true
        model: dialog.stateCount
        currentIndex: dialog.selectedItem
        ScrollIndicator.vertical: ScrollIndicator {}

        delegate: Rectangle {
            width: list.width
            height: 36
            color: index === dialog.selectedItem ? globalConfiguration.customPrimary : "transparent"

            Text {
                anchors.fill: parent
                anchors.leftMargin: 10
                text: qsTr("状态") + (index + 1)
                color: globalConfiguration.customForeground
                verticalAlignment: Text.AlignVCenter
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: dialog.fontSize
            }
            MouseArea {
                anchors.fill: parent
                onClicked: dialog.selectedItem = index
            }
        }
    }
}

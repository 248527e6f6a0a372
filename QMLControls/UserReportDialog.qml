import QtQuick 2.15

// "保存或导出报告。": the buttons save (emits save()), accept and reject.
UserDialogFrame {
    id: dialog

    property string content: qsTr("保存或导出报告。")
    property string saveText: qsTr("保存")

    signal save()
    signal accept()
    signal reject()

    width: 400
    height: 300

    onAcceptClicked: {
        accept()
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    extraButtons: ToolTextButton {
        objectName: "saveButton"
        width: dialog.buttonWidth
        height: dialog.buttonHeight
        text: dialog.saveText
        font.pixelSize: dialog.fontSize
        onClicked: {
            dialog.save()
            dialog.close()
        }
    }

    Text {
        anchors.fill: parent
        text: dialog.content
        color: globalConfiguration.customForeground
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.family: globalConfiguration.customFontFamily
        font.pixelSize: dialog.fontSize
    }
}

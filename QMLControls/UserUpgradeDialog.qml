import QtQuick 2.15

// The software-upgrade dialog: the package path the settings page found
// (upgradeFileName, after labelFileNameText) and its state text; "确定" is
// enabled while upgradeAcceptEnabled. The settings page drives all of it.
UserDialogFrame {
    id: dialog

    property string labelFileNameText: qsTr("升级文件:")
    property string upgradeFileName: ""
    property string upgradeFileStateText: ""
    property bool upgradeAcceptEnabled: true

    signal accept()
    signal reject()

    title: qsTr("软件升级")
    width: 650
    height: 380
    acceptEnabled: upgradeAcceptEnabled

    onAcceptClicked: accept()
    onRejectClicked: {
        reject()
        close()
    }

    Column {
        anchors.fill: parent
        spacing: 12

        LabelText {
            width: parent.width
            text: dialog.labelFileNameText
        }
        Rectangle {
            width: parent.width
            height: 40
            color: "transparent"
            border.color: globalConfiguration.customGray
            border.width: 1
            radius: 2

            Text {
                anchors.fill: parent
                anchors.margins: 6
                text: dialog.upgradeFileName
                color: globalConfiguration.customForeground
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideMiddle
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: dialog.fontSize
            }
        }
        Text {
            width: parent.width
            text: dialog.upgradeFileStateText
            color: globalConfiguration.customAccent
            wrapMode: Text.Wrap
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: dialog.fontSize
        }
    }
}

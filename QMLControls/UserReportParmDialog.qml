import QtQuick 2.15

// The module page's file dialog, in three modes: "报告" (save a report,
// suffix ".htm"), "参数" (save the parameters, suffix ".xml") and
// "从文件配置参数" (configure the parameters from a stored file chosen from
// fileModelList). The name field (at most 56 characters) starts as
// moduleName; "保存" stays disabled while it is empty and passes the name
// with its suffix; in the third mode "确定" passes the chosen name and stays
// disabled while the list is empty.
UserDialogFrame {
    id: dialog

    property string moduleName: ""
    property var fileModelList: []
    // 0 report, 1 parameters, 2 configure from a file.
    property int mode: 0
    readonly property var suffixes: [".htm", ".xml", ""]
    readonly property int fileCount: fileModelList ? fileModelList.length : 0
    readonly property alias nameBox: name
    readonly property alias fileBox: files

    signal saveReport(string fileName)
    signal saveParameters(string fileName)
    signal loadParameter(string fileName)
    signal reject()

    title: qsTr("File")
    width: 580
    height: 250
    acceptText: mode === 2 ? qsTr("确定") : qsTr("保存")
    acceptEnabled: mode === 2 ? fileCount > 0 && files.currentIndex >= 0 : name.text !== ""

    onAboutToShow: {
        mode = 0
        reportMode.checked = true
        name.text = moduleName
        files.currentIndex = fileCount > 0 ? 0 : -1
    }
    onAcceptClicked: {
        if (mode === 2) {
            loadParameter(files.currentText)
        } else {
            var fileName = name.text + suffixes[mode]
            if (mode === 0)
                saveReport(fileName)
            else
                saveParameters(fileName)
        }
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    Column {
        anchors.fill: parent
        spacing: 12

        Row {
            spacing: 16
            ToolRadioButton {
                id: reportMode
                objectName: "reportMode"
                text: qsTr("报告")
                checked: true
                onClicked: dialog.mode = 0
            }
            ToolRadioButton {
                objectName: "parameterMode"
                text: qsTr("参数")
                onClicked: dialog.mode = 1
            }
            ToolRadioButton {
                objectName: "loadMode"
                text: qsTr("从文件配置参数")
                onClicked: dialog.mode = 2
            }
        }

        // The name field takes what its label and the suffix leave.
        Row {
            id: nameRow
            visible: dialog.mode !== 2
            spacing: 6
            height: 40
            LabelText {
                id: nameLabel
                height: parent.height
                text: qsTr("文件名") + ":"
            }
            EditCharTextBox {
                id: name
                objectName: "nameBox"
                width: Math.min(340, dialog.availableWidth - 20 - nameLabel.width - suffixLabel.width
                                         - 2 * nameRow.spacing)
                height: parent.height
                inputMaxLen: 56
            }
            LabelText {
                id: suffixLabel
                height: parent.height
                text: dialog.suffixes[dialog.mode]
            }
        }

        ToolComboBox {
            id: files
            objectName: "fileBox"
            visible: dialog.mode === 2
            width: parent.width
            height: 40
            model: dialog.fileModelList
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0

// The file manager: the parameter backups or reports of one test module, on
// the device or on the USB stick, listed with a check box each; the selected
// ones are exported to the stick, imported from it or deleted. Everything is
// done by viewModel (the main window's system view model unless another is
// given); showing the page lists the files again.
Item {
    id: page

    property var viewModel: viewBaseModel
    // The list as last read from the view model.
    readonly property alias fileModel: files
    property int fileCount: 0
    // 0 none selected, 1 all, 2 some.
    property int selectionState: 0
    readonly property bool devicePosition: positionBox.currentIndex === 0
    readonly property alias infoDialog: info
    readonly property alias confirmDialog: confirm

    // Module names in the order of the file-module numbers.
    readonly property var moduleNames: [qsTr("交流试验"), qsTr("过流试验"), qsTr("状态序列"), qsTr("递变试验"),
                                        qsTr("谐波试验"), qsTr("距离试验"), qsTr("低周减载"), qsTr("低压减载"),
                                        qsTr("直流试验"), qsTr("震荡模拟"), qsTr("电能表")]

    // Reads the list again with the current choices.
    function updateList() {
        if (!viewModel)
            return
        viewModel.updateFileList()
        refresh()
    }

    // Shows the view model's list and choices as they are.
    function refresh() {
        if (!viewModel)
            return
        positionBox.currentIndex = viewModel.getFilePos()
        typeBox.currentIndex = viewModel.getFileType()
        moduleBox.currentIndex = viewModel.getFileModuleType()
        files.clear()
        fileCount = viewModel.getFileCount()
        for (var i = 0; i < fileCount; ++i)
            files.append({ "name": viewModel.getFileName(i), "selected": viewModel.getFileSelected(i) })
        refreshSelection()
    }

    function refreshSelection() {
        selectionState = viewModel.getAllFileSelected()
        allBox.checkState = selectionState === 1 ? Qt.Checked
                          : selectionState === 2 ? Qt.PartiallyChecked : Qt.Unchecked
    }

    function selectFile(index, selected) {
        viewModel.setFileSelected(index, selected)
        files.setProperty(index, "selected", viewModel.getFileSelected(index))
        refreshSelection()
    }

    function selectAll(selected) {
        viewModel.setAllFileSelected(selected)
        for (var i = 0; i < files.count; ++i)
            files.setProperty(i, "selected", viewModel.getFileSelected(i))
        refreshSelection()
    }

    function showInfo(text) {
        info.content = text
        info.open()
    }

    // Asks first; action runs on "确定".
    function ask(text, action) {
        confirm.pendingAction = action
        confirm.content = text
        confirm.open()
    }

    // A copy that left files out says which were copied and which not.
    function showCopied(ok, success, failure) {
        var notice = viewModel.takeFileCopyNotice()
        showInfo(ok ? success : notice !== "" ? notice : failure)
    }

    function exportFiles() {
        if (!viewModel.checkUsbDiskExist("report")) {
            showInfo(qsTr("U盘不存在！请重新插入U盘。"))
            return
        }
        ask(qsTr("确定导出选中的文件？同名文件会被覆盖"), function() {
            showCopied(viewModel.exportSelectedFiles(), qsTr("导出文件成功！"), qsTr("导出文件失败！"))
        })
    }

    function importFiles() {
        if (!viewModel.checkUsbDiskExist("report")) {
            showInfo(qsTr("U盘不存在！请重新插入U盘。"))
            return
        }
        ask(qsTr("确定导入选中的文件？同名文件会被覆盖"), function() {
            showCopied(viewModel.importSelectedFiles(), qsTr("导入文件成功！"), qsTr("导入文件失败！"))
        })
    }

    function deleteFiles() {
        ask(qsTr("确定删除选中的文件？"), function() {
            var ok = viewModel.deleteSelectedFiles()
            updateList()
            showInfo(ok ? qsTr("删除文件成功！") : qsTr("删除文件失败！"))
        })
    }

    onVisibleChanged: if (visible) updateList()
    Component.onCompleted: if (visible) updateList()

    ListModel { id: files }

    // ---- Choices ----------------------------------------------------------------
    Row {
        id: choices
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: 8
        height: 40
        spacing: 10

        ToolComboBox {
            id: positionBox
            objectName: "positionBox"
            width: 170
            height: parent.height
            model: [qsTr("设备内部"), qsTr("USB")]
            onActivated: function(index) {
                page.viewModel.setFilePos(index)
                page.updateList()
            }
        }
        ToolComboBox {
            id: typeBox
            objectName: "typeBox"
            width: 130
            height: parent.height
            // Reports go from the device to the stick only.
            model: page.devicePosition ? [qsTr("参数"), qsTr("报告")] : [qsTr("参数")]
            onActivated: function(index) {
                page.viewModel.setFileType(index)
                page.updateList()
            }
        }
        ToolComboBox {
            id: moduleBox
            objectName: "moduleBox"
            width: 190
            height: parent.height
            model: page.moduleNames
            onActivated: function(index) {
                page.viewModel.setFileModuleType(index)
                page.updateList()
            }
        }
    }

    // ---- List -------------------------------------------------------------------
    Rectangle {
        id: frame
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: choices.bottom
        anchors.bottom: bottomBar.top
        anchors.margins: 8
        color: "transparent"
        border.color: globalConfiguration.customGray
        border.width: 1

        Row {
            id: header
            x: 1
            y: 1
            width: parent.width - 2
            height: 34

            Repeater {
                model: [{ "text": qsTr("序号"), "w": 80 }, { "text": qsTr("文件名"), "w": header.width - 200 },
                        { "text": qsTr("选择"), "w": 120 }]
                Rectangle {
                    width: modelData.w
                    height: header.height
                    color: globalConfiguration.customPrimary
                    Text {
                        anchors.fill: parent
                        text: modelData.text
                        color: globalConfiguration.customTitleForeground
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        font.family: globalConfiguration.customFontFamily
                        font.pixelSize: globalConfiguration.customFontL2Size
                    }
                }
            }
        }

        ListView {
            id: list
            objectName: "fileList"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: header.bottom
            anchors.bottom: parent.bottom
            anchors.margins: 1
            clip: true
            model: files
            boundsBehavior: Flickable.StopAtBounds
            ScrollIndicator.vertical: ScrollIndicator {}

            delegate: Rectangle {
                width: list.width
                height: 38
                color: index % 2 ? Qt.rgba(0.5, 0.5, 0.5, 0.12) : "transparent"

                Row {
                    anchors.fill: parent
                    Text {
                        width: 80
                        height: parent.height
                        text: index + 1
                        color: globalConfiguration.customForeground
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        font.family: globalConfiguration.customFontFamily
                        font.pixelSize: globalConfiguration.customFontL2Size
                    }
                    Text {
                        objectName: "fileName" + index
                        width: list.width - 200
                        height: parent.height
                        leftPadding: 8
                        text: model.name
                        textFormat: Text.PlainText
                        color: globalConfiguration.customForeground
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideMiddle
                        font.family: globalConfiguration.customFontFamily
                        font.pixelSize: globalConfiguration.customFontL2Size
                    }
                    Item {
                        width: 120
                        height: parent.height
                        ToolCheckBox {
                            objectName: "fileCheck" + index
                            anchors.centerIn: parent
                            checked: model.selected
                            onClicked: page.selectFile(index, checked)
                        }
                    }
                }
            }
        }

        Text {
            anchors.centerIn: list
            visible: page.fileCount === 0
            text: qsTr("没有文件")
            color: globalConfiguration.customGray
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: globalConfiguration.customFontL2Size
        }
    }

    // ---- Count, select all, actions ---------------------------------------------
    Item {
        id: bottomBar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 8
        height: 44

        LabelText {
            objectName: "countLabel"
            anchors.left: parent.left
            height: parent.height
            text: qsTr("文件数") + ": " + page.fileCount
        }

        ToolCheckBox {
            id: allBox
            objectName: "allBox"
            x: 190
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("全选")
            tristate: true
            enabled: page.fileCount > 0
            // A tap selects all unless all are selected.
            nextCheckState: function() { return page.selectionState === 1 ? Qt.Unchecked : Qt.Checked }
            onClicked: page.selectAll(checkState === Qt.Checked)

            // The partly selected state: a bar in the box.
            Rectangle {
                visible: allBox.checkState === Qt.PartiallyChecked
                x: allBox.leftPadding + allBox.radioSize * 0.2
                anchors.verticalCenter: parent.verticalCenter
                width: allBox.radioSize * 0.6
                height: 4
                color: allBox.checkedColor
            }
        }

        Row {
            anchors.right: parent.right
            height: parent.height
            spacing: 10

            ToolTextButton {
                objectName: "exportButton"
                width: 110
                height: parent.height
                text: qsTr("导出")
                enabled: page.selectionState !== 0 && page.devicePosition
                onClicked: page.exportFiles()
            }
            ToolTextButton {
                objectName: "importButton"
                width: 110
                height: parent.height
                text: qsTr("导入")
                enabled: page.selectionState !== 0 && !page.devicePosition
                onClicked: page.importFiles()
            }
            ToolTextButton {
                objectName: "deleteButton"
                width: 110
                height: parent.height
                text: qsTr("删除")
                enabled: page.selectionState !== 0
                onClicked: page.deleteFiles()
            }
        }
    }

    // ---- Dialogs -------------------------------------------------------------------
    UserMessageDialog {
        id: confirm
        objectName: "confirmDialog"
        property var pendingAction: null
        parent: Overlay.overlay
        title: qsTr("系统提示")
        iconText: globalConfiguration.iconInfomation
        onAccept: {
            var action = pendingAction
            pendingAction = null
            if (action)
                action()
        }
        onReject: pendingAction = null
    }

    UserMessageDialog {
        id: info
        objectName: "infoDialog"
        parent: Overlay.overlay
        title: qsTr("系统提示")
        iconText: globalConfiguration.iconInfomation
        rejectText: ""
    }
}

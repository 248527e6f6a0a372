import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0

// A module page's file dialog with its questions and messages: save a
// report or the parameters under a name (asking before an existing file is
// overwritten), or configure the parameters from a saved file. viewModel is
// the module page's own view model; prefix is the page's file-name prefix
// ("AC_", "Harmonic_", ...). parametersLoaded() tells the page to show the
// parameters read from the file.
Item {
    id: root

    property var viewModel: null
    property string prefix: ""
    readonly property alias fileDialog: files
    readonly property alias confirmDialog: confirm
    readonly property alias infoDialog: info

    signal parametersLoaded()

    function open() {
        files.moduleName = prefix
        files.fileModelList = viewModel ? viewModel.getParmFileList() : []
        files.open()
    }

    function showInfo(text) {
        info.content = text
        info.open()
    }

    // Runs action at once, or after "确定" when the file exists.
    function unlessOverwriteRefused(exists, question, action) {
        if (!exists) {
            action()
            return
        }
        confirm.pendingAction = action
        confirm.content = question
        confirm.open()
    }

    function saveParameters(fileName) {
        unlessOverwriteRefused(viewModel.checkParmFileExist(fileName), qsTr("参数文件已存在, 确定要覆盖文件?"), function() {
            showInfo(viewModel.backupParameter(fileName) ? qsTr("保存参数成功！") : qsTr("保存参数失败！"))
        })
    }

    function saveReport(fileName) {
        unlessOverwriteRefused(viewModel.checkReportFileExist(fileName), qsTr("报告文件已存在, 确定要覆盖文件?"), function() {
            var saved = viewModel.saveReport(fileName)
            var why = saved ? "" : viewModel.reportFailure()
            showInfo(saved ? qsTr("保存报告成功！") : why !== "" ? why : qsTr("保存报告失败！"))
        })
    }

    // A refused file: the notice says why; a loaded one: the values held.
    function loadParameters(fileName) {
        var loaded = viewModel.loadParmFromFile(fileName)
        var why = viewModel.takeParameterFileNotice()
        if (loaded) {
            root.parametersLoaded()
            showInfo(qsTr("导入参数成功！") + (why !== "" ? "\n" + why : ""))
        } else {
            showInfo(qsTr("导入参数失败！") + (why !== "" ? "\n" + why : ""))
        }
    }

    UserReportParmDialog {
        id: files
        objectName: "moduleFileDialog"
        parent: Overlay.overlay
        onSaveReport: function(fileName) { root.saveReport(fileName) }
        onSaveParameters: function(fileName) { root.saveParameters(fileName) }
        onLoadParameter: function(fileName) { root.loadParameters(fileName) }
    }

    UserMessageDialog {
        id: confirm
        objectName: "overwriteDialog"
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
        objectName: "moduleFileInfoDialog"
        parent: Overlay.overlay
        title: qsTr("系统提示")
        iconText: globalConfiguration.iconInfomation
        rejectText: ""
    }
}

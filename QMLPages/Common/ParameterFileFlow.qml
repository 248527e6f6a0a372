import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0

// The "File" dialog of a test page and what follows its three requests:
// parameters saved under a name, the report saved under a name (each asking
// before it overwrites a file) and parameters loaded from a stored file. The
// outcome of each is a notice in the page's message dialog; a load that
// succeeded is announced by parametersLoaded() first, so that the page shows
// the loaded values.
UserReportParmDialog {
    id: flow

    property var viewModel: null
    property PageMessageDialog messageDialog: null
    // The name of the pending save.
    property string saveFileName: ""

    signal parametersLoaded()
    // Just before the report is written (a page adds its images) and after
    // parameters were saved.
    signal reportSaving()
    signal parametersSaved()

    closePolicy: Popup.NoAutoClose

    function openFor(prefix) {
        messageDialog.preset()
        moduleName = prefix
        fileModelList = viewModel.getParmFileList()
        open()
    }

    function saveParametersAs(name) {
        saveFileName = name
        if (viewModel.checkParmFileExist(name))
            messageDialog.ask("SAVE_PARAMETERS", qsTr("参数文件已存在, 确定要覆盖文件?"))   // overwrite the file?
        else
            Qt.callLater(saveParametersNow)
    }

    function saveParametersNow() {
        var saved = viewModel.backupParameter(saveFileName)
        parametersSaved()
        messageDialog.showMessage(saved ? qsTr("保存参数成功！")     // saved
                                        : qsTr("保存参数失败！"))    // not saved
    }

    function saveReportAs(name) {
        saveFileName = name
        if (viewModel.checkReportFileExist(name))
            messageDialog.ask("SAVE_REPORT", qsTr("报告文件已存在, 确定要覆盖文件?"))
        else
            Qt.callLater(saveReportNow)
    }

    function saveReportNow() {
        reportSaving()
        // A failure says why when the model knows.
        var saved = viewModel.saveReport(saveFileName)
        var why = saved ? "" : viewModel.reportFailure()
        messageDialog.showMessage(saved ? qsTr("保存报告成功！") : why !== "" ? why : qsTr("保存报告失败！"))
    }

    // A refused file: the notice says why; a loaded one: the values held.
    function loadParametersFrom(name) {
        var loaded = viewModel.loadParmFromFile(name)
        var why = viewModel.takeParameterFileNotice()
        if (loaded)
            parametersLoaded()
        Qt.callLater(messageDialog.showMessage, (loaded ? qsTr("导入参数成功！") : qsTr("导入参数失败！"))
                                                + (why !== "" ? "\n" + why : ""))
    }

    onSaveParameters: saveParametersAs(fileName)
    onSaveReport: saveReportAs(fileName)
    onLoadParameter: loadParametersFrom(fileName)

    // An overwrite question answered "确定", after it has closed: the result
    // is a notice of its own.
    Connections {
        target: flow.messageDialog
        function onAnswered(type) {
            if (type === "SAVE_PARAMETERS")
                Qt.callLater(flow.saveParametersNow)
            else if (type === "SAVE_REPORT")
                Qt.callLater(flow.saveReportNow)
        }
    }
}

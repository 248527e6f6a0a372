import QtQuick 2.15

// Stands in for the system view model in the file-manager tests and
// pictures: the file-manager, named-file and upgrade operations over files
// held in memory, with scripted results and a log of the calls.
QtObject {
    id: fake

    // Files by "position/type/module", e.g. "0/0/1" for the device's
    // overcurrent parameter backups.
    property var folders: ({})
    property bool stickMounted: true
    property bool copyResult: true
    property bool deleteResult: true
    property var calls: []

    property int filePos: 0
    property int fileType: 0
    property int fileModuleType: 0
    property var list: []      // [{ name, selected }]

    // Named files of the module page.
    property var backups: []
    property var reports: []
    property bool saveResult: true
    property bool loadResult: true
    // What takeParameterFileNotice gives once.
    property string loadNotice: ""

    // What takeFileCopyNotice gives once.
    property string copyNotice: ""

    // Upgrade.
    property string packagePath: ""
    property bool prepareResult: true
    property int shellRuns: 0

    signal sigUpgradeShellFinished(int result, string notice)

    function log(call) {
        var c = calls.slice()
        c.push(call)
        calls = c
    }

    function key() { return filePos + "/" + fileType + "/" + fileModuleType }

    function getFilePos() { return filePos }
    function setFilePos(pos) {
        log("setFilePos(" + pos + ")")
        filePos = pos
        if (pos === 1)
            fileType = 0
    }
    function getFileType() { return fileType }
    function setFileType(type) {
        log("setFileType(" + type + ")")
        fileType = filePos === 1 ? 0 : type
    }
    function getFileModuleType() { return fileModuleType }
    function setFileModuleType(type) {
        log("setFileModuleType(" + type + ")")
        fileModuleType = type
    }
    function updateFileList() {
        log("updateFileList")
        var names = (filePos === 1 && !stickMounted) ? [] : (folders[key()] || [])
        var l = []
        for (var i = 0; i < names.length; ++i)
            l.push({ "name": names[i], "selected": false })
        list = l
    }
    function getFileCount() { return list.length }
    function getFileName(i) { return i >= 0 && i < list.length ? list[i].name : "" }
    function getFileSelected(i) { return i >= 0 && i < list.length ? list[i].selected : false }
    function setFileSelected(i, s) {
        if (i >= 0 && i < list.length)
            list[i].selected = s
    }
    function getAllFileSelected() {
        var n = 0
        for (var i = 0; i < list.length; ++i)
            n += list[i].selected ? 1 : 0
        return n === 0 ? 0 : (n === list.length ? 1 : 2)
    }
    function setAllFileSelected(s) {
        for (var i = 0; i < list.length; ++i)
            list[i].selected = s
    }
    function selectedNames() {
        var out = []
        for (var i = 0; i < list.length; ++i)
            if (list[i].selected)
                out.push(list[i].name)
        return out
    }
    function checkUsbDiskExist(sub) {
        log("checkUsbDiskExist(" + sub + ")")
        return stickMounted
    }
    function exportSelectedFiles() {
        log("export:" + selectedNames().join("|"))
        return copyResult
    }
    function importSelectedFiles() {
        log("import:" + selectedNames().join("|"))
        return copyResult
    }
    function deleteSelectedFiles() {
        var gone = selectedNames()
        log("delete:" + gone.join("|"))
        if (deleteResult) {
            var left = (folders[key()] || []).filter(function(n) { return gone.indexOf(n) < 0 })
            var f = folders
            f[key()] = left
            folders = f
        }
        return deleteResult
    }

    function getParmFileList() { return backups }
    function checkParmFileExist(name) { return backups.indexOf(name) >= 0 }
    function checkReportFileExist(name) { return reports.indexOf(name) >= 0 }
    function backupParameter(name) {
        log("backupParameter(" + name + ")")
        return saveResult
    }
    function saveReport(name) {
        log("saveReport(" + name + ")")
        return saveResult
    }
    property string reportFailureText: ""
    function reportFailure() {
        return reportFailureText
    }
    function loadParmFromFile(name) {
        log("loadParmFromFile(" + name + ")")
        return loadResult
    }
    function takeParameterFileNotice() {
        var notice = loadNotice
        loadNotice = ""
        return notice
    }

    function takeFileCopyNotice() {
        var notice = copyNotice
        copyNotice = ""
        return notice
    }

    function findUpdateFileName() { return packagePath }
    function checkUpgradeFileExist(path) { return path !== "" && path === packagePath }
    function runUpgradePrepare(path) {
        log("runUpgradePrepare(" + path + ")")
        return prepareResult && path === packagePath
    }
    function startUpgradeShell() {
        log("startUpgradeShell")
        shellRuns += 1
        return true
    }
}

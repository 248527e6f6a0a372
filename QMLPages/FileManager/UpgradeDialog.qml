import QtQuick 2.15
import QMLControls 1.0

// The software-upgrade dialog of the settings page. Its owner calls tick()
// once a second while it is open (the main window's one-second timer; with
// autoTick the dialog ticks itself). In state 0 each tick looks for a package
// on the stick; after "确定" has prepared the package (state 1) the states
// count up, the upgrade script starts in state 2 (on the view model's
// background queue, so the interface keeps running) and the view model's
// word on its end is shown: success (the script restarts the device) or
// failure, at once. State 180, three minutes on, means failure.
UserUpgradeDialog {
    id: dialog

    property var viewModel: viewBaseModel
    property int upgradeState: 0
    // The dialog's own one-second ticks, for an owner without a timer.
    property bool autoTick: false
    readonly property string preparedPackage: "/media/usb/upgrade/zorupgrade.zip"
    readonly property int failureState: 180
    // The package the last "确定" could not prepare, and why.
    property string refusedPackage: ""
    property string refusal: ""

    function tick() {
        if (!viewModel)
            return
        if (upgradeState === 0) {
            var path = viewModel.findUpdateFileName()
            if (viewModel.checkUpgradeFileExist(path)) {
                upgradeFileName = path
                // A package refused at "确定" keeps saying why.
                upgradeFileStateText = path === refusedPackage && refusal !== ""
                        ? refusal : qsTr("文件已找到,请核对版本号!点击确定开始升级！")
            } else {
                upgradeFileName = preparedPackage
                upgradeFileStateText = qsTr("升级文件不存在！请重新插入U盘。")
            }
            return
        }
        if (upgradeState >= failureState) {
            upgradeFileStateText = qsTr("升级失败！请联系技术支持。")
            return
        }
        if (upgradeState === 2)
            viewModel.startUpgradeShell()
        upgradeState += 1
    }

    onAboutToShow: {
        upgradeState = 0
        upgradeAcceptEnabled = true
        upgradeFileName = ""
        upgradeFileStateText = ""
        refusedPackage = ""
        refusal = ""
        tick()
    }

    onAccept: {
        if (upgradeState !== 0 || !viewModel)
            return
        if (viewModel.runUpgradePrepare(upgradeFileName)) {
            upgradeAcceptEnabled = false
            upgradeState = 1
            upgradeFileStateText = qsTr("正在升级!升级完成自动重启。")
        } else {
            refusedPackage = upgradeFileName
            refusal = viewModel.takeFileCopyNotice()
            if (refusal !== "")
                upgradeFileStateText = refusal
        }
    }

    Timer {
        interval: 1000
        repeat: true
        running: dialog.opened && dialog.autoTick
        onTriggered: dialog.tick()
    }

    Connections {
        target: dialog.viewModel
        ignoreUnknownSignals: true
        function onSigUpgradeShellFinished(result, notice) {
            if (dialog.upgradeState <= 0 || dialog.upgradeState >= dialog.failureState)
                return
            dialog.upgradeFileStateText = notice
            if (result !== 0)
                dialog.upgradeState = dialog.failureState
        }
    }
}

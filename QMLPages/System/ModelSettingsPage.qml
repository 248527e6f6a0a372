import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import ZOR.ViewUtilityHelper 1.0

// The system settings (title "系统配置") and, inside them, the hardware,
// battery and time-synchronisation pages, the slot of the output-calibration
// page and the slot of the software-upgrade dialog. Setters change the
// configuration in memory; leaving the settings (goBack() at the top level)
// saves the software configuration and makes the driver apply it.
Item {
    id: page

    // The title of what is shown; the main window puts it in the header.
    property string pageTitle: qsTr("系统配置")                 // system configuration
    // 0 normally; 1 after a language change, then counted up by the main
    // window's ticks until the program restarts.
    property int languageChangeState: 0
    // The language chosen in the list and waiting for confirmation.
    property int pendingLanguage: -1
    // The header's clock ("yyyy-MM-dd HH:mm:ss"), set by the main window: the
    // system time shows it while the clock is synchronised.
    property string headerTime: ""
    property bool clockSynchronised: false

    readonly property alias hardwarePage: hardwarePage
    readonly property alias batteryPage: batteryPage
    readonly property alias timeSyncPage: timeSyncPage
    readonly property alias calibrationSlot: calibrationSlot
    readonly property alias upgradeSlot: upgradeSlot
    readonly property alias passwordDialog: passwordDialog
    readonly property alias languageDialog: languageDialog
    readonly property alias ratedVoltage: ratedVoltage
    readonly property alias ratedCurrent: ratedCurrent
    readonly property alias ratedFrequency: ratedFrequency
    readonly property alias ditherTime: ditherTime
    readonly property alias suspendTime: suspendTime
    readonly property alias systemTimeBox: systemTimeBox
    readonly property alias systemTimeButton: systemTimeButton
    readonly property alias beepCheckBox: beepCheckBox
    readonly property alias styleDefault: styleDefault
    readonly property alias styleBlack: styleBlack
    readonly property alias languageBox: languageBox
    readonly property alias outputModeBox: outputModeBox
    readonly property alias deviceModelText: deviceModelText
    readonly property alias softwareVersionText: softwareVersionText
    readonly property alias deviceCodeText: deviceCodeText
    readonly property alias fpgaVersionText: fpgaVersionText
    readonly property alias hardwareButton: hardwareButton
    readonly property alias calibrationButton: calibrationButton
    readonly property alias upgradeButton: upgradeButton
    readonly property alias timeSyncButton: timeSyncButton

    // Re-reads every field from the view model.
    function loadFields() {
        // Numbers are written in the language's locale.
        var language = viewBaseModel.getLanuageType()
        globalConfiguration.customLocalName = language === ViewBaseModel.LANGUAGE_TYPE_CHINESE ? "zh_CN" : "us_EN"
        // Ratings the outputs can give.
        ratedVoltage.box.dataMax = viewBaseModel.getDeviceAOVMaxRange()
        ratedCurrent.box.dataMax = viewBaseModel.getDeviceAOIMaxRange()
        ratedVoltage.show(viewBaseModel.getRateVRange())
        ratedCurrent.show(viewBaseModel.getRateIRange())
        ratedFrequency.show(viewBaseModel.getRateFrequency())
        ditherTime.show(viewBaseModel.getDitherTime())
        suspendTime.show(viewBaseModel.getSuspendTime())
        beepCheckBox.checked = viewBaseModel.getBeepEnabled()
        var style = viewBaseModel.getSystemStyle()
        styleDefault.checked = style === ViewBaseModel.STYLE_TYPE_DEFAULT
        styleBlack.checked = style !== ViewBaseModel.STYLE_TYPE_DEFAULT
        languageBox.setDataValue(language)
        if (viewBaseModel.getDevicePaoOnEnabled()) {
            outputModeBox.enabled = true
            outputModeBox.setDataValue(viewBaseModel.getDevicePowerAmpEnabled() ? 0 : 1)
        } else {
            if (!viewBaseModel.getDevicePowerAmpEnabled())
                viewBaseModel.setDevicePowerAmpEnabled(true)
            outputModeBox.setDataValue(0)
            outputModeBox.enabled = false
        }
        deviceModelText.text = viewBaseModel.getDeviceModel()
        softwareVersionText.text = viewBaseModel.getSoftwareVersion()
        deviceCodeText.text = viewBaseModel.getDeviceCode()
        fpgaVersionText.text = viewBaseModel.getFpgaVersion()
        updateSystemTimeEnabled()
    }

    // The system time may be set only while the clock is not synchronised:
    // then it is preset to now, rounded down to 10 s, plus 10 s; while
    // synchronised it follows the header's clock.
    function updateSystemTimeEnabled() {
        clockSynchronised = viewBaseModel.getClkSyncEnabled()
        systemTimeBox.enabled = !clockSynchronised
        systemTimeButton.enabled = !clockSynchronised
        if (clockSynchronised)
            systemTimeBox.text = headerTime
        else
            systemTimeBox.setNowDateTimeRound10sec(1)
    }

    onHeaderTimeChanged: if (clockSynchronised) systemTimeBox.text = headerTime

    function showSettings() {
        pageTitle = qsTr("系统配置")
        settingsPanel.visible = true
        loadFields()
    }

    function openSubPage(subPage, title) {
        settingsPanel.visible = false
        subPage.visible = true
        pageTitle = title
    }

    function openHardware() {
        openSubPage(hardwarePage, qsTr("硬件配置"))              // hardware configuration
    }

    function openBattery() {
        hardwarePage.visible = false
        batteryPage.visible = true
        pageTitle = qsTr("电池配置")                            // battery configuration
    }

    function openTimeSync() {
        openSubPage(timeSyncPage, qsTr("对时设置"))              // time synchronisation
    }

    function openCalibration() {
        if (calibrationSlot.available)
            openSubPage(calibrationSlot, qsTr("输出校准"))       // output calibration
    }

    function openUpgrade() {
        if (upgradeSlot.item && typeof upgradeSlot.item.open === "function")
            upgradeSlot.item.open()
    }

    // One step back, from the header's exit dialog: from a page inside the
    // settings to the page above it; from the settings themselves the
    // configuration is saved and applied and the settings page hides itself.
    function goBack() {
        if (calibrationSlot.visible) {
            calibrationSlot.visible = false
            showSettings()
        } else if (batteryPage.visible) {
            batteryPage.visible = false
            hardwarePage.visible = true
            pageTitle = qsTr("硬件配置")
        } else if (hardwarePage.visible) {
            hardwarePage.visible = false
            showSettings()
        } else if (timeSyncPage.visible) {
            updateSystemTimeEnabled()
            timeSyncPage.visible = false
            showSettings()
        } else {
            viewBaseModel.saveConfig(ViewBaseModel.CONFIG_TYPE_SOFTWARE_DATA, true)
            viewBaseModel.testConfig()
            page.visible = false
        }
    }

    // The main window's once-a-second call while the settings are shown: the
    // upgrade dialog's step, and the count towards the restart after a
    // language change.
    function updateUpgradeDialog() {
        if (languageChangeState >= 1)
            languageChangeState += 1
        var dialog = upgradeSlot.item
        if (dialog && dialog.visible && typeof dialog.tick === "function")
            dialog.tick()
    }

    function closeInputPanels() {
        // The panels may not exist yet while the window is being built.
        if (!inputNumberPanel)
            return
        inputNumberPanel.close()
        inputDateTimePanel.close()
        inputTimePanel.close()
    }

    function languageChosen(index) {
        if (index === viewBaseModel.getLanuageType())
            return
        pendingLanguage = index
        languageDialog.open()
    }

    function chooseStyle(black) {
        viewBaseModel.setSystemStyle(black ? ViewBaseModel.STYLE_TYPE_BLACKLIGHT : ViewBaseModel.STYLE_TYPE_DEFAULT)
        globalConfiguration.customStyleName = black ? "Black" : "Default"
    }

    onVisibleChanged: {
        if (visible) {
            viewBaseModel.loadConfig(ViewBaseModel.CONFIG_TYPE_SOFTWARE_DATA)
            hardwarePage.visible = false
            batteryPage.visible = false
            timeSyncPage.visible = false
            calibrationSlot.visible = false
            showSettings()
        } else {
            closeInputPanels()
        }
    }

    // The configuration is loaded on the engine's thread: show it once there.
    Connections {
        target: viewBaseModel
        function onSigUpdateDataToView(dataType, subType) {
            if (dataType === ViewBaseModel.DATA_TYPE_SYSTEM_CONFIG && page.visible && settingsPanel.visible)
                page.loadFields()
        }
    }

    // ---- The settings themselves -------------------------------------------------
    Item {
        id: settingsPanel
        objectName: "settingsPanel"
        anchors.fill: parent
        onVisibleChanged: if (!visible) page.closeInputPanels()

        Column {
            id: leftColumn
            x: 10
            y: 8
            spacing: 4

            SettingNumberRow {
                id: ratedVoltage
                objectName: "ratedVoltage"
                labelWidth: 110
                boxWidth: 230
                label: qsTr("额定电压:")                          // rated voltage
                box.unit: "V"
                box.dataMin: 0.0
                box.dataMax: 300.0                                // the device's, see loadFields
                box.dataAutoToLimit: true
                box.quick1Value: "57.735"
                box.quick2Value: "110.0"
                box.quick3Value: "220.0"
                onEntered: function(value) {
                    viewBaseModel.setRateVRange(value)
                    page.loadFields()
                }
            }
            SettingNumberRow {
                id: ratedCurrent
                objectName: "ratedCurrent"
                labelWidth: 110
                boxWidth: 230
                label: qsTr("额定电流:")                          // rated current
                box.unit: "A"
                box.dataMin: 0.0
                box.dataMax: 20.0
                box.dataAutoToLimit: true
                box.quick1Value: "1.0"
                box.quick2Value: "5.0"
                box.quick3Value: "0.0"
                onEntered: function(value) {
                    viewBaseModel.setRateIRange(value)
                    page.loadFields()
                }
            }
            SettingNumberRow {
                id: ratedFrequency
                objectName: "ratedFrequency"
                labelWidth: 110
                boxWidth: 230
                label: qsTr("额定频率:")                          // rated frequency
                box.unit: "Hz"
                box.dataMin: viewBaseModel.minOutputFrequency
                box.dataMax: viewBaseModel.maxOutputFrequency
                box.quick1Value: "50.0"
                box.quick2Value: "60.0"
                box.quick3Value: "55.0"
                onEntered: function(value) {
                    viewBaseModel.setRateFrequency(value)
                    page.loadFields()
                }
            }
            SettingNumberRow {
                id: ditherTime
                objectName: "ditherTime"
                labelWidth: 110
                boxWidth: 230
                label: qsTr("防抖时间:")                          // debounce time
                box.unit: "s"
                box.dataMin: 0.001
                box.dataMax: 10.0
                box.quick1Value: "1.0"
                box.quick2Value: "5.0"
                box.quick3Value: "0.0"
                onEntered: function(value) {
                    viewBaseModel.setDitherTime(value)
                    page.loadFields()
                }
            }
            SettingNumberRow {
                id: suspendTime
                objectName: "suspendTime"
                labelWidth: 110
                boxWidth: 230
                label: qsTr("屏保时间") + ":"                      // screen saver time
                box.unit: "s"
                box.dataPrecision: 0
                box.dataMin: 10.0
                box.dataMax: 10000.0
                box.quick1Value: "15.0"
                box.quick2Value: "300.0"
                box.quick3Value: "0.0"
                onEntered: function(value) {
                    viewBaseModel.setSuspendTime(value)
                    page.loadFields()
                }
            }
            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: 110
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("系统时间:")                        // system time
                }
                EditDateTimeBox {
                    id: systemTimeBox
                    objectName: "systemTimeBox"
                    width: 234
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                }
                ToolTextButton {
                    id: systemTimeButton
                    objectName: "systemTimeButton"
                    width: 64
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("设置")                            // set
                    onClicked: viewBaseModel.setSystemTime(systemTimeBox.text)
                }
            }
            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: 110
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("系统语言:")                        // language
                }
                ToolComboBox {
                    id: languageBox
                    objectName: "languageBox"
                    width: 230
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                    // Index = LANGUAGEType: Chinese, English, Portuguese.
                    model: [qsTr("中文"), qsTr("英文"), qsTr("葡萄牙文")]
                    onActivated: function(index) { page.languageChosen(index) }
                }
            }
        }

        Column {
            id: rightColumn
            x: 432
            y: 8
            spacing: 4

            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: 100
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("输出方式") + ":"                   // output
                }
                ToolComboBox {
                    id: outputModeBox
                    objectName: "outputModeBox"
                    width: 200
                    height: 36
                    anchors.verticalCenter: parent.verticalCenter
                    // Amplifier, small signal.
                    model: [qsTr("功放输出"), qsTr("小信号")]
                    onActivated: function(index) { viewBaseModel.setDevicePowerAmpEnabled(index === 0) }
                }
            }
            Row {
                height: 40
                spacing: 6
                Item { width: 100; height: 1 }
                ToolCheckBox {
                    id: beepCheckBox
                    objectName: "beepCheckBox"
                    height: 40
                    text: qsTr("按键音")                           // key beep
                    onClicked: viewBaseModel.setBeepEnabled(checked)
                }
            }
            Row {
                height: 40
                spacing: 6
                LabelText {
                    width: 100
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: qsTr("系统主题:")                        // theme
                }
                ToolRadioButton {
                    id: styleDefault
                    objectName: "styleDefault"
                    height: 40
                    text: qsTr("系统默认")                         // default
                    onClicked: page.chooseStyle(false)
                }
                ToolRadioButton {
                    id: styleBlack
                    objectName: "styleBlack"
                    height: 40
                    text: qsTr("黑色高亮")                         // black highlight
                    onClicked: page.chooseStyle(true)
                }
            }
            InfoRow { label: qsTr("机器型号:"); LabelText { id: deviceModelText; objectName: "deviceModelText"; width: 230; height: 34 } }      // model
            InfoRow { label: qsTr("软件版本:"); LabelText { id: softwareVersionText; objectName: "softwareVersionText"; width: 230; height: 34 } } // software version
            InfoRow { label: qsTr("机器编号:"); LabelText { id: deviceCodeText; objectName: "deviceCodeText"; width: 230; height: 34 } }        // serial number
            InfoRow { label: qsTr("固件版本:"); LabelText { id: fpgaVersionText; objectName: "fpgaVersionText"; width: 230; height: 34 } }      // firmware version
        }

        Row {
            id: buttons
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            spacing: 20

            ToolTextButton {
                id: hardwareButton
                objectName: "hardwareButton"
                width: 160
                height: 40
                text: qsTr("硬件配置")                             // hardware configuration
                onClicked: page.openHardware()
            }
            ToolTextButton {
                id: calibrationButton
                objectName: "calibrationButton"
                width: 160
                height: 40
                text: qsTr("输出校准")                             // output calibration
                onClicked: passwordDialog.open()
            }
            ToolTextButton {
                id: upgradeButton
                objectName: "upgradeButton"
                width: 160
                height: 40
                text: qsTr("软件升级")                             // software upgrade
                onClicked: page.openUpgrade()
            }
            ToolTextButton {
                id: timeSyncButton
                objectName: "timeSyncButton"
                width: 160
                height: 40
                text: qsTr("对时设置")                             // time synchronisation
                onClicked: page.openTimeSync()
            }
        }
    }

    component InfoRow: Row {
        property alias label: infoLabel.text
        height: 34
        spacing: 6
        LabelText {
            id: infoLabel
            width: 100
            height: parent.height
            horizontalAlignment: Text.AlignRight
        }
    }

    // ---- Pages inside the settings ------------------------------------------------
    ModelSystemCfgPage {
        id: hardwarePage
        objectName: "hardwarePage"
        anchors.fill: parent
        visible: false
        onBatteryClicked: page.openBattery()
        onCloseClicked: {
            hardwarePage.visible = false
            page.showSettings()
        }
    }

    ModelUartBatCfgPage {
        id: batteryPage
        objectName: "batteryPage"
        anchors.fill: parent
        visible: false
        onCloseClicked: {
            batteryPage.visible = false
            hardwarePage.visible = true
            page.pageTitle = qsTr("硬件配置")
        }
    }

    ModelSystemTimeSynPage {
        id: timeSyncPage
        objectName: "timeSyncPage"
        anchors.fill: parent
        visible: false
    }

    // The output-calibration page (ModelSystemCalPage) of the calibration
    // module; without a page "输出校准" opens nothing. Hiding it stops a
    // calibration run.
    Loader {
        id: calibrationSlot
        objectName: "calibrationSlot"
        readonly property bool available: status === Loader.Ready && item !== null
        anchors.fill: parent
        source: "qrc:/QMLPages/Calibration/ModelSystemCalPage.qml"
        visible: false
        onVisibleChanged: if (!visible) page.closeInputPanels()
    }

    // The software-upgrade dialog (of the file-manager module): a Popup with
    // open(), whose tick() runs once a second while it is visible. A popup
    // is placed over the whole window, as the other dialogs.
    Loader {
        id: upgradeSlot
        objectName: "upgradeSlot"
        source: "qrc:/QMLPages/FileManager/UpgradeDialog.qml"
        onLoaded: {
            if (typeof item.modal === "boolean")
                item.parent = Overlay.overlay
        }
    }

    // ---- Dialogs ------------------------------------------------------------------
    UserPasswordDialog {
        id: passwordDialog
        objectName: "passwordDialog"
        parent: Overlay.overlay
        onAboutToShow: title = qsTr("请输入密码...")             // enter the access code
        onAccept: function(pwd) {
            if (viewBaseModel.checkSettingPwd(pwd, 2)) {
                close()
                page.openCalibration()
            } else {
                title = qsTr("请重新输入密码...")                // enter it again
            }
        }
    }

    UserMessageDialog {
        id: languageDialog
        objectName: "languageDialog"
        parent: Overlay.overlay
        title: qsTr("系统提示")
        content: qsTr("是否需要切换系统语言？")                  // change the language?
        onAccept: {
            viewBaseModel.setLanuageType(page.pendingLanguage)
            page.languageChangeState = 1
        }
        onReject: languageBox.setDataValue(viewBaseModel.getLanuageType())
    }
}

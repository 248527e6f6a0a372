import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "../System"

// The main window's content, 800 x 480: the status header, the start page
// and every other page as siblings below it (navigation only switches their
// visible flags; a module page is built when first opened), the shared dialogs, the four on-screen input panels and the
// palette (ids globalConfiguration, inputNumberPanel, inputCharNumberPanel,
// inputTimePanel, inputDateTimePanel, which the controls use). A 1 s timer runs
// the instrument's housekeeping (housekeepingTick()).
//
// The system view model is not created here: the file that instantiates the
// content provides it under the id viewBaseModel (Main.qml creates the real
// one in the program's window; the tests give a stub).
Item {
    id: mainWindow

    // The screen.
    property int realWidth: 800
    property int realHeight: 480
    // The window that shows this content: moved and resized for the input
    // panels, hidden before a restart.
    property var hostWindow: Window.window
    // Window position, remembered at the first navigation; an open input
    // panel may move the window up and it comes back here.
    property int realX: 0
    property int realY: 0
    property bool positionRemembered: false
    // Dragging the header moves the window only while this is set (nothing sets it).
    property bool moveEnable: false

    // Housekeeping state.
    property string currentTime: ""
    property int twinkleCount: 0
    property bool showTipEnabled: true
    // Seconds spent in the empty-battery class.
    property int continueTime: 0
    property int tickCount: 0
    // The prompt phase of the home button: prompt and time alternate.
    property bool batTipEnabled: false
    // Seconds of large current so far.
    property int bigCurrentContinueTime: 0
    property int secondCnt: 0
    // The battery prompt of this tick ("" when there is none).
    property string batteryPrompt: ""

    // Whether the instrument's driver is initialised: follows the engine's
    // initialisation notices. The start-up shows the window only after the
    // driver came up, so it starts true.
    property bool driverInitialised: true

    // Header state: the start page's (software name, clock image) or a page's.
    property bool moduleState: false
    property string headerTitle: ""
    property bool homeEnabled: true

    // Battery as the header shows it.
    property bool batteryShown: false
    property int batteryLevel: 0
    property color batteryColor: globalConfiguration.customGreen
    property color batteryTextColor: globalConfiguration.customForeground

    readonly property alias globalConfig: globalConfiguration
    readonly property alias statusHeader: statusHeader
    readonly property alias mainWindowPage: mainWindowPage
    readonly property alias settingsPage: settingsPage
    readonly property alias housekeepingTimer: housekeepingTimer
    readonly property alias exitDialog: exitDialog
    readonly property alias lowBatteryDialog: lowBatteryDialog
    readonly property alias batteryDialog: batteryDialog
    readonly property alias triggerTimeDialog: triggerTimeDialog
    readonly property alias childTestTimeDialog: childTestTimeDialog
    readonly property alias alternatePage: alternatePage
    readonly property alias stateSequencePage: stateSequencePage
    readonly property alias fileManagePage: fileManagePage
    readonly property alias stdSourcePage: stdSourcePage
    // The page slots by start-page index (0 is the settings page).
    readonly property var pageSlots: [null, alternatePage, overcurrentPage, stateSequencePage, rampingPage,
        harmonicPage, distancePage, slipFrequencyPage, slipVoltagePage, directPage, oscillatePage, energyPage,
        fileManagePage]
    readonly property var allSlots: pageSlots.slice(1).concat([stdSourcePage])

    // Fixed to the screen's size: a taller window (for an input panel) shows
    // the panel below this content.
    width: realWidth
    height: realHeight

    // ---- Header -------------------------------------------------------------------
    function setStartState() {
        moduleState = false
        headerTitle = viewBaseModel.getSoftwareName()
    }

    function setModuleState(caption) {
        moduleState = true
        headerTitle = caption
    }

    function refreshAlarm() {
        statusHeader.alarmVisible = viewBaseModel.getAlarmEnable()
        statusHeader.alarmToolTip = viewBaseModel.getAlarmText()
        statusHeader.alarmText = viewBaseModel.getAlarmLabel()
    }

    function refreshBattery() {
        var percent = viewBaseModel.getBatteryPercent()
        var state = viewBaseModel.getBatteryState()
        batteryShown = percent >= 0 && state >= 0
        if (!batteryShown)
            return
        batteryLevel = percent
        if (percent <= 10) {
            batteryColor = globalConfiguration.customRed
            batteryTextColor = globalConfiguration.customRed
            if (showTipEnabled && state === 0 && !lowBatteryDialog.opened) {
                showTipEnabled = false
                lowBatteryDialog.open()
            }
        } else if (percent <= 20) {
            batteryColor = globalConfiguration.customYellow
            batteryTextColor = globalConfiguration.customYellow
            lowBatteryDialog.close()
        } else {
            batteryColor = globalConfiguration.customGreen
            batteryTextColor = globalConfiguration.customForeground
            lowBatteryDialog.close()
        }
        statusHeader.batteryChargingShown = true
        statusHeader.batteryCharging = state === 1
    }

    function refreshClockSync() {
        statusHeader.clockSynchronised = viewBaseModel.getClkSyncState()
        statusHeader.clockSyncToolTip = viewBaseModel.getPPXUtcTimeStr(0)
        if (triggerTimeDialog.opened)
            triggerTimeDialog.refresh()
    }

    // The header's part of an engine notification.
    function updateDataToView(dataType, subType) {
        switch (dataType) {
        case ViewBaseModel.DATA_TYPE_RT_ALARM:
            refreshAlarm()
            break
        case ViewBaseModel.DATA_TYPE_RT_TEMP:
            statusHeader.temperatureText = viewBaseModel.getPowerTMaxText()
            statusHeader.temperatureToolTip = viewBaseModel.getPowerTDetailText()
            break
        case ViewBaseModel.DATA_TYPE_RT_BATTERY:
            refreshBattery()
            break
        case ViewBaseModel.DATA_TYPE_RT_STATE:
            if (subType < 0 || subType === ViewBaseModel.STATE_TYPE_RUNNING)
                statusHeader.running = viewBaseModel.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
            if (subType < 0 || subType === ViewBaseModel.STATE_TYPE_INIT)
                driverInitialised = viewBaseModel.getState(ViewBaseModel.STATE_TYPE_INIT) !== 0
            break
        case ViewBaseModel.DATA_TYPE_CLOCK_STATE:
            refreshClockSync()
            break
        }
    }

    // ---- Navigation -------------------------------------------------------------------
    function rememberPosition() {
        if (positionRemembered)
            return
        positionRemembered = true
        if (hostWindow) {
            realX = hostWindow.x
            realY = hostWindow.y
        }
    }

    // Shows the page of a start-page index, built on its first opening;
    // false (nothing changes) when the index has no page.
    function openPage(index, caption) {
        var page = index === mainWindowPage.settingsIndex ? settingsPage : pageSlots[index]
        if (!page || (page !== settingsPage && !page.build()))
            return false
        setModuleState(caption)
        page.visible = true
        rememberPosition()
        mainWindowPage.visible = false
        return true
    }

    function showStartPage() {
        mainWindowPage.visible = true
        setStartState()
    }

    function homeClicked() {
        if (!mainWindowPage.visible)
            exitDialog.open()
    }

    // The exit dialog was accepted: one step back.
    function leavePage() {
        if (settingsPage.visible) {
            settingsPage.goBack()
            if (!settingsPage.visible)
                showStartPage()
            return
        }
        for (var i = 0; i < allSlots.length; ++i) {
            var slot = allSlots[i]
            if (!slot.visible)
                continue
            slot.saveParameter()
            showStartPage()
            slot.visible = false
            return
        }
        showStartPage()
    }

    // The program ends cleanly (a termination signal, the display gone): the
    // open module page's parameter file is written as leaving it does.
    function saveOpenPage() {
        for (var i = 0; i < allSlots.length; ++i) {
            if (allSlots[i].visible)
                allSlots[i].saveParameter()
        }
    }

    // ---- Input panels -------------------------------------------------------------------
    // A field that the opening panel would cover moves the window up: by half
    // the panel's height when the field's lower edge lies in the upper half of
    // the panel's area, by its whole height otherwise.
    function liftFor(panel) {
        var owner = panel.owner
        if (!owner)
            return
        var bottom = owner.mapToItem(mainWindow, 0, owner.height).y
        var top = realHeight - panel.height
        if (bottom <= top || !hostWindow)
            return
        var shift = Math.round(bottom <= top + panel.height / 2 ? panel.height / 2 : panel.height)
        hostWindow.height = realHeight + shift
        hostWindow.y = realY - shift
    }

    function lowerBack() {
        if (!hostWindow || (hostWindow.height === realHeight && hostWindow.y === realY))
            return
        hostWindow.height = realHeight
        hostWindow.y = realY
    }

    // ---- Housekeeping -------------------------------------------------------------------
    // The prompt of a battery class, and whether it opens the battery dialog:
    // "battery below <threshold> %", what is forbidden now ("no output of 5 A
    // or more", "no output of 2 A or more", "no tests", "battery discharge
    // switched off"), "charge it soon".
    readonly property var noBatteryPrompt: ({ text: "", dialog: false })
    function batteryPromptOf(batteryClass) {
        if (batteryClass === ViewBaseModel.BAT_PD_TYPE_NONE)
            return noBatteryPrompt
        var low = qsTr("电量不足")                                 // battery low
        var charge = qsTr("请及时充电")                            // charge it soon
        switch (batteryClass) {
        case ViewBaseModel.BAT_PD_TYPE_TEN_OFF:
            return { text: low + viewBaseModel.getBatteryConfig(0) + "%," + qsTr("禁止5A及以上电流输出") + "," + charge,
                     dialog: true }
        case ViewBaseModel.BAT_PD_TYPE_FIVE_OFF:
            return { text: low + viewBaseModel.getBatteryConfig(1) + "%," + qsTr("禁止2A及以上电流输出") + "," + charge,
                     dialog: true }
        case ViewBaseModel.BAT_PD_TYPE_TEN_ON:
            return { text: low + viewBaseModel.getBatteryConfig(0) + "%," + charge, dialog: false }
        case ViewBaseModel.BAT_PD_TYPE_FIVE_ON:
            return { text: low + viewBaseModel.getBatteryConfig(1) + "%," + charge, dialog: false }
        case ViewBaseModel.BAT_PD_TYPE_TWO:
            return { text: low + viewBaseModel.getBatteryConfig(2) + "%," + qsTr("禁止实验") + "," + charge,
                     dialog: false }
        case ViewBaseModel.BAT_PD_TYPE_ZERO:
            return { text: low + viewBaseModel.getBatteryConfig(3) + "%," + qsTr("关闭电池放电") + "," + charge,
                     dialog: false }
        }
        return { text: "", dialog: false }
    }

    // The battery level blinks while at or below 20 %: red with a yellow
    // tick after every two red ones at or below 10 %, yellow with a red tick
    // after every five yellow ones above.
    function blinkBattery() {
        var percent = viewBaseModel.getBatteryPercent()
        if (!batteryShown || percent < 0 || percent > 20) {
            twinkleCount = 0
            return
        }
        twinkleCount += 1
        var empty = percent <= 10
        var flip = twinkleCount % (empty ? 3 : 6) === 0
        var colour = empty !== flip ? globalConfiguration.customRed : globalConfiguration.customYellow
        batteryColor = colour
        batteryTextColor = colour
    }

    // Now, in the synchronised zone while the clock is synchronised.
    function updateCurrentTime() {
        var now = new Date()
        if (viewBaseModel.getClkSyncEnabled())
            now = new Date(now.getTime() + viewBaseModel.getTimeZoneOffset() * 60000)
        currentTime = Qt.formatDateTime(now, "yyyy-MM-dd HH:mm:ss")
    }

    function housekeepingTick() {
        // 1. The clock.
        updateCurrentTime()
        // 2. The start page keeps the start header.
        if (mainWindowPage.visible)
            setStartState()
        // 3. The settings page: hidden with the window right after a language
        //    change; its upgrade dialog's step.
        if (settingsPage.visible) {
            if (settingsPage.languageChangeState === 1) {
                settingsPage.visible = false
                if (hostWindow)
                    hostWindow.visible = false
            }
            settingsPage.updateUpgradeDialog()
        }
        // 4. The restart after a language change, once.
        if (settingsPage.languageChangeState >= 1) {
            if (settingsPage.languageChangeState === 3) {
                settingsPage.languageChangeState = 0
                viewBaseModel.reboot()
            } else {
                settingsPage.languageChangeState += 1
            }
        }
        // 5, 6. Suspend and battery reads (the class of this tick comes with them).
        viewBaseModel.checkRunSuspend()
        viewBaseModel.loadBattery()
        // 7. Blinking level.
        blinkBattery()
        // 8. The battery prompt of this tick's class; no class without battery data.
        var batteryClass = ViewBaseModel.BAT_PD_TYPE_NONE
        if (viewBaseModel.getBatteryState() >= 0)
            batteryClass = viewBaseModel.getBatteryPDType()
        var prompt = batteryPromptOf(batteryClass)
        batteryPrompt = prompt.text
        if (prompt.dialog) {
            batteryDialog.content = prompt.text
            if (!batteryDialog.opened)
                batteryDialog.open()
        }
        // 9. Home button: prompt and time alternate in 3 s spells.
        tickCount += 1
        if (tickCount % 3 === 0)
            batTipEnabled = !batTipEnabled
        if (batteryPrompt !== "" && batTipEnabled) {
            statusHeader.homeText = batteryPrompt
            statusHeader.homeTextColor = globalConfiguration.customRed
        } else {
            statusHeader.homeText = currentTime
            statusHeader.homeTextColor = globalConfiguration.customTitleForeground
        }
        // 10. Empty battery: switch the battery off after the configured time.
        if (batteryClass === ViewBaseModel.BAT_PD_TYPE_ZERO) {
            continueTime += 1
            if (continueTime >= viewBaseModel.getBatteryConfig(5)) {
                viewBaseModel.setBatteryMosState()
                continueTime = 0
            }
        } else {
            continueTime = 0
        }
        // 11. Large current: stop the run when it has flowed for its limit.
        var limit = viewBaseModel.updateMaxBigCurrentContinueTime()
        if (limit > 0) {
            if (bigCurrentContinueTime >= limit)
                viewBaseModel.testInterrupt()
            bigCurrentContinueTime += 1
        } else {
            bigCurrentContinueTime = 0
        }
        // 12. Low storage, every 30th tick.
        secondCnt += 1
        if (secondCnt % 30 === 0 && viewBaseModel.getAlarmLowStorageChanged())
            refreshAlarm()
    }

    Timer {
        id: housekeepingTimer
        interval: 1000
        repeat: true
        running: true
        onTriggered: mainWindow.housekeepingTick()
    }

    Connections {
        target: viewBaseModel
        function onSigUpdateDataToView(dataType, subType) {
            mainWindow.updateDataToView(dataType, subType)
        }
    }

    Component.onCompleted: {
        if (hostWindow) {
            realX = hostWindow.x
            realY = hostWindow.y
        }
        viewBaseModel.conectSuspendEvent()
        globalConfiguration.customStyleName =
                viewBaseModel.getSystemStyle() === ViewBaseModel.STYLE_TYPE_DEFAULT ? "Default" : "Black"
        globalConfiguration.customLocalName =
                viewBaseModel.getLanuageType() === ViewBaseModel.LANGUAGE_TYPE_CHINESE ? "zh_CN" : "us_EN"
        // A page that runs a test may keep the user on it.
        for (var i = 0; i < allSlots.length; ++i)
            allSlots[i].exitEnable.connect(function(enable) { mainWindow.homeEnabled = enable })
        setStartState()
        viewBaseModel.checkCurrentDateTime()
        updateCurrentTime()
        statusHeader.homeText = currentTime
        // What the engine announced before the window existed (it announces
        // the temperatures and alarms only when they change).
        updateDataToView(ViewBaseModel.DATA_TYPE_RT_TEMP, -1)
        updateDataToView(ViewBaseModel.DATA_TYPE_RT_ALARM, -1)
    }

    GlobalConfiguration {
        id: globalConfiguration
    }

    // ---- Header and pages -----------------------------------------------------------------
    Rectangle {
        id: content
        objectName: "content"
        anchors.fill: parent
        color: globalConfiguration.customBackground

        MainHeader {
            id: statusHeader
            objectName: "header"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            homeIcon: mainWindow.moduleState ? globalConfiguration.imageHome : globalConfiguration.imageClock
            homeEnabled: mainWindow.homeEnabled
            title: mainWindow.driverInitialised ? (settingsPage.visible ? settingsPage.pageTitle : mainWindow.headerTitle)
                                            : qsTr("设备未初始化")   // device not initialised
            titleColor: mainWindow.driverInitialised ? globalConfiguration.customTitleForeground
                                                 : globalConfiguration.customRed
            batteryShown: mainWindow.batteryShown
            batteryLevel: mainWindow.batteryLevel
            batteryLevelColor: mainWindow.batteryColor
            batteryTextColor: mainWindow.batteryTextColor
            moveEnable: mainWindow.moveEnable
            onHomeClicked: mainWindow.homeClicked()
            onMoved: function(dx, dy) {
                if (mainWindow.hostWindow) {
                    mainWindow.hostWindow.x += dx
                    mainWindow.hostWindow.y += dy
                }
            }
        }

        Item {
            id: pages
            objectName: "pages"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: statusHeader.bottom
            anchors.bottom: parent.bottom

            MainWindowPage {
                id: mainWindowPage
                objectName: "mainWindowPage"
                anchors.fill: parent
                onModelClicked: mainWindow.openPage(modelActiveIndex, modelActiveName)
            }

            ModelSettingsPage {
                id: settingsPage
                objectName: "settingsPage"
                anchors.fill: parent
                visible: false
                headerTime: mainWindow.currentTime
            }

            // The module pages and the file manager; later modules fill these.
            ModulePageSlot { id: alternatePage; objectName: "alternatePage"; pageIndex: 1; source: "qrc:/QMLPages/AC/ModelAlternatePage.qml" }
            ModulePageSlot { id: overcurrentPage; objectName: "overcurrentPage"; pageIndex: 2; source: "qrc:/QMLPages/Overcurrent/ModelOvercurrentPage.qml" }
            ModulePageSlot { id: stateSequencePage; objectName: "stateSequencePage"; pageIndex: 3; source: "qrc:/QMLPages/StateSequence/ModelStateSequencePage.qml" }
            ModulePageSlot { id: rampingPage; objectName: "rampingPage"; pageIndex: 4; source: "qrc:/QMLPages/Ramping/ModelRampingPage.qml" }
            ModulePageSlot { id: harmonicPage; objectName: "harmonicPage"; pageIndex: 5; source: "qrc:/QMLPages/Harmonic/ModelHarmonicPage.qml" }
            ModulePageSlot { id: distancePage; objectName: "distancePage"; pageIndex: 6; source: "qrc:/QMLPages/Distance/ModelDistancePage.qml" }
            ModulePageSlot { id: slipFrequencyPage; objectName: "slipFrequencyPage"; pageIndex: 7; source: "qrc:/QMLPages/LoadShedding/ModelSlipFrequencyPage.qml" }
            ModulePageSlot { id: slipVoltagePage; objectName: "slipVoltagePage"; pageIndex: 8; source: "qrc:/QMLPages/LoadShedding/ModelSlipVoltagePage.qml" }
            ModulePageSlot { id: directPage; objectName: "directPage"; pageIndex: 9; source: "qrc:/QMLPages/DC/ModelDirectPage.qml" }
            ModulePageSlot { id: oscillatePage; objectName: "oscillatePage"; pageIndex: 10; source: "qrc:/QMLPages/Oscillate/ModelOscillatePage.qml" }
            ModulePageSlot { id: energyPage; objectName: "energyPage"; pageIndex: 11; source: "qrc:/QMLPages/Energy/ModelEnergyPage.qml" }
            // ModelFileManagePage (QMLPages/FileManager): leaving it saves nothing.
            ModulePageSlot { id: fileManagePage; objectName: "fileManagePage"; pageIndex: 12; saveOnLeave: false
                             source: "qrc:/QMLPages/FileManager/FileManagerPage.qml" }
            // ModelStdSourcePage: opened by no tile (no page index).
            ModulePageSlot { id: stdSourcePage; objectName: "stdSourcePage"
                             source: "qrc:/QMLPages/StdSource/ModelStdSourcePage.qml" }
        }
    }

    // ---- Dialogs ----------------------------------------------------------------------
    UserMessageDialog {
        id: exitDialog
        objectName: "exitDialog"
        title: qsTr("系统提示")                                     // system notice
        content: qsTr("是否退出") + "?"                              // leave?
        onAccept: mainWindow.leavePage()
    }

    UserMessageDialog {
        id: lowBatteryDialog
        objectName: "lowBatteryDialog"
        title: qsTr("系统提示")
        content: qsTr("电池电量低于10%，请及时充电！")               // below 10 %, charge now
        rejectText: ""
    }

    UserMessageDialog {
        id: batteryDialog
        objectName: "batteryDialog"
        title: qsTr("系统提示")
    }

    UserTriggerTimeDialog {
        id: triggerTimeDialog
        objectName: "triggerTimeDialog"
        onAccept: viewBaseModel.setClockPPXConfig()
    }

    // Placed here; nothing opens it.
    ChildTestTimeDialog {
        id: childTestTimeDialog
        objectName: "childTestTimeDialog"
    }

    // ---- On-screen input panels, along the window's bottom edge above everything -----------
    InputNumberPanel {
        id: inputNumberPanel
        objectName: "inputNumberPanel"
        parent: Overlay.overlay
        onOpened: mainWindow.liftFor(inputNumberPanel)
        onClosed: mainWindow.lowerBack()
    }
    InputCharNumberPanel {
        id: inputCharNumberPanel
        objectName: "inputCharNumberPanel"
        parent: Overlay.overlay
        onOpened: mainWindow.liftFor(inputCharNumberPanel)
        onClosed: mainWindow.lowerBack()
    }
    InputTimePanel {
        id: inputTimePanel
        objectName: "inputTimePanel"
        parent: Overlay.overlay
        onOpened: mainWindow.liftFor(inputTimePanel)
        onClosed: mainWindow.lowerBack()
    }
    InputDateTimePanel {
        id: inputDateTimePanel
        objectName: "inputDateTimePanel"
        parent: Overlay.overlay
        onOpened: mainWindow.liftFor(inputDateTimePanel)
        onClosed: mainWindow.lowerBack()
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0

// The start page: the module tiles on two swipe pages and the footer with
// the software version, the auxiliary DC button, the system-settings button
// and the remote-control check box. A tile or the settings button stores its
// index and caption (modelActiveIndex, modelActiveName) and emits
// modelClicked(); the main window does the navigation.
Item {
    id: page

    property int modelActiveIndex: -1
    property string modelActiveName: ""

    // Read from the view model by refresh().
    property bool connected: false
    property bool tilesShown: true
    property bool energyEnabled: true
    property bool auxDCShown: true
    property bool auxDCOn: false
    property int languageType: ViewBaseModel.LANGUAGE_TYPE_CHINESE
    readonly property bool russian: languageType === ViewBaseModel.LANGUAGE_TYPE_RUSSIAN

    // Index of the settings page; tiles are 1..12 (see tiles).
    readonly property int settingsIndex: 0
    // Tiles in order: the index of the page they open, caption and image.
    readonly property var tiles: [
        { index: 1, text: qsTr("交流试验"), image: "imageQuick" },             // AC test
        { index: 2, text: qsTr("过流试验"), image: "imageOvercurrent" },       // overcurrent
        { index: 3, text: qsTr("状态序列"), image: "imageSequence" },          // state sequence
        { index: 4, text: qsTr("递变试验"), image: "imageRamp" },              // ramping
        { index: 5, text: qsTr("谐波试验"), image: "imageHarmonic" },          // harmonics
        { index: 6, text: qsTr("距离试验"), image: "imageDistance" },          // distance
        { index: 7, text: qsTr("低周减载"), image: "imageSlipFrequency" },     // under-frequency load shedding
        { index: 8, text: qsTr("低压减载"), image: "imageSlipVoltage" },       // under-voltage load shedding
        { index: 9, text: qsTr("直流试验"), image: "imageDCTest" },            // DC test
        { index: 10, text: qsTr("震荡模拟"), image: "imageFrequency" },        // power swing
        { index: 11, text: qsTr("电能表"), image: "imageEnergy" },             // energy meter
        { index: 12, text: qsTr("文件管理"), image: "imageFileManage" }        // file manager
    ]
    readonly property int energyIndex: 11

    readonly property alias swipeView: swipe
    readonly property alias auxDCButton: auxDCButton
    readonly property alias settingsButton: settingsButton
    readonly property alias remoteCheckBox: remoteCheck
    readonly property alias versionLabel: versionLabel
    readonly property alias safetyNotice: safetyNotice
    readonly property alias startupNotice: startupNotice
    readonly property alias remoteRefusedNotice: remoteRefusedNotice
    readonly property alias auxDCDialog: auxDCDialog
    readonly property alias auxDCQuestion: auxDCQuestion

    signal modelClicked()

    // The tile of index i (1..12), for tests and the window.
    function tileButton(i) {
        var pageRepeater = i <= 8 ? firstTiles : secondTiles
        return pageRepeater.itemAt(i <= 8 ? i - 1 : i - 9)
    }

    function tileEnabled(i) {
        return !connected && (i !== energyIndex || energyEnabled)
    }

    function choose(index, caption) {
        modelActiveIndex = index
        modelActiveName = caption
        modelClicked()
    }

    // Reads what the controls show from the view model.
    function refresh() {
        connected = viewBaseModel.getConnectedEnabled()
        tilesShown = viewBaseModel.getSoftwareType(1)
        energyEnabled = viewBaseModel.getDeviceEnergyEnabled()
        auxDCShown = viewBaseModel.getDeviceAuxDCEnable()
        auxDCOn = viewBaseModel.getState(ViewBaseModel.STATE_TYPE_AUXDCV) !== 0
        languageType = viewBaseModel.getLanuageType()
        versionLabel.text = viewBaseModel.getSoftwareVersion()
        remoteCheck.checked = connected
    }

    function openAuxDC() {
        if (viewBaseModel.getState(ViewBaseModel.STATE_TYPE_AUXDCV) === 0) {
            viewBaseModel.setAuxDCVSwitch(ViewBaseModel.AUXDC_SWITCH_NONE)
            viewBaseModel.setAuxDCVSwitchValue(0)
        }
        auxDCDialog.open()
    }

    // Damage found in the files read at start, told once, after the safety notice.
    property bool startupNoticesDue: false
    function showStartupNotice() {
        if (!startupNoticesDue || safetyNotice.visible || startupNotice.visible)
            return
        var text = viewBaseModel.takeStartupNotice()
        if (text === "")
            return
        startupNotice.content = text
        startupNotice.open()
    }

    function remoteClicked(checked) {
        if (checked !== viewBaseModel.getConnectedEnabled())
            viewBaseModel.setConnectedEnabled(checked)
        refresh()
    }

    onVisibleChanged: if (visible) refresh()

    Connections {
        target: viewBaseModel
        function onSigUpdateDataToView(dataType, subType) {
            if (dataType === ViewBaseModel.DATA_TYPE_RT_STATE && subType === ViewBaseModel.STATE_TYPE_AUXDCV)
                page.auxDCOn = viewBaseModel.getState(ViewBaseModel.STATE_TYPE_AUXDCV) !== 0
        }
        function onSigStartupNotice() {
            page.showStartupNotice()
        }
        function onSigNetServiceRefused(message) {
            remoteRefusedNotice.content = message
            remoteRefusedNotice.open()
            page.refresh()
        }
    }

    Component.onCompleted: {
        // What the start read of the file: the engine does not read it again.
        viewBaseModel.loadConfig(ViewBaseModel.CONFIG_TYPE_SOFTWARE_DATA)
        refresh()
        // Popups open once the page is in its window.
        Qt.callLater(safetyNotice.open)
    }

    // ---- Tiles --------------------------------------------------------------------
    Item {
        id: tileArea
        objectName: "tileArea"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: footer.top
        visible: page.tilesShown

        SwipeView {
            id: swipe
            objectName: "tileSwipe"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: indicator.top
            clip: true

            Item {
                Grid {
                    anchors.centerIn: parent
                    columns: 4
                    rows: 2
                    spacing: 55
                    Repeater {
                        id: firstTiles
                        model: page.tiles.slice(0, 8)
                        TileButton {}
                    }
                }
            }
            Item {
                Grid {
                    anchors.centerIn: parent
                    columns: 4
                    rows: 2
                    spacing: 55
                    Repeater {
                        id: secondTiles
                        model: page.tiles.slice(8)
                        TileButton {}
                    }
                }
            }
        }

        PageIndicator {
            id: indicator
            anchors.bottom: parent.bottom
            anchors.horizontalCenter: parent.horizontalCenter
            count: swipe.count
            currentIndex: swipe.currentIndex
            interactive: true
            onCurrentIndexChanged: swipe.currentIndex = currentIndex
        }
    }

    component TileButton: ToolImageButton {
        objectName: "tile" + modelData.index
        width: 100
        height: 126
        text: modelData.text
        iconPath: globalConfiguration[modelData.image]
        fontPixelSize: page.russian ? 15 : 22
        enabled: page.tileEnabled(modelData.index)
        onClicked: page.choose(modelData.index, modelData.text)
    }

    // ---- Footer -----------------------------------------------------------------
    Row {
        id: footer
        objectName: "footer"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 6
        height: 36
        spacing: 10

        LabelText {
            id: versionLabel
            objectName: "versionLabel"
            width: 120
            height: parent.height
        }
        ToolLabelButton {
            id: auxDCButton
            objectName: "auxDCButton"
            width: 160
            height: parent.height
            visible: page.auxDCShown
            enabled: !page.connected
            text: qsTr("辅助直流")                       // auxiliary DC
            iconPath: globalConfiguration.imageAuxDC
            foreground: page.auxDCOn ? globalConfiguration.customRed : globalConfiguration.customForeground
            fontPixelSize: page.russian ? globalConfiguration.customFontL3Size - 1 : globalConfiguration.customFontL2Size
            onClicked: page.openAuxDC()
        }
        ToolLabelButton {
            id: settingsButton
            objectName: "settingsButton"
            width: 160
            height: parent.height
            enabled: !page.connected
            text: qsTr("系统设置")                       // system settings
            iconPath: globalConfiguration.imageSetting
            onClicked: page.choose(page.settingsIndex, text)
        }
        ToolCheckBox {
            id: remoteCheck
            objectName: "remoteCheckBox"
            height: parent.height
            text: qsTr("联机测试")                       // remote control
            font.pixelSize: page.russian ? globalConfiguration.customFontL3Size : globalConfiguration.customFontL2Size
            onClicked: page.remoteClicked(checked)
        }
    }

    // ---- Dialogs ------------------------------------------------------------------
    UserMessageDialog {
        id: safetyNotice
        objectName: "safetyNotice"
        parent: Overlay.overlay
        width: 700
        height: 420
        title: qsTr("系统提示")
        rejectText: ""
        fontSize: page.languageType === ViewBaseModel.LANGUAGE_TYPE_JAPANESE || page.russian ? 20 : 22
        content: qsTr("本设备内置三元锂电池，请使用完后及时关闭电源开关，禁止设备开机状态下装箱存放。设备不可无电存放，会导致电池损坏，建议存放前保持70%以上电量。设备长期不充电会导致电池容量降低甚至电池损坏，我司建议设备至少3个月充电一次。")
        onClosed: {
            page.startupNoticesDue = true
            page.showStartupNotice()
        }
    }

    UserMessageDialog {
        id: remoteRefusedNotice
        objectName: "remoteRefusedNotice"
        parent: Overlay.overlay
        width: 600
        height: 300
        title: qsTr("系统提示")
        rejectText: ""
        // The view model's text: why remote control could not be switched on.
    }

    UserMessageDialog {
        id: startupNotice
        objectName: "startupNotice"
        parent: Overlay.overlay
        width: 700
        height: 420
        title: qsTr("系统提示")
        rejectText: ""
        onClosed: page.showStartupNotice()
    }

    UserAuxDCDialog {
        id: auxDCDialog
        objectName: "auxDCDialog"
        parent: Overlay.overlay
        onAccept: {
            if (auxDCNoneEnable)
                viewBaseModel.testAuxDC(false)
            else
                auxDCQuestion.open()
        }
    }

    UserMessageDialog {
        id: auxDCQuestion
        objectName: "auxDCQuestion"
        parent: Overlay.overlay
        title: qsTr("系统提示")
        content: qsTr("Output Aux.DC or not?")
        acceptText: qsTr("Yes")
        rejectText: qsTr("No")
        onAccept: viewBaseModel.testAuxDC(true)
    }
}

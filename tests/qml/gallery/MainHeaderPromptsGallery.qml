import QtQuick 2.15
import ZOR.TestSupport 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Main"

// The header's home button with each battery prompt (rows below the main
// window's own header, which says the instrument is not initialised).
Item {
    width: 800
    height: 480

    SystemViewModelStub {
        id: viewBaseModel
        languageType: galleryLanguageType
        softwareName: "ZOR-A1 Portable Relay Test Set"
        batteryPercent: 8
        batteryState: 0
        states: [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
    }

    MainWindowContent {
        id: mainWindow
        hostWindow: null
    }
    // The palette of the extra headers.
    GlobalConfiguration { id: globalConfiguration }

    readonly property var classes: [ViewBaseModel.BAT_PD_TYPE_TEN_OFF, ViewBaseModel.BAT_PD_TYPE_FIVE_OFF,
        ViewBaseModel.BAT_PD_TYPE_TEN_ON, ViewBaseModel.BAT_PD_TYPE_FIVE_ON, ViewBaseModel.BAT_PD_TYPE_TWO,
        ViewBaseModel.BAT_PD_TYPE_ZERO]

    Column {
        y: 50
        width: parent.width
        spacing: 4
        visible: false
        Repeater {
            id: prompts
            model: classes
            MainHeader {
                width: parent.width
                homeText: mainWindow.batteryPromptOf(modelData).text
                homeTextColor: mainWindow.globalConfig.customRed
                title: mainWindow.headerTitle
            }
        }
    }

    // The start page's safety notice opens once the window shows it.
    Connections {
        target: mainWindow.mainWindowPage.safetyNotice
        function onOpened() {
            mainWindow.mainWindowPage.safetyNotice.close()
            show()
        }
    }
    function show() {
        mainWindow.housekeepingTimer.stop()
        viewBaseModel.sigUpdateDataToView(ViewBaseModel.DATA_TYPE_RT_STATE, ViewBaseModel.STATE_TYPE_INIT)
        prompts.parent.visible = true
    }
}

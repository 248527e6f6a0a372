import QtQuick 2.15

// The interface's palette, fonts, icon-font glyphs and image paths. The main
// window creates one (id globalConfiguration); every control and page reads
// it. Setting customStyleName to "Black" (light background, dark text) or
// "Default" (the same with green accents) rewrites the palette.
Item {
    id: root

    property string customStyleName: "Default"

    property color customBackground: "#000000"
    property color customForeground: "#ffffff"
    property color customAccent: "#ff3366"
    property color customPrimary: "#3399ff"
    property color customDark: "#999999"
    property color customGray: "#808080"
    property color customGreen: "green"
    property color customRunning: "#00ff00"
    property color customRed: "#ff0000"
    property color customYellow: "#ffff00"
    property color customTitleForeground: "#ffffff"

    property string customFontFamily: "Microsoft YaHei UI"
    property int customFontPixelSize: 26
    property int customFontWeight: 68
    property string customFontStyle: "StyleNormal"
    property int customFontH0Size: 36
    property int customFontH1Size: customFontPixelSize + 7
    property int customFontL1Size: customFontPixelSize - 2
    property int customFontL2Size: customFontPixelSize - 5
    property int customFontL3Size: customFontPixelSize - 8

    // "zh_CN" or "us_EN": the locale numbers are read and written in.
    property string customLocalName: "zh_CN"

    // Icon font and its glyphs.
    readonly property string iconFontSource: "qrc:/QMLIconFonts/iconfont.ttf"
    readonly property string iconFontName: iconFontLoader.name
    readonly property string iconReback: "\ue71c"
    readonly property string iconShutdown: "\ue605"
    readonly property string iconInfomation: "\ue60d"
    readonly property string iconModelMultitest: "\ue70a"
    readonly property string iconModelSequence: "\ue6b3"
    readonly property string iconModelFaultTest: "\ue61d"
    readonly property string iconModelRemoteSignal: "\ue635"
    readonly property string iconModelSettings: "\ue624"
    readonly property string iconAdd: "\ueb06"
    readonly property string iconRemove: "\ue62d"
    readonly property string iconInsert: "\ue65f"
    readonly property string iconToLeft: "\ue620"
    readonly property string iconToRight: "\ue627"
    readonly property string iconCharging: "\ue6a8"
    readonly property string iconSwitcherOff: "\ue646"
    readonly property string iconSwitcherOn: "\ue647"
    readonly property string iconAlarm: "\ue636"
    readonly property string iconUpdateSystemTime: "\ue692"
    readonly property string iconAuxDCClose: "\ue72a"
    readonly property string iconAuxDCOpen: "\ue64a"
    readonly property string iconModelHarmonic: "\ue70a"
    readonly property string iconModelDistance: "\ue61d"

    // Images.
    readonly property string imageFolder: "qrc:/QMLImages/Default/"
    property string imageHome: imageFolder + "Home.png"
    property string imageClock: imageFolder + "Clock.png"
    property string imageAuxDC: imageFolder + "AuxDC.png"
    property string imageSetting: imageFolder + "Setting.png"
    property string imageDCTest: imageFolder + "DCTest.png"
    property string imageQuick: imageFolder + "Quick.png"
    property string imageHarmonic: imageFolder + "Harmonic.png"
    property string imageDistance: imageFolder + "Distance.png"
    property string imageSequence: imageFolder + "Sequence.png"
    property string imageOvercurrent: imageFolder + "Overcurrent.png"
    property string imageRemote: imageFolder + "Remote.png"
    property string imageRamp: imageFolder + "Ramp.png"
    property string imageZoomIn: imageFolder + "ZoomIn.png"
    property string imageZoomOut: imageFolder + "ZoomOut.png"
    property string imageGPS: imageFolder + "GPS.png"
    property string imageEnergy: imageFolder + "Energy.png"
    property string imageSlipFrequency: imageFolder + "SlipFrequency.png"
    property string imageSlipVoltage: imageFolder + "SlipVoltage.png"
    property string imageFrequency: imageFolder + "Frequency.png"
    property string imageFileManage: imageFolder + "FileManage.png"

    FontLoader {
        id: iconFontLoader
        source: root.iconFontSource
    }

    onCustomStyleNameChanged: {
        if (customStyleName === "Black")
            applyBlackStyle()
        else if (customStyleName === "Default")
            applyDefaultStyle()
    }

    // A switch to "Default" gives the light palette with green accents; a
    // program started with "Default" keeps the dark start palette above until
    // the style is switched.
    function applyDefaultStyle() {
        applyBlackStyle()
        customAccent = "#70ad47"
        customPrimary = "#70ad47"
        resetImages("ZoomIn.png", "ZoomOut.png")
    }

    function applyBlackStyle() {
        customBackground = "#ffffff"
        customForeground = "#000033"
        customAccent = "#ff3366"
        customPrimary = "#3399ff"
        customDark = "#999999"
        customTitleForeground = "#ffffff"
        customFontWeight = 60
        customFontPixelSize = 22
        customFontH0Size = 36
        customFontL1Size = 20
        customFontL2Size = 17
        resetImages("ZoomIn_Red.png", "ZoomOut_Red.png")
    }

    function resetImages(zoomIn, zoomOut) {
        imageHome = imageFolder + "Home.png"
        imageClock = imageFolder + "Clock.png"
        imageAuxDC = imageFolder + "AuxDC.png"
        imageSetting = imageFolder + "Setting.png"
        imageDCTest = imageFolder + "DCTest.png"
        imageQuick = imageFolder + "Quick.png"
        imageHarmonic = imageFolder + "Harmonic.png"
        imageDistance = imageFolder + "Distance.png"
        imageSequence = imageFolder + "Sequence.png"
        imageOvercurrent = imageFolder + "Overcurrent.png"
        imageRemote = imageFolder + "Remote.png"
        imageRamp = imageFolder + "Ramp.png"
        imageZoomIn = imageFolder + zoomIn
        imageZoomOut = imageFolder + zoomOut
        imageGPS = imageFolder + "GPS.png"
        imageEnergy = imageFolder + "Energy.png"
        imageSlipFrequency = imageFolder + "SlipFrequency.png"
        imageSlipVoltage = imageFolder + "SlipVoltage.png"
        imageFrequency = imageFolder + "Frequency.png"
        imageFileManage = imageFolder + "FileManage.png"
    }
}

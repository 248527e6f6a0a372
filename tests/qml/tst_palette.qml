import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QMLControls 1.0
import "qrc:/"

// The palette object: start-up values, the two styles, images and fonts.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    Component { id: freshConfiguration; GlobalConfiguration {} }
    Control { id: plainControl }
    Image { id: probe }

    readonly property var paletteNames: [
        "customBackground", "customForeground", "customAccent", "customPrimary", "customDark", "customGray",
        "customTitleForeground", "customFontPixelSize", "customFontWeight", "customFontH0Size",
        "customFontH1Size", "customFontL1Size", "customFontL2Size", "customFontL3Size", "imageZoomIn",
        "imageZoomOut", "imageHome"]
    readonly property var imageNames: [
        "imageHome", "imageClock", "imageAuxDC", "imageSetting", "imageDCTest", "imageQuick", "imageHarmonic",
        "imageDistance", "imageSequence", "imageOvercurrent", "imageRemote", "imageRamp", "imageZoomIn",
        "imageZoomOut", "imageGPS", "imageEnergy", "imageSlipFrequency", "imageSlipVoltage", "imageFrequency",
        "imageFileManage"]

    function snapshot() {
        var values = {}
        for (var i = 0; i < paletteNames.length; ++i)
            values[paletteNames[i]] = String(globalConfiguration[paletteNames[i]])
        return values
    }

    TestCase {
        name: "Palette"
        when: windowShown

        function cleanup() {
            globalConfiguration.customStyleName = "Default"
        }

        function test_startsWithTheDarkPalette() {
            var globalConfiguration = createTemporaryObject(freshConfiguration, window)
            compare(globalConfiguration.customStyleName, "Default")
            verify(Qt.colorEqual(globalConfiguration.customBackground, "#000000"))
            verify(Qt.colorEqual(globalConfiguration.customForeground, "#ffffff"))
            verify(Qt.colorEqual(globalConfiguration.customGreen, "green"))
            compare(globalConfiguration.customFontFamily, "Microsoft YaHei UI")
            compare(globalConfiguration.customFontPixelSize, 26)
            compare(globalConfiguration.customFontH1Size, 33)
            compare(globalConfiguration.customFontL1Size, 24)
            compare(globalConfiguration.customFontL2Size, 21)
            compare(globalConfiguration.customFontL3Size, 18)
            compare(globalConfiguration.customLocalName, "zh_CN")
            compare(globalConfiguration.imageZoomIn, "qrc:/QMLImages/Default/ZoomIn.png")
        }

        function test_blackStyle() {
            globalConfiguration.customStyleName = "Black"
            verify(Qt.colorEqual(globalConfiguration.customBackground, "#ffffff"))
            verify(Qt.colorEqual(globalConfiguration.customForeground, "#000033"))
            verify(Qt.colorEqual(globalConfiguration.customAccent, "#ff3366"))
            compare(globalConfiguration.customFontWeight, 60)
            compare(globalConfiguration.customFontPixelSize, 22)
            compare(globalConfiguration.customFontH0Size, 36)
            compare(globalConfiguration.customFontL1Size, 20)
            compare(globalConfiguration.customFontL2Size, 17)
            compare(globalConfiguration.customFontH1Size, 29)
            compare(globalConfiguration.customFontL3Size, 14)
            compare(globalConfiguration.imageZoomIn, "qrc:/QMLImages/Default/ZoomIn_Red.png")
            compare(globalConfiguration.imageZoomOut, "qrc:/QMLImages/Default/ZoomOut_Red.png")
        }

        function test_switchToDefaultGivesTheGreenAccentedLightPalette() {
            var start = window.snapshot()
            globalConfiguration.customStyleName = "Black"
            verify(JSON.stringify(window.snapshot()) !== JSON.stringify(start))
            globalConfiguration.customStyleName = "Default"
            compare(String(globalConfiguration.customBackground), "#ffffff")
            compare(String(globalConfiguration.customAccent), "#70ad47")
            compare(String(globalConfiguration.customPrimary), "#70ad47")
            compare(globalConfiguration.customFontPixelSize, 22)
            compare(globalConfiguration.customFontL2Size, 17)
        }

        function test_everyImageLoads() {
            for (var i = 0; i < window.imageNames.length; ++i) {
                probe.source = globalConfiguration[window.imageNames[i]]
                compare(probe.status, Image.Ready, window.imageNames[i])
                verify(probe.sourceSize.width > 0)
            }
            globalConfiguration.customStyleName = "Black"
            probe.source = globalConfiguration.imageZoomOut
            compare(probe.status, Image.Ready)
        }

        function test_iconFontIsLoaded() {
            compare(globalConfiguration.iconFontName, "ZOR Icons")
            compare(globalConfiguration.iconReback, "\ue71c")
            compare(globalConfiguration.iconModelHarmonic, globalConfiguration.iconModelMultitest)
            compare(globalConfiguration.iconModelDistance, globalConfiguration.iconModelFaultTest)
        }

        // The Quick Controls configuration of the resources is in force.
        function test_controlsConfiguration() {
            compare(plainControl.font.pixelSize, 25)
            compare(plainControl.font.family, "SimHei")
            verify(Qt.colorEqual(plainControl.palette.window, "#000000"))
        }
    }
}

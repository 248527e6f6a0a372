import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0

// The main window's status header, 44 px high: from the left the home / clock
// button and the title; from the right the battery level, the charging mark,
// the clock-synchronisation mark, the running lamp, the temperature and the
// alarm. The window fills in every value; the header only shows them.
Rectangle {
    id: header

    // Home / clock button.
    property string homeText: ""
    property color homeTextColor: globalConfiguration.customTitleForeground
    property string homeIcon: globalConfiguration.imageClock
    property bool homeEnabled: true
    // Title between the home button and the alarm.
    property string title: ""
    property color titleColor: globalConfiguration.customTitleForeground
    // Alarm.
    property bool alarmVisible: false
    property string alarmText: ""
    property string alarmToolTip: ""
    // Temperature.
    property string temperatureText: ""
    property string temperatureToolTip: ""
    // Running lamp.
    property bool running: false
    // Clock synchronisation.
    property bool clockSynchronised: false
    property string clockSyncToolTip: ""
    // Battery.
    property bool batteryShown: false
    property int batteryLevel: 0
    property color batteryLevelColor: globalConfiguration.customGreen
    property color batteryTextColor: globalConfiguration.customForeground
    property bool batteryChargingShown: false
    property bool batteryCharging: false
    // Dragging the header moves the window only while this is set.
    property bool moveEnable: false

    readonly property alias homeButton: homeButton
    readonly property alias titleLabel: titleLabel
    readonly property alias alarmLabel: alarmLabel
    readonly property alias temperatureLabel: temperatureLabel
    readonly property alias runningLamp: runningLamp
    readonly property alias clockSyncMark: clockSyncMark
    readonly property alias batteryLevelItem: batteryLevelItem
    readonly property alias batteryChargingItem: batteryChargingItem

    signal homeClicked()
    signal moved(real dx, real dy)

    height: 44
    color: globalConfiguration.customPrimary

    // Drags the window (never enabled by the program itself).
    MouseArea {
        anchors.fill: parent
        enabled: header.moveEnable
        property point last
        onPressed: function(mouse) {
            last = mapToGlobal(mouse.x, mouse.y)
        }
        onPositionChanged: function(mouse) {
            var now = mapToGlobal(mouse.x, mouse.y)
            header.moved(now.x - last.x, now.y - last.y)
            last = now
        }
    }

    Item {
        anchors.fill: parent
        anchors.leftMargin: 6
        anchors.rightMargin: 6
        anchors.topMargin: 4
        anchors.bottomMargin: 4

        ToolLabelButton {
            id: homeButton
            objectName: "homeButton"
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: 236
            enabled: header.homeEnabled
            text: header.homeText
            iconPath: header.homeIcon
            foreground: header.homeTextColor
            // The palette's size, smaller when the text would not fit beside
            // the image; a text too long for one line at 14 px (a battery
            // prompt) takes two lines.
            readonly property real room: width - (height - 4) - 6 - 4
            fontPixelSize: {
                var size = globalConfiguration.customFontL2Size
                var needed = homeMetrics.advanceWidth
                return needed > room ? Math.max(12, Math.floor(size * room / needed)) : size
            }
            maximumLineCount: homeMetrics.advanceWidth * 14 / globalConfiguration.customFontL2Size > room ? 2 : 1
            onClicked: header.homeClicked()

            TextMetrics {
                id: homeMetrics
                font.family: globalConfiguration.customFontFamily
                font.pixelSize: globalConfiguration.customFontL2Size
                // Digits are all as wide as "0": the clock's text, new every
                // second, is measured once rather than shaped again each time.
                text: header.homeText.replace(/[0-9]/g, "0")
            }
        }

        Text {
            id: titleLabel
            objectName: "titleLabel"
            anchors.left: homeButton.right
            anchors.right: alarmLabel.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.leftMargin: 4
            anchors.rightMargin: 4
            text: header.title
            color: header.titleColor
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            // A long software name or notice shrinks rather than being cut.
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 12
            font.family: globalConfiguration.customFontFamily
            font.pixelSize: globalConfiguration.customFontL1Size
            font.weight: globalConfiguration.customFontWeight
        }

        LabelText {
            id: alarmLabel
            objectName: "alarmLabel"
            anchors.right: temperatureLabel.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: 60
            visible: header.alarmVisible
            text: header.alarmText
            foreground: globalConfiguration.customRed
            horizontalAlignment: Text.AlignHCenter
            toolTipVisible: true
            toolTipText: header.alarmToolTip
        }

        LabelText {
            id: temperatureLabel
            objectName: "temperatureLabel"
            anchors.right: runningLamp.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: 60
            text: header.temperatureText
            foreground: globalConfiguration.customTitleForeground
            horizontalAlignment: Text.AlignHCenter
            toolTipVisible: true
            toolTipText: header.temperatureToolTip
        }

        LabelState {
            id: runningLamp
            objectName: "runningLamp"
            anchors.right: clockSyncMark.left
            anchors.verticalCenter: parent.verticalCenter
            width: 30
            height: 30
            background: globalConfiguration.customGray
            stateColor: header.running ? globalConfiguration.customRunning : globalConfiguration.customGray
        }

        Item {
            id: clockSyncMark
            objectName: "clockSyncMark"
            anchors.right: batteryChargingItem.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: header.clockSynchronised ? 30 : 1
            visible: header.clockSynchronised

            Image {
                anchors.centerIn: parent
                width: 28
                height: 28
                sourceSize.width: width
                sourceSize.height: height
                fillMode: Image.PreserveAspectFit
                source: globalConfiguration.imageGPS
            }
            MouseArea {
                id: clockSyncArea
                anchors.fill: parent
            }
            ToolTip.text: header.clockSyncToolTip
            ToolTip.visible: header.clockSyncToolTip !== "" && clockSyncArea.pressed
        }

        LabelBatteryCharging {
            id: batteryChargingItem
            objectName: "batteryCharging"
            anchors.right: batteryLevelItem.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: header.batteryCharging ? 24 : 1
            visible: header.batteryChargingShown
            isCharging: header.batteryCharging
            lavelColor: header.batteryLevelColor
        }

        LabelBatteryLevel {
            id: batteryLevelItem
            objectName: "batteryLevel"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: 56
            height: 28
            visible: header.batteryShown
            lavelValue: header.batteryLevel
            lavelColor: header.batteryLevelColor
            textColor: header.batteryTextColor
        }
    }
}

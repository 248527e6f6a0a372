import QtQuick 2.15
import QtQuick.Controls 2.15

// The list of pulse (trigger) times held by viewBaseModel: "时间列表" with
// the columns "序号" and "时间", a start time (following the clock-sync time
// zone), an interval in seconds and a count. "添加时间点" adds count times
// from the start, interval apart, and selects the last one; "删除时间点"
// removes the selected time; "清除时间点" removes all. The main window calls
// setClockPPXConfig() when the dialog is accepted, and refresh() when the
// clock state changes while it is open.
UserDialogFrame {
    id: dialog

    property int timeCount: 0
    property int selectedIndex: -1
    readonly property alias startBox: start
    readonly property alias intervalBox: interval
    readonly property alias countBox: count
    readonly property alias timeList: list

    signal accept()
    signal reject()

    title: qsTr("触发时间设置")
    width: 640
    height: 400
    buttonHeight: 36

    // Re-reads the list (and the clock-sync zone of the start time).
    function refresh() {
        start.clkSyncEnable = viewBaseModel.getClkSyncEnabled()
        start.offsetMin = viewBaseModel.getTimeZoneOffset()
        timeCount = viewBaseModel.getPPXTimeCount()
        if (selectedIndex >= timeCount)
            selectedIndex = timeCount - 1
        list.model = 0
        list.model = timeCount
    }

    function addTimes() {
        viewBaseModel.addPPXUtcTime(start.text, Math.round(interval.dataValue), Math.round(count.dataValue))
        refresh()
        selectedIndex = timeCount - 1
        list.positionViewAtEnd()
    }

    function deleteTime() {
        viewBaseModel.delPPXUtcTime(selectedIndex)
        refresh()
    }

    function clearTimes() {
        viewBaseModel.clearPPXUtcTime()
        selectedIndex = -1
        refresh()
    }

    onAboutToShow: {
        refresh()
        start.setNowTimeRound10sec(1)
    }
    onAcceptClicked: {
        accept()
        close()
    }
    onRejectClicked: {
        reject()
        close()
    }

    Row {
        anchors.fill: parent
        spacing: 12

        Column {
            width: 300
            height: parent.height
            spacing: 4

            LabelText {
                text: qsTr("时间列表")
                height: 28
            }
            Row {
                width: parent.width
                height: 28
                LabelText { width: 60; height: parent.height; text: qsTr("序号"); foreground: globalConfiguration.customDark }
                LabelText { width: parent.width - 60; height: parent.height; text: qsTr("时间"); foreground: globalConfiguration.customDark }
            }
            Rectangle {
                width: parent.width
                height: parent.height - 64
                color: "transparent"
                border.color: globalConfiguration.customGray
                border.width: 1

                ListView {
                    id: list
                    objectName: "timeList"
                    anchors.fill: parent
                    anchors.margins: 1
                    clip: true
                    model: 0
                    ScrollIndicator.vertical: ScrollIndicator {}

                    delegate: Rectangle {
                        width: list.width
                        height: 30
                        color: index === dialog.selectedIndex ? globalConfiguration.customPrimary : "transparent"
                        Row {
                            anchors.fill: parent
                            Text {
                                width: 60
                                height: parent.height
                                text: index + 1
                                color: globalConfiguration.customForeground
                                horizontalAlignment: Text.AlignHCenter
                                verticalAlignment: Text.AlignVCenter
                                font.family: globalConfiguration.customFontFamily
                                font.pixelSize: globalConfiguration.customFontL3Size
                            }
                            Text {
                                width: parent.width - 60
                                height: parent.height
                                text: viewBaseModel.getPPXUtcTimeStr(index)
                                color: globalConfiguration.customForeground
                                verticalAlignment: Text.AlignVCenter
                                font.family: globalConfiguration.customFontFamily
                                font.pixelSize: globalConfiguration.customFontL3Size
                            }
                        }
                        MouseArea {
                            anchors.fill: parent
                            onClicked: dialog.selectedIndex = index
                        }
                    }
                }
            }
        }

        Column {
            width: parent.width - 300 - parent.spacing
            spacing: 8

            Grid {
                columns: 2
                rowSpacing: 8
                columnSpacing: 6

                LabelText { width: 136; height: 36; text: qsTr("开始时间") }
                EditTimeBox { id: start; objectName: "startBox"; width: 160; height: 36 }
                LabelText { width: 136; height: 36; text: qsTr("时间间隔") }
                EditNumberBox {
                    id: interval
                    objectName: "intervalBox"
                    width: 160
                    height: 36
                    unit: "s"
                    unitWidth: 16
                    dataPrecision: 0
                    dataMin: 1
                    dataMax: 86400
                    dataAutoToLimit: true
                    quick1Value: "1"
                    quick2Value: "60"
                    Component.onCompleted: setDataValue(1)
                }
                LabelText { width: 136; height: 36; text: qsTr("个数") }
                EditNumberBox {
                    id: count
                    objectName: "countBox"
                    width: 160
                    height: 36
                    dataPrecision: 0
                    dataMin: 1
                    dataMax: 64
                    dataAutoToLimit: true
                    quick1Value: "5"
                    quick2Value: "10"
                    Component.onCompleted: setDataValue(5)
                }
            }

            ToolTextButton {
                objectName: "addButton"
                width: 180
                height: 36
                text: qsTr("添加时间点")
                onClicked: dialog.addTimes()
            }
            ToolTextButton {
                objectName: "deleteButton"
                width: 180
                height: 36
                text: qsTr("删除时间点")
                enabled: dialog.selectedIndex >= 0 && dialog.selectedIndex < dialog.timeCount
                onClicked: dialog.deleteTime()
            }
            ToolTextButton {
                objectName: "clearButton"
                width: 180
                height: 36
                text: qsTr("清除时间点")
                enabled: dialog.timeCount > 0
                onClicked: dialog.clearTimes()
            }
        }
    }
}

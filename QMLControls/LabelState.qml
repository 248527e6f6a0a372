import QtQuick 2.15

// A round lamp: a disc of stateColor in a ring of background.
Item {
    id: root

    implicitWidth: 30
    implicitHeight: 30

    property color background: globalConfiguration.customGray
    property color stateColor: globalConfiguration.customGray

    Rectangle {
        anchors.centerIn: parent
        width: Math.min(root.width, root.height)
        height: width
        radius: width / 2
        color: root.background

        Rectangle {
            anchors.centerIn: parent
            width: parent.width * 0.7
            height: width
            radius: width / 2
            color: root.stateColor
        }
    }
}

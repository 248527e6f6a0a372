import QtQuick 2.15

// A two-state switch (a binary output): the icon-font glyph iconOn in
// checkedColor while checked, iconOff otherwise. A tap reverses the state and
// then emits clicked().
Item {
    id: root

    implicitWidth: 48
    implicitHeight: 32

    property bool checked: false
    property color checkedColor: globalConfiguration.customRunning
    property color uncheckedColor: globalConfiguration.customGray
    property string iconOff: globalConfiguration.iconSwitcherOff
    property string iconOn: globalConfiguration.iconSwitcherOn
    readonly property alias down: area.pressed

    signal clicked()
    signal released()

    function setChecked(val) {
        checked = val ? true : false
        updateState()
    }

    function reversed() {
        setChecked(!checked)
    }

    // Redraws the glyph for `checked`.
    function updateState() {
        glyph.text = checked ? iconOn : iconOff
        glyph.color = checked ? checkedColor : uncheckedColor
    }

    onCheckedChanged: updateState()
    onIconOnChanged: updateState()
    onIconOffChanged: updateState()
    Component.onCompleted: updateState()

    Text {
        id: glyph
        anchors.centerIn: parent
        opacity: root.enabled ? 1.0 : 0.5
        font.family: globalConfiguration.iconFontName
        font.pixelSize: Math.min(root.height, root.width)
    }

    MouseArea {
        id: area
        anchors.fill: parent
        enabled: root.enabled
        onClicked: {
            root.reversed()
            root.clicked()
        }
        onReleased: root.released()
    }
}

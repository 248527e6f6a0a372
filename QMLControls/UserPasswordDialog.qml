import QtQuick 2.15

// Asks for an access code (masked, typed on the character panel). "确定"
// emits accept(pwd), empties the field and leaves the dialog open: the page
// closes it when the code is right, or changes the title and lets the user
// try again. "取消" emits reject() and closes. While the character panel is
// open the dialog lies above it, so that its buttons can be pressed.
UserDialogFrame {
    id: dialog

    readonly property alias passwordBox: password
    // The main window's character panel (null where there is none).
    readonly property var keyboard: typeof inputCharNumberPanel !== "undefined" ? inputCharNumberPanel : null

    signal accept(string pwd)
    signal reject()

    title: qsTr("请输入密码...")
    width: 400
    height: 300

    // Moves the dialog up until its lower edge is at the panel's top edge.
    function keepAboveKeyboard() {
        if (!visible || !parent || !keyboard || !keyboard.opened || !keyboard.parent)
            return
        var top = keyboard.parent.mapToItem(parent, 0, keyboard.y).y
        if (y + height > top)
            y = Math.max(0, Math.floor(top - height))
    }

    onAboutToShow: password.text = ""
    onAcceptClicked: {
        accept(password.text)
        // A wrong code is typed again from an empty field.
        password.text = ""
    }
    onRejectClicked: {
        reject()
        close()
    }

    Connections {
        target: dialog.keyboard
        ignoreUnknownSignals: true
        function onOpened() { dialog.keepAboveKeyboard() }
    }

    EditCharTextBox {
        id: password
        objectName: "passwordBox"
        anchors.centerIn: parent
        width: parent.width * 0.8
        height: 40
        echoMode: TextInput.Password
        inputMaxLen: 32
    }
}

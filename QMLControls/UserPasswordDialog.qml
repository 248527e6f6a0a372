import QtQuick 2.15

// Asks for an access code (masked, typed on the character panel). "确定"
// emits accept(pwd) and leaves the dialog open: the page closes it when the
// code is right, or changes the title and lets the user try again. "取消"
// emits reject() and closes.
UserDialogFrame {
    id: dialog

    readonly property alias passwordBox: password

    signal accept(string pwd)
    signal reject()

    title: qsTr("请输入密码...")
    width: 400
    height: 300

    onAboutToShow: password.text = ""
    onAcceptClicked: accept(password.text)
    onRejectClicked: {
        reject()
        close()
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

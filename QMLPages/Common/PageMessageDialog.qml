import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0

// The message dialog of a test page: notices with "确定" only, and questions
// with "确定" and "取消" whose accepted type arrives in answered(type).
UserMessageDialog {
    id: dialog

    // The open question ("" when none): a type the page chose, such as
    // "SAVE_PARAMETERS".
    property string question: ""

    signal answered(string type)

    title: qsTr("系统提示")                                     // notice
    rejectText: ""
    closePolicy: Popup.NoAutoClose

    // Title "系统提示", "确定" and no reject button: what a notice shows.
    function preset() {
        title = qsTr("系统提示")
        acceptText = qsTr("确定")
        rejectText = ""
    }

    function showMessage(text) {
        question = ""
        preset()
        content = text
        if (opened)
            close()
        open()
    }

    function ask(type, text) {
        question = type
        preset()
        rejectText = qsTr("取消")                                // cancel
        content = text
        open()
    }

    onAccept: {
        var type = question
        question = ""
        answered(type)
    }
    onReject: question = ""
}

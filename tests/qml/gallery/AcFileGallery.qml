import QtQuick 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/AC"

// The AC test page's "File" dialog choosing a parameter file to load (top)
// and the question before a report is overwritten (bottom right).
Rectangle {
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Item {
        id: pageArea
        y: 44
        width: 800
        height: 436
        visible: false

        ModelAlternatePage {
            id: page
            anchors.fill: parent
        }
    }

    Component.onCompleted: Qt.callLater(showPage)
    function showPage() {
        pageArea.visible = true
        page.languageType = galleryLanguageType
        var files = page.fileDialog
        files.openFor("AC_")
        files.fileModelList = ["AC_20240131235959.xml", "AC_zone 1.xml"]
        place(files, 0, 0)
        page.messageDialog.ask("SAVE_REPORT", qsTranslate("ParameterFileFlow", "报告文件已存在, 确定要覆盖文件?"))
        place(page.messageDialog, 400, 180)
    }
    // Puts a dialog's top left corner at a point of the window.
    function place(dialog, x, y) {
        var at = dialog.parent.mapFromItem(null, x, y)
        dialog.x = at.x
        dialog.y = at.y
    }
}

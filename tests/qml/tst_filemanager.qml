import QtQuick 2.15
import QtTest 1.15
import QMLControls 1.0
import "qrc:/"
import "qrc:/QMLPages/FileManager"
import "gallery"

// The file-manager page: listing by position, type and module, selection,
// and the export, import and delete flows with their questions and messages.
Item {
    id: window
    width: 800
    height: 480

    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputCharNumberPanel { id: inputCharNumberPanel }

    FileManagerFakeModel { id: model }

    FileManagerPage {
        id: page
        anchors.fill: parent
        visible: false
        viewModel: model
    }

    TestCase {
        name: "FileManagerPage"
        when: windowShown

        readonly property var awkward: ["plain.xml", "with blank.xml", "it's \"quoted\".xml", "x; reboot;.xml",
                                        "参数 备份.xml", "<b>bold</b>.xml"]

        function init() {
            model.folders = {
                "0/0/0": awkward,
                "0/1/0": ["AC_20240131235959.htm"],
                "0/0/5": ["zone.xml"],
                "1/0/0": ["from stick.xml"]
            }
            model.stickMounted = true
            model.copyResult = true
            model.copyNotice = ""
            model.deleteResult = true
            model.filePos = 0
            model.fileType = 0
            model.fileModuleType = 0
            model.calls = []
            page.visible = true
            tryCompare(page, "fileCount", awkward.length)
        }

        function cleanup() {
            page.confirmDialog.close()
            page.infoDialog.close()
            tryCompare(page.confirmDialog, "opened", false)
            tryCompare(page.infoDialog, "opened", false)
            page.visible = false
        }

        // List rows are made when the list is next laid out.
        function child(name) {
            tryVerify(function() { return findChild(page, name) !== null }, 5000, "no " + name)
            return findChild(page, name)
        }

        function choose(boxName, index) {
            var box = child(boxName)
            box.currentIndex = index
            box.activated(index)
        }

        function accept(dialog) {
            tryCompare(dialog, "opened", true)
            mouseClick(findChild(dialog.contentItem, "acceptButton"))
            tryCompare(dialog, "opened", false)
        }

        function test_showingListsTheNamesAsTheyAre() {
            for (var i = 0; i < awkward.length; ++i) {
                var name = child("fileName" + i)
                compare(name.text, awkward[i])
            }
            compare(child("countLabel").text.indexOf(String(awkward.length)) >= 0, true)
            compare(child("exportButton").enabled, false)
            compare(child("deleteButton").enabled, false)
        }

        function test_choicesRebuildTheList() {
            choose("moduleBox", 5)
            compare(model.fileModuleType, 5)
            tryCompare(page, "fileCount", 1)
            compare(child("fileName0").text, "zone.xml")

            choose("moduleBox", 0)
            choose("typeBox", 1)
            tryCompare(page, "fileCount", 1)
            compare(child("fileName0").text, "AC_20240131235959.htm")

            // The stick offers parameters only.
            choose("positionBox", 1)
            compare(model.fileType, 0)
            compare(child("typeBox").count, 1)
            compare(child("typeBox").currentIndex, 0)
            tryCompare(page, "fileCount", 1)
            compare(child("fileName0").text, "from stick.xml")
            choose("positionBox", 0)
            compare(child("typeBox").count, 2)
        }

        function test_selectAllIsTriState() {
            var all = child("allBox")
            mouseClick(child("fileCheck1"))
            compare(model.getFileSelected(1), true)
            compare(page.selectionState, 2)
            compare(all.checkState, Qt.PartiallyChecked)
            compare(child("exportButton").enabled, true)
            compare(child("importButton").enabled, false)

            mouseClick(all)
            compare(page.selectionState, 1)
            compare(all.checkState, Qt.Checked)
            for (var i = 0; i < awkward.length; ++i)
                compare(model.getFileSelected(i), true)

            mouseClick(all)
            compare(page.selectionState, 0)
            compare(all.checkState, Qt.Unchecked)
            compare(child("exportButton").enabled, false)
        }

        function test_exportAsksThenReports() {
            mouseClick(child("fileCheck2"))
            mouseClick(child("fileCheck4"))
            mouseClick(child("exportButton"))
            tryCompare(page.confirmDialog, "opened", true)
            compare(page.confirmDialog.content, "确定导出选中的文件？同名文件会被覆盖")
            accept(page.confirmDialog)
            compare(model.calls.indexOf("export:it's \"quoted\".xml|参数 备份.xml") >= 0, true)
            tryCompare(page.infoDialog, "opened", true)
            compare(page.infoDialog.content, "导出文件成功！")
            accept(page.infoDialog)

            model.copyResult = false
            mouseClick(child("exportButton"))
            accept(page.confirmDialog)
            tryCompare(page.infoDialog, "opened", true)
            compare(page.infoDialog.content, "导出文件失败！")
            accept(page.infoDialog)

            // What was left out is named.
            model.copyNotice = "已导出 1/2 个文件。\n已导出：a.xml\n未导出：b.xml（链接）"
            mouseClick(child("exportButton"))
            accept(page.confirmDialog)
            tryCompare(page.infoDialog, "opened", true)
            compare(page.infoDialog.content, "已导出 1/2 个文件。\n已导出：a.xml\n未导出：b.xml（链接）")
        }

        function test_withoutAStickNothingIsCopied() {
            model.stickMounted = false
            mouseClick(child("fileCheck0"))
            mouseClick(child("exportButton"))
            tryCompare(page.infoDialog, "opened", true)
            compare(page.infoDialog.content, "U盘不存在！请重新插入U盘。")
            compare(page.confirmDialog.opened, false)
            accept(page.infoDialog)
            for (var i = 0; i < model.calls.length; ++i)
                verify(model.calls[i].indexOf("export:") !== 0, model.calls[i])
        }

        function test_importFromTheStick() {
            choose("positionBox", 1)
            tryCompare(page, "fileCount", 1)
            mouseClick(child("fileCheck0"))
            compare(child("exportButton").enabled, false)
            mouseClick(child("importButton"))
            tryCompare(page.confirmDialog, "opened", true)
            compare(page.confirmDialog.content, "确定导入选中的文件？同名文件会被覆盖")
            accept(page.confirmDialog)
            compare(model.calls.indexOf("import:from stick.xml") >= 0, true)
            tryCompare(page.infoDialog, "content", "导入文件成功！")
        }

        function test_deleteAsksAndRebuildsTheList() {
            mouseClick(child("fileCheck0"))
            mouseClick(child("deleteButton"))
            tryCompare(page.confirmDialog, "opened", true)
            compare(page.confirmDialog.content, "确定删除选中的文件？")
            // Cancelled: nothing happens.
            mouseClick(findChild(page.confirmDialog.contentItem, "rejectButton"))
            tryCompare(page.confirmDialog, "opened", false)
            compare(page.fileCount, awkward.length)
            compare(page.infoDialog.opened, false)

            mouseClick(child("deleteButton"))
            accept(page.confirmDialog)
            tryCompare(page.infoDialog, "content", "删除文件成功！")
            compare(page.fileCount, awkward.length - 1)
            compare(child("fileName0").text, awkward[1])
            compare(page.selectionState, 0)

            model.deleteResult = false
            accept(page.infoDialog)
            mouseClick(child("fileCheck0"))
            mouseClick(child("deleteButton"))
            accept(page.confirmDialog)
            tryCompare(page.infoDialog, "content", "删除文件失败！")
        }
    }
}

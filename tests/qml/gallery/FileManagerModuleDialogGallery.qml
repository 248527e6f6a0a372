import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"
import "qrc:/QMLPages/FileManager"

// A module page's file dialog, saving the parameters under a name.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }
    InputCharNumberPanel { id: inputCharNumberPanel }

    FileManagerFakeModel {
        id: model
        backups: ["Distance_zone 1.xml", "Distance_zone 2.xml"]
    }

    ModuleFileDialog {
        id: files
        viewModel: model
        prefix: "Distance_"
    }

    // Popups open once the page is in its window.
    Component.onCompleted: Qt.callLater(openPopups)
    function openPopups() {
        files.open()
        var parameterMode = find(files.fileDialog.contentItem, "parameterMode")
        parameterMode.checked = true
        files.fileDialog.mode = 1
        files.fileDialog.nameBox.text = "Distance_zone 3"
    }
    function find(item, name) {
        if (item.objectName === name)
            return item
        for (var i = 0; i < item.children.length; ++i) {
            var found = find(item.children[i], name)
            if (found)
                return found
        }
        return null
    }
}

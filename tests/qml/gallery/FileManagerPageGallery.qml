import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"
import "qrc:/QMLPages/FileManager"

// The file manager listing the device's AC parameter backups, two selected.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }

    FileManagerFakeModel {
        id: model
        folders: ({ "0/0/0": ["AC_20240131235959.xml", "with blank.xml", "it's \"quoted\".xml",
                               "x; reboot;.xml", "参数 备份.xml", "Überprüfung.XML", "zone 7.xml"] })
    }

    FileManagerPage {
        id: page
        anchors.fill: parent
        viewModel: model
        Component.onCompleted: {
            page.selectFile(1, true)
            page.selectFile(4, true)
        }
    }
}

import QtQuick 2.15
import QMLControls 1.0
import "qrc:/"
import "qrc:/QMLPages/FileManager"

// The upgrade dialog having found a package on the stick.
Rectangle {
    id: window
    width: 800
    height: 480
    color: globalConfiguration.customBackground

    GlobalConfiguration { id: globalConfiguration }

    FileManagerFakeModel {
        id: model
        packagePath: "/media/usb/upgrade/zorupgrade-v2.1.0001.zip"
    }

    UpgradeDialog {
        id: upgrade
        viewModel: model
        autoTick: false
    }

    // Popups open once the page is in its window.
    Component.onCompleted: Qt.callLater(openPopups)
    function openPopups() {
        upgrade.open()
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import ZOR.ViewBaseModel 1.0
import "QMLPages/Main"

// The root of the interface: the frameless 800 x 480 window with the one
// system view model of the program (id viewBaseModel), which every page and
// control uses, and the main window's content.
ApplicationWindow {
    id: window

    width: mainWindow.realWidth
    height: mainWindow.realHeight
    visible: true
    flags: Qt.Window | Qt.FramelessWindowHint
    color: mainWindow.globalConfig.customBackground

    ViewBaseModel {
        id: viewBaseModel
    }

    MainWindowContent {
        id: mainWindow
        objectName: "mainWindow"
    }
}

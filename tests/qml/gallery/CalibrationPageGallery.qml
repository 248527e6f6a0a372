import QtQuick 2.15
import QtQuick.Controls 2.15
import QMLControls 1.0
import ZOR.ViewBaseModel 1.0
import "qrc:/"
import "qrc:/QMLPages/Calibration"

// The output-calibration page once per kind (four-phase outputs, auxiliary DC
// set by value, so that every cell and kind shows), each as the settings page
// shows it below the 44 px header: the power kinds in the first rows, the
// low-level kinds in the last.
Rectangle {
    id: window
    width: 3200
    height: 1440
    color: globalConfiguration.customBackground

    ViewBaseModel { id: viewBaseModel }
    GlobalConfiguration { id: globalConfiguration }
    InputNumberPanel { id: inputNumberPanel }
    InputTimePanel { id: inputTimePanel }
    InputDateTimePanel { id: inputDateTimePanel }

    Component.onCompleted: {
        viewBaseModel.setVoltagePhasesType(ViewBaseModel.PHASES_TYPE_FOUR)
        viewBaseModel.setCurrentPhasesType(ViewBaseModel.PHASES_TYPE_FOUR)
        viewBaseModel.setDeviceAuxDCType(1)
        pages.model = 10
    }

    Grid {
        columns: 4
        Repeater {
            id: pages
            model: 0
            Item {
                width: 800
                height: 480
                readonly property int kind: index + 1

                Rectangle {
                    width: 800
                    height: 44
                    color: globalConfiguration.customPrimary
                    Text {
                        anchors.fill: parent
                        anchors.leftMargin: 12
                        verticalAlignment: Text.AlignVCenter
                        text: "输出校准"
                        color: globalConfiguration.customTitleForeground
                        font.family: globalConfiguration.customFontFamily
                        font.pixelSize: globalConfiguration.customFontL1Size
                    }
                }
                ModelSystemCalPage {
                    id: page
                    y: 44
                    width: 800
                    height: 436
                    Component.onCompleted: {
                        languageType = galleryLanguageType
                        viewModel.setOutputCalType(parent.kind >= 8 ? 1 : 0)
                        viewModel.setCurrentCalType(parent.kind)
                        viewModel.setCurrentSelected(parent.kind, 0, 0, true)
                        viewModel.setCurrentSelected(parent.kind, 5, 1, true)
                        refreshAll()
                    }
                }
            }
        }
    }
}

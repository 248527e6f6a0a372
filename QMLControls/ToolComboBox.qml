import QtQuick 2.15
import QtQuick.Controls 2.15

// A drop-down list in the palette's colours; setDataValue(index) shows an
// entry without emitting activated(). An entry longer than the box shrinks
// (down to minimumPixelSize) rather than being cut.
ComboBox {
    id: root

    property color foreColor: globalConfiguration.customForeground
    property color backColor: globalConfiguration.customBackground
    property color borderColor: globalConfiguration.customGray
    property color selectionColor: globalConfiguration.customPrimary
    property color selectedTextColor: "#ffffff"
    property int minimumPixelSize: 14

    implicitWidth: 150
    implicitHeight: 32
    focusPolicy: Qt.NoFocus
    font.family: globalConfiguration.customFontFamily
    font.pixelSize: globalConfiguration.customFontL2Size

    function setDataValue(index) {
        currentIndex = index
    }

    background: Rectangle {
        color: root.backColor
        border.color: root.enabled ? (root.down ? root.selectionColor : root.borderColor) : globalConfiguration.customGray
        border.width: 1
        radius: 2
    }

    contentItem: Text {
        leftPadding: 6
        rightPadding: root.indicator.width + 4
        text: root.displayText
        font: root.font
        color: root.enabled ? root.foreColor : globalConfiguration.customGray
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: root.minimumPixelSize
    }

    indicator: Text {
        x: root.width - width - 6
        anchors.verticalCenter: parent.verticalCenter
        text: "\u25bc"
        color: root.enabled ? root.foreColor : globalConfiguration.customGray
        // Smaller than the text, not under 12 px.
        font.pixelSize: Math.max(12, Math.round(root.font.pixelSize * 0.6))
    }

    delegate: ItemDelegate {
        width: root.width
        height: root.height
        highlighted: root.highlightedIndex === index
        contentItem: Text {
            text: root.textRole ? (Array.isArray(root.model) ? modelData[root.textRole] : model[root.textRole])
                                : modelData
            font: root.font
            color: highlighted ? root.selectedTextColor : root.foreColor
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: root.minimumPixelSize
        }
        background: Rectangle {
            color: highlighted ? root.selectionColor : root.backColor
        }
    }

    popup: Popup {
        y: root.height
        width: root.width
        implicitHeight: Math.min(contentItem.implicitHeight + 2, 6 * root.height)
        padding: 1

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: root.popup.visible ? root.delegateModel : null
            currentIndex: root.highlightedIndex
            ScrollIndicator.vertical: ScrollIndicator {}
        }

        background: Rectangle {
            color: root.backColor
            border.color: root.selectionColor
            border.width: 1
        }
    }
}

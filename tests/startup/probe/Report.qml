import QtQuick 2.15
import QtQuick.Window 2.15
import ZOR.ViewUtilityHelper 1.0
import ZorProbe 1.0

Window {
    width: 800
    height: 480
    visible: true
    Component.onCompleted: {
        ZorProbe.report(typeof translator !== "undefined" && translator !== null,
                        typeof ViewUtilityHelper !== "undefined" && ViewUtilityHelper !== null)
        Qt.exit(ZorProbe.exitCode())
    }
}

// The reference of the idle benchmark (bench/idle_cpu.sh): a bare Qt Quick
// window of the front panel's size that, like the panel's header, shows the
// time and redraws it once a second.

#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick 2.15\n"
                    "import QtQuick.Window 2.15\n"
                    "Window { width: 800; height: 480; visible: true\n"
                    "    Rectangle { anchors.fill: parent; color: \"#202830\"\n"
                    "        Text { id: clock; anchors.centerIn: parent; color: \"white\" }\n"
                    "        Timer { interval: 1000; running: true; repeat: true; triggeredOnStart: true\n"
                    "            onTriggered: clock.text = new Date().toLocaleTimeString() } } }\n");
    if (engine.rootObjects().isEmpty())
        return 1;
    return app.exec();
}

#pragma once

// The application object: a QGuiApplication that reports every user input
// (mouse press, release, double-click and move, key press and release) with
// sigMouseEvent() before the event is delivered, so an idle timer can be
// restarted by any input. One instance lives for the whole process.

#include <QGuiApplication>

class CustomApplication : public QGuiApplication
{
    Q_OBJECT

public:
    CustomApplication(int& argc, char** argv);
    ~CustomApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Whether an event of this type counts as user input.
    static bool isUserInput(const QEvent* event);

signals:
    void sigMouseEvent();
};

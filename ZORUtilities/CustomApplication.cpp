#include "CustomApplication.h"

#include <QEvent>

CustomApplication::CustomApplication(int& argc, char** argv)
    : QGuiApplication(argc, argv)
{
}

CustomApplication::~CustomApplication() = default;

bool CustomApplication::isUserInput(const QEvent* event)
{
    if (!event)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

bool CustomApplication::notify(QObject* receiver, QEvent* event)
{
    if (isUserInput(event))
        emit sigMouseEvent();
    return QGuiApplication::notify(receiver, event);
}

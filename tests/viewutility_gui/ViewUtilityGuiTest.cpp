#include <gtest/gtest.h>

#include "ViewUtilityHelper.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <memory>

namespace {

// Processes events until cond holds or a generous deadline passes.
template <typename Cond>
bool waitFor(Cond cond)
{
    QDeadlineTimer deadline(10000);
    while (!cond() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return cond();
}

} // namespace

// The number and character panels type into the focused field.
TEST(ViewUtilityGui, PanelKeysTypeIntoTheFocusedField)
{
    QQuickWindow window;
    window.resize(320, 80);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.15\n"
                      "TextInput { width: 300; height: 60; property int acceptedCount: 0;"
                      " onAccepted: acceptedCount++ }\n",
                      QUrl("qrc:/field.qml"));
    std::unique_ptr<QObject> object(component.create());
    ASSERT_TRUE(object) << component.errorString().toStdString();
    auto* field = qobject_cast<QQuickItem*>(object.get());
    ASSERT_TRUE(field);
    field->setParentItem(window.contentItem());
    window.show();
    window.requestActivate();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == &window; }));
    field->forceActiveFocus();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusObject() == field; }));

    ViewUtilityHelper& helper = *ViewUtilityHelper::getInstance();
    for (Qt::Key key : {Qt::Key_Minus, Qt::Key_1, Qt::Key_2, Qt::Key_Period, Qt::Key_5, Qt::Key_9})
        helper.virtualKeyEmit(key);
    helper.virtualKeyEmit(Qt::Key_Backspace);
    EXPECT_EQ(field->property("text").toString(), "-12.5");

    helper.virtualKeyEmit(field, Qt::Key_Space);
    helper.virtualKeyEmit(field, Qt::Key_Z, true);
    helper.virtualKeyEmit(field, Qt::Key_O, false);
    helper.virtualKeyEmit(field, Qt::Key_R);
    helper.virtualKeyEmit(field, Qt::Key_Underscore);
    EXPECT_EQ(field->property("text").toString(), "-12.5 ZoR_");

    helper.virtualKeyEmit(Qt::Key_Enter);
    helper.virtualKeyEmit(Qt::Key_Return);
    EXPECT_EQ(field->property("acceptedCount").toInt(), 2);
    EXPECT_EQ(field->property("text").toString(), "-12.5 ZoR_");
}

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

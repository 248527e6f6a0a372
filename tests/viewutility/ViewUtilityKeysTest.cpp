#include <gtest/gtest.h>

#include "ViewUtilityHelper.h"

#include <QKeyEvent>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtQml>

#include <memory>
#include <vector>

namespace {

// A visual item that records the key events it receives as
// "P<key>:<text>" / "R<key>:<text>", with a mark for anything unusual.
class KeyRecorder : public QQuickItem
{
public:
    QStringList seen;

protected:
    void keyPressEvent(QKeyEvent* e) override { record('P', e); }
    void keyReleaseEvent(QKeyEvent* e) override { record('R', e); }

private:
    void record(char kind, QKeyEvent* e)
    {
        const bool plain = e->modifiers() == Qt::NoModifier && !e->isAutoRepeat() && e->count() == 1;
        seen << QString("%1%2:%3%4").arg(kind).arg(e->key()).arg(e->text()).arg(plain ? "" : " !");
        e->accept();
    }
};

// Counts the key events reaching a plain object.
class KeyCounter : public QObject
{
public:
    int keys = 0;

protected:
    bool event(QEvent* e) override
    {
        keys += e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
        return QObject::event(e);
    }
};

ViewUtilityHelper& helper()
{
    return *ViewUtilityHelper::getInstance();
}

QStringList pressRelease(Qt::Key key, const QString& text)
{
    return {QString("P%1:%2").arg(int(key)).arg(text), QString("R%1:").arg(int(key))};
}

} // namespace

// Every key of the number and character panels: the two-argument form and
// capEnable true type capitals, capEnable false small letters.
TEST(ViewUtilityKeys, PanelKeysReachTheItemWithTheirText)
{
    std::vector<std::pair<Qt::Key, QString>> keys = {
        {Qt::Key_Period, "."}, {Qt::Key_Minus, "-"}, {Qt::Key_Underscore, "_"},
        {Qt::Key_Backspace, "\b"}, {Qt::Key_Enter, "\r"}, {Qt::Key_Return, "\r"}, {Qt::Key_Space, " "},
    };
    for (int i = 0; i < 10; ++i)
        keys.push_back({Qt::Key(Qt::Key_0 + i), QString::number(i)});
    for (int i = 0; i < 26; ++i)
        keys.push_back({Qt::Key(Qt::Key_A + i), QString(QChar('A' + i))});

    for (const auto& k : keys) {
        KeyRecorder caps, small, plain;
        helper().virtualKeyEmit(&caps, k.first, true);
        helper().virtualKeyEmit(&small, k.first, false);
        helper().virtualKeyEmit(&plain, k.first);
        EXPECT_EQ(caps.seen, pressRelease(k.first, k.second));
        EXPECT_EQ(small.seen, pressRelease(k.first, k.second.toLower()));
        EXPECT_EQ(plain.seen, pressRelease(k.first, k.second));
    }
    EXPECT_EQ(ViewUtilityHelper::keyText(Qt::Key_Left, true), "");
}

TEST(ViewUtilityKeys, NothingHappensWithoutAVisualTarget)
{
    KeyCounter plain;
    helper().virtualKeyEmit(&plain, Qt::Key_1);
    helper().virtualKeyEmit(&plain, Qt::Key_A, true);
    helper().virtualKeyEmit(nullptr, Qt::Key_1);
    helper().virtualKeyEmit(Qt::Key_1);  // no GUI application: nothing has the focus
    EXPECT_EQ(plain.keys, 0);
}

TEST(ViewUtilitySingleton, OneInstanceOutlivesEveryQmlEngine)
{
    ViewUtilityHelper* instance = ViewUtilityHelper::getInstance();
    EXPECT_EQ(ViewUtilityHelper::getInstance(), instance);
    static const int typeId = qmlRegisterSingletonType<ViewUtilityHelper>(
        "ZOR.ViewUtilityHelper", 1, 0, "ViewUtilityHelper", viewUtilityHelperSingletonProvider);

    QPointer<ViewUtilityHelper> guard(instance);
    for (int round = 0; round < 2; ++round) {
        auto engine = std::make_unique<QQmlEngine>();
        QQmlComponent component(engine.get());
        component.setData("import QtQml 2.15\nimport ZOR.ViewUtilityHelper 1.0\nQtObject {\n"
                          " property real value: ViewUtilityHelper.stringFormatToDouble('-1 234,5', 'ru_RU')\n"
                          " property string time: ViewUtilityHelper.doubleFormatToStringForTime(0.0255, 1, 'us_EN')\n"
                          " property bool keyed: { ViewUtilityHelper.virtualKeyEmit(null, Qt.Key_A, true);"
                          " ViewUtilityHelper.virtualKeyEmit(Qt.Key_1); return true }\n"
                          "}\n",
                          QUrl("qrc:/probe.qml"));
        std::unique_ptr<QObject> object(component.create());
        ASSERT_TRUE(object) << component.errorString().toStdString();
        EXPECT_DOUBLE_EQ(object->property("value").toDouble(), -1234.5);
        EXPECT_EQ(object->property("time").toString(), "25.5ms");
        EXPECT_TRUE(object->property("keyed").toBool());  // Qt::Key arguments pass from QML
        EXPECT_EQ(engine->singletonInstance<ViewUtilityHelper*>(typeId), instance);
        object.reset();
        engine.reset();
        ASSERT_FALSE(guard.isNull()) << "an engine deleted the singleton";
    }
}

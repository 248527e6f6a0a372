#include "ViewUtilityHelper.h"

#include "BaseUtilityHelper.h"

#include <QCoreApplication>
#include <QDate>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLocale>
#include <QQmlEngine>
#include <QQuickItem>

#include <atomic>
#include <cmath>
#include <limits>

namespace {
std::atomic<ViewUtilityHelper*> helperInstance{nullptr};

const qint64 kSecondsPerDay = 24 * 60 * 60;

// QTime::addSecs() takes an int and wraps at midnight anyway: reduce first
// so that no product of a large multiplier overflows.
int secondsOfDay(qint64 seconds)
{
    return int(seconds % kSecondsPerDay);
}

// Without a group separator: a number reads alike in every language of the
// interface ("1500", not "1,500" in Chinese), as it does in the reports.
QString numberText(double val, int precision, const QString& localName)
{
    QLocale locale(localName);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(val, 'f', precision);
}
}

ViewUtilityHelper::ViewUtilityHelper(QObject* parent)
    : QObject(parent)
{
}

ViewUtilityHelper* ViewUtilityHelper::getInstance()
{
    ViewUtilityHelper* current = helperInstance.load(std::memory_order_acquire);
    if (current)
        return current;
    auto* created = new ViewUtilityHelper();
    if (helperInstance.compare_exchange_strong(current, created, std::memory_order_acq_rel))
        return created;
    delete created;
    return current;
}

QObject* viewUtilityHelperSingletonProvider(QQmlEngine* engine, QJSEngine* scriptEngine)
{
    Q_UNUSED(engine)
    Q_UNUSED(scriptEngine)
    ViewUtilityHelper* helper = ViewUtilityHelper::getInstance();
    // A QML engine deletes the singletons it owns when it is destroyed; this
    // one outlives every engine.
    QQmlEngine::setObjectOwnership(helper, QQmlEngine::CppOwnership);
    return helper;
}

// ---- virtual keys ----

QString ViewUtilityHelper::keyText(Qt::Key key, bool capEnable)
{
    switch (key) {
    case Qt::Key_Space:
        return QStringLiteral(" ");
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QStringLiteral("\x1b");
    case Qt::Key_Delete:
        return QStringLiteral("\x7f");
    default:
        break;
    }
    const QString name = QKeySequence(key).toString(QKeySequence::PortableText);
    // Longer names ("Left", "F1", "Home") name keys that type nothing.
    if (name.size() != 1)
        return QString();
    return capEnable ? name : name.toLower();
}

void ViewUtilityHelper::sendKey(QObject* obj, Qt::Key key, const QString& text)
{
    if (!qobject_cast<QQuickItem*>(obj))
        return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, false, 1);
    QCoreApplication::sendEvent(obj, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString());
    QCoreApplication::sendEvent(obj, &release);
}

void ViewUtilityHelper::virtualKeyEmit(Qt::Key key)
{
    // Only a GUI application has a focus object.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    sendKey(QGuiApplication::focusObject(), key, keyText(key, true));
}

void ViewUtilityHelper::virtualKeyEmit(QObject* obj, Qt::Key key)
{
    sendKey(obj, key, keyText(key, true));
}

void ViewUtilityHelper::virtualKeyEmit(QObject* obj, Qt::Key key, bool capEnable)
{
    sendKey(obj, key, keyText(key, capEnable));
}

// ---- texts and numbers ----

QString ViewUtilityHelper::stringRemove(QString str, QChar chr)
{
    if (str.isEmpty())
        return QString();
    return str.remove(chr);
}

double ViewUtilityHelper::stringFormatToDouble(QString str, QString localName)
{
    const QLocale locale(localName);
    const QChar point = locale.decimalPoint();
    const QChar minus = locale.negativeSign();
    // The on-screen panels type '.' for the point key; it is the point in a
    // decimal-comma locale too, unless there it groups thousands.
    const bool periodIsPoint = point == QLatin1Char('.') || locale.groupSeparator() != QLatin1Char('.');

    QString kept;
    bool pointSeen = false;
    for (const QChar c : qAsConst(str)) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            kept.append(c);
        } else if (c == point || (periodIsPoint && c == QLatin1Char('.'))) {
            if (pointSeen)
                break;
            pointSeen = true;
            // The conversion below reads '.' only, whatever the locale.
            kept.append(QLatin1Char('.'));
        }
    }
    const bool negative = str.contains(minus) || str.contains(QLatin1Char('-'));

    if (kept.isEmpty()) {
        kept = QStringLiteral("0.0");
    } else {
        if (kept.startsWith(QLatin1Char('.')))
            kept.prepend(QLatin1Char('0'));
        if (kept.endsWith(QLatin1Char('.')))
            kept.append(QLatin1Char('0'));
        if (negative)
            kept.prepend(QLatin1Char('-'));
    }

    bool ok = false;
    const double value = kept.toDouble(&ok);
    return ok ? value : std::numeric_limits<double>::quiet_NaN();
}

QString ViewUtilityHelper::doubleFormatToString(double val, int precision, QString localName)
{
    if (std::isnan(val))
        return QStringLiteral("NaN");
    return numberText(val, precision, localName);
}

QString ViewUtilityHelper::doubleFormatToStringForTime(double val, int precision, QString localName)
{
    if (std::isnan(val))
        return QStringLiteral("NaN");
    if (val < 1.0)
        return numberText(val * 1000.0, precision, localName) + QStringLiteral("ms");
    return numberText(val, precision, localName) + QStringLiteral("s");
}

QString ViewUtilityHelper::intFormatToRGBString(uint valrgb, bool bigEndian)
{
    const uint high = (valrgb >> 16) & 0xFFu;
    const uint middle = (valrgb >> 8) & 0xFFu;
    const uint low = valrgb & 0xFFu;
    const QLatin1Char zero('0');
    return QStringLiteral("#%1%2%3")
        .arg(bigEndian ? low : high, 2, 16, zero)
        .arg(middle, 2, 16, zero)
        .arg(bigEndian ? high : low, 2, 16, zero);
}

bool ViewUtilityHelper::stringEqualNoCase(QString val1, QString val2)
{
    return val1.toLower() == val2.toLower();
}

int ViewUtilityHelper::doubleFormatToInt(double val)
{
    // Converting NaN or a value beyond int is undefined behaviour.
    if (std::isnan(val))
        return 0;
    if (val >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (val <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(val);
}

double ViewUtilityHelper::qmlNaN()
{
    return std::numeric_limits<double>::quiet_NaN();
}

bool ViewUtilityHelper::qmlIsNaN(double val)
{
    return std::isnan(val);
}

bool ViewUtilityHelper::qmlIsMax(double val)
{
    return BaseUtilityHelper::isMax(val);
}

bool ViewUtilityHelper::stringToDoubleEqual(QString val1, QString val2)
{
    // QString::toDouble() reads the C locale and gives 0 when it fails.
    const double v1 = val1.isEmpty() ? 0.0 : val1.toDouble();
    const double v2 = val2.isEmpty() ? 0.0 : val2.toDouble();
    return v1 == v2;
}

// ---- times ----

QTime ViewUtilityHelper::roundTime10sec(const QTime& now, int mul, int offsetSec)
{
    if (!now.isValid())
        return QTime();
    const QTime base(now.hour(), now.minute(), now.second() - now.second() % 10, 0);
    return base.addSecs(secondsOfDay(qint64(mul) * 10 + offsetSec));
}

QTime ViewUtilityHelper::roundTime1min(const QTime& now, int mul)
{
    if (!now.isValid())
        return QTime();
    const QTime base(now.hour(), now.minute(), 0, 0);
    return base.addSecs(secondsOfDay(qint64(mul) * 60));
}

QDateTime ViewUtilityHelper::roundDateTime10sec(const QDateTime& now, int mul)
{
    if (!now.isValid())
        return QDateTime();
    QDateTime base = now;
    base.setTime(roundTime10sec(now.time(), 0));
    return base.addSecs(qint64(mul) * 10);
}

QString ViewUtilityHelper::getNowTimeString(QString fmt)
{
    return QTime::currentTime().toString(fmt);
}

QString ViewUtilityHelper::getNowTimeRound10sec(int mul, QString fmt)
{
    return roundTime10sec(QTime::currentTime(), mul).toString(fmt);
}

QString ViewUtilityHelper::getNowTimeRound10secByTZ(int mul, QString fmt, int offsetSec)
{
    return roundTime10sec(QTime::currentTime(), mul, offsetSec).toString(fmt);
}

QString ViewUtilityHelper::getNowTimeRound1min(int mul, QString fmt)
{
    return roundTime1min(QTime::currentTime(), mul).toString(fmt);
}

QString ViewUtilityHelper::getNowDateTimeRound10sec(int mul, QString fmt)
{
    return roundDateTime10sec(QDateTime::currentDateTime(), mul).toString(fmt);
}

QString ViewUtilityHelper::getNowDateTimeString(QString fmt)
{
    return QDateTime::currentDateTime().toString(fmt);
}

QString ViewUtilityHelper::getDateTimeString(int year, int month, int day, int hour, int minute, int second,
                                             QString fmt)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, 0);
    // QDateTime would quietly take midnight for a time that does not exist.
    if (!date.isValid() || !time.isValid())
        return QString();
    QDateTime dateTime = QDateTime::currentDateTime();
    dateTime.setDate(date);
    dateTime.setTime(time);
    return dateTime.toString(fmt);
}

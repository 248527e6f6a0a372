#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTime>

class QJSEngine;
class QQmlEngine;

// Stateless helpers for the QML interface, used there as the singleton
// "ZOR.ViewUtilityHelper" 1.0: on-screen keys as real key events, numbers
// parsed and written by locale, durations, colours and the rounded "now"
// times the time fields start from. GUI thread only.
//
// Locale names are those of QLocale; the interface passes "zh_CN" and
// "us_EN" (no such locale: it resolves to the C locale, a point and no digit
// grouping). Decimal-comma locales ("pt_PT", "ru_RU", "de_DE") work as well.
class ViewUtilityHelper : public QObject
{
    Q_OBJECT
public:
    // The one instance, created (no parent) on the first call and never
    // destroyed.
    static ViewUtilityHelper* getInstance();

    // A key press and release (no modifiers, sent synchronously) to the
    // application's focus object; nothing when it is not a Qt Quick item.
    // Letters carry upper-case text.
    Q_INVOKABLE void virtualKeyEmit(Qt::Key key);
    // The same to obj; nothing when obj is not a Qt Quick item.
    Q_INVOKABLE void virtualKeyEmit(QObject* obj, Qt::Key key);
    // The same, a letter's text in upper case with capEnable, else lower case.
    Q_INVOKABLE void virtualKeyEmit(QObject* obj, Qt::Key key, bool capEnable);

    // str without any chr.
    Q_INVOKABLE QString stringRemove(QString str, QChar chr);
    // The number in an edited text: digits, the first decimal point (the
    // locale's, or '.' where '.' is not the locale's group separator; a second
    // one ends the number) and a minus sign anywhere (the locale's or '-');
    // everything else is ignored. A text without digits or point gives 0.
    Q_INVOKABLE double stringFormatToDouble(QString str, QString localName);
    // "NaN" for NaN, else the locale's fixed notation with precision decimals.
    Q_INVOKABLE QString doubleFormatToString(double val, int precision, QString localName);
    // A duration in seconds: "NaN" for NaN; below 1.0 in milliseconds with
    // "ms", else in seconds with "s".
    Q_INVOKABLE QString doubleFormatToStringForTime(double val, int precision, QString localName);
    // "#rrggbb" from bits 16..23, 8..15, 0..7; with bigEndian the byte order
    // is reversed.
    Q_INVOKABLE QString intFormatToRGBString(uint valrgb, bool bigEndian);
    Q_INVOKABLE bool stringEqualNoCase(QString val1, QString val2);
    // val truncated toward zero; NaN gives 0, values beyond int the nearest
    // int limit.
    Q_INVOKABLE int doubleFormatToInt(double val);
    Q_INVOKABLE double qmlNaN();
    Q_INVOKABLE bool qmlIsNaN(double val);
    // The "unlimited" marker: |val| is the largest finite double.
    Q_INVOKABLE bool qmlIsMax(double val);

    Q_INVOKABLE QString getNowTimeString(QString fmt);
    // Now with the seconds cut to a multiple of 10, plus mul x 10 s.
    Q_INVOKABLE QString getNowTimeRound10sec(int mul, QString fmt);
    // As getNowTimeRound10sec, plus offsetSec seconds.
    Q_INVOKABLE QString getNowTimeRound10secByTZ(int mul, QString fmt, int offsetSec);
    // Now with the seconds cut to 0, plus mul minutes.
    Q_INVOKABLE QString getNowTimeRound1min(int mul, QString fmt);
    // Date and time of now rounded as getNowTimeRound10sec; the date follows
    // when the addition passes midnight.
    Q_INVOKABLE QString getNowDateTimeRound10sec(int mul, QString fmt);
    Q_INVOKABLE QString getNowDateTimeString(QString fmt);
    // That local date and time (milliseconds 0) in fmt; empty for a date or
    // time that does not exist.
    Q_INVOKABLE QString getDateTimeString(int year, int month, int day, int hour, int minute, int second,
                                          QString fmt);
    // Both texts as numbers (empty or not a number counts as 0), compared
    // exactly.
    Q_INVOKABLE bool stringToDoubleEqual(QString val1, QString val2);

    // The rounding rules of the getNow... operations, applied to a given time.
    static QTime roundTime10sec(const QTime& now, int mul, int offsetSec = 0);
    static QTime roundTime1min(const QTime& now, int mul);
    static QDateTime roundDateTime10sec(const QDateTime& now, int mul);
    // The text a key event of key carries: a one-character key name (letters
    // in lower case unless capEnable), the control character of Space,
    // Backspace, Tab, Return, Enter, Escape and Delete, else empty.
    static QString keyText(Qt::Key key, bool capEnable);

private:
    explicit ViewUtilityHelper(QObject* parent = nullptr);

    static void sendKey(QObject* obj, Qt::Key key, const QString& text);
};

// QML singleton provider: the process-wide instance, kept owned by C++ so
// that no engine deletes it.
QObject* viewUtilityHelperSingletonProvider(QQmlEngine* engine, QJSEngine* scriptEngine);

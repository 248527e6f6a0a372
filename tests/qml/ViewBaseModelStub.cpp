#include "ViewBaseModelStub.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

ViewBaseModelStub::ViewBaseModelStub(QObject* parent)
    : QObject(parent)
{
}

void ViewBaseModelStub::record(const QString& call)
{
    calls.append(call);
    emit changed();
}

void ViewBaseModelStub::setBeep()
{
    ++beepRequests;
    if (beepEnabled)
        ++beepCount;
    emit changed();
}

void ViewBaseModelStub::setBeepEnabled(bool enabled)
{
    beepEnabled = enabled;
    record(QStringLiteral("setBeepEnabled(%1)").arg(enabled));
}

void ViewBaseModelStub::setAuxDCVSwitch(int value)
{
    auxDCSwitch = value;
    record(QStringLiteral("setAuxDCVSwitch(%1)").arg(value));
}

void ViewBaseModelStub::setAuxDCVSwitchValue(double value)
{
    auxDCValue = value;
    record(QStringLiteral("setAuxDCVSwitchValue(%1)").arg(value));
}

void ViewBaseModelStub::addPPXUtcTime(const QString& startTime, int intervalTime, int timeCount)
{
    record(QStringLiteral("addPPXUtcTime(%1,%2,%3)").arg(startTime).arg(intervalTime).arg(timeCount));
    const QTime start = QTime::fromString(startTime, QStringLiteral("HH:mm:ss"));
    if (!start.isValid())
        return;
    const QDateTime base(QDate::currentDate(), start);
    for (int i = 0; i < timeCount && ppxTimes.size() < 64; ++i)
        ppxTimes.append(base.addSecs(qint64(i) * intervalTime).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    emit changed();
}

void ViewBaseModelStub::delPPXUtcTime(int index)
{
    record(QStringLiteral("delPPXUtcTime(%1)").arg(index));
    if (index >= 0 && index < ppxTimes.size())
        ppxTimes.removeAt(index);
    emit changed();
}

void ViewBaseModelStub::clearPPXUtcTime()
{
    record(QStringLiteral("clearPPXUtcTime()"));
    ppxTimes.clear();
    emit changed();
}

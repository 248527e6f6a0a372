#include "CommSOEEntity.h"

#include "CommDriverData.h"
#include "ConstTextUtility.h"

#include <algorithm>

namespace {

const char* const kTimeFormat = "hh:mm:ss:zzz";

QString amplitude(double value, int width)
{
    return QStringLiteral("%1").arg(value, width, 'f', 3);
}

QString angle(double value)
{
    return QStringLiteral("%1").arg(value, 5, 'f', 1);
}

// Right-aligned placeholder for the fields of a three-phase side.
QString absent(int width)
{
    return QStringLiteral("%1").arg(QStringLiteral("-"), width);
}

} // namespace

CommSOEEntity::CommSOEEntity(QObject* parent)
    : QObject(parent)
{
}

CommSOEEntity::CommSOEEntity(const CommSOEEntity& data, QObject* parent)
    : QObject(parent)
{
    copyFrom(data);
}

CommSOEEntity::~CommSOEEntity() = default;

void CommSOEEntity::copyFrom(const CommSOEEntity& data)
{
    if (&data == this)
        return;
    soeType = data.soeType;
    runtimeType = data.runtimeType;
    eventUtcTime = data.eventUtcTime;
    eventRunTime = data.eventRunTime;
    outputStateIndex = data.outputStateIndex;
    outputEnable = data.outputEnable;
    std::copy(std::begin(data.outputRanges), std::end(data.outputRanges), std::begin(outputRanges));
    std::copy(std::begin(data.outputAngles), std::end(data.outputAngles), std::begin(outputAngles));
    std::copy(std::begin(data.outputFrequencies), std::end(data.outputFrequencies), std::begin(outputFrequencies));
    std::copy(std::begin(data.outputBOStates), std::end(data.outputBOStates), std::begin(outputBOStates));
    std::copy(std::begin(data.outputBIStates), std::end(data.outputBIStates), std::begin(outputBIStates));
    unwrittenState = data.unwrittenState;
}

CommSOEEntity& CommSOEEntity::operator=(const CommSOEEntity& data)
{
    copyFrom(data);
    return *this;
}

CommSOEEntity* CommSOEEntity::clone() const
{
    return new CommSOEEntity(*this, nullptr);
}

QString CommSOEEntity::getEventText() const
{
    switch (soeType) {
    case SOE_TYPE_AO_START:
        return tr(ConstTextUtility::TEST_AOSTART.toUtf8().constData()) + "\n" + channelLines();
    case SOE_TYPE_AO_SWITCH:
        return tr(ConstTextUtility::TEST_AOSWITCH.toUtf8().constData()) + "\n" + channelLines();
    case SOE_TYPE_AO_STATE:
        return tr(ConstTextUtility::TEST_AOSTATE.toUtf8().constData()) + QString::number(outputStateIndex) + "\n"
            + channelLines();
    case SOE_TYPE_AO_STOP:
        return tr(ConstTextUtility::TEST_AOSTOP.toUtf8().constData()) + "\n";
    case SOE_TYPE_BO_SWITCH:
        return changeLines(tr(ConstTextUtility::BO.toUtf8().constData()), outputBOStates);
    case SOE_TYPE_BI_SWITCH:
        return changeLines(tr(ConstTextUtility::BI.toUtf8().constData()), outputBIStates);
    case SOE_TYPE_BOPLUSE_START:
        return tr(ConstTextUtility::TEST_START.toUtf8().constData()) + "\n";
    case SOE_TYPE_BOPLUSE_STOP:
        if (unwrittenState > 0)
            return tr(ConstTextUtility::TEST_STOP.toUtf8().constData()) + "\n"
                + tr(ConstTextUtility::TEST_STATE_UNWRITTEN.toUtf8().constData()).arg(unwrittenState) + "\n";
        return tr(ConstTextUtility::TEST_STOP.toUtf8().constData()) + "\n";
    case SOE_TYPE_NONE:
        break;
    }
    return QString();
}

QString CommSOEEntity::getEventLongText() const
{
    return eventUtcTime.toString(QLatin1String(kTimeFormat)) + " " + getEventText();
}

QString CommSOEEntity::getEventShortText() const
{
    const QString when = runtimeType == RUNTIME_TYPE_RUNNING
        ? QString::number(eventRunTime, 'f', 3) + "s"
        : eventUtcTime.toString(QLatin1String(kTimeFormat));
    return when + " " + getEventText();
}

QString CommSOEEntity::channelLines() const
{
    if (!outputEnable)
        return QString();
    static const char* const kLines[3] = {
        "  UA:%1,%2 IA:%3,%4\n",
        "  UB:%1,%2 IB:%3,%4\n",
        "  UC:%1,%2 IC:%3,%4\n",
    };
    QString text;
    for (int phase = 0; phase < 3; ++phase) {
        const int v = AO_PORT_TYPE_UA + phase;
        const int i = AO_PORT_TYPE_IA + phase;
        text += QString::fromLatin1(kLines[phase])
                    .arg(amplitude(outputRanges[v], 7), angle(outputAngles[v]), amplitude(outputRanges[i], 6),
                         angle(outputAngles[i]));
    }

    // The fourth line when either side is four-phase; the fields of a
    // three-phase side show "-".
    const CommDriverConfigureHardData* hard = globalConfigureHardData;
    const bool voltageFour = hard && hard->volPhaseType == 1;
    const bool currentFour = hard && hard->curPhaseType == 1;
    if (voltageFour || currentFour) {
        text += QStringLiteral("  UX:%1,%2 IX:%3,%4\n")
                    .arg(voltageFour ? amplitude(outputRanges[AO_PORT_TYPE_UX], 7) : absent(7),
                         voltageFour ? angle(outputAngles[AO_PORT_TYPE_UX]) : absent(5),
                         currentFour ? amplitude(outputRanges[AO_PORT_TYPE_IX], 6) : absent(6),
                         currentFour ? angle(outputAngles[AO_PORT_TYPE_IX]) : absent(5));
    }
    return text;
}

QString CommSOEEntity::changeLines(const QString& label, const qint32 states[4])
{
    const QString on2off = tr(ConstTextUtility::BIO_ON2OFF.toUtf8().constData());
    const QString off2on = tr(ConstTextUtility::BIO_OFF2ON.toUtf8().constData());
    QString text;
    for (int i = 0; i < 2; ++i)
        if (states[i] == BIO_SWITCH_TYPE_ON2OFF)
            text += label + QString::number(i + 1) + " " + on2off + "\n";
    for (int i = 0; i < 2; ++i)
        if (states[i] == BIO_SWITCH_TYPE_OFF2ON)
            text += label + QString::number(i + 1) + " " + off2on + "\n";
    return text;
}

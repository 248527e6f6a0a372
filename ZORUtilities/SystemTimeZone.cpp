#include "SystemTimeZone.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "BaseXmlUtilities.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QVector>

#include <algorithm>
#include <utility>

namespace {
const char* const kFileName = "/dat/CUSTOM_TIMEZONES.XML";
const char* const kRootTag = "TimeZones";
const char* const kZoneTag = "TimeZone";
const char* const kIdTag = "Id";
const char* const kOffsetTag = "OffsetName";
const char* const kShortNameTag = "ShortName_zhCN";
const char* const kCommentZhTag = "Comment_zhCN";
const char* const kCommentEnTag = "Comment_enUS";
const int kLanguageChinese = 0;
const int kIndent = 4;

// Two ASCII digits at pos as a number; 0 when the text is too short or a
// character is not a digit.
int twoDigits(const QString& text, int pos)
{
    if (text.size() < pos + 2)
        return 0;
    const QChar hi = text.at(pos);
    const QChar lo = text.at(pos + 1);
    if (hi < QLatin1Char('0') || hi > QLatin1Char('9') || lo < QLatin1Char('0') || lo > QLatin1Char('9'))
        return 0;
    return (hi.unicode() - '0') * 10 + (lo.unicode() - '0');
}
}

SystemTimeZone::SystemTimeZone(QObject* parent)
    : QObject(parent)
{
    systemTimeZoneIds.clear();
    customTimeZoneIds.clear();
    customTimeZoneOffsets.clear();
    customTimeZoneComments.clear();
}

SystemTimeZone::~SystemTimeZone()
{
    systemTimeZoneIds.clear();
    customTimeZoneIds.clear();
    customTimeZoneOffsets.clear();
    customTimeZoneComments.clear();
}

void SystemTimeZone::setLanuageType(int type)
{
    lanuageType = type;
}

int SystemTimeZone::getLanuageType() const
{
    return lanuageType;
}

void SystemTimeZone::updateTimeZones(bool useSystem)
{
    systemTimeZoneEnable = useSystem;
    customListRefused = false;
    systemTimeZoneIds.clear();
    customTimeZoneIds.clear();
    customTimeZoneOffsets.clear();
    customTimeZoneComments.clear();

    if (!useSystem) {
        loadCustomTimeZones(BaseUtilityHelper::getAppRootPath() + QLatin1String(kFileName));
        return;
    }

    // One zone per distinct comment (the database lists many aliases), the
    // first id in the database's order kept; then sorted by comment.
    QVector<std::pair<QString, QByteArray>> kept;
    QSet<QString> seenComments;
    const QList<QByteArray> ids = QTimeZone::availableTimeZoneIds();
    for (const QByteArray& id : ids) {
        if (id.isEmpty())
            continue;
        const QString comment = QTimeZone(id).comment();
        if (seenComments.contains(comment))
            continue;
        seenComments.insert(comment);
        kept.append({comment, id});
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const std::pair<QString, QByteArray>& a, const std::pair<QString, QByteArray>& b) {
                         return a.first < b.first;
                     });
    for (const auto& entry : kept)
        systemTimeZoneIds.append(entry.second);
}

bool SystemTimeZone::loadCustomTimeZones(const QString& path)
{
    customTimeZoneIds.clear();
    customTimeZoneOffsets.clear();
    customTimeZoneComments.clear();
    customListRefused = false;

    QDomDocument doc;
    QString error;
    if (!BaseXmlFile::parseFile(doc, path, BaseXmlFile::Kind::TimeZones, &error)) {
        // No list; a file that is there is said to be refused, and why.
        customListRefused = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
        if (customListRefused)
            qWarning().noquote() << "Time zones: the list" << path << "is not read:" << error;
        return false;
    }

    const QString commentTag =
        QLatin1String(lanuageType == kLanguageChinese ? kCommentZhTag : kCommentEnTag);
    const QDomElement zones = doc.firstChildElement(kRootTag);
    const QDomNodeList list = zones.elementsByTagName(kZoneTag);
    for (int i = 0; i < list.count(); ++i) {
        const QDomNode node = list.at(i);
        if (!node.isElement())
            continue;
        const QDomElement zone = node.toElement();
        customTimeZoneIds.append(BaseXmlUtilities::getValue(&zone, QLatin1String(kIdTag), QString()));
        customTimeZoneOffsets.append(
            BaseXmlUtilities::getValue(&zone, QLatin1String(kOffsetTag), QString()));
        customTimeZoneComments.append(BaseXmlUtilities::getValue(&zone, commentTag, QString()));
    }
    return true;
}

bool SystemTimeZone::saveSystemTimeZones(const QString& path)
{
    return saveTimeZones(path, systemTimeZoneIds);
}

bool SystemTimeZone::saveTimeZones(const QString& path, const QByteArrayList& ids)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;

    QDomDocument doc;
    doc.appendChild(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                    QStringLiteral("version=\"1.0\" encoding=\"utf-8\"")));
    QDomElement root = doc.createElement(kRootTag);
    doc.appendChild(root);

    const QLocale chinese(QLocale::Chinese, QLocale::China);
    for (const QByteArray& id : ids) {
        const QTimeZone zone(id);
        QDomElement item;
        BaseXmlUtilities::newElement(&item, &root, &doc, QLatin1String(kZoneTag));
        BaseXmlUtilities::setValue(&item, &doc, QLatin1String(kIdTag), QString::fromUtf8(id));
        BaseXmlUtilities::setValue(&item, &doc, QLatin1String(kOffsetTag),
                                   zone.displayName(QTimeZone::StandardTime, QTimeZone::OffsetName));
        BaseXmlUtilities::setValue(&item, &doc, QLatin1String(kShortNameTag),
                                   zone.displayName(QTimeZone::StandardTime, QTimeZone::ShortName, chinese));
        BaseXmlUtilities::setValue(&item, &doc, QLatin1String(kCommentZhTag), zone.comment());
        BaseXmlUtilities::setValue(&item, &doc, QLatin1String(kCommentEnTag), zone.comment());
    }

    return BaseXmlFile::save(doc, path, kIndent, QDomNode::EncodingFromDocument, BaseXmlFile::Kind::TimeZones);
}

bool SystemTimeZone::isSystemTimeZoneEnabled() const
{
    return systemTimeZoneEnable;
}

int SystemTimeZone::getTimeZoneCount() const
{
    return systemTimeZoneEnable ? systemTimeZoneIds.size() : customTimeZoneIds.size();
}

bool SystemTimeZone::validIndex(int index) const
{
    return index >= 0 && index < getTimeZoneCount();
}

QByteArray SystemTimeZone::idAt(int index) const
{
    if (!validIndex(index))
        return QByteArray();
    return systemTimeZoneEnable ? systemTimeZoneIds.at(index) : customTimeZoneIds.at(index).toUtf8();
}

QString SystemTimeZone::getTimeZoneId(int index) const
{
    return QString::fromUtf8(idAt(index));
}

QString SystemTimeZone::getTimeZoneDisplayName(int index) const
{
    if (!validIndex(index))
        return QString();
    if (systemTimeZoneEnable) {
        const QByteArray id = systemTimeZoneIds.at(index);
        const QString comment = QTimeZone(id).comment();
        return comment.isEmpty() ? QString::fromUtf8(id) : comment;
    }
    const QString& id = customTimeZoneIds.at(index);
    if (index >= customTimeZoneComments.size())
        return id;
    const QString& comment = customTimeZoneComments.at(index);
    if (!comment.isEmpty())
        return comment;
    const QString offset = index < customTimeZoneOffsets.size() ? customTimeZoneOffsets.at(index) : QString();
    return offset + QStringLiteral(" | ") + id;
}

int SystemTimeZone::getTimeZoneOffsetFromUtc(int index) const
{
    const QByteArray id = idAt(index);
    if (id.isEmpty())
        return 0;
    const QTimeZone zone(id);
    if (!zone.isValid())
        return 0;
    return zone.offsetFromUtc(QDateTime::currentDateTimeUtc());
}

bool SystemTimeZone::getTimeZoneDaylightEnable(int index) const
{
    const QByteArray id = idAt(index);
    if (id.isEmpty())
        return false;
    const QTimeZone zone(id);
    return zone.isValid() && zone.hasDaylightTime();
}

bool SystemTimeZone::getTimeZone(int index, QTimeZone& out) const
{
    if (!validIndex(index))
        return false;
    out = QTimeZone(idAt(index));
    return out.isValid();
}

int SystemTimeZone::getTimeZoneIndexFromId(const QString& id) const
{
    const int count = getTimeZoneCount();
    for (int i = 0; i < count; ++i) {
        const QString candidate =
            systemTimeZoneEnable ? QString::fromUtf8(systemTimeZoneIds.at(i)) : customTimeZoneIds.at(i);
        if (candidate.compare(id, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int SystemTimeZone::getCustomTZOffsetMin(int index) const
{
    if (index < 0 || index >= customTimeZoneOffsets.size())
        return 0;
    return offsetTextToMinutes(customTimeZoneOffsets.at(index));
}

// "UTC", a sign, "hh:mm" exactly; any sign other than "+" counts as negative.
// Anything else is offset 0.
int SystemTimeZone::offsetTextToMinutes(const QString& offsetName)
{
    const auto isDigit = [&offsetName](int pos) {
        return offsetName.at(pos) >= QLatin1Char('0') && offsetName.at(pos) <= QLatin1Char('9');
    };
    if (offsetName.size() != 9 || !offsetName.startsWith(QLatin1String("UTC")) || offsetName.at(6) != QLatin1Char(':')
        || !isDigit(4) || !isDigit(5) || !isDigit(7) || !isDigit(8))
        return 0;
    const int magnitude = twoDigits(offsetName, 4) * 60 + twoDigits(offsetName, 7);
    return offsetName.at(3) == QLatin1Char('+') ? magnitude : -magnitude;
}

#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimeZone>

// The time zones offered by the clock-synchronisation settings.
//
// File list (the one the application uses): read from
// application root + "/dat/CUSTOM_TIMEZONES.XML":
//   <TimeZones>
//     <TimeZone>
//       <Id>Asia/Shanghai</Id>            IANA id
//       <OffsetName>UTC+08:00</OffsetName> fixed offset, "UTC" sign hh ":" mm
//       <Comment_zhCN>...</Comment_zhCN>  shown when the language is Chinese
//       <Comment_enUS>...</Comment_enUS>  shown for every other language
//     </TimeZone>
//   </TimeZones>
// A missing child reads as an empty text. "ShortName_zhCN", written by
// saveSystemTimeZones(), is ignored when reading.
//
// System list: the zones of the operating system's database, one per distinct
// comment, sorted by comment.
//
// Every lookup checks its index against the active list: an index outside it
// (negative included) gives an empty text, 0, false or -1, never a crash.
class SystemTimeZone : public QObject
{
    Q_OBJECT
public:
    explicit SystemTimeZone(QObject* parent = nullptr);
    ~SystemTimeZone() override;

    // Language whose comments the file list shows (the configuration's
    // lanuageType: 0 Chinese, any other value English). Read at load time,
    // so set it before updateTimeZones(false). Default 1 (English).
    void setLanuageType(int lanuageType);
    int getLanuageType() const;

    // useSystem false: the file list from the application root's data folder;
    // true: the operating system's list.
    void updateTimeZones(bool useSystem);
    // Replaces the file list with the zones of the file at path. False and
    // the list empty when the file is not read: it is missing, or (a log
    // line says why) no regular file (a FIFO, a device, a folder), does not
    // parse or is beyond the bounds of its kind (BaseXmlFile). True when it
    // is read, even when it holds no "TimeZones" element.
    bool loadCustomTimeZones(const QString& path);
    // Whether the last load of the file list found a file there that it
    // refused (see loadCustomTimeZones): the list shows nothing.
    bool isCustomListRefused() const { return customListRefused; }
    // Writes the system list in the file format (creating the folder); true
    // when the whole file was written.
    bool saveSystemTimeZones(const QString& path);
    // Writes the zones of ids in the file format, each as the system database
    // has it (saveSystemTimeZones writes the system list).
    static bool saveTimeZones(const QString& path, const QByteArrayList& ids);

    // Whether the active list is the operating system's.
    bool isSystemTimeZoneEnabled() const;

    int getTimeZoneCount() const;
    QString getTimeZoneId(int index) const;
    // File list: the comment, else offset text + " | " + id.
    // System list: the zone's comment, else its id.
    QString getTimeZoneDisplayName(int index) const;
    // Seconds east of UTC now by the system database; 0 for an unknown id.
    int getTimeZoneOffsetFromUtc(int index) const;
    bool getTimeZoneDaylightEnable(int index) const;
    // out := the id's zone; true when the index is in the list and the
    // system knows the zone.
    bool getTimeZone(int index, QTimeZone& out) const;
    // First index whose id equals id ignoring case; -1 when none.
    int getTimeZoneIndexFromId(const QString& id) const;
    // The file zone's fixed offset in minutes ("UTC+05:30" gives 330, any
    // sign other than '+' is negative); 0 for an index outside the file list.
    int getCustomTZOffsetMin(int index) const;

    // The fixed offset in minutes of one offset text, by the rule above; a
    // text too short or with non-digits in a field reads those fields as 0.
    static int offsetTextToMinutes(const QString& offsetName);

private:
    bool validIndex(int index) const;
    QByteArray idAt(int index) const;

    bool systemTimeZoneEnable = true;
    QByteArrayList systemTimeZoneIds;
    QStringList customTimeZoneIds;
    QStringList customTimeZoneOffsets;
    QStringList customTimeZoneComments;
    int lanuageType = 1;
    bool customListRefused = false;
};

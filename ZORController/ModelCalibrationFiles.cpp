// Calibration files: one XML file of coefficients per kind in the application
// root's "dat" folder (the staging folder "dat/temp" during export and
// import), with the older INI ".dat" form of the five AC kinds read when the
// XML file is missing.
//
//   <root>
//       <AHEAD><TYPE>ACAMP</TYPE><VERSION>1.0.0000</VERSION></AHEAD>
//       <UA-L0><AMP_P0_FACTOR>1</AMP_P0_FACTOR>...</UA-L0>
//       ... "UA-L1" .. "IX-L1" (AUXDC: "UA-L0" only)
//   </root>
//
// Files are written through BaseXmlHelper (a complete new file replaces the
// old one at once). They are parsed here (BaseXmlFile), not through the
// helper, because a file that does not parse must be told apart from a
// missing one.

#include "ModelCalibrationEntity.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "BaseXmlHelper.h"
#include "ConstTextUtility.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QDebug>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QTextCodec>

#include <algorithm>
#include <cmath>
#include <memory>
#include <unistd.h>

namespace {

const char* const kPortNames[ModelCalibrationEntity::kPortCount] = {
    "UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};

QString groupName(int port, int level)
{
    return QString::fromLatin1(kPortNames[port]) + QStringLiteral("-L") + QString::number(level);
}

// The largest magnitudes of the coefficients a calibration run gives
// (computeFactor), with room to spare. A factor is a step between two of a
// kind's points (none above 300) over a step of the measures no smaller than
// the run's threshold (1e-6 at the least), or a point (at most 60) over a
// measure no smaller than 1e-5: below 3e8. An offset is a point less a
// measure (the page takes at most 600) times such a factor, or a measure
// itself (a phase's less 360): below 2e11. Both lie far inside the single
// precision of the driver's record.
constexpr double kMaxFactor = 1e9;
constexpr double kMaxOffset = 1e12;

// A stored coefficient of key: a finite number a run can give. Anything else
// is damage.
bool takeValue(const QString& key, double v, double* value)
{
    const double bound = key.endsWith(QLatin1String("_FACTOR")) ? kMaxFactor : kMaxOffset;
    if (!std::isfinite(v) || std::fabs(v) > bound)
        return false;
    *value = v;
    return true;
}

bool parseValue(const QString& key, const QString& text, double* value)
{
    if (!BaseXmlFile::isStorable(text))
        return false;
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && takeValue(key, v, value);
}

// The version a file's text stands for: none (empty or only white space, which
// the XML reader drops: any Unicode white space, U+00A0 and U+3000 too) is the
// default, so that what is written reads back the same from either form.
QString readVersion(const QString& text)
{
    for (const QChar c : text) {
        if (!c.isSpace())
            return text;
    }
    return ConstTextUtility::CALIBRATION_VERSION;
}

// A stored file opened for reading, when it is a regular file (a FIFO or a
// device is never waited on: it reads as unreadable). The staging folder's
// (export, import) through the folder held open, not through a link in its
// place: a link planted there reads as unreadable.
bool openForReading(QFile& file, bool staged, QString* why = nullptr)
{
    BaseXmlFile::Read read = BaseXmlFile::Read::Failed;
    const int fd = staged ? zoplat::openCalibrationStagingFile(QFileInfo(file.fileName()).fileName())
                          : BaseXmlFile::openRegularFile(file.fileName(), true, &read);
    if (fd < 0) {
        if (why)
            *why = staged                             ? QStringLiteral("not a regular file of the staging folder")
                : read == BaseXmlFile::Read::NotAFile ? QStringLiteral("not a regular file")
                                                      : QStringLiteral("could not be opened");
        return false;
    }
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    if (why)
        *why = file.errorString();
    return false;
}

// Where this thread's warnings of the readers go (WarningSink), else the
// debug output.
thread_local void (*warningLine)(const QString&) = nullptr;

void warn(const QString& line)
{
    if (warningLine)
        warningLine(line);
    else
        qWarning("%s", qPrintable(line));
}

QString shown(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

// Whether the declaration of a parsed document names no encoding, or one a
// reader knows: the parser reads an unknown one as UTF-8 all the same.
bool declaresKnownEncoding(const QDomDocument& doc)
{
    const QDomNode first = doc.firstChild();
    if (!first.isProcessingInstruction() || first.nodeName() != QLatin1String("xml"))
        return true;
    static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const QRegularExpressionMatch match = encoding.match(first.toProcessingInstruction().data());
    return !match.hasMatch() || QTextCodec::codecForName(match.captured(1).toLatin1()) != nullptr;
}

// A file that parses but holds a text no XML file can carry (BaseXmlFile).
bool holdsUnstorableText(const QString& path)
{
    QFile file(path);
    QDomDocument doc;
    return openForReading(file, true) && BaseXmlFile::parse(doc, &file, BaseXmlFile::Kind::Calibration) && !BaseXmlFile::isStorable(doc);
}

} // namespace

// What a reader found unreadable in one file, told in one line.
struct ModelCalibrationEntity::ReadProblems
{
    bool version = false;
    int values = 0;
    QString first;   // the first unreadable value: group, key, text

    bool any() const { return version || values > 0; }
    QString told(const QString& path, const QString& versionKept) const
    {
        QString line = QStringLiteral("Calibration file %1 is damaged:").arg(shown(path));
        if (version)
            line += QStringLiteral(" an unreadable version (the version stays %1)").arg(versionKept);
        if (values > 0)
            line += QStringLiteral("%1 %2 unreadable value(s), the first %3")
                        .arg(version ? QStringLiteral(";") : QString())
                        .arg(values)
                        .arg(first);
        return line;
    }
    void value(const QString& group, const QString& key, const QString& text)
    {
        if (values++ > 0)
            return;
        // Kept on its line: no control character.
        QString shownText = text.left(40);
        for (QChar& c : shownText) {
            if (c.unicode() < 0x20u || c.unicode() == 0x7Fu)
                c = QLatin1Char('?');
        }
        first = group + QLatin1Char(' ') + key + QLatin1Char(' ') + shownText;
    }
};

void ModelCalibrationEntity::warning(const QString& line)
{
    warn(line);
}

ModelCalibrationEntity::WarningSink::WarningSink(void (*line)(const QString&)) : previous(warningLine)
{
    warningLine = line;
}

ModelCalibrationEntity::WarningSink::~WarningSink()
{
    warningLine = previous;
}

struct ModelCalibrationEntity::FileKind
{
    const char* word;   // "TYPE" of the file
    bool filtered;      // export and import keep only the chosen port groups
    bool legacy;        // the older ".dat" form exists
    bool firstCellOnly; // only "UA-L0" is stored
};

struct ModelCalibrationEntity::FileKey
{
    QString name;
    double* cells;      // [8][2][count] array
    int count;
    int point;

    double& at(int port, int level) const { return cells[(port * kLevelCount + level) * count + point]; }
};

const ModelCalibrationEntity::FileKind& ModelCalibrationEntity::fileKind(CALType type)
{
    static const FileKind kinds[] = {
        {"", false, false, false},
        {"ACAMP", true, true, false},
        {"ACDCO", true, true, false},
        {"ACPHA", true, true, false},
        {"ACFRQ", true, true, false},
        {"ACFAC", true, true, false},
        {"AUXDC", false, false, true},
        {"DCAMP", true, false, false},
        {"LLOAMP", false, false, false},
        {"LLODCO", false, false, false},
        {"LLODC", false, false, false},
    };
    return kinds[(type >= CAL_TYPE_ACAMP && type <= CAL_TYPE_LLODC) ? type : 0];
}

QString ModelCalibrationEntity::getFileName(CALType type)
{
    switch (type) {
    case CAL_TYPE_ACAMP: return QStringLiteral("calacamp");
    case CAL_TYPE_ACDCO: return QStringLiteral("calacdco");
    case CAL_TYPE_ACPHA: return QStringLiteral("calacpha");
    case CAL_TYPE_ACFRQ: return QStringLiteral("calacfrq");
    case CAL_TYPE_ACFAC: return QStringLiteral("calacfac");
    case CAL_TYPE_AUXDC: return QStringLiteral("calauxdc");
    case CAL_TYPE_DCAMP: return QStringLiteral("caldcamp");
    case CAL_TYPE_LLOAMP: return QStringLiteral("callloamp");
    case CAL_TYPE_LLODCO: return QStringLiteral("calllodco");
    case CAL_TYPE_LLODC: return QStringLiteral("calllodc");
    default: return QString();
    }
}

// The keys of one port-level group, in file order.
QList<ModelCalibrationEntity::FileKey> ModelCalibrationEntity::fileKeys(CALType type)
{
    QList<FileKey> keys;
    const auto factorOffset = [&keys](const char* prefix, double* factors, double* offsets, int count) {
        for (int k = 0; k < count; ++k) {
            const QString stem = QString::fromLatin1(prefix) + QStringLiteral("_P") + QString::number(k);
            keys.append({stem + QStringLiteral("_FACTOR"), factors, count, k});
            keys.append({stem + QStringLiteral("_OFFSET"), offsets, count, k});
        }
    };
    switch (type) {
    case CAL_TYPE_ACAMP:
        factorOffset("AMP", &acampAmpFactors[0][0][0], &acampAmpOffsets[0][0][0], 4);
        break;
    case CAL_TYPE_ACDCO:
        keys.append({QStringLiteral("AMP_P0_OFFSET"), &acdcoAmpOffsets[0][0][0], 1, 0});
        break;
    case CAL_TYPE_ACPHA:
        keys.append({QStringLiteral("PHA_P0_OFFSET"), &acphaPhaOffsets[0][0][0], 1, 0});
        break;
    case CAL_TYPE_ACFRQ:
        keys.append({QStringLiteral("FRQ_P0_FACTOR"), &acfrqFrqFactors[0][0][0], 1, 0});
        break;
    case CAL_TYPE_ACFAC:
        for (int k = 0; k < 10; ++k)
            keys.append({QStringLiteral("ACFAC_P%1_FACTOR").arg(k), &acfacFrqFactors[0][0][0], 10, k});
        break;
    case CAL_TYPE_AUXDC:
        factorOffset("AUXDC", &auxdcFactors[0][0][0], &auxdcOffsets[0][0][0], 5);
        break;
    case CAL_TYPE_DCAMP:
        factorOffset("DCAMP", &dcampAmpFactors[0][0][0], &dcampAmpOffsets[0][0][0], 2);
        break;
    case CAL_TYPE_LLOAMP:
        factorOffset("AMP", &lloampAmpFactors[0][0][0], &lloampAmpOffsets[0][0][0], 4);
        break;
    case CAL_TYPE_LLODCO:
        keys.append({QStringLiteral("AMP_P0_OFFSET"), &llodcoAmpOffsets[0][0][0], 1, 0});
        break;
    case CAL_TYPE_LLODC:
        factorOffset("DCAMP", &llodcAmpFactors[0][0][0], &llodcAmpOffsets[0][0][0], 2);
        break;
    default:
        break;
    }
    return keys;
}

QString ModelCalibrationEntity::filePath(CALType type, const char* extension) const
{
    return BaseUtilityHelper::getAppRootPath() + QStringLiteral("/dat/")
           + (exEnable ? QStringLiteral("temp/") : QString()) + getFileName(type)
           + QString::fromLatin1(extension);
}

bool ModelCalibrationEntity::groupPasses(const FileKind& kind, int port) const
{
    if (!exEnable || !kind.filtered)
        return true;
    return port < AO_PORT_TYPE_IA ? (exPaoType & EX_PAO_TYPE_U) != 0 : (exPaoType & EX_PAO_TYPE_I) != 0;
}

void ModelCalibrationEntity::sendSync()
{
    zoplat::runCommand(QStringLiteral("sync"));
    zoplat::runCommand(QStringLiteral("sync"));
}

void ModelCalibrationEntity::markDamaged(CALType type, const QString& path, Damage why)
{
    if (!damagedTypes.contains(type))
        damagedTypes.append(type);
    damagedFiles.append({type, QFileInfo(path).fileName(), why});
}

QList<ModelCalibrationEntity::CALType> ModelCalibrationEntity::getDamagedTypes() const
{
    QMutexLocker lock(&mutex);
    return damagedTypes;
}

QStringList ModelCalibrationEntity::getDamagedFiles(CALType type) const
{
    QMutexLocker lock(&mutex);
    QStringList names;
    for (const DamagedFile& file : damagedFiles) {
        if (file.type == type)
            names << file.name;
    }
    return names;
}

QList<ModelCalibrationEntity::DamagedFile> ModelCalibrationEntity::getDamaged() const
{
    QMutexLocker lock(&mutex);
    return damagedFiles;
}

bool ModelCalibrationEntity::told(CALType type, const QString& path, Damage why) const
{
    const QString name = QFileInfo(path).fileName();
    return std::any_of(toldDamaged.begin(), toldDamaged.end(), [&](const DamagedFile& file) {
        return file.type == type && file.name == name && file.why == why;
    });
}

void ModelCalibrationEntity::clearDamaged()
{
    QMutexLocker lock(&mutex);
    damagedTypes.clear();
    damagedFiles.clear();
}

namespace {

// A stored file as it was: put back byte for byte (a link as a link), or
// removed when there was none. Anything else there is left alone.
struct KeptFile
{
    enum { Absent, Regular, Link, Other } kind = Other;
    QByteArray bytes;
    QString linkTarget;

    static KeptFile of(const QString& path)
    {
        KeptFile k;
        const QFileInfo info(path);
        if (info.isSymLink()) {
            k.kind = Link;
            k.linkTarget = info.symLinkTarget();
        } else if (!info.exists()) {
            k.kind = Absent;
        } else if (info.isFile()) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) {
                k.kind = Regular;
                k.bytes = file.readAll();
            }
        }
        return k;
    }

    void putBack(const QString& path) const
    {
        switch (kind) {
        case Absent:
            QFile::remove(path);
            break;
        case Link:
            if (QFileInfo(path).symLinkTarget() != linkTarget && QFile::remove(path))
                QFile::link(linkTarget, path);
            break;
        case Regular: {
            if (QFile::exists(path)) {
                QFile now(path);
                if (now.open(QIODevice::ReadOnly) && now.readAll() == bytes)
                    break;
            }
            QSaveFile file(path);
            if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
                && ::fsync(file.handle()) == 0)
                file.commit();
            break;
        }
        case Other:
            break;
        }
    }
};

} // namespace

// ---- One kind ----------------------------------------------------------------------------

bool ModelCalibrationEntity::writeKind(CALType type)
{
    QMutexLocker lock(&mutex);
    const FileKind& kind = fileKind(type);
    const QString path = filePath(type, ".xml");

    BaseXmlHelper xml(path, false, BaseXmlFile::Kind::Calibration);
    xml.beginGroup(QStringLiteral("AHEAD"));
    xml.setValue(QStringLiteral("TYPE"), QString::fromLatin1(kind.word));
    xml.setValue(QStringLiteral("VERSION"), factorVersion);
    xml.endGroup();

    const QList<FileKey> keys = fileKeys(type);
    for (int p = 0; p < kPortCount; ++p) {
        for (int l = 0; l < kLevelCount; ++l) {
            if ((kind.firstCellOnly && (p != 0 || l != 0)) || !groupPasses(kind, p))
                continue;
            xml.beginGroup(groupName(p, l));
            for (const FileKey& key : keys) {
                // The device has one frequency factor, kept in UA level 1.
                const double value = type == CAL_TYPE_ACFRQ ? key.at(AO_PORT_TYPE_UA, 1) : key.at(p, l);
                xml.setValue(key.name, value);
            }
            xml.endGroup();
        }
    }

    const bool written = xml.sync();
    if (!written)
        qWarning() << "Calibration file not written:" << path;
    sendSync();
    return written;
}

bool ModelCalibrationEntity::readXml(CALType type, const QDomElement& root, ReadProblems* problems)
{
    // A missing group or key keeps its value (an export of some outputs
    // leaves the others out), but a file with no coefficient of its kind (a
    // key of the kind, with a value, in a group of the kind: a head alone,
    // empty groups, another kind's keys) was written by none of the
    // instrument's writers.
    const FileKind& kind = fileKind(type);
    const QList<FileKey> keys = fileKeys(type);
    bool holdsAny = false;
    for (int p = 0; p < kPortCount && !holdsAny; ++p) {
        for (int l = 0; l < kLevelCount && !holdsAny; ++l) {
            if (kind.firstCellOnly && (p != 0 || l != 0))
                continue;
            const QDomElement group = root.firstChildElement(groupName(p, l));
            for (int k = 0; k < keys.size() && !group.isNull() && !holdsAny; ++k)
                holdsAny = !group.firstChildElement(keys.at(k).name).text().isEmpty();
        }
    }
    if (!holdsAny)
        return false;

    const QString version =
        root.firstChildElement(QStringLiteral("AHEAD")).firstChildElement(QStringLiteral("VERSION")).text();
    if (!BaseXmlFile::isStorable(version)) {
        // Shared by every kind: it would go into all of their files.
        problems->version = true;
    } else {
        factorVersion = readVersion(version);
    }

    for (int p = 0; p < kPortCount; ++p) {
        for (int l = 0; l < kLevelCount; ++l) {
            if ((kind.firstCellOnly && (p != 0 || l != 0)) || !groupPasses(kind, p))
                continue;
            const QDomElement group = root.firstChildElement(groupName(p, l));
            if (group.isNull())
                continue;
            for (const FileKey& key : keys) {
                const QString text = group.firstChildElement(key.name).text();
                if (text.isEmpty())
                    continue;   // missing or empty: the value stays
                if (!parseValue(key.name, text, &key.at(p, l)))
                    problems->value(groupName(p, l), key.name, text);
            }
        }
    }
    return true;
}

// False (nothing read) when the file is not one: it does not read as an INI
// file, or holds neither the version nor any key of the kind.
bool ModelCalibrationEntity::readLegacy(CALType type, const QString& path, ReadProblems* problems)
{
    QSettings ini(path, QSettings::IniFormat);
    const QList<FileKey> keys = fileKeys(type);
    bool known = ini.contains(QStringLiteral("AHEAD/VERSION"));
    for (int p = 0; p < kPortCount && !known; ++p) {
        for (int l = 0; l < kLevelCount && !known; ++l) {
            for (const FileKey& key : keys)
                known = known || ini.contains(groupName(p, l) + QLatin1Char('/') + key.name);
        }
    }
    if (ini.status() != QSettings::NoError || !known)
        return false;
    const QString version = ini.value(QStringLiteral("AHEAD/VERSION")).toString();
    if (!BaseXmlFile::isStorable(version))
        problems->version = true;
    else
        factorVersion = readVersion(version);

    for (int p = 0; p < kPortCount; ++p) {
        for (int l = 0; l < kLevelCount; ++l) {
            for (const FileKey& key : keys) {
                const QVariant stored = ini.value(groupName(p, l) + QLatin1Char('/') + key.name);
                if (!stored.isValid())
                    continue;
                bool readable = false;
                if (stored.type() == QVariant::String) {
                    const QString text = stored.toString();
                    if (text.isEmpty())
                        continue;
                    readable = parseValue(key.name, text, &key.at(p, l));
                } else {
                    bool ok = false;
                    const double value = stored.toDouble(&ok);
                    readable = ok && takeValue(key.name, value, &key.at(p, l));
                }
                if (!readable)
                    problems->value(groupName(p, l), key.name, stored.toString());
            }
        }
    }
    return true;
}

bool ModelCalibrationEntity::storedFileExists(CALType type) const
{
    return QFileInfo::exists(filePath(type, ".xml"))
           || (fileKind(type).legacy && !exEnable && QFileInfo::exists(filePath(type, ".dat")));
}

bool ModelCalibrationEntity::readKind(CALType type)
{
    QMutexLocker lock(&mutex);
    const FileKind& kind = fileKind(type);
    const QString xmlPath = filePath(type, ".xml");
    const QString datPath = filePath(type, ".dat");
    bool taken = false;

    BaseXmlFile::removeStaleTemporaries(xmlPath);
    bool xmlTaken = false;
    if (QFileInfo::exists(xmlPath)) {
        QFile file(xmlPath);
        QDomDocument doc;
        QString error;
        int line = 0;
        int column = 0;
        const bool parsed = openForReading(file, exEnable, &error)
            && BaseXmlFile::parse(doc, &file, BaseXmlFile::Kind::Calibration, &error, &line, &column);
        if (parsed && declaresKnownEncoding(doc)) {
            ReadProblems problems;
            xmlTaken = readXml(type, doc.documentElement(), &problems);
            if (!xmlTaken) {
                if (!told(type, xmlPath, DAMAGE_NOTHING))
                    warn(QStringLiteral("Calibration file holds no coefficient of its kind, taken as missing: %1")
                             .arg(shown(xmlPath)));
                markDamaged(type, xmlPath, DAMAGE_NOTHING);
            } else if (problems.any()) {
                if (!told(type, xmlPath, DAMAGE_VALUE))
                    warn(problems.told(xmlPath, factorVersion));
                markDamaged(type, xmlPath, DAMAGE_VALUE);
            }
        } else {
            // Taken as missing: the older form, if any, is read instead.
            if (parsed)
                error = QStringLiteral("declares an encoding no reader knows");
            if (line > 0)
                error += QStringLiteral(" (line %1 column %2)").arg(line).arg(column);
            const Damage why = BaseXmlFile::refusalOf(error) == BaseXmlFile::Refusal::BeyondBounds
                ? DAMAGE_BEYOND_BOUNDS
                : DAMAGE_UNREADABLE;
            if (!told(type, xmlPath, why))
                warn(QStringLiteral("Calibration file unreadable, taken as missing: %1: %2").arg(shown(xmlPath), error));
            markDamaged(type, xmlPath, why);
        }
    }
    taken = xmlTaken;

    if (kind.legacy) {
        if (xmlTaken) {
            // The XML form replaces the older one for good.
            if (QFileInfo::exists(datPath)) {
                if (!QFile::remove(datPath))
                    warn(QStringLiteral("Older calibration file not removed: %1").arg(shown(datPath)));
                sendSync();
            }
        } else if (!exEnable && QFileInfo::exists(datPath)) {
            ReadProblems problems;
            taken = readLegacy(type, datPath, &problems);
            if (!taken) {
                warn(QStringLiteral("Calibration file unreadable: %1").arg(shown(datPath)));
                markDamaged(type, datPath, DAMAGE_UNREADABLE);
            } else if (problems.any()) {
                warn(problems.told(datPath, factorVersion));
                markDamaged(type, datPath, DAMAGE_VALUE);
            }
        }
    }

    if (type == CAL_TYPE_ACFRQ)
        spreadFrequencyFactor();
    return taken;
}

// ---- Writers and readers -----------------------------------------------------------------

bool ModelCalibrationEntity::saveACAmp() { return writeKind(CAL_TYPE_ACAMP); }
bool ModelCalibrationEntity::saveACDco() { return writeKind(CAL_TYPE_ACDCO); }
bool ModelCalibrationEntity::saveACPha() { return writeKind(CAL_TYPE_ACPHA); }
bool ModelCalibrationEntity::saveACFrq() { return writeKind(CAL_TYPE_ACFRQ); }
bool ModelCalibrationEntity::saveACFac() { return writeKind(CAL_TYPE_ACFAC); }
bool ModelCalibrationEntity::saveAuxDC() { return writeKind(CAL_TYPE_AUXDC); }
bool ModelCalibrationEntity::saveDCAmp() { return writeKind(CAL_TYPE_DCAMP); }
bool ModelCalibrationEntity::saveLLOAmp() { return writeKind(CAL_TYPE_LLOAMP); }
bool ModelCalibrationEntity::saveLLODco() { return writeKind(CAL_TYPE_LLODCO); }
bool ModelCalibrationEntity::saveLLODC() { return writeKind(CAL_TYPE_LLODC); }
bool ModelCalibrationEntity::loadACAmp() { return readKind(CAL_TYPE_ACAMP); }
bool ModelCalibrationEntity::loadACDco() { return readKind(CAL_TYPE_ACDCO); }
bool ModelCalibrationEntity::loadACPha() { return readKind(CAL_TYPE_ACPHA); }
bool ModelCalibrationEntity::loadACFrq() { return readKind(CAL_TYPE_ACFRQ); }
bool ModelCalibrationEntity::loadACFac() { return readKind(CAL_TYPE_ACFAC); }
bool ModelCalibrationEntity::loadAuxDC() { return readKind(CAL_TYPE_AUXDC); }
bool ModelCalibrationEntity::loadDCAmp() { return readKind(CAL_TYPE_DCAMP); }
bool ModelCalibrationEntity::loadLLOAmp() { return readKind(CAL_TYPE_LLOAMP); }
bool ModelCalibrationEntity::loadLLODco() { return readKind(CAL_TYPE_LLODCO); }
bool ModelCalibrationEntity::loadLLODC() { return readKind(CAL_TYPE_LLODC); }

// ---- Dispatch ----------------------------------------------------------------------------

bool ModelCalibrationEntity::save(CALType type)
{
    exPaoType = EX_PAO_TYPE_LLO | EX_PAO_TYPE_U | EX_PAO_TYPE_I;
    exEnable = false;
    if (type == CAL_TYPE_ALL) {
        // Every file is written even when an earlier one failed.
        bool written = saveACAmp();
        written = saveACDco() && written;
        written = saveACPha() && written;
        written = saveACFrq() && written;
        written = saveACFac() && written;
        written = saveAuxDC() && written;
        written = saveDCAmp() && written;
        written = saveLLOAmp() && written;
        written = saveLLODco() && written;
        written = saveLLODC() && written;
        return written;
    }
    if (type < CAL_TYPE_ACAMP || type > CAL_TYPE_LLODC)
        return false;
    return writeKind(type);
}

void ModelCalibrationEntity::load(CALType type)
{
    exPaoType = EX_PAO_TYPE_LLO | EX_PAO_TYPE_U | EX_PAO_TYPE_I;
    exEnable = false;
    // What a run's start kept is older than the files.
    runKept = RunKept();
    // A file found as the load before found it is not told again.
    toldDamaged = getDamaged();
    clearDamaged();
    if (type == CAL_TYPE_ALL) {
        initDefault(CAL_TYPE_ALL);
        loadACAmp();
        loadACDco();
        loadACPha();
        loadACFrq();
        loadACFac();
        loadAuxDC();
        loadDCAmp();
        loadLLOAmp();
        loadLLODco();
        loadLLODC();
        return;
    }
    if (type >= CAL_TYPE_ACAMP && type <= CAL_TYPE_LLODC) {
        // Nothing stored: the kind's defaults, not a run that was never saved.
        if (!storedFileExists(type))
            initDefault(type);
        readKind(type);
    }
}

bool ModelCalibrationEntity::Export(int mask)
{
    exPaoType = mask;
    exEnable = true;
    bool chosen = false;
    bool written = true;
    if (mask & EX_PAO_TYPE_LLO) {
        chosen = true;
        written = saveLLOAmp() && written;
        written = saveLLODco() && written;
        written = saveLLODC() && written;
    }
    if (mask & (EX_PAO_TYPE_U | EX_PAO_TYPE_I)) {
        chosen = true;
        written = saveACAmp() && written;
        written = saveACDco() && written;
        written = saveACPha() && written;
        written = saveACFrq() && written;
        written = saveACFac() && written;
        written = saveDCAmp() && written;
    }
    if (mask & EX_PAO_TYPE_U)
        written = saveAuxDC() && written;

    const bool saved = save(CAL_TYPE_ALL);
    if (!chosen)
        qWarning() << "Calibration export: no output group chosen, mask" << mask;
    return chosen && written && saved;
}

void ModelCalibrationEntity::takeCoefficients(ModelCalibrationEntity& from)
{
    for (int t = CAL_TYPE_ACAMP; t <= CAL_TYPE_LLODC; ++t) {
        const QList<FileKey> to = fileKeys(CALType(t));
        const QList<FileKey> source = from.fileKeys(CALType(t));
        for (int k = 0; k < to.size(); ++k) {
            for (int p = 0; p < kPortCount; ++p) {
                for (int l = 0; l < kLevelCount; ++l)
                    to[k].at(p, l) = source[k].at(p, l);
            }
        }
    }
    factorVersion = from.factorVersion;
}

bool ModelCalibrationEntity::Import(int mask)
{
    // Read over a copy: taken only when every file read whole.
    const auto scratch = std::make_unique<ModelCalibrationEntity>();
    scratch->takeCoefficients(*this);
    bool taken = false;
    const bool read = scratch->readStaged(mask, &taken);
    runKept = RunKept();
    clearDamaged();
    {
        QMutexLocker lock(&mutex);
        damagedTypes = scratch->getDamagedTypes();
        damagedFiles = scratch->getDamaged();
    }
    exPaoType = EX_PAO_TYPE_LLO | EX_PAO_TYPE_U | EX_PAO_TYPE_I;
    exEnable = false;
    if (!read || !damagedFiles.isEmpty())
        return false;
    if (!taken) {
        warn(QStringLiteral("Calibration import: no calibration file to take in, mask %1").arg(mask));
        return false;
    }
    // What is in use and the files as they are, put back when the files
    // cannot all take the import.
    const auto before = std::make_unique<ModelCalibrationEntity>();
    before->takeCoefficients(*this);
    KeptFile kept[CAL_TYPE_LLODC + 1];
    for (int t = CAL_TYPE_ACAMP; t <= CAL_TYPE_LLODC; ++t)
        kept[t] = KeptFile::of(filePath(CALType(t), ".xml"));
    takeCoefficients(*scratch);
    if (save(CAL_TYPE_ALL))
        return true;
    warn(QStringLiteral("Calibration import refused: the calibration files could not all be written; the "
                        "calibration in use and its files stay as they were"));
    takeCoefficients(*before);
    for (int t = CAL_TYPE_ACAMP; t <= CAL_TYPE_LLODC; ++t)
        kept[t].putBack(filePath(CALType(t), ".xml"));
    return false;
}

bool ModelCalibrationEntity::stagedFilesReadable()
{
    const auto scratch = std::make_unique<ModelCalibrationEntity>();
    bool taken = false;
    return scratch->readStaged(EX_PAO_TYPE_LLO | EX_PAO_TYPE_U | EX_PAO_TYPE_I, &taken)
           && scratch->getDamagedTypes().isEmpty();
}

bool ModelCalibrationEntity::readStaged(int mask, bool* taken)
{
    runKept = RunKept();
    clearDamaged();
    exPaoType = mask;
    exEnable = true;
    // Such a file is no XML file: refused whole, so that nothing of it
    // reaches the kinds or their files.
    QList<CALType> chosen;
    if (mask & EX_PAO_TYPE_LLO)
        chosen << CAL_TYPE_LLOAMP << CAL_TYPE_LLODCO << CAL_TYPE_LLODC;
    if (mask & (EX_PAO_TYPE_U | EX_PAO_TYPE_I))
        chosen << CAL_TYPE_ACAMP << CAL_TYPE_ACDCO << CAL_TYPE_ACPHA << CAL_TYPE_ACFRQ << CAL_TYPE_ACFAC << CAL_TYPE_DCAMP;
    if (mask & EX_PAO_TYPE_U)
        chosen << CAL_TYPE_AUXDC;
    for (CALType type : chosen) {
        const QString path = filePath(type, ".xml");
        if (!holdsUnstorableText(path))
            continue;
        warn(QStringLiteral("Calibration import refused: %1 holds characters no XML file can carry").arg(shown(path)));
        markDamaged(type, path, DAMAGE_UNREADABLE);
        return false;
    }
    // The readers take no older form from the staging folder: such a file
    // alone is one the import would not take.
    for (CALType type : chosen) {
        const QFileInfo xml(filePath(type, ".xml"));
        const QFileInfo dat(filePath(type, ".dat"));
        if (xml.exists() || xml.isSymLink() || !(dat.exists() || dat.isSymLink()))
            continue;
        warn(QStringLiteral("Calibration import refused: %1 is in the older form, which an import does not read")
                 .arg(shown(dat.filePath())));
        markDamaged(type, dat.filePath(), DAMAGE_OLDER_FORM);
        return false;
    }
    *taken = false;
    if (mask & EX_PAO_TYPE_LLO) {
        *taken = loadLLOAmp() || *taken;
        *taken = loadLLODco() || *taken;
        *taken = loadLLODC() || *taken;
    }
    if (mask & (EX_PAO_TYPE_U | EX_PAO_TYPE_I)) {
        *taken = loadACAmp() || *taken;
        *taken = loadACDco() || *taken;
        *taken = loadACPha() || *taken;
        *taken = loadACFrq() || *taken;
        *taken = loadACFac() || *taken;
        *taken = loadDCAmp() || *taken;
    }
    if (mask & EX_PAO_TYPE_U)
        *taken = loadAuxDC() || *taken;
    return true;
}

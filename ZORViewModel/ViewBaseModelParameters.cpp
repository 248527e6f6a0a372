// ViewBaseModel: module parameter files under the data root.
//
// <data root>/parameters/<module folder>/parameter.xml, root "DataRoot":
// the base keys (dataVersion, outputOnceOnly, normalEnable, normalTime,
// normalOutput, intervalEnable, intervalTime, intervalOutput) followed by the
// module's own elements. A save merges into the file that is there, so
// elements this model does not own stay (unless with them the file would be
// beyond the bounds its reader holds it to: then they go, and a log line
// says so), and replaces it atomically (BaseXmlFile::save). A file is read
// whole or not at all: one that does not parse, is not readable in the
// encoding it declares or holds a value its reader refuses
// (ViewParameterSetting.h) leaves the model as it was, and a save does not
// merge into one that does not parse. The base block has no page of its
// own: its amplitudes are held to the device's maxima, its angles,
// frequencies and times to what the pages give them.

#include "ViewBaseModel.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ControllerModuleTable.h"
#include "ViewParameterSetting.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCodec>

namespace {

const QString kDataRootName = QStringLiteral("DataRoot");
const QString kSdMountPoint = QStringLiteral("/mnt/sdp1");
QString parameterPath(const QString& root, const QString& folder)
{
    return root + QStringLiteral("/parameters/") + folder + QStringLiteral("/parameter.xml");
}

QDomProcessingInstruction xmlDeclaration(QDomDocument& doc)
{
    return doc.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"utf-8\""));
}

// The encoding the parser read bytes in: a byte-order mark's, else the
// declared one, else UTF-8; null for a name no codec has (the parser reads
// that as UTF-8 too, and no check is made).
QTextCodec* documentCodec(const QDomDocument& doc, const QByteArray& bytes)
{
    if (QTextCodec* marked = QTextCodec::codecForUtfText(bytes, nullptr))
        return marked;
    const QDomNode first = doc.firstChild();
    if (first.isProcessingInstruction() && first.nodeName() == QLatin1String("xml")) {
        static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
        const QRegularExpressionMatch declared = encoding.match(first.nodeValue());
        if (declared.hasMatch())
            return QTextCodec::codecForName(declared.captured(1).toLatin1());
    }
    return QTextCodec::codecForName("UTF-8");
}

// The line of the first bytes that do not read in codec, 0 when all do.
int unreadableLine(const QByteArray& bytes, QTextCodec* codec)
{
    if (!codec)
        return 0;
    QTextCodec::ConverterState state;
    const QString text = codec->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0)
        return 0;
    return text.leftRef(std::max(0, text.indexOf(QChar(QChar::ReplacementCharacter)))).count(QLatin1Char('\n')) + 1;
}

// What a read refused, for the page.
QString readNoteText(const BaseXmlUtilities::ReadNote& note)
{
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    if (note.kind == BaseXmlUtilities::ReadNote::OUTSIDE_LIMITS)
        return ViewBaseModel::tr("%1 = %2 超出 %3 … %4。")
            .arg(note.key, note.value, number(note.low), number(note.high));
    if (note.kind == BaseXmlUtilities::ReadNote::REPEATED)
        return ViewBaseModel::tr("%1 在文件中出现了不止一次。").arg(note.key);
    return ViewBaseModel::tr("%1 = “%2” 不是此页可以接受的值。").arg(note.key, note.value);
}

// The values a read held to the page's limits, for the page: each on a
// line, named as the page names it.
QString heldNoteText(const QVector<ParameterRead::HeldValue>& held, const std::function<QString(const QString&)>& name)
{
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    QStringList lines;
    for (const ParameterRead::HeldValue& v : held)
        lines << ViewBaseModel::tr("%1 = %2 超出此页范围，按 %3 读入。").arg(name(v.key), number(v.value), number(v.held));
    return lines.join(QLatin1Char('\n'));
}

// Moves a refused page file aside; its new name, "" when it stays.
QString keepRefusedFile(const QString& path)
{
    const QString aside = BaseXmlFile::moveAside(path);
    if (!aside.isEmpty())
        return aside;
    qWarning().noquote() << "ViewBaseModel: refused parameter file not moved aside, the next save replaces it:" << path;
    return QString();
}

}   // namespace

// ---- OutputEntity section ------------------------------------------------------------

bool ViewBaseModel::OutputEntity::serialize(bool toXml, QDomElement* element, QDomDocument* doc)
{
    return serialize(toXml, element, doc, PageLimits::kInf, PageLimits::kInf);
}

bool ViewBaseModel::OutputEntity::serialize(bool toXml, QDomElement* element, QDomDocument* doc, double vmax,
                                            double imax)
{
    if (!element || (!toXml && element->isNull()))
        return false;
    QDomElement ports;
    BaseXmlUtilities::getElement(&ports, element, doc, QStringLiteral("ports"), toXml);
    mapPorts(toXml, &ports, doc, outputRanges, outputAngles, outputFrequencies, vmax, imax);
    return true;
}

void ViewBaseModel::mapBinaryConditions(bool save, QDomElement* parent, QDomDocument* doc, AOBILogicType& logic,
                                        qint32 (&bi)[4], qint32 (&bo)[4])
{
    mapChecked(save, parent, doc, QStringLiteral("outputBILogicType"), logic, AO_BILOGIC_TYPE_OR, AO_BILOGIC_TYPE_AND);
    QDomElement bis;
    BaseXmlUtilities::getElement(&bis, parent, doc, QStringLiteral("outputBIStates"), save);
    for (int i = 0; i < 4; ++i)
        mapChecked(save, &bis, doc, indexed("bi", i), bi[i], AO_BI_STATE_NONE, AO_BI_STATE_ALL);
    QDomElement bos;
    BaseXmlUtilities::getElement(&bos, parent, doc, QStringLiteral("outputBOStates"), save);
    for (int i = 0; i < 4; ++i)
        mapChecked(save, &bos, doc, indexed("bo", i), bo[i], 0, 1);
}

// ---- Data root and module folder ---------------------------------------------------------

bool ViewBaseModel::checkSDCardExist() const
{
    return zoplat::sdCardPresent();
}

bool ViewBaseModel::sdCardMounted() const
{
    return zoplat::sdCardMounted();
}

QString ViewBaseModel::getRootPath() const
{
    return zoplat::dataRootPath();
}

QString ViewBaseModel::testDirOf(int testType)
{
    return QString::fromLatin1(moduleEntry(testType).folder);
}

QString ViewBaseModel::getActiveTestDir() const
{
    return testDirOf(ownModule());
}

// ---- Save and load -------------------------------------------------------------------------

bool ViewBaseModel::saveParameter()
{
    // The file follows the engine's active module.
    const QString folder = getActiveTestDir();
    if (folder.isEmpty())
        return false;
    const bool ok = save(parameterPath(getRootPath(), folder), kDataRootName);
    zoplat::syncFileSystems();
    return ok;
}

bool ViewBaseModel::loadParameter()
{
    if (bLoadParameter)
        return false;
    bLoadParameter = true;   // a failed read is not retried
    const QString folder = getActiveTestDir();
    if (folder.isEmpty())
        return false;
    const QString path = parameterPath(getRootPath(), folder);
    if (load(path, kDataRootName, false))
        return true;
    if (!parameterNotice.isEmpty()) {
        // Refused: what the user had is kept, out of the way of the next save.
        const QString kept = keepRefusedFile(path);
        parameterNotice = tr("参数文件无法读取，页面按默认值显示：%1").arg(parameterNotice);
        if (!kept.isEmpty())
            parameterNotice += QLatin1Char('\n') + tr("原文件保留为 %1。").arg(QDir(getRootPath()).relativeFilePath(kept));
    }
    return false;
}

QString ViewBaseModel::takeParameterFileNotice()
{
    QString notice;
    notice.swap(parameterNotice);
    return notice;
}

quint32 ViewBaseModel::version(QDomElement* root)
{
    return BaseXmlUtilities::getValue(root, QStringLiteral("dataVersion"), BaseUtilityHelper::versionle(0, 0, 0, 1));
}

bool ViewBaseModel::checking(QDomElement* root)
{
    return dataVersion <= version(root);
}

QString ViewBaseModel::pageNameOf(const QString& keyPath) const
{
    static const QRegularExpression row(QStringLiteral("^(point|state|assess)(\\d+)$"));
    static const QRegularExpression port(QStringLiteral("^port([0-7])$"));
    static const QRegularExpression end(QStringLiteral("^endRamp(\\d+)$"));
    static const char* const groups[16] = {"UA", "UB", "UC", "UX", "UAB", "UBC", "UCA", "UABC",
                                           "IA", "IB", "IC", "IX", "IAB", "IBC", "ICA", "IABC"};
    const QStringList parts = keyPath.split(QLatin1Char('/'));
    int at = 0;
    QRegularExpressionMatch found;
    while (at < parts.size() && !(found = row.match(parts[at])).hasMatch())
        ++at;
    if (at + 1 >= parts.size())
        return keyPath;
    const int number = found.captured(2).toInt() + 1;
    const QString kind = found.captured(1);
    const QString rowName = kind == QLatin1String("point")   ? tr("第%1点").arg(number)
                            : kind == QLatin1String("state") ? tr("状态%1").arg(number)
                                                             : tr("评估%1").arg(number);
    // A ramp's point, the containers: not shown.
    static const QRegularExpression hidden(QStringLiteral("^(points|point\\d+|ports|ramps|steps)$"));
    QStringList field;
    for (int i = at + 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QRegularExpressionMatch channel = port.match(part);
        const QRegularExpressionMatch ramp = end.match(part);
        if (channel.hasMatch()) {
            field << QLatin1String(ModelEntity::channelName(channel.captured(1).toInt()));
        } else if (ramp.hasMatch()) {
            const int group = ramp.captured(1).toInt();
            field << QLatin1String(group < 16 ? groups[group] : "") << tr("终值");
            break;   // the ramp's own item
        } else if (part.startsWith(QLatin1String("setp"))) {
            field << tr("步长");
        } else if (i + 1 == parts.size()) {
            const QString label = listFieldLabel(part);
            field << (!label.isEmpty()                        ? label
                      : part == QLatin1String("range")        ? tr("幅值")
                      : part == QLatin1String("angle")        ? tr("相位")
                      : part == QLatin1String("frequency")    ? tr("频率")
                                                              : part);
        } else if (!hidden.match(part).hasMatch()) {
            field << part;
        }
    }
    return tr("%1：%2").arg(rowName, field.join(QLatin1Char(' ')));
}

QString ViewBaseModel::listFieldLabel(const QString&) const
{
    return QString();
}

bool ViewBaseModel::serialize(bool write, QDomElement* root, QDomDocument* doc)
{
    if (!root || (!write && root->isNull()))
        return false;
    if (write)
        BaseXmlUtilities::setValue(root, doc, QStringLiteral("dataVersion"), dataVersion);
    BaseXmlUtilities::map(write, root, doc, QStringLiteral("outputOnceOnly"), outputOnceOnly, outputOnceOnly);
    BaseXmlUtilities::map(write, root, doc, QStringLiteral("normalEnable"), normalEnable, normalEnable);
    mapSetting(write, root, doc, QStringLiteral("normalTime"), normalTime, 0.0);
    const double vmax = getDeviceAOVMaxRange();
    const double imax = getDeviceAOIMaxRange();
    QDomElement normal;
    BaseXmlUtilities::getElement(&normal, root, doc, QStringLiteral("normalOutput"), write);
    normalOutput.serialize(write, &normal, doc, vmax, imax);
    BaseXmlUtilities::map(write, root, doc, QStringLiteral("intervalEnable"), intervalEnable, intervalEnable);
    mapSetting(write, root, doc, QStringLiteral("intervalTime"), intervalTime, 0.0);
    QDomElement interval;
    BaseXmlUtilities::getElement(&interval, root, doc, QStringLiteral("intervalOutput"), write);
    intervalOutput.serialize(write, &interval, doc, vmax, imax);
    return true;
}

bool ViewBaseModel::readParameterFile(const QString& path, BaseXmlFile::Kind kind, QByteArray* bytes)
{
    const qint64 limit = BaseXmlFile::bounds(kind).bytes;
    const BaseXmlFile::Read read = BaseXmlFile::readRegularFile(path, limit, bytes);
    if (read == BaseXmlFile::Read::Whole || read == BaseXmlFile::Read::Missing)
        return read == BaseXmlFile::Read::Whole;
    if (read == BaseXmlFile::Read::TooLarge)
        parameterNotice = tr("文件过大（超过 %1 字节），无法读取。").arg(limit);
    else if (read == BaseXmlFile::Read::NotAFile)
        parameterNotice = tr("它不是普通文件，而是文件夹、管道、设备或套接字。");
    else
        parameterNotice = tr("文件存在，但无法打开或读取（权限或存储介质故障）。");
    qWarning().noquote() << "ViewBaseModel: parameter file not read:" << path << parameterNotice;
    return false;
}

bool ViewBaseModel::load(const QString& path, const QString& rootName, bool check)
{
    parameterNotice.clear();
    BaseXmlFile::removeStaleTemporaries(path);
    QByteArray bytes;
    if (!readParameterFile(path, BaseXmlFile::Kind::Parameter, &bytes))
        return false;
    if (readParameterBytes(bytes, rootName, check, false))
        return true;
    if (!parameterNotice.isEmpty())
        qWarning().noquote() << "ViewBaseModel: parameter file refused," << parameterNotice << path;
    return false;
}

bool ViewBaseModel::readParameterBytes(const QByteArray& bytes, const QString& rootName, bool check, bool whole,
                                       const std::function<bool()>& commit)
{
    parameterNotice.clear();
    QDomDocument doc;
    QString error;
    int line = 0;
    // The parser keeps what it read before an error: the values after it
    // would silently keep the model's.
    const BaseXmlFile::Kind kind = whole ? BaseXmlFile::Kind::Backup : BaseXmlFile::Kind::Parameter;
    if (!BaseXmlFile::parse(doc, bytes, kind, &error, &line)) {
        // Line 0: refused whole (its bounds, an encoding, an entity), at no line.
        const BaseXmlFile::Refusal refusal = BaseXmlFile::refusalOf(error);
        if (line > 0)
            parameterNotice = tr("文件不完整或不是 XML 文件（第 %1 行）。").arg(line);
        else if (refusal == BaseXmlFile::Refusal::BeyondBounds)
            parameterNotice = tr("文件的元素、属性或嵌套层数超过仪器所写的任何此类文件。");
        else if (refusal == BaseXmlFile::Refusal::UnknownEncoding)
            parameterNotice = tr("文件声明的编码无法识别。");
        else
            parameterNotice = tr("文件不完整或不是 XML 文件。");
        return false;
    }
    QTextCodec* codec = documentCodec(doc, bytes);
    if (const int bad = unreadableLine(bytes, codec)) {
        parameterNotice =
            tr("文件中有不能按 %1 读取的字节（第 %2 行）。").arg(QString::fromLatin1(codec->name())).arg(bad);
        return false;
    }
    QDomElement root = doc.firstChildElement(rootName);
    if (root.isNull()) {
        parameterNotice = tr("不是参数文件。");
        return false;
    }
    if (whole && !BaseXmlFile::isStorable(doc)) {
        parameterNotice = tr("文件中有 XML 文件不能存放的字符。");
        return false;
    }
    if (check && !checking(&root))
        return false;

    // The model's values aside, all digits, to be put back when the file is refused.
    QDomDocument held;
    QDomElement heldRoot = held.createElement(rootName);
    held.appendChild(heldRoot);
    {
        BaseXmlUtilities::ExactNumbers exact;
        serialize(true, &heldRoot, &held);
    }
    bool read = false;
    bool refused = false;
    QString heldNotice;
    {
        BaseXmlUtilities::ReadCheck readCheck;
        ParameterRead::HeldValues heldValues;
        read = serialize(false, &root, &doc);
        refused = !readCheck.passed();
        if (refused)
            parameterNotice = readNoteText(readCheck.first());
        else if (!heldValues.all().isEmpty())
            heldNotice = heldNoteText(heldValues.all(), [this](const QString& key) { return pageNameOf(key); });
    }
    if (!refused && (!commit || commit())) {
        parameterNotice = heldNotice;
        return read;
    }
    if (!refused)
        parameterNotice = tr("页面的参数文件无法写入。");
    BaseXmlUtilities::ReadCheck putBack;
    serialize(false, &heldRoot, &held);
    if (!putBack.passed())
        qWarning().noquote() << "ViewBaseModel: values put back after a refused file refused" << putBack.first().key
                             << putBack.first().value;
    return false;
}

bool ViewBaseModel::save(const QString& path, const QString& rootName)
{
    // The page's own file: the declaration and the root with this model's elements.
    const auto ownFile = [this, &rootName](QDomDocument& doc) {
        doc = QDomDocument();
        doc.appendChild(xmlDeclaration(doc));
        QDomElement root = doc.createElement(rootName);
        doc.appendChild(root);
        serialize(true, &root, &doc);
    };
    const BaseXmlFile::Kind kind = BaseXmlFile::Kind::Parameter;
    QDomDocument doc;
    QByteArray existing;
    const BaseXmlFile::Read read = BaseXmlFile::readRegularFile(path, BaseXmlFile::bounds(kind).bytes, &existing);
    QDomElement root;
    if (read != BaseXmlFile::Read::Missing) {
        // Merge: the elements of the file that this model does not map stay.
        // Not merged into a part, nor into another document (no second root).
        if (read == BaseXmlFile::Read::Whole && BaseXmlFile::parse(doc, existing, kind))
            root = doc.firstChildElement(rootName);
    } else if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qWarning().noquote() << "ViewBaseModel: parameter folder not created:" << path;
        return false;
    }
    if (root.isNull()) {
        ownFile(doc);
    } else {
        serialize(true, &root, &doc);
    }

    // Written beside the old file and renamed over it: a reader or a power
    // cut sees the old file or the new one, never a part.
    QString why;
    if (BaseXmlFile::save(doc, path, 4, QDomNode::EncodingFromDocument, kind, &why))
        return true;
    if (root.isNull() || BaseXmlFile::refusalOf(why) != BaseXmlFile::Refusal::BeyondBounds)
        return false;
    // With the elements it does not map (a file File > Load took at the
    // bounds, indented anew) the page's file would be one its reader refuses.
    qWarning().noquote() << "ViewBaseModel: parameter file" << path
                         << "saved without the elements the page does not read: with them it would be" << why;
    ownFile(doc);
    return BaseXmlFile::save(doc, path, 4, QDomNode::EncodingFromDocument, kind);
}

#include "BaseXmlFile.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QPair>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextCodec>
#include <QTextStream>
#include <QXmlInputSource>
#include <QXmlStreamReader>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Length of the storable character (one unit, or a surrogate pair) at i; 0
// when the unit at i is refused.
int storableAt(const QString& text, int i)
{
    const ushort u = text.at(i).unicode();
    if (u < 0x20)
        return (u == 0x09 || u == 0x0A || u == 0x0D) ? 1 : 0;
    if (u == 0xFFFE || u == 0xFFFF)
        return 0;
    if (QChar::isHighSurrogate(u))
        return (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 0;
    if (QChar::isLowSurrogate(u))
        return 0;
    return 1;
}

bool isNameStart(uint c)
{
    return (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0xD6)
           || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D)
           || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F)
           || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF)
           || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(uint c)
{
    return isNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7
           || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// An XML name without a colon.
bool isNcName(const QStringRef& name)
{
    const QVector<uint> points = name.toUcs4();
    if (points.isEmpty() || !isNameStart(points.front()))
        return false;
    for (const uint c : points) {
        if (!isNameChar(c))
            return false;
    }
    return true;
}

// Whether Qt's stream reader takes name (an XML name, so that it cannot
// break out of the tag) as an element name. It holds names to the tables of
// XML 1.0's older editions (Unicode 2.0: no Syriac U+0718, say), narrower
// than the ranges above that the current edition allows; every reader takes
// a name from those tables. Names recur, so the answers are kept (a bounded
// number, per thread).
bool strictReaderTakes(const QString& name)
{
    constexpr int kKept = 4096;
    thread_local QHash<QString, bool> known;
    const auto it = known.constFind(name);
    if (it != known.constEnd())
        return *it;
    QXmlStreamReader reader(QLatin1Char('<') + name + QStringLiteral("/>"));
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd())
        reader.readNext();
    const bool taken = !reader.hasError();
    if (known.size() >= kKept)
        known.clear();
    known.insert(name, taken);
    return taken;
}

// Visits node and everything under it, depth first without recursion (a
// document from outside may nest deeply). visit returns false to skip the
// children of a node (it may have removed the node).
template <typename Visit>
void walk(const QDomNode& top, Visit visit)
{
    std::vector<QDomNode> pending{top};
    while (!pending.empty()) {
        QDomNode node = pending.back();
        pending.pop_back();
        // The next sibling is taken before the visit, which may remove node.
        if (node != top && !node.nextSibling().isNull())
            pending.push_back(node.nextSibling());
        if (visit(node) && !node.firstChild().isNull())
            pending.push_back(node.firstChild());
    }
}

// The namespaces a namespace-aware reader holds to: "xml" is bound to the
// first, which no other prefix and no default may take; the second is
// never bound.
const QString kXmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");
const QString kXmlnsNamespace = QStringLiteral("http://www.w3.org/2000/xmlns/");
const QString kXmlnsPrefix = QStringLiteral("xmlns");

QString prefixOf(const QString& name)
{
    const int colon = name.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : name.left(colon);
}

// "xmlns" (the default namespace) or "xmlns:p" (a prefix).
bool isDeclaration(const QString& name)
{
    return name == kXmlnsPrefix || prefixOf(name) == kXmlnsPrefix;
}

// A declaration a namespace-aware reader takes: no prefix undeclared (an
// empty name), "xmlns" never declared, "xml" only as itself, and neither
// reserved namespace taken by another prefix or the default.
bool isLawfulDeclaration(const QString& name, const QString& uri)
{
    if (name == kXmlnsPrefix)
        return uri != kXmlNamespace && uri != kXmlnsNamespace;
    const QString prefix = name.mid(kXmlnsPrefix.size() + 1);
    if (prefix == kXmlnsPrefix)
        return false;
    if (prefix == QLatin1String("xml"))
        return uri == kXmlNamespace;
    return !uri.isEmpty() && uri != kXmlNamespace && uri != kXmlnsNamespace;
}

// The prefixes in scope while a document is walked, each with the
// namespaces its declarations bound it to, innermost last.
class NamespaceScope
{
public:
    NamespaceScope() { bound[QStringLiteral("xml")].append(kXmlNamespace); }

    // The namespace of prefix; empty when no declaration in scope binds it.
    QString uriOf(const QString& prefix) const
    {
        const auto it = bound.constFind(prefix);
        return it == bound.constEnd() || it->isEmpty() ? QString() : it->back();
    }
    void bind(const QString& prefix, const QString& uri) { bound[prefix].append(uri); }
    void unbind(const QStringList& prefixes)
    {
        for (const QString& prefix : prefixes)
            bound[prefix].removeLast();
    }

private:
    QHash<QString, QStringList> bound;
};

// Makes element a start tag that a namespace-aware reader takes, in scope:
// its unlawful declarations are removed and its lawful ones bound (the
// prefixes bound are added to declared), then its attributes with a prefix
// bound nowhere, or a second one of the same namespace and local name, are
// removed. Returns whether the element's own prefix is bound (else it has to
// go); changed counts what was removed.
bool bindNamespaces(QDomElement element, NamespaceScope& scope, QStringList* declared, int* changed)
{
    const QDomNamedNodeMap attributes = element.attributes();
    std::vector<QDomAttr> all;
    for (int i = 0; i < attributes.count(); ++i)
        all.push_back(attributes.item(i).toAttr());
    // The map's order is not the file's: by name, so that which of two
    // clashing attributes stays does not vary from save to save.
    std::sort(all.begin(), all.end(), [](const QDomAttr& a, const QDomAttr& b) { return a.name() < b.name(); });

    std::vector<QDomAttr> unlawful;
    for (const QDomAttr& attribute : all) {
        if (!isDeclaration(attribute.name()))
            continue;
        if (!isLawfulDeclaration(attribute.name(), attribute.value())) {
            unlawful.push_back(attribute);
        } else if (attribute.name() != kXmlnsPrefix) {
            const QString prefix = attribute.name().mid(kXmlnsPrefix.size() + 1);
            scope.bind(prefix, attribute.value());
            declared->append(prefix);
        }
    }
    QSet<QPair<QString, QString>> names;
    for (const QDomAttr& attribute : all) {
        const QString prefix = prefixOf(attribute.name());
        if (prefix.isEmpty() || isDeclaration(attribute.name()))
            continue;
        const QString uri = scope.uriOf(prefix);
        const QPair<QString, QString> expanded(uri, attribute.name().mid(prefix.size() + 1));
        if (uri.isEmpty() || names.contains(expanded))
            unlawful.push_back(attribute);
        else
            names.insert(expanded);
    }
    for (QDomAttr& attribute : unlawful) {
        element.removeAttributeNode(attribute);
        ++*changed;
    }
    const QString prefix = prefixOf(element.tagName());
    return prefix.isEmpty() || !scope.uriOf(prefix).isEmpty();
}

// Makes everything under top (top included) read the same with namespaces
// as without (bindNamespaces), removing elements whose prefix is bound
// nowhere. Returns the number of nodes changed.
int makeNamespaceAware(QDomNode top)
{
    struct Open
    {
        QDomNode node;
        QStringList declared;
    };
    NamespaceScope scope;
    std::vector<Open> open;
    int changed = 0;
    // Opens node (false when it had to go: removed unless it is top).
    const auto enter = [&](QDomNode node) {
        QStringList declared;
        if (node.isElement() && !bindNamespaces(node.toElement(), scope, &declared, &changed)) {
            scope.unbind(declared);
            ++changed;
            if (node != top && !node.parentNode().isNull())
                node.parentNode().removeChild(node);
            return false;
        }
        open.push_back({node, declared});
        return true;
    };
    // Depth first without recursion (a document from outside may nest deeply).
    QDomNode next = enter(top) ? top.firstChild() : QDomNode();
    while (!open.empty()) {
        if (next.isNull()) {
            const QDomNode done = open.back().node;
            scope.unbind(open.back().declared);
            open.pop_back();
            if (!open.empty())
                next = done.nextSibling();
            continue;
        }
        const QDomNode sibling = next.nextSibling();
        next = enter(next) ? next.firstChild() : sibling;
    }
    return changed;
}

bool isTemporaryName(const QString& entry, const QString& target)
{
    constexpr int kLetters = 6;
    if (entry.size() != target.size() + 1 + kLetters || !entry.startsWith(target)
        || entry.at(target.size()) != QLatin1Char('.'))
        return false;
    for (int i = target.size() + 1; i < entry.size(); ++i) {
        const ushort c = entry.at(i).unicode();
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

// The file is UTF-8 whatever the document's declaration said, and its one
// processing instruction is the declaration, first, saying so. Any other
// (a second declaration, one naming another encoding, an instruction for
// some other program, which the instrument's files never carry and which
// namespace-aware readers may refuse) is dropped.
void declareUtf8(QDomDocument& doc)
{
    std::vector<QDomNode> instructions;
    walk(doc, [&instructions](const QDomNode& n) {
        if (n.isProcessingInstruction())
            instructions.push_back(n);
        return true;
    });
    for (QDomNode& n : instructions)
        n.parentNode().removeChild(n);
    doc.insertBefore(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                     QStringLiteral("version=\"1.0\" encoding=\"utf-8\"")),
                     doc.firstChild());
}

} // namespace

namespace BaseXmlFile {

bool isStorable(const QString& text)
{
    for (int i = 0; i < text.size();) {
        const int length = storableAt(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

QString storable(const QString& text)
{
    if (isStorable(text))
        return text;
    QString kept;
    kept.reserve(text.size());
    for (int i = 0; i < text.size();) {
        const int length = storableAt(text, i);
        if (length == 0) {
            ++i;
            continue;
        }
        kept.append(text.midRef(i, length));
        i += length;
    }
    return kept;
}

bool isWritableName(const QString& name)
{
    const int colon = name.indexOf(QLatin1Char(':'));
    if (colon < 0 ? !isNcName(QStringRef(&name))
                  : !(isNcName(name.leftRef(colon)) && isNcName(name.midRef(colon + 1))))
        return false;
    return strictReaderTakes(name);
}

bool isStorable(const QDomNode& node)
{
    bool storableSoFar = true;
    walk(node, [&storableSoFar](const QDomNode& n) {
        if (!isStorable(n.nodeName()) || !isStorable(n.nodeValue())) {
            storableSoFar = false;
        } else if (n.isElement()) {
            const QDomNamedNodeMap attributes = n.attributes();
            for (int i = 0; i < attributes.count() && storableSoFar; ++i)
                storableSoFar = isStorable(attributes.item(i).nodeName()) && isStorable(attributes.item(i).nodeValue());
        }
        return storableSoFar;
    });
    return storableSoFar;
}

int makeStorable(QDomNode node)
{
    int changed = 0;
    walk(node, [&changed, &node](QDomNode n) {
        if (!isStorable(n.nodeName()) || (n.isElement() && !isWritableName(n.nodeName()))) {
            ++changed;
            if (n != node && !n.parentNode().isNull())
                n.parentNode().removeChild(n);
            return false;
        }
        if (n.isProcessingInstruction() || n.isCharacterData()) {
            if (!isStorable(n.nodeValue())) {
                n.setNodeValue(storable(n.nodeValue()));
                ++changed;
            }
        } else if (n.isElement()) {
            QDomElement element = n.toElement();
            const QDomNamedNodeMap attributes = element.attributes();
            std::vector<QDomAttr> unnamed;
            for (int i = 0; i < attributes.count(); ++i) {
                QDomAttr attribute = attributes.item(i).toAttr();
                if (!isStorable(attribute.name()) || !isWritableName(attribute.name())) {
                    unnamed.push_back(attribute);
                } else if (!isStorable(attribute.value())) {
                    attribute.setValue(storable(attribute.value()));
                    ++changed;
                }
            }
            for (QDomAttr& attribute : unnamed) {
                element.removeAttributeNode(attribute);
                ++changed;
            }
        }
        return true;
    });
    return changed + makeNamespaceAware(node);
}

namespace {
QString writtenBeyondBounds(const QByteArray& bytes, const Bounds& limit);
} // namespace

bool save(QDomDocument& doc, const QString& path, int indent, QDomNode::EncodingPolicy policy, Kind kind,
          QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    removeStaleTemporaries(path);
    if (const int changed = makeStorable(doc))
        qWarning().noquote() << "XML file" << path << ":" << changed
                             << "texts or names no XML file can carry were left out";
    if (doc.documentElement().isNull()) {
        // Its root could not be carried: a file without one is no XML file.
        qWarning().noquote() << "XML file not written:" << path << ": its root element has a name no XML file can carry";
        return fail(QStringLiteral("no root element a file can carry"));
    }
    declareUtf8(doc);
    QByteArray bytes;
    {
        QTextStream stream(&bytes, QIODevice::WriteOnly);
        stream.setCodec("UTF-8");
        doc.save(stream, indent, policy);
    }
    // What its reader would refuse is not written: the old file stays.
    const QString beyond = writtenBeyondBounds(bytes, bounds(kind));
    if (!beyond.isEmpty()) {
        qWarning().noquote() << "XML file not written:" << path << ": it would be" << beyond;
        return fail(beyond);
    }

    if (!dropLink(path))
        return fail(QStringLiteral("a link in its place"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qWarning().noquote() << "XML file not written:" << path << file.errorString();
        return fail(file.errorString());
    }
    // On any failure the temporary file is dropped with the QSaveFile; the
    // old file is only ever replaced by a complete one that reached the disk.
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0 || !file.commit()) {
        qWarning().noquote() << "XML file not written:" << path << file.errorString();
        return fail(file.errorString());
    }
    return true;
}

bool dropLink(const QString& path)
{
    if (!QFileInfo(path).isSymLink() || ::unlink(QFile::encodeName(path).constData()) == 0)
        return true;
    qWarning().noquote() << "XML file not written:" << path << ": the link in its place could not be removed";
    return false;
}

int removeStaleTemporaries(const QString& path)
{
    const QFileInfo target(path);
    const QString name = target.fileName();
    const QDir folder = target.absoluteDir();
    if (name.isEmpty() || !folder.exists())
        return 0;
    int removed = 0;
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& entry : entries) {
        if (!isTemporaryName(entry, name))
            continue;
        const QString stale = folder.filePath(entry);
        if (QFile::remove(stale)) {
            ++removed;
            qWarning().noquote() << "XML file" << path << ": removed the temporary file of an interrupted save:" << stale;
        } else {
            qWarning().noquote() << "XML file" << path << ": temporary file of an interrupted save not removed:" << stale;
        }
    }
    return removed;
}

namespace {

// The largest file of each kind that the instrument writes, and its bounds
// with room: two to four times its bytes and elements (each number at the
// longest text its writer gives one), twice its nesting. None of them
// carries an attribute; a few are let through.
//  - parameter: the ramping page's 8 states of 8 points, 373 KB, 8 deep;
//    the sequence page's 32 states, 32 assessments and 1,024 events, 7,377
//    elements (a backup is such a file kept aside);
//  - calibration: the AC factors, 11 KB, 180 elements, 3 deep;
//  - settings: devinfo.xml, 2 KB, 19 elements, 2 deep;
//  - time zones: every zone the system's database knows (458, the 418 of
//    its zone.tab among them), 114 KB, 2,749 elements, 3 deep.
// A test builds each through its writer and holds the table to it.
constexpr Bounds kParameterBounds{1024 * 1024, 16384, 8, 16};
constexpr Bounds kBounds[] = {
    kParameterBounds,            // Kind::Parameter
    kParameterBounds,            // Kind::Backup
    {32 * 1024, 512, 8, 6},      // Kind::Calibration
    {6 * 1024, 64, 8, 4},        // Kind::Settings
    {384 * 1024, 8192, 8, 6},    // Kind::TimeZones
};

// Index just past the first occurrence of token at or after from;
// text.size() when there is none (an unterminated construct runs to the end).
int skipPast(const QString& text, int from, QLatin1String token)
{
    const int at = text.indexOf(token, from);
    return at < 0 ? text.size() : at + token.size();
}

// What parse says of a document it refuses before parsing it.
const char kMoreElements[] = "more than %1 elements";
const char kMoreAttributes[] = "an element with more than %1 attributes";
const char kDeeper[] = "elements nested deeper than %1 levels";
const char kLarger[] = "larger than %1 bytes";
const char kUnknownEncoding[] = "declares the encoding %1, which is not known";

// Whether error is pattern with its number (or name) in place of %1.
bool says(const QString& error, const char* pattern)
{
    const QString p = QString::fromLatin1(pattern);
    const int at = p.indexOf(QLatin1String("%1"));
    return error.startsWith(p.left(at)) && error.endsWith(p.mid(at + 2)) && error.size() > p.size() - 2;
}

// One pass over the markup of a document's text: what takes it beyond
// limit, "" when nothing does. An element is a start tag, its attributes
// the '=' in it outside quoted values; markup that is not an element
// (comments, CDATA, instructions) is skipped. A document type is refused:
// an entity's markup is expanded where it is referred to, as deep and as
// often as it likes.
QString beyondBounds(const QString& text, const Bounds& limit)
{
    const QChar* const s = text.constData();
    const int n = text.size();
    int depth = 0;
    int elements = 0;
    int i = text.indexOf(QLatin1Char('<'));
    while (i >= 0 && i < n) {
        const ushort next = i + 1 < n ? s[i + 1].unicode() : 0;
        if (next == '/') {
            depth = std::max(0, depth - 1);
            i = skipPast(text, i + 2, QLatin1String(">"));
        } else if (next == '?') {
            i = skipPast(text, i + 2, QLatin1String("?>"));
        } else if (text.midRef(i, 4) == QLatin1String("<!--")) {
            i = skipPast(text, i + 4, QLatin1String("-->"));
        } else if (text.midRef(i, 9) == QLatin1String("<![CDATA[")) {
            i = skipPast(text, i + 9, QLatin1String("]]>"));
        } else if (next == '!') {
            return QStringLiteral("declares a document type");
        } else {
            if (++elements > limit.elements)
                return QString::fromLatin1(kMoreElements).arg(limit.elements);
            int attributes = 0;
            ushort quote = 0;
            for (++i; i < n; ++i) {
                const ushort c = s[i].unicode();
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '=') {
                    if (++attributes > limit.attributes)
                        return QString::fromLatin1(kMoreAttributes).arg(limit.attributes);
                } else if (c == '>') {
                    break;
                }
            }
            const bool selfClosing = i < n && s[i - 1] == QLatin1Char('/');
            if (!selfClosing && ++depth > limit.nesting)
                return QString::fromLatin1(kDeeper).arg(limit.nesting);
            ++i;
        }
        i = text.indexOf(QLatin1Char('<'), i);
    }
    return QString();
}

// The text QDomDocument's parser reads from bytes, decoded as its input
// source decodes them: by a byte order mark, by the first character being
// '<' in UTF-16 or UTF-32, else by the encoding the declaration names, else
// as UTF-8. A declared encoding may write markup in other bytes than ASCII
// ("+ADw-" for '<' in UTF-7), so the markup is checked in this text, and
// this text is what is parsed.
QString decodedText(const QByteArray& bytes)
{
    QString text;
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QXmlInputSource source;
    source.setData(bytes);
    text = source.data();
    QT_WARNING_POP
    return text;
}

// The encoding the declaration at the start of text names; null when it
// names none.
QString declaredEncoding(const QString& text)
{
    const int start = text.startsWith(QChar(QChar::ByteOrderMark)) ? 1 : 0;
    if (!text.midRef(start, 5).startsWith(QLatin1String("<?xml")))
        return QString();
    const int end = text.indexOf(QLatin1String("?>"), start);
    static const QRegularExpression encoding(QStringLiteral("\\sencoding\\s*=\\s*([\"'])([^\"']*)\\1"));
    const QRegularExpressionMatch declared = encoding.match(text.mid(start, end < 0 ? -1 : end - start));
    return declared.hasMatch() ? declared.captured(2) : QString();
}

QString tooLarge(const Bounds& limit)
{
    return QString::fromLatin1(kLarger).arg(limit.bytes);
}

// What of a file save() writes (UTF-8) takes it beyond limit, "" when nothing does.
QString writtenBeyondBounds(const QByteArray& bytes, const Bounds& limit)
{
    return bytes.size() > limit.bytes ? tooLarge(limit) : beyondBounds(QString::fromUtf8(bytes), limit);
}

bool refuse(QDomDocument& doc, const QString& why, QString* error, int* line, int* column)
{
    doc.clear();
    if (error)
        *error = why;
    if (line)
        *line = 0;
    if (column)
        *column = 0;
    return false;
}

// Reads fd to its end, while it holds at most limit bytes.
Read readAll(int fd, qint64 limit, qint64 sizeHint, QByteArray* bytes)
{
    QByteArray data(int(std::min(sizeHint, limit) + 1), Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == data.size()) {
            if (total > limit)
                return Read::TooLarge;
            data.resize(int(std::min<qint64>(total * 2, limit + 1)));
        }
        const ssize_t got = ::read(fd, data.data() + total, size_t(data.size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Read::Failed;
        if (got == 0)
            break;
        total += got;
    }
    if (total > limit)
        return Read::TooLarge;
    data.resize(int(total));
    *bytes = data;
    return Read::Whole;
}

} // namespace

Bounds bounds(Kind kind)
{
    return kBounds[int(kind)];
}

Refusal refusalOf(const QString& error)
{
    for (const char* pattern : {kMoreElements, kMoreAttributes, kDeeper, kLarger})
        if (says(error, pattern))
            return Refusal::BeyondBounds;
    return says(error, kUnknownEncoding) ? Refusal::UnknownEncoding : Refusal::Other;
}

bool parse(QDomDocument& doc, const QByteArray& bytes, Kind kind, QString* error, int* line, int* column)
{
    doc.clear();
    const Bounds limit = bounds(kind);
    if (bytes.size() > limit.bytes)
        return refuse(doc, tooLarge(limit), error, line, column);
    const QString text = decodedText(bytes);
    // The parser reads a name no codec has as UTF-8, whatever the file is.
    const QString encoding = declaredEncoding(text);
    if (!encoding.isNull() && !QTextCodec::codecForName(encoding.toLatin1()))
        return refuse(doc, QString::fromLatin1(kUnknownEncoding).arg(encoding), error, line,
                      column);
    const QString beyond = beyondBounds(text, limit);
    if (!beyond.isEmpty())
        return refuse(doc, beyond, error, line, column);
    if (!doc.setContent(text, false, error, line, column)) {
        doc.clear();
        return false;
    }
    return true;
}

bool parse(QDomDocument& doc, QIODevice* device, Kind kind, QString* error, int* line, int* column)
{
    doc.clear();
    if (!device || !device->isReadable())
        return refuse(doc, QStringLiteral("not open for reading"), error, line, column);
    const Bounds limit = bounds(kind);
    if (!device->isSequential() && device->size() > limit.bytes)
        return refuse(doc, tooLarge(limit), error, line, column);
    const QByteArray bytes = device->read(limit.bytes + 1);
    return parse(doc, bytes, kind, error, line, column);
}

int openRegularFile(const QString& path, bool followLinks, Read* why)
{
    Read dummy = Read::Whole;
    Read& result = why ? *why : dummy;
    const QByteArray local = QFile::encodeName(path);
    // Looked at before it is opened: opening a device may do something.
    struct stat before;
    if ((followLinks ? ::stat(local.constData(), &before) : ::lstat(local.constData(), &before)) != 0) {
        result = errno == ENOENT || errno == ENOTDIR ? Read::Missing : Read::Failed;
        return -1;
    }
    if (!S_ISREG(before.st_mode)) {
        result = Read::NotAFile;
        return -1;
    }
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (followLinks ? 0 : O_NOFOLLOW);
    const int fd = ::open(local.constData(), flags);
    if (fd < 0) {
        result = errno == ENOENT ? Read::Missing : errno == ELOOP || errno == ENXIO ? Read::NotAFile : Read::Failed;
        return -1;
    }
    // What was opened, which a swap since the look may have changed.
    struct stat opened;
    const bool known = ::fstat(fd, &opened) == 0;
    if (!known || !S_ISREG(opened.st_mode)) {
        result = known ? Read::NotAFile : Read::Failed;
        ::close(fd);
        return -1;
    }
    // Reads of a regular file never wait; the flag goes for its readers.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    result = Read::Whole;
    return fd;
}

Read readRegularFile(const QString& path, qint64 limit, QByteArray* bytes, bool followLinks)
{
    bytes->clear();
    Read result = Read::Failed;
    const int fd = openRegularFile(path, followLinks, &result);
    if (fd < 0)
        return result;
    struct stat opened;
    if (::fstat(fd, &opened) != 0)
        result = Read::Failed;
    else if (opened.st_size > limit)
        result = Read::TooLarge;
    else
        result = readAll(fd, limit, opened.st_size, bytes);
    ::close(fd);
    return result;
}

bool parseFile(QDomDocument& doc, const QString& path, Kind kind, QString* error, int* line, int* column)
{
    QByteArray bytes;
    switch (readRegularFile(path, bounds(kind).bytes, &bytes)) {
    case Read::Whole:
        return parse(doc, bytes, kind, error, line, column);
    case Read::Missing:
        return refuse(doc, QStringLiteral("no such file"), error, line, column);
    case Read::NotAFile:
        return refuse(doc, QStringLiteral("not a regular file"), error, line, column);
    case Read::TooLarge:
        return refuse(doc, tooLarge(bounds(kind)), error, line, column);
    case Read::Failed:
        break;
    }
    return refuse(doc, QStringLiteral("could not be read"), error, line, column);
}

QString moveAside(const QString& path)
{
    QString aside;
    QString oldest;
    QDateTime oldestTime;
    for (int n = 0; n < kDamagedCopies; ++n) {
        const QString name = n == 0 ? path + QStringLiteral(".damaged") : path + QStringLiteral(".%1.damaged").arg(n);
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink()) {
            aside = name;
            break;
        }
        if (info.isFile() && !info.isSymLink() && (oldest.isEmpty() || info.lastModified() < oldestTime)) {
            oldest = name;
            oldestTime = info.lastModified();
        }
    }
    if (aside.isEmpty() && !oldest.isEmpty() && QFile::remove(oldest)) {
        qWarning().noquote() << kDamagedCopies << "damaged copies of" << path << "kept; the oldest," << oldest
                             << ", is removed";
        aside = oldest;
    }
    return !aside.isEmpty() && QFile::rename(path, aside) ? aside : QString();
}

} // namespace BaseXmlFile

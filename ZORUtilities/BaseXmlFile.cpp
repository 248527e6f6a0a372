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
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <QXmlInputSource>
#include <QXmlStreamReader>

#include <algorithm>
#include <vector>

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

bool save(QDomDocument& doc, const QString& path, int indent, QDomNode::EncodingPolicy policy)
{
    removeStaleTemporaries(path);
    if (const int changed = makeStorable(doc))
        qWarning().noquote() << "XML file" << path << ":" << changed
                             << "texts or names no XML file can carry were left out";
    if (doc.documentElement().isNull()) {
        // Its root could not be carried: a file without one is no XML file.
        qWarning().noquote() << "XML file not written:" << path << ": its root element has a name no XML file can carry";
        return false;
    }
    declareUtf8(doc);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qWarning().noquote() << "XML file not written:" << path << file.errorString();
        return false;
    }
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    doc.save(stream, indent, policy);
    stream.flush();
    // On any failure the temporary file is dropped with the QSaveFile; the
    // old file is only ever replaced by a complete one that reached the disk.
    if (stream.status() != QTextStream::Ok || !file.flush() || ::fsync(file.handle()) != 0 || !file.commit()) {
        qWarning().noquote() << "XML file not written:" << path << file.errorString();
        return false;
    }
    return true;
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

// Index of the first occurrence of token in text at or after from; text.size()
// when there is none (an unterminated construct runs to the end).
int skipPast(const QByteArray& text, int from, const char* token)
{
    const int at = text.indexOf(token, from);
    return at < 0 ? text.size() : at + int(qstrlen(token));
}

// Index just past the '>' that closes a tag or declaration begun before
// from, quoted values skipped; within a document type's internal subset
// ('[' ... ']') its declarations, comments and instructions are skipped too.
int skipTag(const QByteArray& text, int from, bool* selfClosing)
{
    char quote = 0;
    int subset = 0;
    char previous = 0;
    for (int i = from; i < text.size(); ++i) {
        const char c = text.at(i);
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++subset;
        } else if (c == ']' && subset > 0) {
            --subset;
        } else if (subset > 0 && c == '<' && text.mid(i, 4) == "<!--") {
            i = skipPast(text, i + 4, "-->") - 1;
        } else if (subset > 0 && c == '<' && text.mid(i, 2) == "<?") {
            i = skipPast(text, i + 2, "?>") - 1;
        } else if (c == '>' && subset == 0) {
            if (selfClosing)
                *selfClosing = previous == '/';
            return i + 1;
        }
        previous = c;
    }
    return text.size();
}

// What a scan of a document's markup found: the deepest nesting of elements
// (counted up to limit + 1) and whether its document type declares an entity.
struct Markup
{
    int deepest = 0;
    bool declaresEntity = false;
};

Markup scanMarkup(const QByteArray& bytes, int limit)
{
    QByteArray text = bytes;
    text.replace('\0', QByteArray());
    Markup found;
    int depth = 0;
    int i = text.indexOf('<');
    while (i >= 0 && i < text.size()) {
        const char next = i + 1 < text.size() ? text.at(i + 1) : 0;
        if (next == '/') {
            depth = std::max(0, depth - 1);
            i = skipTag(text, i + 2, nullptr);
        } else if (next == '?') {
            i = skipPast(text, i + 2, "?>");
        } else if (text.mid(i, 4) == "<!--") {
            i = skipPast(text, i + 4, "-->");
        } else if (text.mid(i, 9) == "<![CDATA[") {
            i = skipPast(text, i + 9, "]]>");
        } else if (next == '!') {
            const int end = skipTag(text, i + 2, nullptr);
            if (text.mid(i, end - i).contains("<!ENTITY"))
                found.declaresEntity = true;
            i = end;
        } else {
            bool selfClosing = false;
            i = skipTag(text, i + 1, &selfClosing);
            if (!selfClosing) {
                found.deepest = std::max(found.deepest, ++depth);
                if (found.deepest > limit)
                    return found;
            }
        }
        i = text.indexOf('<', i);
    }
    return found;
}

// The text QDomDocument's parser reads from bytes, decoded as its input
// source decodes them: by a byte order mark, by the first character being
// '<' in UTF-16 or UTF-32, else by the encoding the declaration names, else
// as UTF-8. A declared encoding may write markup in other bytes than ASCII
// ("+ADw-" for '<' in UTF-7), so the markup is scanned in this text, and
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

} // namespace

int nestingDepth(const QByteArray& bytes, int limit)
{
    return scanMarkup(bytes, limit).deepest;
}

bool parse(QDomDocument& doc, const QByteArray& bytes, QString* error, int* line, int* column)
{
    doc.clear();
    const QString text = decodedText(bytes);
    const Markup markup = scanMarkup(text.toUtf8(), kMaxNesting);
    if (markup.deepest > kMaxNesting)
        return refuse(doc, QStringLiteral("elements nested deeper than %1 levels").arg(kMaxNesting), error, line, column);
    // An entity may hold markup (even unbalanced, "<a>", or written as
    // character references) that the parser expands where it is referred
    // to, nested as deep as it likes: no file of the instrument declares one.
    if (markup.declaresEntity)
        return refuse(doc, QStringLiteral("declares an entity"), error, line, column);
    if (!doc.setContent(text, false, error, line, column)) {
        doc.clear();
        return false;
    }
    return true;
}

bool parse(QDomDocument& doc, QIODevice* device, QString* error, int* line, int* column)
{
    doc.clear();
    if (!device || !device->isReadable()) {
        if (error)
            *error = QStringLiteral("not open for reading");
        return false;
    }
    const QByteArray bytes = device->read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize || (!device->isSequential() && device->size() > kMaxFileSize)) {
        if (error)
            *error = QStringLiteral("larger than %1 bytes").arg(kMaxFileSize);
        return false;
    }
    return parse(doc, bytes, error, line, column);
}

QString moveAside(const QString& path, int copies)
{
    QString aside;
    QString oldest;
    QDateTime oldestTime;
    for (int n = 0; n < copies; ++n) {
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
        qWarning().noquote() << copies << "damaged copies of" << path << "kept; the oldest," << oldest
                             << ", is removed";
        aside = oldest;
    }
    return !aside.isEmpty() && QFile::rename(path, aside) ? aside : QString();
}

} // namespace BaseXmlFile

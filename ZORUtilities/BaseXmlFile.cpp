#include "BaseXmlFile.h"

#include <QDebug>
#include <QDir>
#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

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
    if (colon < 0)
        return isNcName(QStringRef(&name));
    return isNcName(name.leftRef(colon)) && isNcName(name.midRef(colon + 1));
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
    return changed;
}

bool save(QDomDocument& doc, const QString& path, int indent, QDomNode::EncodingPolicy policy)
{
    removeStaleTemporaries(path);
    if (const int changed = makeStorable(doc))
        qWarning().noquote() << "XML file" << path << ":" << changed
                             << "texts or names no XML file can carry were left out";
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

} // namespace BaseXmlFile

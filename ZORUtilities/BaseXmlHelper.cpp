#include "BaseXmlHelper.h"

#include "BaseXmlFile.h"

#include <QDebug>

namespace {
const char* const kRootName = "root";
const char* const kDeclarationTarget = "xml";
const char* const kDeclarationData = "version = '1.0' encoding = 'utf-8'";
const int kIndent = 4;
}

BaseXmlHelper::BaseXmlHelper() = default;

BaseXmlHelper::BaseXmlHelper(const QString& fileName, bool bRead, BaseXmlFile::Kind kind)
    : isRead(bRead)
    , xmlFile(fileName)
    , kind(kind)
{
    if (!isRead) {
        // Saving with the stream's encoding turns this instruction into the
        // one declaration line of the file.
        doc.appendChild(doc.createProcessingInstruction(kDeclarationTarget, kDeclarationData));
        root = doc.createElement(kRootName);
        parent = root;
        doc.appendChild(root);
        return;
    }

    BaseXmlFile::removeStaleTemporaries(xmlFile);
    if (!BaseXmlFile::parseFile(parsed, xmlFile, kind, &error)) {
        parsed.clear();
        return;
    }
    // The root's name is not checked: any document element is accepted.
    root = parsed.documentElement();
    parent = root;
}

void BaseXmlHelper::beginGroup(const QString& key)
{
    if (!isRead) {
        parent = doc.createElement(key);
        return;
    }
    if (root.isNull())
        return;
    const QDomElement group = root.firstChildElement(key);
    if (!group.isNull())
        parent = group;
}

void BaseXmlHelper::endGroup()
{
    if (isRead) {
        parent = root;
        return;
    }
    // Only a group built by beginGroup() is attached (never the root to itself).
    if (!parent.isNull() && parent != root)
        root.appendChild(parent);
}

QVariant BaseXmlHelper::value(const QString& key, const QVariant& defaultValue) const
{
    QString text;
    if (!parent.isNull())
        text = parent.firstChildElement(key).text();
    if (text.isEmpty())
        return defaultValue;
    if (!BaseXmlFile::isStorable(text)) {
        qWarning().noquote() << "XML file" << xmlFile << ": key" << key
                             << "holds characters no XML file can carry; taken as unreadable";
        return defaultValue;
    }
    return QVariant(text);
}

void BaseXmlHelper::setValue(const QString& key, const QVariant& value)
{
    if (parent.isNull())
        return;
    QDomElement element = doc.createElement(key);
    element.appendChild(doc.createTextNode(value.toString()));
    parent.appendChild(element);
}

bool BaseXmlHelper::sync()
{
    if (isRead || root.isNull())
        return false;
    return BaseXmlFile::save(doc, xmlFile, kIndent, QDomNode::EncodingFromTextStream, kind);
}

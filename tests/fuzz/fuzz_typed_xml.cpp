// The typed mapping (BaseXmlUtilities) on any document, parsed as every
// reader parses; the document saved as the parameter files are (never
// beyond their bounds) and read again.

#include "FuzzSupport.h"
#include "BaseXmlFile.h"
#include "BaseXmlUtilities.h"

#include <QDomDocument>
#include <QDomElement>
#include <QFile>

#include <cmath>

namespace {

// Every type of the family read from the children of an element.
void readAll(const QDomElement& parent)
{
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QString key = e.tagName();
        BaseXmlUtilities::getValue(&parent, key, 0.0);
        BaseXmlUtilities::getValue(&parent, key, 0.0f);
        BaseXmlUtilities::getValue(&parent, key, qint32(0));
        BaseXmlUtilities::getValue(&parent, key, quint32(0));
        BaseXmlUtilities::getValue(&parent, key, qint16(0));
        BaseXmlUtilities::getValue(&parent, key, quint16(0));
        BaseXmlUtilities::getValue(&parent, key, qint8(0));
        BaseXmlUtilities::getValue(&parent, key, quint8(0));
        BaseXmlUtilities::getValue(&parent, key, qint64(0));
        BaseXmlUtilities::getValue(&parent, key, quint64(0));
        BaseXmlUtilities::getValue(&parent, key, false);
        const QString text = BaseXmlUtilities::getValue(&parent, key, QString());
        if (!BaseXmlFile::isStorable(text))
            fuzz::fail("the typed mapping read a text no XML file can carry");
        double value = 1.0;
        BaseXmlUtilities::map(false, const_cast<QDomElement*>(&parent), nullptr, key, value, 1.0);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startInput();
    QDomDocument doc;
    if (!BaseXmlFile::parse(doc, fuzz::bytes(data, size), BaseXmlFile::Kind::Parameter))
        return 0;
    QDomElement root = doc.documentElement();
    readAll(root);
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        readAll(e);

    // Written into the document as a merging save does, then saved.
    double value = 57.735;
    BaseXmlUtilities::map(true, &root, &doc, QStringLiteral("normalTime"), value, 0.0);
    QString text = QStringLiteral("x");
    BaseXmlUtilities::map(true, &root, &doc, QStringLiteral("moduleName"), text, QString());
    const QString out = fuzz::root() + QStringLiteral("/dat/typed.xml");
    QString why;
    if (!BaseXmlFile::save(doc, out, 4, QDomNode::EncodingFromDocument, BaseXmlFile::Kind::Parameter, &why)) {
        // Refused only for a root element whose name no file can carry, or
        // as a file beyond the bounds its reader holds it to (indented, a
        // document within them may not be).
        const bool beyond = BaseXmlFile::refusalOf(why) == BaseXmlFile::Refusal::BeyondBounds;
        if ((!doc.documentElement().isNull() && !beyond) || QFile::exists(out))
            fuzz::fail("a document was not saved", why);
        return 0;
    }
    fuzz::expectWellFormed(out);
    return 0;
}

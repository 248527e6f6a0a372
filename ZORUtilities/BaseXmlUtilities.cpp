#include "BaseXmlUtilities.h"

#include "BaseXmlFile.h"

#include <cmath>
#include <optional>
#include <type_traits>

namespace {

// The innermost open ReadCheck of the thread.
thread_local BaseXmlUtilities::ReadCheck* openCheck = nullptr;
// Whether an ExactNumbers is alive on the thread.
thread_local bool exactNumbers = false;
// The child elements the thread's reads have looked at (visitedChildren).
thread_local quint64 childrenVisited = 0;

// Runs one of QString's checked conversions; nullopt when it fails.
template <typename T, typename Convert>
std::optional<T> checked(Convert convert)
{
    bool ok = false;
    const auto value = convert(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<T>(value);
}

// The text rules of the family, one row per type: write() gives the stored
// text, read() the value of a stored text (nullopt: use the default).
// QString's number conversions are locale-independent, base 10 here, and
// ignore surrounding white space.
template <typename T>
struct TextRule;

template <>
struct TextRule<double> {
    static QString write(double v) { return QString::number(v, 'g', exactNumbers ? 17 : 6); }
    static std::optional<double> read(const QString& t) { return checked<double>([&](bool* ok) { return t.toDouble(ok); }); }
};
template <>
struct TextRule<float> {
    static QString write(float v) { return TextRule<double>::write(double(v)); }
    // Out of float range reads as the default.
    static std::optional<float> read(const QString& t) { return checked<float>([&](bool* ok) { return t.toFloat(ok); }); }
};
// The whole-number rows: written in base 10, read by QString's conversion
// of the type's own width (out of range reads as the default).
template <typename T, T (QString::*Parse)(bool*, int) const>
struct IntegerRule {
    static QString write(T v) { return QString::number(v); }
    static std::optional<T> read(const QString& t) { return checked<T>([&](bool* ok) { return (t.*Parse)(ok, 10); }); }
};
template <>
struct TextRule<qint32> : IntegerRule<qint32, &QString::toInt> {};
template <>
struct TextRule<quint32> : IntegerRule<quint32, &QString::toUInt> {};
template <>
struct TextRule<qint16> : IntegerRule<qint16, &QString::toShort> {};
template <>
struct TextRule<quint16> : IntegerRule<quint16, &QString::toUShort> {};
template <>
struct TextRule<qint64> : IntegerRule<qint64, &QString::toLongLong> {};
template <>
struct TextRule<quint64> : IntegerRule<quint64, &QString::toULongLong> {};
// Eight bits are parsed as 16, then cut to the low 8: "300" reads as 44.
template <>
struct TextRule<qint8> {
    static QString write(qint8 v) { return QString::number(int(v)); }
    static std::optional<qint8> read(const QString& t) { return checked<qint8>([&](bool* ok) { return quint8(t.toShort(ok, 10) & 0xFF); }); }
};
template <>
struct TextRule<quint8> {
    static QString write(quint8 v) { return QString::number(uint(v)); }
    static std::optional<quint8> read(const QString& t) { return checked<quint8>([&](bool* ok) { return quint8(t.toUShort(ok, 10) & 0xFF); }); }
};
template <>
struct TextRule<bool> {
    static QString write(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
    static std::optional<bool> read(const QString& t)
    {
        const QString word = t.trimmed();
        if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        return std::nullopt;
    }
};
template <>
struct TextRule<QString> {
    static QString write(const QString& v) { return v; }
    static std::optional<QString> read(const QString& t) { return t.isEmpty() ? std::nullopt : std::optional<QString>(t); }
};

// The enumeration row needs its QMetaEnum, so it is an object.
struct EnumRule {
    QMetaEnum meta;
    QString write(int v) const { return QString::fromLatin1(meta.valueToKey(v)); }
    std::optional<int> read(const QString& t) const
    {
        return checked<int>([&](bool* ok) { return meta.keysToValue(t.trimmed().toLatin1().constData(), ok); });
    }
};

// As QDomElement::firstChildElement(key), each child looked at counted.
QDomElement firstChild(const QDomElement* parent, const QString& key)
{
    if (!parent)
        return QDomElement();
    for (QDomElement e = parent->firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        ++childrenVisited;
        if (e.tagName() == key)
            return e;
    }
    return QDomElement();
}

// Replaces the element's first text. A value is a leaf: when the first child
// is no text (an element, a comment), the children go and the text is the
// element's only one, which the next read takes. Writing twice keeps one value.
void setText(QDomElement* elem, QDomDocument* doc, const QString& text)
{
    if (!elem || elem->isNull())
        return;
    const QString value = text.isNull() ? QString(QLatin1String("")) : text;
    QDomNode first = elem->firstChild();
    if (first.isText()) {   // a CDATA section too
        first.setNodeValue(value);
        return;
    }
    if (!doc)
        return;
    while (elem->hasChildNodes())
        elem->removeChild(elem->firstChild());
    elem->appendChild(doc->createTextNode(value));
}

// The text map() reads: the element's first child when that is a text.
QString firstText(const QDomElement& elem)
{
    const QDomNode first = elem.firstChild();
    return first.isText() ? first.nodeValue() : QString();
}

// A text that is not storable (BaseXmlFile) is unreadable whatever the type.
template <typename T, typename Rule>
T readText(const Rule& rule, const QString& text, const T& defaultValue)
{
    if (!BaseXmlFile::isStorable(text))
        return defaultValue;
    const std::optional<T> value = rule.read(text);
    return value ? *value : defaultValue;
}

template <typename T, typename Rule>
T elementValue(const Rule& rule, const QDomElement* elem, const T& defaultValue)
{
    if (!elem || elem->isNull())
        return defaultValue;
    return readText(rule, elem->text(), defaultValue);
}

template <typename T, typename Rule>
T keyedValue(const Rule& rule, const QDomElement* parent, const QString& key, const T& defaultValue)
{
    const QDomElement elem = firstChild(parent, key);
    return elementValue(rule, &elem, defaultValue);
}

template <typename T, typename Rule>
QDomElement* setElement(const Rule& rule, QDomElement* elem, QDomDocument* doc, const T& value)
{
    setText(elem, doc, rule.write(value));
    return elem;
}

template <typename T, typename Rule>
QDomElement* setKeyed(const Rule& rule, QDomElement* parent, QDomDocument* doc, const QString& key, const T& value)
{
    QDomElement elem;
    BaseXmlUtilities::getElement(&elem, parent, doc, key, true);
    setText(&elem, doc, rule.write(value));
    return parent;
}

template <typename T, typename Rule>
T& mapValue(const Rule& rule, bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
            T& value, const T& defaultValue)
{
    if (save) {
        setKeyed(rule, parent, doc, key, value);
        return value;
    }
    value = defaultValue;
    const QDomElement elem = firstChild(parent, key);
    if (elem.isNull())
        return value;
    const QString text = firstText(elem);
    const std::optional<T> read = BaseXmlFile::isStorable(text) ? rule.read(text) : std::nullopt;
    if (read)
        value = *read;
    else if (!std::is_same<T, QString>::value || !text.isEmpty())   // an empty text is an empty string's
        BaseXmlUtilities::ReadCheck::note(
            {BaseXmlUtilities::ReadNote::UNREADABLE, BaseXmlUtilities::keyPath(parent, key), text, 0.0, 0.0});
    return value;
}

} // namespace

BaseXmlUtilities::BaseXmlUtilities(QObject* parent)
    : QObject(parent)
{
}

BaseXmlUtilities::ReadCheck::ReadCheck()
    : outer(openCheck)
{
    openCheck = this;
}

BaseXmlUtilities::ReadCheck::~ReadCheck()
{
    openCheck = outer;
}

void BaseXmlUtilities::ReadCheck::note(const ReadNote& note)
{
    if (!openCheck)
        return;
    if (openCheck->notes++ == 0)
        openCheck->firstNote = note;
}

BaseXmlUtilities::ExactNumbers::ExactNumbers()
    : outer(exactNumbers)
{
    exactNumbers = true;
}

BaseXmlUtilities::ExactNumbers::~ExactNumbers()
{
    exactNumbers = outer;
}

double BaseXmlUtilities::asStored(double value)
{
    return std::isfinite(value) ? TextRule<double>::write(value).toDouble() : value;
}

QString BaseXmlUtilities::keyPath(const QDomElement* parent, const QString& key)
{
    QStringList names{key};
    if (parent) {
        const QDomElement top = parent->ownerDocument().documentElement();
        for (QDomElement e = *parent; !e.isNull() && e != top; e = e.parentNode().toElement())
            names.prepend(e.tagName());
    }
    return names.join(QLatin1Char('/'));
}

quint64 BaseXmlUtilities::visitedChildren()
{
    return childrenVisited;
}

void BaseXmlUtilities::visitChild()
{
    ++childrenVisited;
}

void BaseXmlUtilities::getElement(QDomElement* elem, QDomElement* parent, QDomDocument* doc,
                                  const QString& key, bool autocreate)
{
    if (!elem)
        return;
    *elem = firstChild(parent, key);
    if (elem->isNull() && autocreate)
        newElement(elem, parent, doc, key);
}

void BaseXmlUtilities::newElement(QDomElement* elem, QDomElement* parent, QDomDocument* doc,
                                  const QString& key)
{
    if (!elem)
        return;
    *elem = QDomElement();
    if (!parent || parent->isNull() || !doc)
        return;
    *elem = doc->createElement(key);
    parent->appendChild(*elem);
}

// The five shapes of one type; ARG is how the type is passed in.
#define ZOR_XML_VALUE_FAMILY(T, ARG)                                                                  \
    T BaseXmlUtilities::getValue(const QDomElement* elem, ARG defaultValue)                          \
    {                                                                                                 \
        return elementValue<T>(TextRule<T>(), elem, defaultValue);                                    \
    }                                                                                                 \
    T BaseXmlUtilities::getValue(const QDomElement* parent, const QString& key, ARG defaultValue)    \
    {                                                                                                 \
        return keyedValue<T>(TextRule<T>(), parent, key, defaultValue);                               \
    }                                                                                                 \
    QDomElement* BaseXmlUtilities::setValue(QDomElement* elem, QDomDocument* doc, ARG value)         \
    {                                                                                                 \
        return setElement<T>(TextRule<T>(), elem, doc, value);                                        \
    }                                                                                                 \
    QDomElement* BaseXmlUtilities::setValue(QDomElement* parent, QDomDocument* doc, const QString& key, \
                                            ARG value)                                                \
    {                                                                                                 \
        return setKeyed<T>(TextRule<T>(), parent, doc, key, value);                                   \
    }                                                                                                 \
    T& BaseXmlUtilities::map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,  \
                             T& value, ARG defaultValue)                                              \
    {                                                                                                 \
        return mapValue<T>(TextRule<T>(), save, parent, doc, key, value, defaultValue);               \
    }

ZOR_XML_VALUE_FAMILY(double, double)
ZOR_XML_VALUE_FAMILY(float, float)
ZOR_XML_VALUE_FAMILY(qint32, qint32)
ZOR_XML_VALUE_FAMILY(quint32, quint32)
ZOR_XML_VALUE_FAMILY(qint16, qint16)
ZOR_XML_VALUE_FAMILY(quint16, quint16)
ZOR_XML_VALUE_FAMILY(qint8, qint8)
ZOR_XML_VALUE_FAMILY(quint8, quint8)
ZOR_XML_VALUE_FAMILY(qint64, qint64)
ZOR_XML_VALUE_FAMILY(quint64, quint64)
ZOR_XML_VALUE_FAMILY(bool, bool)
ZOR_XML_VALUE_FAMILY(QString, const QString&)

#undef ZOR_XML_VALUE_FAMILY

int BaseXmlUtilities::getValue(const QDomElement* elem, const QMetaEnum& meta, int defaultValue)
{
    return elementValue<int>(EnumRule{meta}, elem, defaultValue);
}

int BaseXmlUtilities::getValue(const QDomElement* parent, const QString& key, const QMetaEnum& meta,
                               int defaultValue)
{
    return keyedValue<int>(EnumRule{meta}, parent, key, defaultValue);
}

QDomElement* BaseXmlUtilities::setValue(QDomElement* elem, QDomDocument* doc, const QMetaEnum& meta, int value)
{
    return setElement<int>(EnumRule{meta}, elem, doc, value);
}

QDomElement* BaseXmlUtilities::setValue(QDomElement* parent, QDomDocument* doc, const QString& key,
                                        const QMetaEnum& meta, int value)
{
    return setKeyed<int>(EnumRule{meta}, parent, doc, key, value);
}

int& BaseXmlUtilities::map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                           const QMetaEnum& meta, int& value, int defaultValue)
{
    return mapValue<int>(EnumRule{meta}, save, parent, doc, key, value, defaultValue);
}

#include <gtest/gtest.h>

#include "BaseXmlUtilities.h"

#include <QDomDocument>
#include <QMetaEnum>

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class XmlTestPorts
{
    Q_GADGET
public:
    enum PortType { PORT_UA = 0, PORT_UB = 1, PORT_IX = 7 };
    Q_ENUM(PortType)
};

namespace {

using X = BaseXmlUtilities;

// The five shapes of one plain type.
template <typename T>
struct Plain {
    static T get(const QDomElement* e, const T& d) { return X::getValue(e, d); }
    static T getKeyed(const QDomElement* p, const QString& k, const T& d) { return X::getValue(p, k, d); }
    static void set(QDomElement* e, QDomDocument* doc, const T& v) { X::setValue(e, doc, v); }
    static void setKeyed(QDomElement* p, QDomDocument* doc, const QString& k, const T& v) { X::setValue(p, doc, k, v); }
    static void map(bool s, QDomElement* p, QDomDocument* doc, const QString& k, T& v, const T& d) { X::map(s, p, doc, k, v, d); }
};

// The five shapes of the enumeration.
struct Enum {
    static QMetaEnum meta() { return QMetaEnum::fromType<XmlTestPorts::PortType>(); }
    static int get(const QDomElement* e, int d) { return X::getValue(e, meta(), d); }
    static int getKeyed(const QDomElement* p, const QString& k, int d) { return X::getValue(p, k, meta(), d); }
    static void set(QDomElement* e, QDomDocument* doc, int v) { X::setValue(e, doc, meta(), v); }
    static void setKeyed(QDomElement* p, QDomDocument* doc, const QString& k, int v) { X::setValue(p, doc, k, meta(), v); }
    static void map(bool s, QDomElement* p, QDomDocument* doc, const QString& k, int& v, int d) { X::map(s, p, doc, k, meta(), v, d); }
};

struct Doc {
    QDomDocument doc;
    QDomElement parent;
    Doc()
    {
        parent = doc.createElement("P");
        doc.appendChild(parent);
    }
    // Adds <key>text</key> (no text node for an empty text) under the parent.
    QDomElement add(const QString& key, const QString& text)
    {
        QDomElement e = doc.createElement(key);
        if (!text.isEmpty())
            e.appendChild(doc.createTextNode(text));
        parent.appendChild(e);
        return e;
    }
    QString text(const QString& key) const { return parent.firstChildElement(key).text(); }
    int count(const QString& key) const { return parent.elementsByTagName(key).count(); }
};

// Checks the write rule (all three writing shapes) and the read rule (all
// three reading shapes) of one type; nullopt in a read row means "default".
template <typename T, typename Ops = Plain<T>>
void checkRules(const char* type, const T& defaultValue, const std::vector<std::pair<T, QString>>& writes,
                const std::vector<std::pair<QString, std::optional<T>>>& reads)
{
    for (const auto& [value, text] : writes) {
        const std::string row = std::string(type) + " writes " + text.toStdString();
        Doc d;
        QDomElement elem = d.add("E", QString());
        Ops::set(&elem, &d.doc, value);
        Ops::setKeyed(&d.parent, &d.doc, "K", value);
        T field = value;
        Ops::map(true, &d.parent, &d.doc, "M", field, defaultValue);
        EXPECT_EQ(d.text("E"), text) << row;
        EXPECT_EQ(d.text("K"), text) << row;
        EXPECT_EQ(d.text("M"), text) << row;
    }
    for (const auto& [text, expected] : reads) {
        const std::string row = std::string(type) + " reads '" + text.toStdString() + "'";
        const T want = expected.value_or(defaultValue);
        Doc d;
        const QDomElement elem = d.add("K", text);
        EXPECT_EQ(Ops::get(&elem, defaultValue), want) << row;
        EXPECT_EQ(Ops::getKeyed(&d.parent, "K", defaultValue), want) << row;
        T field = writes.front().first;
        Ops::map(false, &d.parent, &d.doc, "K", field, defaultValue);
        EXPECT_EQ(field, want) << row;
    }
    // A missing key reads as the default; map stores it over the field.
    Doc d;
    T field = writes.front().first;
    ASSERT_FALSE(field == defaultValue) << type;
    Ops::map(false, &d.parent, &d.doc, "MISSING", field, defaultValue);
    EXPECT_EQ(field, defaultValue) << type;
    EXPECT_EQ(Ops::getKeyed(&d.parent, "MISSING", defaultValue), defaultValue) << type;
}

} // namespace

TEST(BaseXmlUtilities, EachTypeWritesAndReadsByItsRules)
{
    using std::nullopt;
    using L64 = std::numeric_limits<qint64>;
    using U64 = std::numeric_limits<quint64>;

    checkRules<double>("double", 7.5,
        {{57.7350269, "57.735"}, {0.015, "0.015"}, {1.5e6, "1.5e+06"}, {1234567.0, "1.23457e+06"},
         {1e-5, "1e-05"}, {265.0, "265"}, {-0.25, "-0.25"}},
        {{"57.735", 57.735}, {" 1.5e3 ", 1500.0}, {"-.5", -0.5}, {"1,5", nullopt}, {"12abc", nullopt},
         {"0x10", nullopt}, {"", nullopt}});
    checkRules<float>("float", 2.5f,
        {{0.1f, "0.1"}, {1.5e6f, "1.5e+06"}, {3.0f, "3"}},
        {{"0.25", 0.25f}, {"1e39", nullopt}, {"x", nullopt}});
    checkRules<qint32>("qint32", 42,
        {{-5, "-5"}, {2147483647, "2147483647"}},
        {{"+5", 5}, {" 7 ", 7}, {"-2147483648", std::numeric_limits<qint32>::min()}, {"2147483648", nullopt},
         {"1.5", nullopt}, {"0x10", nullopt}, {"1,000", nullopt}, {"", nullopt}});
    checkRules<quint32>("quint32", 42u,
        {{4294967295u, "4294967295"}},
        {{"4294967295", 4294967295u}, {"-1", nullopt}, {"4294967296", nullopt}});
    checkRules<qint16>("qint16", qint16(42),
        {{qint16(-32768), "-32768"}},
        {{"32767", qint16(32767)}, {"32768", nullopt}});
    checkRules<quint16>("quint16", quint16(42),
        {{quint16(65535), "65535"}},
        {{"65535", quint16(65535)}, {"65536", nullopt}, {"-1", nullopt}});
    checkRules<qint8>("qint8", qint8(42),
        {{qint8(-128), "-128"}, {qint8(127), "127"}},
        {{"300", qint8(44)}, {"200", qint8(-56)}, {"-1", qint8(-1)}, {"70000", nullopt}, {"abc", nullopt}});
    checkRules<quint8>("quint8", quint8(42),
        {{quint8(255), "255"}},
        {{"300", quint8(44)}, {"65535", quint8(255)}, {"70000", nullopt}, {"-1", nullopt}});
    checkRules<qint64>("qint64", qint64(42),
        {{L64::min(), "-9223372036854775808"}},
        {{"9223372036854775807", L64::max()}, {"9223372036854775808", nullopt}});
    checkRules<quint64>("quint64", quint64(42),
        {{U64::max(), "18446744073709551615"}},
        {{"18446744073709551615", U64::max()}, {"18446744073709551616", nullopt}});
    checkRules<bool>("bool", false,
        {{true, "true"}, {false, "false"}},
        {{"True", true}, {" tRUE ", true}, {"1", nullopt}, {"yes", nullopt}, {"", nullopt}});
    checkRules<bool>("bool", true,
        {{false, "false"}},
        {{"FALSE", false}, {"0", nullopt}, {"no", nullopt}});
    checkRules<QString>("QString", QString("dflt"),
        {{"a<b & c>", "a<b & c>"}, {" x ", " x "}},
        {{" x ", QString(" x ")}, {QString::fromUtf8("测试仪"), QString::fromUtf8("测试仪")}, {"", nullopt}});
    checkRules<int, Enum>("enum", int(XmlTestPorts::PORT_UB),
        {{XmlTestPorts::PORT_IX, "PORT_IX"}, {5, ""}},
        {{"PORT_IX", 7}, {" PORT_UA ", 0}, {"PORT_UA|PORT_IX", 7}, {"port_ix", nullopt}, {"7", nullopt},
         {"", nullopt}});
}

TEST(BaseXmlUtilities, WritingAgainReplacesTheValue)
{
    Doc d;
    X::setValue(&d.parent, &d.doc, "K", 1);
    X::setValue(&d.parent, &d.doc, "K", 2);
    double field = 3.25;
    X::map(true, &d.parent, &d.doc, "M", field, 0.0);
    field = 4.5;
    X::map(true, &d.parent, &d.doc, "M", field, 0.0);
    // An enumeration without a name leaves an empty text; naming it later must not add a second one.
    X::setValue(&d.parent, &d.doc, "E", Enum::meta(), 5);
    X::setValue(&d.parent, &d.doc, "E", Enum::meta(), XmlTestPorts::PORT_IX);
    QString s; // a null string as well
    X::map(true, &d.parent, &d.doc, "S", s, QString());
    s = "text";
    X::map(true, &d.parent, &d.doc, "S", s, QString());

    for (const char* key : {"K", "M", "E", "S"}) {
        EXPECT_EQ(d.count(key), 1) << key;
        EXPECT_EQ(d.parent.firstChildElement(key).childNodes().count(), 1) << key;
    }
    int port = 0;
    X::map(false, &d.parent, &d.doc, "E", Enum::meta(), port, XmlTestPorts::PORT_UB);
    EXPECT_EQ(port, XmlTestPorts::PORT_IX);
    EXPECT_EQ(X::map(false, &d.parent, &d.doc, "M", field, 0.0), 4.5);
    EXPECT_EQ(X::getValue(&d.parent, "K", 0), 2);
    EXPECT_EQ(X::getValue(&d.parent, "S", QString("dflt")), "text");

    // newElement always appends; getElement finds the first.
    QDomElement a, b, found;
    X::newElement(&a, &d.parent, &d.doc, "item");
    X::newElement(&b, &d.parent, &d.doc, "item");
    X::getElement(&found, &d.parent, &d.doc, "item", true);
    EXPECT_EQ(d.count("item"), 2);
    EXPECT_EQ(found, a);
    EXPECT_NE(a, b);

    // A first child that is not text: setValue leaves the value alone in the
    // element, so that map, which reads only a first text, reads it too.
    QDomElement nested = d.add("N", QString());
    nested.appendChild(d.doc.createElement("SUB"));
    nested.appendChild(d.doc.createTextNode("7"));
    int mapped = 1;
    EXPECT_EQ(X::map(false, &d.parent, &d.doc, "N", mapped, 9), 9);
    X::setValue(&nested, &d.doc, 5);
    EXPECT_EQ(X::getValue(&nested, 0), 5);
    EXPECT_EQ(X::map(false, &d.parent, &d.doc, "N", mapped, 9), 5);
}

TEST(BaseXmlUtilities, MissingAndNullElementsGiveDefaults)
{
    Doc d;
    QDomElement missing, deeper;
    X::getElement(&missing, &d.parent, &d.doc, "NONE", false);
    EXPECT_TRUE(missing.isNull());
    EXPECT_EQ(X::getValue(&missing, 3), 3);
    EXPECT_EQ(X::setValue(&missing, &d.doc, "CHILD", 5u), &missing);
    // Below a null element (or none) every lookup is null and nothing is created.
    X::getElement(&deeper, &missing, &d.doc, "X", true);
    EXPECT_TRUE(deeper.isNull());
    X::newElement(&deeper, nullptr, &d.doc, "X");
    EXPECT_TRUE(deeper.isNull());
    bool flag = false;
    EXPECT_TRUE(X::map(false, nullptr, nullptr, "B", flag, true));
    EXPECT_EQ(d.parent.childNodes().count(), 0);
}

#include "XmlUtilitiesTest.moc"

// Every fuzz target of a kind of XML file starts from seeds at and one past
// each bound of its kind (tests/fuzz/seeds/<target>/bound-*): a file of the
// kind the target already has a seed of, grown to the bound, in the target's
// input form. ZOR_UPDATE_GOLDEN=1 writes them.

#include "BaseXmlFile.h"

#include <gtest/gtest.h>

#include <QDomDocument>
#include <QFile>
#include <QXmlStreamReader>

#include <cstring>
#include <functional>

namespace {

using BaseXmlFile::Kind;

QByteArray seed(const QString& path)
{
    QFile file(QStringLiteral(ZOR_SOURCE_DIR "/tests/fuzz/seeds/") + path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Elements and nesting of a document.
std::pair<int, int> countsOf(const QByteArray& doc)
{
    QXmlStreamReader reader(doc);
    int elements = 0, depth = 0, deepest = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++elements;
            deepest = std::max(deepest, ++depth);
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    return {elements, deepest};
}

// doc with more inserted before its root's end tag.
QByteArray inside(QByteArray doc, const QByteArray& more)
{
    return doc.insert(doc.lastIndexOf("</"), more);
}

// doc grown to n of one bound.
QByteArray grown(const QByteArray& doc, const char* bound, int n)
{
    const auto [elements, nesting] = countsOf(doc);
    const QByteArray name(bound);
    if (name == "bytes")
        return inside(doc, QByteArray(n - doc.size(), ' '));
    if (name == "elements")
        return inside(doc, QByteArray("<x/>").repeated(n - elements));
    if (name == "nesting")
        return inside(doc, QByteArray("<n>").repeated(n - 1) + QByteArray("</n>").repeated(n - 1));
    // Attributes on the root (after its name).
    QByteArray attributes;
    for (int i = 0; i < n; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    int root = doc.indexOf('<');
    while (doc.at(root + 1) == '?' || doc.at(root + 1) == '!')
        root = doc.indexOf('<', root + 1);
    const int end = root + 1 + int(std::strcspn(doc.constData() + root + 1, " />"));
    return QByteArray(doc).insert(end, attributes);
}

// The file-transfer target's input importing doc as name in mode: the mode
// command, the head, chunks of 1,024 bytes and of 17 x k bytes (the lengths
// its chunk byte gives, k up to 31), "SEND_END". Spaces go before the root's
// end tag until the size is one such chunks make, unless keepSize.
QByteArray transfer(int mode, const QByteArray& name, QByteArray doc, bool keepSize)
{
    const auto seventeens = [](int size) {
        for (int k = 0; k < 1024 && 17 * k <= size; ++k) {
            if ((size - 17 * k) % 1024 == 0)
                return k;
        }
        return -1;
    };
    while (seventeens(doc.size()) < 0 && !keepSize)
        doc = inside(doc, " ");
    int k = seventeens(doc.size());
    if (k < 0)
        return QByteArray();
    const auto head = [](const QByteArray& n, quint32 size) {
        QByteArray h(1, char((n.size() << 2) | 1));
        h += n;
        for (int b = 0; b < 4; ++b)
            h += char((size >> (8 * b)) & 0xFF);
        return h;
    };
    QByteArray input = QByteArray(1, '\0') + char(mode) + head(name, quint32(doc.size()));
    int at = 0;
    for (; at + 1024 <= doc.size() - 17 * k; at += 1024)
        input += char(0xFE) + doc.mid(at, 1024);
    for (; k > 0; k -= std::min(k, 31)) {
        const int part = std::min(k, 31);   // a chunk byte below 0x80: its length is its bytes
        input += char((part << 2) | 2) + doc.mid(at, 17 * part);
        at += 17 * part;
    }
    return input + head("SEND_END", 0);
}

struct Target
{
    const char* folder;
    const char* prefix;   // of the seeds' names
    Kind kind;
    QByteArray doc;       // a file of the kind
    std::function<QByteArray(const QByteArray&, bool bytesBound)> input;
};

} // namespace

TEST(FuzzSeeds, EveryTargetOfAFileKindHasSeedsAtAndOnePastEachBoundOfItsKind)
{
    const auto selected = [](char selector) {
        return [selector](const QByteArray& doc, bool) { return selector + doc; };
    };
    const auto plain = [](const QByteArray& doc, bool) { return doc; };
    // A page's file holding one of its values: the page's save adds the others.
    const QByteArray parameter = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<DataRoot>\n    "
                                 "<normalTime>1.5</normalTime>\n</DataRoot>\n";
    const QByteArray calibration = seed("fuzz_calibration/acamp.xml").mid(1);
    const Target targets[] = {
        {"fuzz_parameter", "bound", Kind::Backup, parameter, selected(0)},   // the AC page's File > Load
        {"fuzz_typed_xml", "bound", Kind::Parameter, seed("fuzz_typed_xml/parameter.xml"), plain},
        {"fuzz_file_transfer", "bound-parameter", Kind::Backup, parameter,
         [](const QByteArray& doc, bool bytes) { return transfer(5, "AC/b.xml", doc, bytes); }},
        {"fuzz_file_transfer", "bound-calibration", Kind::Calibration, calibration,
         [](const QByteArray& doc, bool bytes) { return transfer(6, "calacamp.xml", doc, bytes); }},
        {"fuzz_calibration", "bound", Kind::Calibration, calibration, selected(0)},   // calacamp.xml
        {"fuzz_configuration", "bound", Kind::Settings, seed("fuzz_configuration/devinfo").mid(1), selected(1)},
        {"fuzz_keyvalue_xml", "bound", Kind::Settings, seed("fuzz_keyvalue_xml/flat.xml"), plain},
        {"fuzz_timezone", "bound", Kind::TimeZones, seed("fuzz_timezone/zones.xml"), plain},
    };
    const bool update = qEnvironmentVariableIsSet("ZOR_UPDATE_GOLDEN");
    for (const Target& target : targets) {
        ASSERT_FALSE(target.doc.isEmpty()) << target.folder;
        const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(target.kind);
        const std::pair<const char*, int> bounds[] = {
            {"bytes", int(limit.bytes)}, {"elements", limit.elements}, {"attributes", limit.attributes},
            {"nesting", limit.nesting}};
        for (const auto& [bound, n] : bounds) {
            for (const int past : {0, 1}) {
                const QString name = QStringLiteral("%1/%2-%3-%4").arg(target.folder, target.prefix, bound,
                                                                      past ? "past" : "at");
                SCOPED_TRACE(name.toStdString());
                const QByteArray doc = grown(target.doc, bound, n + past);
                QDomDocument parsed;
                QString error;
                ASSERT_EQ(BaseXmlFile::parse(parsed, doc, target.kind, &error), !past) << error.toStdString();
                if (past) {
                    EXPECT_EQ(BaseXmlFile::refusalOf(error), BaseXmlFile::Refusal::BeyondBounds);
                }
                const QByteArray input = target.input(doc, QByteArray(bound) == "bytes");
                ASSERT_FALSE(input.isEmpty());
                if (update) {
                    QFile file(QStringLiteral(ZOR_SOURCE_DIR "/tests/fuzz/seeds/") + name);
                    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                    file.write(input);
                }
                EXPECT_TRUE(seed(name) == input) << "not in the seeds as it is made here";
            }
        }
    }
}

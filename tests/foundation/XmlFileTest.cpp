// Characters no XML file can carry, through the key/value and typed readers
// and the key/value writer; names a namespace-aware reader refuses; the
// temporaries an interrupted save leaves.

#include <gtest/gtest.h>

#include "BaseXmlFile.h"
#include "BaseXmlHelper.h"
#include "BaseXmlUtilities.h"
#include "TestSandbox.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <functional>

#include <sys/stat.h>

namespace {

// The text of <s> as Qt's parser gives it.
QString parsedText(const QByteArray& body)
{
    QDomDocument doc;
    EXPECT_TRUE(doc.setContent(body));
    return doc.documentElement().firstChildElement("s").text();
}

} // namespace

TEST(XmlFile, TextsNoXmlFileCanCarryAreUnreadableAndNeverWritten)
{
    struct Row {
        const char* name;
        const char* text;   // inside <s>, as a file holds it
        bool storable;
        const char* written;   // what a writer given the parsed text stores
        double number;         // "1" + text read as a double, default -1
    };
    const Row rows[] = {
        {"U+FFFE", "a&#xFFFE;b", false, "ab", -1},
        {"U+FFFF", "a&#xFFFF;b", false, "ab", -1},
        {"lone surrogate, never '?'", "a&#xDFFE;b", false, "ab", -1},
        {"lone high surrogate", "a&#xD800;", false, "a", -1},
        {"C0 control", "a&#x1;b", false, "ab", -1},
        {"raw C0 control", "a\x02" "b", false, "ab", -1},
        {"NUL", "a&#x0;b", false, "ab", -1},
        {"form feed, white space to a number", "&#xC;", false, "", -1},
        {"tab and LF", "x&#x9;&#xA;", true, "x\t\n", -1},
        {"surrogate pair", "&#xD83D;&#xDE00;", true, "\xF0\x9F\x98\x80", -1},
        {"U+FDD0 and U+0085", "&#xFDD0;&#x85;", true, "\xEF\xB7\x90\xC2\x85", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestSandbox box;
        const QByteArray body = QByteArray("<root><s>") + row.text + "</s><n>1" + row.text + "</n></root>";
        const QString path = box.write("in.xml", body);
        const QString text = parsedText(body);

        BaseXmlHelper reader(path, true);
        EXPECT_EQ(reader.value("s", "default").toString(), row.storable ? text : QString("default"));
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(body));
        const QDomElement root = doc.documentElement();
        EXPECT_EQ(BaseXmlUtilities::getValue(&root, "s", QString("default")), row.storable ? text : QString("default"));
        EXPECT_EQ(BaseXmlUtilities::getValue(&root, "n", -1.0), row.number);

        // Written back, the file is one that it and any other reader takes.
        const QString out = box.filePath("out.xml");
        BaseXmlHelper writer(out, false);
        writer.setValue("s", text);
        writer.setValue("t", 1);
        ASSERT_TRUE(writer.sync());
        const QByteArray bytes = box.read(out);
        QDomDocument back;
        ASSERT_TRUE(back.setContent(bytes)) << bytes.toStdString();
        EXPECT_EQ(back.documentElement().firstChildElement("s").text(), QString::fromUtf8(row.written));
        EXPECT_EQ(back.documentElement().firstChildElement("t").text(), "1");
    }
}

TEST(XmlFile, OnlyTheTemporariesOfAnInterruptedSaveOfTheFileAreRemoved)
{
    struct Row {
        const char* name;
        bool removed;
    };
    const Row rows[] = {
        {"softinfo.xml.RteEWy", true},   {"softinfo.xml.abcdef", true},   {"softinfo.xml.RteEW", false},
        {"softinfo.xml.RteEWyz", false}, {"softinfo.xml.Rte3Wy", false},  {"softinfo.xmlXRteEWy", false},
        {"softinfo.xml.damaged", false}, {"devinfo.xml.RteEWy", false},  {".softinfo.xml.RteEWy", false},
    };
    TestSandbox box;
    const QString path = box.write("dat/softinfo.xml", "<root><DITHER_TIME>0.2</DITHER_TIME></root>");
    // Neither a folder nor a link of that name (nor what it points at) goes.
    QDir().mkpath(box.filePath("dat/softinfo.xml.QwErTy"));
    const QString outside = box.write("outside.xml", "x");
    ASSERT_TRUE(QFile::link(outside, box.filePath("dat/softinfo.xml.LnKaBc")));

    for (const char* step : {"load", "save"}) {
        SCOPED_TRACE(step);
        for (const Row& row : rows)
            box.write(QString("dat/") + row.name, "<root/>");
        if (QString(step) == "load") {
            BaseXmlHelper xml(path, true);
            EXPECT_EQ(xml.value("DITHER_TIME", 0).toString(), "0.2");
        } else {
            BaseXmlHelper xml(path, false);
            xml.setValue("DITHER_TIME", 0.3);
            ASSERT_TRUE(xml.sync());
        }
        for (const Row& row : rows)
            EXPECT_EQ(QFileInfo::exists(box.filePath(QString("dat/") + row.name)), !row.removed) << row.name;
        EXPECT_TRUE(QFileInfo(box.filePath("dat/softinfo.xml.QwErTy")).isDir());
        EXPECT_TRUE(QFileInfo(box.filePath("dat/softinfo.xml.LnKaBc")).isSymLink());
        EXPECT_TRUE(QFileInfo::exists(outside));
    }
}

// A save puts a file in the place of a link, never writing where it leads
// (a device, a file anywhere).
TEST(XmlFile, ASaveReplacesALinkInsteadOfWritingThroughIt)
{
    TestSandbox box;
    const QString target = box.write("elsewhere/target.xml", "<kept/>");
    const QString path = box.filePath("dat/softinfo.xml");
    ASSERT_TRUE(QDir().mkpath(box.filePath("dat")));
    ASSERT_TRUE(QFile::link(target, path));
    BaseXmlHelper xml(path, false);
    xml.setValue("DITHER_TIME", 0.3);
    ASSERT_TRUE(xml.sync());
    EXPECT_EQ(box.read(target), "<kept/>");
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(BaseXmlHelper(path, true).value("DITHER_TIME", 0).toString(), "0.3");
}

// Only a regular file is read, never waited on nor read without end.
TEST(XmlFile, OnlyARegularFileIsRead)
{
    using BaseXmlFile::Read;
    TestSandbox box;
    const QString file = box.write("f.xml", "<r/>");
    ASSERT_EQ(::mkfifo(QFile::encodeName(box.filePath("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(box.filePath("folder")));
    ASSERT_TRUE(QFile::link("/dev/zero", box.filePath("zero")));
    ASSERT_TRUE(QFile::link(file, box.filePath("link")));
    const struct {
        const char* name;
        bool followLinks;
        qint64 limit;
        Read read;
    } rows[] = {
        {"f.xml", true, 4, Read::Whole},      {"f.xml", true, 3, Read::TooLarge},
        {"link", true, 4, Read::Whole},       {"link", false, 4, Read::NotAFile},
        {"zero", true, 4, Read::NotAFile},    {"fifo", true, 4, Read::NotAFile},
        {"folder", true, 4, Read::NotAFile},  {"missing", true, 4, Read::Missing},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes = "old";
        EXPECT_EQ(BaseXmlFile::readRegularFile(box.filePath(row.name), row.limit, &bytes, row.followLinks), row.read);
        EXPECT_EQ(bytes, row.read == Read::Whole ? QByteArray("<r/>") : QByteArray());
    }
}

TEST(XmlFile, ASaveHoldsOnlyNamesAStrictNamespaceAwareReaderTakes)
{
    struct Row {
        const char* inside;   // in the root of the document saved
        const char* kept;     // in the file written
        const char* gone;     // not in it
    };
    const Row rows[] = {
        {"<p:x/><k/>", "<k/>", "p:x"},
        {"<k p:x=\"1\"/>", "<k/>", "p:x"},
        {"<xmlns:x/><k/>", "<k/>", "xmlns:x"},
        {"<k xmlns:p=\"\"/>", "<k/>", "xmlns:p"},
        {"<k xmlns:xml=\"urn:other\"/>", "<k/>", "urn:other"},
        {"<k xmlns:xmlns=\"urn:x\"/>", "<k/>", "urn:x"},
        {"<k xmlns=\"http://www.w3.org/2000/xmlns/\"/>", "<k/>", "2000/xmlns"},
        {"<k xmlns:p=\"urn:x\" xmlns:q=\"urn:x\" p:a=\"1\" q:a=\"2\"/>", "p:a=\"1\"", "q:a"},
        // A declaration holds for its element and what it holds, no further.
        {"<p:k xmlns:p=\"urn:x\"><p:in p:a=\"1\"/></p:k><p:out/>", "<p:in p:a=\"1\"/>", "p:out"},
        {"<k xml:lang=\"en\" xmlns:xml=\"http://www.w3.org/XML/1998/namespace\"/>", "xml:lang=\"en\"", nullptr},
        // A name character of the current edition only (U+0718).
        {"<t\xDC\x98/><k a\xDC\x98=\"1\"/>", "<k/>", "\xDC\x98"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.inside);
        TestSandbox box;
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(QByteArray("<root>") + row.inside + "</root>"));
        const QString path = box.filePath("out.xml");
        ASSERT_TRUE(BaseXmlFile::save(doc, path, 0, QDomNode::EncodingFromDocument, BaseXmlFile::Kind::Parameter));
        const QByteArray bytes = box.read(path);
        QXmlStreamReader reader(bytes);
        reader.setNamespaceProcessing(true);
        while (!reader.atEnd())
            reader.readNext();
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << bytes.toStdString();
        EXPECT_TRUE(bytes.contains(row.kept)) << bytes.toStdString();
        if (row.gone) {
            EXPECT_FALSE(bytes.contains(row.gone)) << bytes.toStdString();
        }
    }

    // A root that has to go leaves no file without one: the save is refused.
    TestSandbox box;
    const QString path = box.write("out.xml", "<root/>");
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(QByteArray("<p:root><k/></p:root>")));
    EXPECT_FALSE(BaseXmlFile::save(doc, path, 0, QDomNode::EncodingFromDocument, BaseXmlFile::Kind::Parameter));
    EXPECT_EQ(box.read(path), "<root/>");
}

TEST(XmlFile, NestingIsCountedThroughMarkupThatIsNotAnElementAndADeepDocumentIsRefused)
{
    using BaseXmlFile::Kind;
    const int limit = BaseXmlFile::bounds(Kind::Settings).nesting;
    // body inside levels more elements.
    const auto wrapped = [](const QByteArray& body, int levels) {
        return QByteArray("<w>").repeated(levels) + body + QByteArray("</w>").repeated(levels);
    };
    struct Row {
        const char* body;
        int depth;
    };
    const Row rows[] = {
        {"<a><b/><c x=\"1>2\" y='/>'><d>t</d></c></a>", 3},
        {"<a><!-- <b><c><d> --><![CDATA[<b><c>]]><?pi <b><c> ?></a>", 1},
        {"<a/>", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        QDomDocument doc;
        EXPECT_TRUE(BaseXmlFile::parse(doc, wrapped(row.body, limit - row.depth), Kind::Settings));
        QString error;
        EXPECT_FALSE(BaseXmlFile::parse(doc, wrapped(row.body, limit - row.depth + 1), Kind::Settings, &error));
        EXPECT_TRUE(doc.documentElement().isNull());
        EXPECT_FALSE(error.isEmpty());
    }
    // UTF-16 counts its characters.
    const QString utf16 = QString::fromLatin1(wrapped("<a/>", limit + 1));
    QDomDocument doc;
    EXPECT_FALSE(BaseXmlFile::parse(doc, QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2),
                                    Kind::Settings));
}

// Each bound of each kind of file: a document at it is taken, one past it
// refused, before it is built.
TEST(XmlFile, EveryKindOfFileIsHeldToItsBounds)
{
    using BaseXmlFile::Kind;
    const auto repeated = [](const char* pattern, int times) {
        QByteArray text;
        for (int i = 0; i < times; ++i)
            text += QByteArray(pattern).replace("%", QByteArray::number(i));
        return text;
    };
    for (const Kind kind : {Kind::Parameter, Kind::Backup, Kind::Calibration, Kind::Settings, Kind::TimeZones}) {
        const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(kind);
        const struct {
            const char* bound;
            std::function<QByteArray(int)> document;   // at the bound given
            int at;
        } rows[] = {
            {"bytes", [](int n) { return "<r>" + QByteArray(n - 7, ' ') + "</r>"; }, int(limit.bytes)},
            {"elements", [&](int n) { return "<r>" + repeated("<e/>", n - 1) + "</r>"; }, limit.elements},
            {"attributes", [&](int n) { return "<r " + repeated("a%=\"1\" ", n) + "/>"; }, limit.attributes},
            {"nesting", [&](int n) { return repeated("<e>", n) + repeated("</e>", n); }, limit.nesting},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(QString("kind %1, %2 %3").arg(int(kind)).arg(row.bound).arg(row.at).toStdString());
            QDomDocument doc;
            EXPECT_TRUE(BaseXmlFile::parse(doc, row.document(row.at), kind));
            QString error;
            EXPECT_FALSE(BaseXmlFile::parse(doc, row.document(row.at + 1), kind, &error));
            EXPECT_TRUE(doc.documentElement().isNull());
            EXPECT_FALSE(error.isEmpty());
        }
    }
}

// Depth a scan of the bytes does not see: markup in an entity, expanded where
// it is referred to, and markup in a declared encoding whose '<' is no ASCII
// byte. The parser meets 30,000 levels in each. And an encoding no codec
// reads, which the parser would read as UTF-8.
TEST(XmlFile, NestingHiddenFromAScanOfTheBytesIsRefused)
{
    constexpr int kLevels = 30000;
    const QByteArray rows[] = {
        "<!DOCTYPE r [<!ENTITY e \"" + QByteArray("<a>").repeated(kLevels) + QByteArray("</a>").repeated(kLevels)
            + "\">]><r>&e;</r>",
        "<!DOCTYPE r [<!ENTITY o \"<a>\"><!ENTITY t \"" + QByteArray("&o;").repeated(1000) + "\">]><r>"
            + QByteArray("&t;").repeated(kLevels / 1000) + QByteArray("</a>").repeated(kLevels) + "</r>",
        "<?xml version=\"1.0\" encoding=\"UTF-7\"?><r>" + QByteArray("+ADw-a+AD4-").repeated(kLevels) + "</r>",
        "<?xml version=\"1.0\" encoding=\"x-no-such-enc\"?><r>1</r>",
    };
    for (const QByteArray& row : rows) {
        QDomDocument doc;
        QString error;
        EXPECT_FALSE(BaseXmlFile::parse(doc, row, BaseXmlFile::Kind::Parameter, &error)) << row.left(60).constData();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(doc.documentElement().isNull());
    }
    // The declared encoding is still the one read.
    QDomDocument doc;
    ASSERT_TRUE(BaseXmlFile::parse(doc, "<?xml version=\"1.0\" encoding=\"UTF-7\"?><r>+ADw-a+AD4-x+ADw-/a+AD4-</r>",
                                   BaseXmlFile::Kind::Parameter));
    EXPECT_EQ(doc.documentElement().firstChildElement("a").text(), "x");
}

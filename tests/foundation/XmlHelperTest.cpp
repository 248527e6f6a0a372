#include <gtest/gtest.h>

#include "BaseXmlHelper.h"
#include "TestSandbox.h"

#include <QDir>

#include <csignal>
#include <string>
#include <sys/resource.h>

namespace {

std::string bytes(const QByteArray& data) { return data.toStdString(); } // readable diffs

QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

// The keys of the flat golden file, in its order.
void writeFlat(BaseXmlHelper& xml)
{
    xml.setValue("DEVICE_MODEL", QString::fromUtf8("ZOR300 测试仪 <A&B>"));
    xml.setValue("DEVICE_CODE", QString(""));
    xml.setValue("DEVICE_AO_MAX_V_RANGE", 265.0);
    xml.setValue("DEVICE_AO_MAX_I_RANGE", 10.0);
    xml.setValue("DEVICE_AO_LEVEL_V_SMALL", 26.5);
    xml.setValue("DEVICE_AO_T_THRESHOLD_ALARM", 70u);
    xml.setValue("DEVICE_VOLTAGE_PHASES_TYPE", 1);
    xml.setValue("DEVICE_AUXDC_ENABLE", true);
    xml.setValue("RATE_VOLTAGE", 57.735);
    xml.setValue("DITHER_TIME", 0.15);
}

// The calibration golden file: groups of four doubles.
const struct {
    const char* group;
    double values[4];
} kCalRows[] = {{"UA-L0", {1.0, 0.0, 1.0002345, -0.0015}}, {"UA-L1", {0.99987, 0.1 + 0.2, 1.0, 1e-5}}};
const char* const kCalKeys[] = {"AMP_P0_FACTOR", "AMP_P0_OFFSET", "AMP_P1_FACTOR", "AMP_P1_OFFSET"};

// Caps the size of files this process writes, so that a save fails part way.
struct FileSizeLimit {
    rlimit saved{};
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    explicit FileSizeLimit(rlim_t size)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = size;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    }
};

} // namespace

TEST(BaseXmlHelper, FlatFileMatchesGolden)
{
    TestSandbox box;
    const QString path = box.write("dat/devinfo.xml", QByteArray(4096, 'x')); // longer old file
    BaseXmlHelper writer(path, false);
    writeFlat(writer);
    ASSERT_TRUE(writer.sync());
    EXPECT_EQ(bytes(box.read(path)), bytes(testData("xml/flat.xml")));
    EXPECT_EQ(filesIn(box.filePath("dat")), QStringList{"devinfo.xml"});

    BaseXmlHelper xml(path, true);
    EXPECT_EQ(xml.value("DEVICE_MODEL", "x").toString(), QString::fromUtf8("ZOR300 测试仪 <A&B>"));
    EXPECT_EQ(xml.value("DEVICE_CODE", "2030610800").toString(), "2030610800"); // empty text
    EXPECT_EQ(xml.value("DEVICE_AO_T_THRESHOLD_ALARM", 0).toUInt(), 70u);
    EXPECT_EQ(xml.value("MISSING", 0.015), QVariant(0.015)); // the default with its own type
    EXPECT_EQ(xml.value("rate_voltage", -1).toInt(), -1);    // names are case-sensitive
}

TEST(BaseXmlHelper, GroupedFileMatchesGoldenAndReadsBackExactly)
{
    TestSandbox box;
    const QString path = box.filePath("calacamp.xml");
    BaseXmlHelper writer(path, false);
    writer.beginGroup("AHEAD");
    writer.setValue("TYPE", "ACAMP");
    writer.setValue("VERSION", "1.0.0000");
    writer.endGroup();
    for (const auto& row : kCalRows) {
        writer.beginGroup(row.group);
        for (int k = 0; k < 4; ++k)
            writer.setValue(kCalKeys[k], row.values[k]);
        writer.endGroup();
    }
    ASSERT_TRUE(writer.sync());
    EXPECT_EQ(bytes(box.read(path)), bytes(testData("xml/calibration.xml")));

    BaseXmlHelper xml(path, true);
    for (const auto& row : kCalRows) {
        xml.beginGroup(row.group);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(xml.value(kCalKeys[k], -99.0).toDouble(), row.values[k]) << row.group << kCalKeys[k];
        xml.endGroup();
    }
}

TEST(BaseXmlHelper, UnusableFilesReadAsMissing)
{
    TestSandbox box;
    QDir().mkpath(box.filePath("folder.xml"));
    const struct {
        const char* name;
        const char* content; // nullptr: nothing written
        const char* expected;
    } rows[] = {
        {"missing.xml", nullptr, "default"},
        {"folder.xml", nullptr, "default"},
        {"empty.xml", "", "default"},
        {"truncated.xml", "<?xml version=\"1.0\"?>\n<root>\n    <A>5</A>\n", "default"},
        {"junk.xml", "\x01\x02 not xml", "default"},
        {"foreign.xml", "<config><A>5</A></config>", "5"},
    };
    for (const auto& row : rows) {
        BaseXmlHelper xml(row.content ? box.write(row.name, row.content) : box.filePath(row.name), true);
        xml.beginGroup("G");
        EXPECT_EQ(xml.value("A", "default").toString(), row.expected) << row.name;
        xml.endGroup();
        EXPECT_EQ(xml.value("A", "default").toString(), row.expected) << row.name;
    }
}

TEST(BaseXmlHelper, ReadGroupsKeepThePreviousGroupWhenMissing)
{
    TestSandbox box;
    BaseXmlHelper xml(box.write("g.xml", "<root><K>root</K><N>12abc</N><D>x</D><D>y</D>"
                                         "<G><K>group</K></G><H><K>other</K></H></root>"), true);
    const auto k = [&xml] { return xml.value("K", "-").toString(); };
    xml.beginGroup("MISSING");
    EXPECT_EQ(k(), "root");
    xml.beginGroup("G");
    EXPECT_EQ(k(), "group");
    xml.beginGroup("MISSING");
    EXPECT_EQ(k(), "group");
    xml.beginGroup("H");
    EXPECT_EQ(k(), "other");
    xml.endGroup();
    EXPECT_EQ(k(), "root");
    EXPECT_EQ(xml.value("D", "-").toString(), "x"); // the first of two
    EXPECT_EQ(xml.value("N", 7).toDouble(), 0.0);   // unparsable: 0 for the caller, not the default
}

TEST(BaseXmlHelper, WriteGroupQuirks)
{
    TestSandbox box;
    const QString path = box.filePath("w.xml");
    BaseXmlHelper xml(path, false);
    xml.endGroup(); // no group yet: nothing attached
    xml.setValue("A", 1);
    xml.setValue("A", 2);
    xml.beginGroup("G");
    xml.setValue("K", 1.5);
    xml.endGroup();
    xml.setValue("AFTER", "still in G");
    xml.beginGroup("LOST"); // never ended, never attached
    xml.setValue("X", 1);
    ASSERT_TRUE(xml.sync());
    EXPECT_EQ(bytes(box.read(path)), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<root>\n"
                                     "    <A>1</A>\n"
                                     "    <A>2</A>\n"
                                     "    <G>\n"
                                     "        <K>1.5</K>\n"
                                     "        <AFTER>still in G</AFTER>\n"
                                     "    </G>\n"
                                     "</root>\n");
}

TEST(BaseXmlHelper, FailedSaveKeepsTheOldFile)
{
    TestSandbox box;
    const QByteArray old = testData("xml/flat.xml");
    const QString path = box.write("dat/devinfo.xml", old);

    BaseXmlHelper noFolder(box.filePath("nofolder/devinfo.xml"), false);
    writeFlat(noFolder);
    EXPECT_FALSE(noFolder.sync());
    EXPECT_FALSE(QDir(box.filePath("nofolder")).exists());

    EXPECT_FALSE(BaseXmlHelper(path, true).sync()); // opened for reading: never writes

    BaseXmlHelper big(path, false);
    for (int i = 0; i < 200; ++i)
        big.setValue(QString("KEY_%1").arg(i), i * 0.125);
    {
        FileSizeLimit limit(256); // the write fails part way
        EXPECT_FALSE(big.sync());
    }
    EXPECT_EQ(bytes(box.read(path)), bytes(old));
    EXPECT_EQ(filesIn(box.filePath("dat")), QStringList{"devinfo.xml"});
}

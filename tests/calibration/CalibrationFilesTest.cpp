// Calibration files: byte-exact files of every kind, reading them back, the
// older INI form of the AC kinds, damaged files and values, failed writes.

#include "CalibrationTestSupport.h"

#include <random>

#include <QDir>

#include <cmath>

using namespace caltest;

namespace {

QByteArray golden(Cal::CALType type)
{
    return testData("calibration/" + Cal::getFileName(type) + ".xml");
}

void expectPattern(Cal& e, const std::string& what, Cal::CALType only = Cal::CAL_TYPE_ALL)
{
    for (const Coefficients& kind : storedCoefficients(e)) {
        if (only != Cal::CAL_TYPE_ALL && kind.type != only)
            continue;
        for (size_t a = 0; a < kind.arrays.size(); ++a) {
            const ArrayRef& r = kind.arrays[a];
            const int points = r.size / 16;
            for (int c = 0; c < 16; ++c) {
                if (kind.type == Cal::CAL_TYPE_AUXDC && c != 0)
                    continue;   // only UA level 0 is stored
                // The one frequency factor (UA level 1) is in every cell.
                const int cell = kind.type == Cal::CAL_TYPE_ACFRQ ? 1 : c;
                for (int k = 0; k < points; ++k)
                    ASSERT_EQ(r.data[c * points + k], patternValue(kind.type, int(a), cell, k))
                        << what << ": " << r.name << " cell " << c << " point " << k;
            }
        }
    }
}

QByteArray xmlGroups(const QString& groups, const QString& version = QStringLiteral("1.0.0000"))
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n"
                          "<AHEAD><TYPE>X</TYPE><VERSION>%1</VERSION></AHEAD>\n%2</root>\n")
        .arg(version, groups)
        .toUtf8();
}

const QString kFrequency = QStringLiteral("<UA-L1><FRQ_P0_FACTOR>1</FRQ_P0_FACTOR></UA-L1>");

QStringList xmlFiles(const QString& folder)
{
    return QDir(folder).entryList({"*.xml"}, QDir::Files, QDir::Name);
}

} // namespace

TEST(CalibrationFiles, EveryKindSavesByteExact)
{
    AppRoot root;
    Cal e;
    fillPattern(e);
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ALL));
    EXPECT_EQ(root.syncCount(), 20);   // "sync" twice per file
    for (Cal::CALType type : kAllKinds) {
        const QString name = Cal::getFileName(type) + ".xml";
        ASSERT_FALSE(golden(type).isEmpty()) << name.toStdString();
        EXPECT_EQ(root.read(root.dat(name)).toStdString(), golden(type).toStdString()) << name.toStdString();
    }
    EXPECT_EQ(xmlFiles(root.dat("")).size(), 10);

    // One kind alone writes the same file.
    QFile::remove(root.dat("calacfac.xml"));
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ACFAC));
    EXPECT_EQ(root.read(root.dat("calacfac.xml")), golden(Cal::CAL_TYPE_ACFAC));
}

TEST(CalibrationFiles, GoldenFilesLoadBitExact)
{
    // The golden files are laid out independently of the writer.
    AppRoot root;
    for (Cal::CALType type : kAllKinds)
        root.write(root.dat(Cal::getFileName(type) + ".xml"), golden(type));
    Cal f;
    f.load(Cal::CAL_TYPE_ALL);
    expectPattern(f, "load of all");
    EXPECT_TRUE(f.getDamagedTypes().isEmpty());
    for (Cal::CALType type : kAllKinds) {
        Cal g;
        g.load(type);
        expectPattern(g, "load of kind " + std::to_string(type), type);
    }
}

TEST(CalibrationFiles, FrequencyFactorOfUALevel1IsTheDevicesOne)
{
    AppRoot root;
    Cal e;
    e.acfrqFrqFactors[4][0][0] = 1.2;   // any other cell is not kept
    e.acfrqFrqFactors[0][1][0] = 0.9995;
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ACFRQ));
    Cal f;
    f.load(Cal::CAL_TYPE_ACFRQ);
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            EXPECT_EQ(f.acfrqFrqFactors[p][l][0], 0.9995) << p << "/" << l;

    // Without a file the kind takes its defaults.
    QFile::remove(root.dat("calacfrq.xml"));
    Cal g;
    g.acfrqFrqFactors[0][1][0] = 1.001;
    g.load(Cal::CAL_TYPE_ACFRQ);
    EXPECT_EQ(g.acfrqFrqFactors[7][0][0], 1.0);
}

TEST(CalibrationFiles, MissingGroupsKeysAndEmptyValuesKeepTheValuesInMemory)
{
    AppRoot root;
    root.write(root.dat("calacamp.xml"),
               xmlGroups("<UB-L1><AMP_P2_FACTOR>1.25</AMP_P2_FACTOR><AMP_P3_FACTOR></AMP_P3_FACTOR>"
                         "<AMP_P2_FACTOR>9</AMP_P2_FACTOR></UB-L1>\n<UB-L1><AMP_P0_FACTOR>9</AMP_P0_FACTOR></UB-L1>\n"
                         "<AMP_P0_FACTOR>9</AMP_P0_FACTOR>\n"));
    Cal e;
    fillPattern(e);
    e.load(Cal::CAL_TYPE_ACAMP);
    for (int c = 0; c < 16; ++c) {
        for (int k = 0; k < 4; ++k) {
            const bool read = c == 3 && k == 2;   // UB-L1, point 2; first of duplicates only
            EXPECT_EQ(e.acampAmpFactors[c / 2][c % 2][k], read ? 1.25 : patternValue(Cal::CAL_TYPE_ACAMP, 0, c, k))
                << c << "/" << k;
            EXPECT_EQ(e.acampAmpOffsets[c / 2][c % 2][k], patternValue(Cal::CAL_TYPE_ACAMP, 1, c, k));
        }
    }
    EXPECT_TRUE(e.getDamagedTypes().isEmpty());

    // An empty "dat" folder leaves the defaults and the version.
    QFile::remove(root.dat("calacamp.xml"));
    Cal f;
    fillPattern(f);
    f.factorVersion = QStringLiteral("3.0");
    f.load(Cal::CAL_TYPE_ALL);
    EXPECT_EQ(f.factorVersion, QStringLiteral("3.0"));
    EXPECT_EQ(f.acampAmpFactors[0][0][0], 1.0);
    EXPECT_EQ(f.acfrqFrqFactors[0][1][0], 1.0);

    // Kinds outside 0..10 read and write nothing.
    f.load(Cal::CALType(11));
    EXPECT_FALSE(f.save(Cal::CALType(11)));
    EXPECT_TRUE(xmlFiles(root.dat("")).isEmpty());
}

TEST(CalibrationFiles, UnreadableValuesKeepTheCellAndAreReported)
{
    AppRoot root;
    root.write(root.dat("calacamp.xml"),
               xmlGroups("<UA-L0><AMP_P0_FACTOR>abc</AMP_P0_FACTOR><AMP_P1_FACTOR>nan</AMP_P1_FACTOR>"
                         "<AMP_P1_OFFSET>1e999</AMP_P1_OFFSET><AMP_P2_FACTOR> 1.5 </AMP_P2_FACTOR>"
                         "<AMP_P3_OFFSET>-inf</AMP_P3_OFFSET><AMP_P3_FACTOR>2&#xC;</AMP_P3_FACTOR></UA-L0>\n"));
    root.write(root.dat("calacfrq.xml"),
               xmlGroups("<UA-L0><FRQ_P0_FACTOR>1.01</FRQ_P0_FACTOR></UA-L0>"
                         "<UA-L1><FRQ_P0_FACTOR>x1.2</FRQ_P0_FACTOR></UA-L1>\n"));
    Warnings warnings;
    Cal e;
    fillPattern(e);
    e.load(Cal::CAL_TYPE_ALL);

    // After the defaults of a full load, only the readable value arrived.
    EXPECT_EQ(e.acampAmpFactors[0][0][0], 1.0);
    EXPECT_EQ(e.acampAmpFactors[0][0][1], 1.0);
    EXPECT_EQ(e.acampAmpOffsets[0][0][1], 0.0);
    EXPECT_EQ(e.acampAmpFactors[0][0][2], 1.5);
    EXPECT_EQ(e.acampAmpOffsets[0][0][3], 0.0);
    EXPECT_EQ(e.acampAmpFactors[0][0][3], 1.0);   // a control character no XML file can carry
    // A garbled frequency factor does not switch the outputs off (0 in all
    // sixteen cells): the factor in memory stays.
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(e.acfrqFrqFactors[c / 2][c % 2][0], 1.0) << c;
    EXPECT_EQ(e.getDamagedTypes(), (QList<Cal::CALType>{Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACFRQ}));
    EXPECT_TRUE(warnings.any("unreadable value"));

    // The same with the coefficients of a run in memory (a load of one kind).
    e.acfrqFrqFactors[0][1][0] = 1.003;
    e.load(Cal::CAL_TYPE_ACFRQ);
    EXPECT_EQ(e.acfrqFrqFactors[3][0][0], 1.003);
    EXPECT_EQ(e.getDamagedTypes(), QList<Cal::CALType>{Cal::CAL_TYPE_ACFRQ});

    // A clean load clears the list.
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ALL));
    e.load(Cal::CAL_TYPE_ALL);
    EXPECT_TRUE(e.getDamagedTypes().isEmpty());
}

TEST(CalibrationFiles, TheTemporaryOfAnInterruptedSaveGoesAtTheNextLoadOrSave)
{
    AppRoot root;
    const QString stale = root.dat("calacfrq.xml.zaaBmE");
    Cal e;
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ACFRQ));
    for (const char* step : {"load", "save"}) {
        root.write(stale, "<root>");
        if (QString(step) == "load")
            e.load(Cal::CAL_TYPE_ACFRQ);
        else
            ASSERT_TRUE(e.save(Cal::CAL_TYPE_ACFRQ));
        EXPECT_FALSE(root.exists(stale)) << step;
    }
    EXPECT_TRUE(e.getDamagedTypes().isEmpty());
}

TEST(CalibrationFiles, AVersionNoXmlFileCanCarryIsUnreadableAndNeverSpreads)
{
    const struct {
        const char* file;
        QByteArray body;
    } rows[] = {
        {"calacfrq.xml", xmlGroups(kFrequency, "1.0.0000&#xFFFE;")},
        {"calacfrq.xml", xmlGroups(kFrequency, "1.0&#xDFFE;")},
        {"calacfrq.dat", "[AHEAD]\nVERSION=1.0\x01\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body.toStdString());
        AppRoot root;
        root.write(root.dat(row.file), row.body);
        Cal e;
        e.factorVersion = QStringLiteral("2.0");
        e.load(Cal::CAL_TYPE_ACFRQ);
        EXPECT_EQ(e.getDamagedTypes(), QList<Cal::CALType>{Cal::CAL_TYPE_ACFRQ});
        EXPECT_EQ(e.factorVersion, QStringLiteral("2.0"));

        // The version shared by every kind stays one that every file holds.
        ASSERT_TRUE(e.save(Cal::CAL_TYPE_ALL));
        Cal next;
        next.load(Cal::CAL_TYPE_ALL);
        EXPECT_TRUE(next.getDamagedTypes().isEmpty());
        EXPECT_EQ(next.factorVersion, QStringLiteral("2.0"));
    }
}

TEST(CalibrationFiles, AnEmptyVersionReadsAsTheDefaultAndSavesAsIt)
{
    const struct {
        const char* file;
        QByteArray body;
    } rows[] = {
        {"calacpha.dat", "[AHEAD]\nVERSION="},
        {"calacpha.dat", "[AHEAD]\nVERSION=\" \"\n"},
        // Any white space the XML reader drops: U+00A0, U+0085, U+3000.
        {"calacpha.dat", "[AHEAD]\nVERSION=\xA0\n"},
        {"calacpha.dat", "[AHEAD]\nVERSION=\x85\n"},
        {"calacpha.dat", "[AHEAD]\nVERSION=\\x3000\n"},
        {"calacpha.xml", xmlGroups("<UA-L0><PHA_P0_OFFSET>0</PHA_P0_OFFSET></UA-L0>", "<![CDATA[ ]]>")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body.toStdString());
        AppRoot root;
        root.write(root.dat(row.file), row.body);
        Cal e;
        e.factorVersion = QStringLiteral("2.0");
        e.load(Cal::CAL_TYPE_ACPHA);
        EXPECT_EQ(e.factorVersion, QStringLiteral("1.0.0000"));
        ASSERT_TRUE(e.save(Cal::CAL_TYPE_ACPHA));
        Cal next;
        next.factorVersion = QStringLiteral("2.0");
        next.load(Cal::CAL_TYPE_ACPHA);
        EXPECT_EQ(next.factorVersion, e.factorVersion);
    }
}

namespace {

// The older INI form: every key of the kind in a few groups.
struct LegacyKind
{
    Cal::CALType type;
    QStringList keys;
};

const LegacyKind kLegacyKinds[] = {
    {Cal::CAL_TYPE_ACAMP, {"AMP_P0_FACTOR", "AMP_P0_OFFSET", "AMP_P3_FACTOR", "AMP_P3_OFFSET"}},
    {Cal::CAL_TYPE_ACDCO, {"AMP_P0_OFFSET"}},
    {Cal::CAL_TYPE_ACPHA, {"PHA_P0_OFFSET"}},
    {Cal::CAL_TYPE_ACFRQ, {"FRQ_P0_FACTOR"}},
    {Cal::CAL_TYPE_ACFAC, {"ACFAC_P0_FACTOR", "ACFAC_P9_FACTOR"}},
};

QByteArray legacyFile(const QStringList& keys, double value)
{
    QByteArray body = "[AHEAD]\nVERSION=0.9.0001\n\n";
    for (const char* group : {"UA-L1", "IX-L0"}) {
        body += QByteArray("[") + group + "]\n";
        for (const QString& key : keys)
            body += key.toUtf8() + "=" + QByteArray::number(value, 'g', 17) + "\n";
        body += "\n";
    }
    return body;
}

// The value of one key of a kind in cell (port, level).
double keyValue(Cal& e, Cal::CALType type, const QString& key, int port, int level)
{
    const std::vector<ArrayRef> arrays = [&] {
        for (const Coefficients& c : storedCoefficients(e))
            if (c.type == type)
                return c.arrays;
        return std::vector<ArrayRef>{};
    }();
    const bool offset = key.endsWith("OFFSET") && arrays.size() == 2;
    const int point = key.section('_', -2, -2).mid(1).toInt();
    const ArrayRef& r = arrays[offset ? 1 : 0];
    const int points = r.size / 16;
    return r.data[(port * 2 + level) * points + point];
}

} // namespace

TEST(CalibrationFiles, OlderFormOfTheACKindsIsReadWhileTheXmlIsMissing)
{
    for (const LegacyKind& kind : kLegacyKinds) {
        AppRoot root;
        const QString base = Cal::getFileName(kind.type);
        root.write(root.dat(base + ".dat"), legacyFile(kind.keys, 0.987));
        Cal e;
        e.load(kind.type);
        for (const QString& key : kind.keys) {
            EXPECT_EQ(keyValue(e, kind.type, key, 0, 1), 0.987) << base.toStdString() << " " << key.toStdString();
            EXPECT_EQ(keyValue(e, kind.type, key, 7, 0), 0.987) << base.toStdString() << " " << key.toStdString();
            if (kind.type != Cal::CAL_TYPE_ACFRQ) {
                EXPECT_NE(keyValue(e, kind.type, key, 1, 1), 0.987) << base.toStdString();
            }
        }
        EXPECT_EQ(e.factorVersion, QStringLiteral("0.9.0001"));
        EXPECT_FALSE(root.exists(root.dat(base + ".xml")));   // reading creates nothing
        EXPECT_TRUE(root.exists(root.dat(base + ".dat")));

        // Saved once, the XML form replaces the older one at the next load.
        ASSERT_TRUE(e.save(kind.type));
        EXPECT_TRUE(root.read(root.dat(base + ".xml")).contains("<VERSION>0.9.0001</VERSION>"));
        const int syncs = root.syncCount();
        Cal f;
        f.load(kind.type);
        EXPECT_FALSE(root.exists(root.dat(base + ".dat"))) << base.toStdString();
        EXPECT_EQ(root.syncCount(), syncs + 2);
        EXPECT_EQ(keyValue(f, kind.type, kind.keys.first(), 7, 0), 0.987);
    }

    // The other kinds have no older form: never read, never deleted.
    AppRoot root;
    for (const char* base : {"caldcamp", "calauxdc", "callloamp", "calllodco", "calllodc"})
        root.write(root.dat(QString(base) + ".dat"), legacyFile({"DCAMP_P0_FACTOR", "AUXDC_P0_FACTOR", "AMP_P0_FACTOR"}, 5.0));
    Cal e;
    e.load(Cal::CAL_TYPE_ALL);
    EXPECT_EQ(e.dcampAmpFactors[0][1][0], 1.0);
    EXPECT_EQ(e.lloampAmpFactors[0][1][0], 1.0);
    EXPECT_EQ(e.factorVersion, QStringLiteral("1.0.0000"));
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ALL));
    e.load(Cal::CAL_TYPE_ALL);
    for (const char* base : {"caldcamp", "calauxdc", "callloamp", "calllodco", "calllodc"})
        EXPECT_TRUE(root.exists(root.dat(QString(base) + ".dat"))) << base;
}

// A coefficient no calibration run gives is damage, as a NaN is: the value in
// memory stays, in either form of the file. What a run gives from the
// extreme readings the page takes reads back whole.
TEST(CalibrationFiles, CoefficientsNoRunGivesAreDamage)
{
    const struct
    {
        Cal::CALType type;
        const char* key;
        double value;
        bool legacy;
    } rows[] = {
        {Cal::CAL_TYPE_ACAMP, "AMP_P0_FACTOR", 1e308, false},
        {Cal::CAL_TYPE_ACAMP, "AMP_P3_OFFSET", -5e12, false},
        {Cal::CAL_TYPE_DCAMP, "DCAMP_P1_FACTOR", 2e9, false},
        {Cal::CAL_TYPE_ACFRQ, "FRQ_P0_FACTOR", -1e10, true},
        {Cal::CAL_TYPE_ACPHA, "PHA_P0_OFFSET", 1e300, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        AppRoot root;
        const QString base = Cal::getFileName(row.type);
        if (row.legacy)
            root.write(root.dat(base + ".dat"), legacyFile({row.key}, row.value));
        else
            root.write(root.dat(base + ".xml"),
                       xmlGroups(QStringLiteral("<UA-L1><%1>%2</%1></UA-L1>").arg(row.key).arg(row.value, 0, 'g', 17)));
        Cal e;
        const double before = keyValue(e, row.type, row.key, 0, 1);
        e.load(row.type);
        EXPECT_EQ(e.getDamagedTypes(), QList<Cal::CALType>{row.type});
        EXPECT_EQ(keyValue(e, row.type, row.key, 0, 1), before);
    }

    // Auxiliary DC points 220 and 300 V read as 600 and 599.99999 V; a phase
    // read as -720 degrees.
    AppRoot root;
    Cal e;
    e.setCurrentMeasure(Cal::CAL_TYPE_AUXDC, 0, 0, 3, 600.0);
    e.setCurrentMeasure(Cal::CAL_TYPE_AUXDC, 0, 0, 4, 599.99999);
    e.computeFactor(Cal::CAL_TYPE_AUXDC, Cal::AO_PORT_TYPE_UA, 0);
    e.setCurrentMeasure(Cal::CAL_TYPE_ACPHA, 4, 1, 0, -720.0);
    e.computeFactor(Cal::CAL_TYPE_ACPHA, Cal::AO_PORT_TYPE_IA, 1);
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ALL));
    Cal next;
    next.load(Cal::CAL_TYPE_ALL);
    EXPECT_TRUE(next.getDamagedTypes().isEmpty());
    EXPECT_EQ(next.auxdcFactors[0][0][4], e.auxdcFactors[0][0][4]);
    EXPECT_EQ(next.auxdcOffsets[0][0][4], e.auxdcOffsets[0][0][4]);
    EXPECT_EQ(next.acphaPhaOffsets[4][1][0], -1080.0);
}

TEST(CalibrationFiles, UnparsableXmlIsReportedAndTakenAsMissing)
{
    AppRoot root;
    root.write(root.dat("calacdco.xml"), "<?xml version=\"1.0\"?>\n<root>\n<UA-L0><AMP_P0_OFFSET>0.5");
    root.write(root.dat("calacdco.dat"), legacyFile({"AMP_P0_OFFSET"}, 0.0125));
    root.write(root.dat("caldcamp.xml"), "not xml at all");
    Warnings warnings;
    Cal e;
    e.factorVersion = QStringLiteral("2.0");
    e.dcampAmpFactors[6][1][1] = 1.04;
    e.load(Cal::CAL_TYPE_ACDCO);
    e.load(Cal::CAL_TYPE_DCAMP);

    // The older form beside it is read, and kept until an XML file parses.
    EXPECT_EQ(e.acdcoAmpOffsets[0][1][0], 0.0125);
    EXPECT_EQ(e.acdcoAmpOffsets[7][0][0], 0.0125);
    EXPECT_TRUE(root.exists(root.dat("calacdco.dat")));
    // Without one, every value stays.
    EXPECT_EQ(e.dcampAmpFactors[6][1][1], 1.04);
    EXPECT_EQ(e.factorVersion, QStringLiteral("0.9.0001"));
    EXPECT_EQ(e.getDamagedTypes(), QList<Cal::CALType>{Cal::CAL_TYPE_DCAMP});
    EXPECT_TRUE(warnings.any("taken as missing"));

    Cal f;
    f.load(Cal::CAL_TYPE_ALL);
    EXPECT_EQ(f.getDamagedTypes(), (QList<Cal::CALType>{Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_DCAMP}));
    EXPECT_EQ(f.acdcoAmpOffsets[0][1][0], 0.0125);
}

// A file with no coefficient of its kind (a head alone, empty groups,
// another kind's keys) is named, at a load and at an import; each refusal is
// told in one line naming the file and why.
TEST(CalibrationFiles, AFileHoldingNoCalibrationIsNamedAndEachRefusalToldOnce)
{
    enum Form {
        Body,
        Folder,
        DevZero
    };
    struct Case
    {
        Form form;
        QByteArray body;
        Cal::Damage why;
        const char* reason;
    };
    const Case cases[] = {
        {Body, "<root/>", Cal::DAMAGE_NOTHING, "no coefficient of its kind"},
        {Body, "<?xml version=\"1.0\"?>\n<root><UA-L7/><AMP_P0_FACTOR>2</AMP_P0_FACTOR></root>\n", Cal::DAMAGE_NOTHING,
         "no coefficient of its kind"},
        {Body, xmlGroups(""), Cal::DAMAGE_NOTHING, "no coefficient of its kind"},
        {Body, xmlGroups("<UA-L0/><IB-L1><AMP_P0_FACTOR/></IB-L1>"), Cal::DAMAGE_NOTHING, "no coefficient of its kind"},
        {Body, golden(Cal::CAL_TYPE_DCAMP), Cal::DAMAGE_NOTHING, "no coefficient of its kind"},
        {Body, "<root><UA-L0/></root>", Cal::DAMAGE_NOTHING, "no coefficient of its kind"},
        {Body, "", Cal::DAMAGE_UNREADABLE, "(line 1 column"},
        {Body, "<root>" + QByteArray(32 * 1024, ' ') + "</root>", Cal::DAMAGE_BEYOND_BOUNDS,
         ": larger than 32768 bytes"},
        {Folder, "", Cal::DAMAGE_UNREADABLE, ": not a regular file"},
        {DevZero, "", Cal::DAMAGE_UNREADABLE, ": not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        AppRoot root(true, true);
        for (const QString& path : {root.dat("calacamp.xml"), root.staging("calacamp.xml")}) {
            if (c.form == Folder)
                ASSERT_TRUE(QDir().mkpath(path));
            else if (c.form == DevZero)
                ASSERT_TRUE(QFile::link("/dev/zero", path));
            else
                root.write(path, c.body);
        }
        Warnings warnings;
        Cal e;
        e.load(Cal::CAL_TYPE_ALL);
        e.load(Cal::CAL_TYPE_ALL);   // start-up loads twice: the engine's, the driver's
        ASSERT_EQ(e.getDamaged().size(), 1);
        EXPECT_EQ(e.getDamaged().at(0).why, c.why);
        EXPECT_EQ(e.acampAmpFactors[1][0][2], 1.0);
        EXPECT_EQ(warnings.count("calacamp.xml"), 1) << warnings.all().join('\n').toStdString();
        EXPECT_EQ(warnings.count(c.reason), 1) << warnings.all().join('\n').toStdString();
        EXPECT_EQ(warnings.count("Unknown error") + warnings.count("line 0 column 0"), 0);

        // From the stick (a folder or a device is refused before the engine reads).
        if (c.form == Body) {
            EXPECT_FALSE(e.Import(7));
            ASSERT_EQ(e.getDamaged().size(), 1);
            EXPECT_EQ(e.getDamaged().at(0).why, c.why);
            EXPECT_EQ(root.read(root.dat("calacamp.xml")), c.body);
        }
    }
}

// An older form that holds no key of a calibration file (random bytes) is
// named as damaged, as an XML file that does not parse is.
TEST(CalibrationFiles, AnOlderFormWithoutAnyKeyIsDamaged)
{
    for (int size : {0, 1, 7, 100, 65536}) {
        SCOPED_TRACE(size);
        std::mt19937 bits{unsigned(size)};
        QByteArray random(size, '\0');
        for (char& c : random)
            c = char(bits() & 0xFF);
        AppRoot root;
        root.write(root.dat("calacamp.dat"), random);
        Cal e;
        e.load(Cal::CAL_TYPE_ALL);
        EXPECT_EQ(e.getDamagedFiles(Cal::CAL_TYPE_ACAMP), QStringList{"calacamp.dat"});
        EXPECT_EQ(e.acampAmpFactors[2][1][3], 1.0);
    }
}

TEST(CalibrationFiles, VersionOfTheLastFileReadGoesIntoLaterFiles)
{
    AppRoot root;
    root.write(root.dat("callloamp.xml"), xmlGroups("<UA-L0><AMP_P0_FACTOR>1</AMP_P0_FACTOR></UA-L0>", "2.5.0001"));
    Cal e;
    e.load(Cal::CAL_TYPE_ALL);
    EXPECT_EQ(e.factorVersion, QStringLiteral("2.5.0001"));
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ACAMP));
    EXPECT_TRUE(root.read(root.dat("calacamp.xml")).contains("<VERSION>2.5.0001</VERSION>"));

    // A file without a version reads as the first one.
    root.write(root.dat("calacdco.xml"), "<root><UA-L0><AMP_P0_OFFSET>0</AMP_P0_OFFSET></UA-L0></root>");
    e.load(Cal::CAL_TYPE_ACDCO);
    EXPECT_EQ(e.factorVersion, QStringLiteral("1.0.0000"));
}

TEST(CalibrationFiles, FailedWritesAreReported)
{
    AppRoot root(false);   // no "dat" folder
    Warnings warnings;
    Cal e;
    EXPECT_FALSE(e.save(Cal::CAL_TYPE_ACAMP));
    EXPECT_FALSE(e.save(Cal::CAL_TYPE_ALL));
    EXPECT_EQ(root.syncCount(), 22);   // the flush runs all the same
    EXPECT_TRUE(warnings.any("not written"));

    // One file that cannot be replaced fails the save of all; the rest are written.
    QDir().mkpath(root.dat("calacpha.xml"));
    EXPECT_FALSE(e.save(Cal::CAL_TYPE_ALL));
    EXPECT_EQ(xmlFiles(root.dat("")).size(), 9);
    EXPECT_TRUE(e.save(Cal::CAL_TYPE_ACAMP));
}

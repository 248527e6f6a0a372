// Export and import through the staging folder "dat/temp", by port group.

#include "CalibrationTestSupport.h"

#include <QDir>

#include <algorithm>
#include <iterator>

using namespace caltest;

namespace {

QByteArray golden(Cal::CALType type)
{
    return testData("calibration/" + Cal::getFileName(type) + ".xml");
}

// A golden file with the groups of one port class cut out (the voltage groups
// come first, the current groups after them).
QByteArray withoutGroups(const QByteArray& file, const QByteArray& first, const QByteArray& last)
{
    const int from = file.indexOf("    <" + first + ">\n");
    const QByteArray end = "    </" + last + ">\n";
    const int to = file.indexOf(end);
    if (from < 0 || to < 0)
        return file;
    return file.left(from) + file.mid(to + end.size());
}

QStringList stagingFiles(const AppRoot& root)
{
    return QDir(root.staging("")).entryList(QDir::Files, QDir::Name);
}

QStringList names(std::initializer_list<Cal::CALType> types)
{
    QStringList list;
    for (Cal::CALType t : types)
        list << Cal::getFileName(t) + ".xml";
    list.sort();
    return list;
}

void expectNormalFilesAreGolden(const AppRoot& root)
{
    for (Cal::CALType type : kAllKinds)
        EXPECT_EQ(root.read(root.dat(Cal::getFileName(type) + ".xml")), golden(type)) << type;
}

const Cal::CALType kFiltered[] = {Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_ACPHA,
                                  Cal::CAL_TYPE_ACFRQ, Cal::CAL_TYPE_ACFAC, Cal::CAL_TYPE_DCAMP};

} // namespace

TEST(CalibrationExchange, ExportWritesTheChosenGroupsAndSavesEverything)
{
    struct Case
    {
        int mask;
        QStringList files;
    };
    const std::vector<Case> cases = {
        {1, names({Cal::CAL_TYPE_LLOAMP, Cal::CAL_TYPE_LLODCO, Cal::CAL_TYPE_LLODC})},
        {2, names({Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_ACPHA, Cal::CAL_TYPE_ACFRQ,
                   Cal::CAL_TYPE_ACFAC, Cal::CAL_TYPE_DCAMP, Cal::CAL_TYPE_AUXDC})},
        {4, names({Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_ACPHA, Cal::CAL_TYPE_ACFRQ,
                   Cal::CAL_TYPE_ACFAC, Cal::CAL_TYPE_DCAMP})},
        {7 | 8, names({Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_ACPHA, Cal::CAL_TYPE_ACFRQ,
                       Cal::CAL_TYPE_ACFAC, Cal::CAL_TYPE_DCAMP, Cal::CAL_TYPE_AUXDC, Cal::CAL_TYPE_LLOAMP,
                       Cal::CAL_TYPE_LLODCO, Cal::CAL_TYPE_LLODC})},
    };
    for (const Case& c : cases) {
        AppRoot root(true, true);
        Cal e;
        fillPattern(e);
        ASSERT_TRUE(e.Export(c.mask)) << c.mask;
        EXPECT_EQ(stagingFiles(root), c.files) << c.mask;
        for (Cal::CALType type : kAllKinds) {
            const QString name = Cal::getFileName(type) + ".xml";
            if (!c.files.contains(name))
                continue;
            QByteArray expected = golden(type);
            const bool filtered = std::find(std::begin(kFiltered), std::end(kFiltered), type) != std::end(kFiltered);
            if (filtered && !(c.mask & 4))
                expected = withoutGroups(expected, "IA-L0", "IX-L1");
            if (filtered && !(c.mask & 2))
                expected = withoutGroups(expected, "UA-L0", "UX-L1");
            EXPECT_EQ(root.read(root.staging(name)).toStdString(), expected.toStdString())
                << "mask " << c.mask << " " << name.toStdString();
        }
        // The export ends with a save of every kind, unchanged.
        expectNormalFilesAreGolden(root);
        EXPECT_FALSE(e.exEnable);
        EXPECT_EQ(e.exPaoType, 7);
    }
}

TEST(CalibrationExchange, ExportWithoutStagingFolderOrChoiceFails)
{
    AppRoot root;   // no "dat/temp"
    Warnings warnings;
    Cal e;
    fillPattern(e);
    EXPECT_FALSE(e.Export(7));
    expectNormalFilesAreGolden(root);

    QDir().mkpath(root.staging(""));
    EXPECT_FALSE(e.Export(0));
    EXPECT_FALSE(e.Export(8));
    EXPECT_TRUE(stagingFiles(root).isEmpty());
    EXPECT_TRUE(warnings.any("no output group"));
    EXPECT_FALSE(e.exEnable);
    EXPECT_EQ(e.exPaoType, 7);
}

TEST(CalibrationExchange, ImportTakesOnlyTheChosenGroups)
{
    AppRoot root(true, true);
    {
        Cal source;
        fillPattern(source);
        ASSERT_TRUE(source.Export(6));
    }
    // The older form beside a staging file is dropped with it.
    root.write(root.staging("calacamp.dat"), "[AHEAD]\nVERSION=0.1\n");

    Cal e;   // defaults
    ASSERT_TRUE(e.Import(4));
    EXPECT_FALSE(e.exEnable);
    EXPECT_EQ(e.exPaoType, 7);
    EXPECT_FALSE(root.exists(root.staging("calacamp.dat")));
    EXPECT_TRUE(e.getDamagedTypes().isEmpty());

    for (const Coefficients& kind : storedCoefficients(e)) {
        const bool filtered = std::find(std::begin(kFiltered), std::end(kFiltered), kind.type) != std::end(kFiltered);
        for (size_t a = 0; a < kind.arrays.size(); ++a) {
            const ArrayRef& r = kind.arrays[a];
            const int points = r.size / 16;
            for (int c = 0; c < 16; ++c) {
                for (int k = 0; k < points; ++k) {
                    // Current groups of the filtered kinds; the frequency factor
                    // lives in UA level 1 and stays.
                    const bool imported = filtered && kind.type != Cal::CAL_TYPE_ACFRQ && c >= 8;
                    const double expected =
                        imported ? patternValue(kind.type, int(a), c, k) : (QByteArray(r.name).contains("Factors") ? 1.0 : 0.0);
                    ASSERT_EQ(r.data[c * points + k], expected) << r.name << " cell " << c << " point " << k;
                }
            }
        }
    }

    // The import is stored at once.
    Cal stored;
    stored.load(Cal::CAL_TYPE_ALL);
    EXPECT_EQ(stored.acampAmpFactors[5][1][2], patternValue(Cal::CAL_TYPE_ACAMP, 0, 11, 2));
    EXPECT_EQ(stored.acampAmpFactors[1][1][2], 1.0);
    EXPECT_EQ(stored.acphaPhaOffsets[7][0][0], patternValue(Cal::CAL_TYPE_ACPHA, 0, 14, 0));

    // The voltage groups bring the frequency factor and the auxiliary DC.
    ASSERT_TRUE(e.Import(2));
    EXPECT_EQ(e.acfrqFrqFactors[6][0][0], patternValue(Cal::CAL_TYPE_ACFRQ, 0, 1, 0));
    EXPECT_EQ(e.auxdcOffsets[0][0][4], patternValue(Cal::CAL_TYPE_AUXDC, 1, 0, 4));
    EXPECT_EQ(e.acampAmpFactors[1][1][2], patternValue(Cal::CAL_TYPE_ACAMP, 0, 3, 2));
}

TEST(CalibrationExchange, ImportThatTakesNothingFails)
{
    AppRoot root(true, true);
    Warnings warnings;
    // A backup of the older form only: the staging ".dat" files are not
    // read, and the import is refused naming the first.
    for (Cal::CALType type : {Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_ACFRQ})
        root.write(root.staging(Cal::getFileName(type) + ".dat"), "[UA-L1]\nAMP_P0_FACTOR=2\nAMP_P0_OFFSET=2\nFRQ_P0_FACTOR=2\n");
    Cal e;
    fillPattern(e);
    EXPECT_FALSE(e.Import(7));
    EXPECT_TRUE(warnings.any("older form"));
    ASSERT_EQ(e.getDamaged().size(), 1);
    EXPECT_EQ(e.getDamaged().at(0).name, "calacamp.dat");
    EXPECT_EQ(e.getDamaged().at(0).why, Cal::DAMAGE_OLDER_FORM);
    EXPECT_EQ(e.acampAmpFactors[0][1][0], patternValue(Cal::CAL_TYPE_ACAMP, 0, 1, 0));
    EXPECT_EQ(e.acfrqFrqFactors[0][1][0], patternValue(Cal::CAL_TYPE_ACFRQ, 0, 1, 0));
    EXPECT_TRUE(root.exists(root.staging("calacamp.dat")));

    // An empty staging folder takes nothing and writes nothing.
    for (Cal::CALType type : {Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_ACFRQ})
        QFile::remove(root.staging(Cal::getFileName(type) + ".dat"));
    EXPECT_FALSE(e.Import(7));
    EXPECT_TRUE(warnings.any("no calibration file"));
    EXPECT_EQ(QDir(root.dat("")).entryList(QDir::Files), QStringList());

    // A choice of no group.
    EXPECT_FALSE(e.Import(1));
    EXPECT_FALSE(e.Import(0));
    EXPECT_FALSE(e.exEnable);
}

// A folder where the last file is written: the import is refused, the
// coefficients and the files it reached are put back, a file it made removed.
TEST(CalibrationExchange, AnImportTheFilesCannotTakeChangesNothing)
{
    AppRoot root(true, true);
    Cal source, e;   // e: the defaults, stored
    fillPattern(source);
    ASSERT_TRUE(source.Export(7));
    ASSERT_TRUE(e.save(Cal::CAL_TYPE_ALL));
    const QByteArray amp = root.read(root.dat("calacamp.xml"));
    ASSERT_TRUE(QFile::remove(root.dat("calacdco.xml")));
    ASSERT_TRUE(QFile::remove(root.dat("calllodc.xml")));
    ASSERT_TRUE(QDir().mkpath(root.dat("calllodc.xml")));
    Warnings warnings;
    EXPECT_FALSE(e.Import(7));
    EXPECT_TRUE(warnings.any("could not all be written"));
    EXPECT_EQ(e.acampAmpFactors[0][1][0], 1.0);
    EXPECT_EQ(e.lloampAmpFactors[3][0][1], 1.0);
    EXPECT_EQ(root.read(root.dat("calacamp.xml")), amp);
    EXPECT_FALSE(root.exists(root.dat("calacdco.xml")));
}

TEST(CalibrationExchange, DamagedStagingFilesAreListed)
{
    AppRoot root(true, true);
    {
        Cal source;
        fillPattern(source);
        ASSERT_TRUE(source.Export(1));
    }
    root.write(root.staging("calllodco.xml"), "<root><UA-L0>");
    // All or nothing: the good files of the set are not taken either.
    Cal e;
    const double before = e.lloampAmpFactors[3][0][1];
    ASSERT_FALSE(e.Import(1));
    EXPECT_EQ(e.getDamagedTypes(), QList<Cal::CALType>{Cal::CAL_TYPE_LLODCO});
    ASSERT_EQ(e.getDamaged().size(), 1);
    EXPECT_EQ(e.getDamaged().at(0).why, Cal::DAMAGE_UNREADABLE);
    EXPECT_EQ(e.lloampAmpFactors[3][0][1], before);
    EXPECT_EQ(e.llodcoAmpOffsets[3][0][0], 0.0);
}

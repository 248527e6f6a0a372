// The frequency factor in every cell as soon as it is computed, and a load of
// a kind with nothing stored dropping coefficients that were never saved.

#include "CalibrationTestSupport.h"

#include <cmath>
#include <string>

using namespace caltest;

namespace {

using Cells = std::vector<std::pair<int, int>>;   // port, level

void selectOnly(Cal& e, Cal::CALType type, const Cells& cells)
{
    bool* s = kindSelection(e, type);
    for (int c = 0; c < 16; ++c)
        s[c] = false;
    for (const auto& cell : cells)
        s[cell.first * 2 + cell.second] = true;
}

// A run as the engine drives it: every selected point gets `reading`.
void run(Cal& e, Cal::CALType type, double reading)
{
    e.currentCalType = type;
    e.resetCurrentPoint();
    e.resetCurSelFactor();
    while (e.switchToNextPoint())
        e.setCurrentMeasure(reading);
    e.computeCurSelFactor();
}

// Every array and the selection of a kind equal those of a fresh entity.
void expectDefaults(Cal& e, Cal::CALType type, const std::string& what)
{
    Cal fresh;
    const std::vector<ArrayRef> have = kindArrays(e, type);
    const std::vector<ArrayRef> want = kindArrays(fresh, type);
    ASSERT_EQ(have.size(), want.size());
    for (size_t a = 0; a < have.size(); ++a)
        for (int i = 0; i < have[a].size; ++i)
            ASSERT_EQ(have[a].data[i], want[a].data[i]) << what << ": " << have[a].name << "[" << i << "]";
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(kindSelection(e, type)[c], kindSelection(fresh, type)[c]) << what << ": selection " << c;
}

} // namespace

TEST(CalibrationFaults, FrequencyFactorFillsEveryCellWhenComputed)
{
    struct Case
    {
        const char* what;
        Cells cells;
        double expected;   // factor in every cell afterwards
    };
    // Other cells start from values no file keeps; UA level 1 decides.
    const double stale = patternValue(Cal::CAL_TYPE_ACFRQ, 0, 1, 0);
    const Case cases[] = {
        {"UA level 1, as the page offers it", {{0, 1}}, 50.0 / 50.1},
        {"UA level 1 and another cell", {{0, 1}, {5, 0}}, 50.0 / 50.1},
        {"without UA level 1 the device's factor stays", {{4, 0}}, stale},
    };
    for (const Case& c : cases) {
        AppRoot root;
        DriverRecords driver;
        Cal e;
        fillPattern(e);
        selectOnly(e, Cal::CAL_TYPE_ACFRQ, c.cells);
        run(e, Cal::CAL_TYPE_ACFRQ, 50.1);
        for (int cell = 0; cell < 16; ++cell)
            ASSERT_DOUBLE_EQ(e.acfrqFrqFactors[cell / 2][cell % 2][0], c.expected) << c.what << ", cell " << cell;

        // Save, load and the driver record agree without a load in between.
        e.updateToDriverFactor();
        ASSERT_TRUE(e.save(Cal::CAL_TYPE_ACFRQ));
        Cal stored;
        stored.load(Cal::CAL_TYPE_ACFRQ);
        for (int cell = 0; cell < 16; ++cell) {
            const int p = cell / 2;
            const int l = cell % 2;
            EXPECT_EQ(driver.cal.acfrqFrqFactors[p][l][0], float(e.acfrqFrqFactors[p][l][0])) << c.what << ", cell " << cell;
            EXPECT_EQ(stored.acfrqFrqFactors[p][l][0], e.acfrqFrqFactors[p][l][0]) << c.what << ", cell " << cell;
        }
    }

    // Clearing the selected cells clears the one factor everywhere.
    Cal e;
    fillPattern(e);
    e.resetSel(Cal::CAL_TYPE_ACFRQ);
    for (int cell = 0; cell < 16; ++cell)
        EXPECT_EQ(e.acfrqFrqFactors[cell / 2][cell % 2][0], 1.0) << cell;
}

TEST(CalibrationFaults, LoadWithoutStoredFileRestoresTheKindsDefaults)
{
    for (Cal::CALType type : kAllKinds) {
        const std::string what = Cal::getFileName(type).toStdString();
        AppRoot root;
        DriverRecords driver;
        Cal e;
        // Coefficients of a run that was not saved, in every kind, and
        // anything else of the kind changed.
        fillPattern(e);
        for (const ArrayRef& r : kindArrays(e, type))
            r.data[5] = 123.0;
        kindSelection(e, type)[5] = !kindSelection(e, type)[5];
        e.factorVersion = QStringLiteral("2.0");
        e.load(type);
        expectDefaults(e, type, what);
        EXPECT_EQ(e.factorVersion, QStringLiteral("2.0")) << what;
        EXPECT_TRUE(e.getDamagedTypes().isEmpty()) << what;

        // Other kinds keep what they hold.
        for (const Coefficients& kind : storedCoefficients(e)) {
            if (kind.type == type)
                continue;
            const ArrayRef& r = kind.arrays.front();
            const int cell = kind.type == Cal::CAL_TYPE_ACFRQ ? 1 : 3;
            ASSERT_EQ(r.data[cell * (r.size / 16)], patternValue(kind.type, 0, cell, 0)) << what << ": " << r.name;
        }
    }
}

TEST(CalibrationFaults, CancelledFirstRunLeavesTheDriverUncorrected)
{
    AppRoot root;
    DriverRecords driver;
    Cal e;
    e.updateToDriverFactor();
    const CommDriverConfigureCalData neutral = driver.cal;

    selectOnly(e, Cal::CAL_TYPE_ACAMP, {{0, 0}, {6, 1}});
    run(e, Cal::CAL_TYPE_ACAMP, 3.5);
    ASSERT_NE(e.acampAmpFactors[0][0][0], 1.0);
    // The page's cancel: the stored kind is loaded back and handed over.
    e.load(Cal::CAL_TYPE_ACAMP);
    e.updateToDriverFactor();
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            for (int k = 0; k < 4; ++k) {
                EXPECT_EQ(driver.cal.acampAmpFactors[p][l][k], neutral.acampAmpFactors[p][l][k]) << p << l << k;
                EXPECT_EQ(driver.cal.acampAmpOffsets[p][l][k], neutral.acampAmpOffsets[p][l][k]) << p << l << k;
            }
}

TEST(CalibrationFaults, StoredFileOrOlderFormIsReadOverTheValuesInMemory)
{
    struct Case
    {
        const char* what;
        Cal::CALType type;
        QString file;
        QByteArray body;
        double expected;   // acdcoAmpOffsets or dcampAmpFactors of UA level 1
    };
    const double inMemory = 0.5;
    const Case cases[] = {
        // A file that holds only some cells: the others keep memory's values.
        {"XML file", Cal::CAL_TYPE_ACDCO, "calacdco.xml",
         "<root><AHEAD><VERSION>1.0.0000</VERSION></AHEAD><IX-L1><AMP_P0_OFFSET>0.25</AMP_P0_OFFSET></IX-L1></root>",
         inMemory},
        {"older form of an AC kind", Cal::CAL_TYPE_ACDCO, "calacdco.dat", "[IX-L1]\nAMP_P0_OFFSET=0.25\n", inMemory},
        // No older form for DC: it counts as nothing stored.
        {"older form of the DC kind", Cal::CAL_TYPE_DCAMP, "caldcamp.dat", "[IX-L1]\nDCAMP_P0_FACTOR=0.25\n", 1.0},
    };
    for (const Case& c : cases) {
        AppRoot root;
        root.write(root.dat(c.file), c.body);
        Cal e;
        e.acdcoAmpOffsets[0][1][0] = inMemory;
        e.acdcoAmpOffsets[7][1][0] = inMemory;
        e.dcampAmpFactors[0][1][0] = inMemory;
        e.dcampAmpFactors[7][1][0] = inMemory;
        e.load(c.type);
        if (c.type == Cal::CAL_TYPE_ACDCO) {
            EXPECT_EQ(e.acdcoAmpOffsets[7][1][0], 0.25) << c.what;
            EXPECT_EQ(e.acdcoAmpOffsets[0][1][0], c.expected) << c.what;
        } else {
            EXPECT_EQ(e.dcampAmpFactors[7][1][0], 1.0) << c.what;
            EXPECT_EQ(e.dcampAmpFactors[0][1][0], c.expected) << c.what;
        }
    }

    // An import whose staging file is missing keeps the kind as it is.
    AppRoot root(true, true);
    Cal e;
    fillPattern(e);
    e.Import(Cal::EX_PAO_TYPE_LLO);
    EXPECT_EQ(e.lloampAmpFactors[2][0][1], patternValue(Cal::CAL_TYPE_LLOAMP, 0, 4, 1));
}

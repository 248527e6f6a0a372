#pragma once

// The output calibration engine: ten calibration kinds, each over the eight
// output ports (UA UB UC UX IA IB IC IX) and their two output levels. For each
// kind it holds the nominal points, the limits that go to the driver with the
// coefficients, the coefficients (factors and/or offsets), the values measured
// with the reference meter (NaN = not measured) and the cells selected for the
// next run, plus a cursor on the point being output.
//
// A cell is one (port, level) pair of one kind; every per-kind array is
// indexed [port][level] or [port][level][point].
//
// Thread use: the testor runs the entity on its thread (run, files, export
// and import); the calibration view model reads and writes the kind, the
// selections, the measures and the points from the GUI thread. entityLock
// guards every field: the view model holds it for each call, the testor for
// each step, load, save, reset, export and import (never across the start's
// settle waits). The file operations also hold `mutex`; so does
// getDamagedTypes(), which needs no entityLock.
//
// What the testor calls:
//   start:   resetCurrentPoint(), resetCurSelFactor(), switchToNextPoint()
//            (false: nothing selected, do not start), updateToDriverValue(),
//            then send the output (AUXDC: the auxiliary DC control instead).
//   switch:  switchToNextPoint() (false: stop), updateToDriverValue(), send.
//   stop:    computeCurSelFactor(): the points measured get their
//            coefficients; every point the run did not measure keeps what
//            it held before resetCurSelFactor() (a cancelled run changes
//            nothing).
//   save:    save(type) -> result to report, then updateToDriverFactor().
//   load:    load(type), updateToDriverFactor(); getDamagedTypes() lists the
//            kinds whose files were unreadable or held unreadable values.
//   reset:   initDefault(type) + reset(type), or resetSel(type); then
//            updateToDriverFactor().
//   export:  Export(mask) -> result to report.
//   import:  Import(mask) -> result to report, updateToDriverFactor(),
//            getDamagedTypes() as after a load.

#include <QList>
#include <QMutex>
#include <QPair>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>

#include <vector>

class QDomElement;

class ModelCalibrationEntity
{
public:
    enum CALType : qint32 {
        CAL_TYPE_ALL = 0,
        CAL_TYPE_ACAMP = 1,    // AC amplitude, power outputs: factor and offset per point
        CAL_TYPE_ACDCO = 2,    // DC offset of the AC power output: offset
        CAL_TYPE_ACPHA = 3,    // phase angle: offset
        CAL_TYPE_ACFRQ = 4,    // output frequency: factor
        CAL_TYPE_ACFAC = 5,    // amplitude against frequency: factor per frequency point
        CAL_TYPE_AUXDC = 6,    // auxiliary DC supply: factor and offset per point
        CAL_TYPE_DCAMP = 7,    // DC amplitude, power outputs: factor and offset per point
        CAL_TYPE_LLOAMP = 8,   // AC amplitude, low-level outputs
        CAL_TYPE_LLODCO = 9,   // DC offset, low-level outputs
        CAL_TYPE_LLODC = 10,   // DC amplitude, low-level outputs
    };

    enum AOPORTType : qint32 {
        AO_PORT_TYPE_UA = 0,
        AO_PORT_TYPE_UB = 1,
        AO_PORT_TYPE_UC = 2,
        AO_PORT_TYPE_UX = 3,
        AO_PORT_TYPE_IA = 4,
        AO_PORT_TYPE_IB = 5,
        AO_PORT_TYPE_IC = 6,
        AO_PORT_TYPE_IX = 7,
    };

    // Port groups chosen for export and import.
    enum EXPAOType : qint32 {
        EX_PAO_TYPE_LLO = 1,   // the three low-level kinds
        EX_PAO_TYPE_U = 2,     // voltage ports of the power kinds, and AUXDC
        EX_PAO_TYPE_I = 4,     // current ports of the power kinds
    };

    static constexpr int kPortCount = 8;
    static constexpr int kLevelCount = 2;

    ModelCalibrationEntity();
    ~ModelCalibrationEntity();
    ModelCalibrationEntity(const ModelCalibrationEntity&) = delete;
    ModelCalibrationEntity& operator=(const ModelCalibrationEntity&) = delete;

    // Number of points in one cell of the kind; 0 for CAL_TYPE_ALL and any
    // value outside 1..10.
    static int pointCount(CALType type);
    // The measures of one kind as a flat [8][2][pointCount] array (NaN: not
    // measured); null for a kind without measures. Read under entityLock.
    const double* measuresOf(CALType type) const;
    // File base name of the kind ("calacamp" .. "calllodc"); empty for others.
    static QString getFileName(CALType type);

    QString factorVersion;

    // AC amplitude.
    double acampFrqPoints[8][2];
    double acampPhaPoints[8][2];
    double acampAmpPoints[8][2][4];
    double acampAmpLimits[8][2][4];
    double acampAmpFactors[8][2][4];
    double acampAmpOffsets[8][2][4];
    double acampAmpMeasures[8][2][4];
    bool acampCurrentSelecteds[8][2];

    // DC offset of the AC output.
    double acdcoFrqPoints[8][2];
    double acdcoPhaPoints[8][2];
    double acdcoAmpPoints[8][2][1];
    double acdcoAmpLimits[8][2][1];
    double acdcoAmpOffsets[8][2][1];
    double acdcoAmpMeasures[8][2][1];
    bool acdcoCurrentSelecteds[8][2];

    // AC frequency: one factor for the device, kept in cell UA level 1.
    double acfrqFrqPoints[8][2];
    double acfrqPhaPoints[8][2];
    double acfrqAmpPoints[8][2][1];
    double acfrqAmpLimits[8][2][1];
    double acfrqFrqFactors[8][2][1];
    double acfrqFrqMeasures[8][2][1];
    bool acfrqCurrentSelecteds[8][2];

    // AC phase: UA is the reference output; a measure is stored as the
    // entered angle less 360.
    double acphaAmpPoints[8][2];
    double acphaPhaPoints[8][2];
    double acphaFrqPoints[8][2][1];
    double acphaFrqLimits[8][2][1];
    double acphaPhaOffsets[8][2][1];
    double acphaPhaMeasures[8][2][1];
    bool acphaCurrentSelecteds[8][2];

    // Amplitude against frequency: one amplitude output at ten frequencies.
    double acfacAmpPoints[8][2];
    double acfacPhaPoints[8][2];
    double acfacFrqPoints[8][2][10];
    double acfacFrqLimits[8][2][10];
    double acfacFrqFactors[8][2][10];
    double acfacAmpMeasures[8][2][10];
    bool acfacCurrentSelecteds[8][2];

    // Auxiliary DC: only UA level 0 is used.
    double auxdcPoints[8][2][5];
    double auxdcLimits[8][2][5];
    double auxdcFactors[8][2][5];
    double auxdcOffsets[8][2][5];
    double auxdcMeasures[8][2][5];
    bool auxdcCurrentSelecteds[8][2];

    // DC amplitude.
    double dcampFrqPoints[8][2];
    double dcampPhaPoints[8][2];
    double dcampAmpPoints[8][2][2];
    double dcampAmpLimits[8][2][2];
    double dcampAmpFactors[8][2][2];
    double dcampAmpOffsets[8][2][2];
    double dcampAmpMeasures[8][2][2];
    bool dcampCurrentSelecteds[8][2];

    // Low-level AC amplitude (points in volts of the low-level signal).
    double lloampFrqPoints[8][2];
    double lloampPhaPoints[8][2];
    double lloampAmpPoints[8][2][4];
    double lloampAmpLimits[8][2][4];
    double lloampAmpFactors[8][2][4];
    double lloampAmpOffsets[8][2][4];
    double lloampAmpMeasures[8][2][4];
    bool lloampCurrentSelecteds[8][2];

    // Low-level DC offset.
    double llodcoFrqPoints[8][2];
    double llodcoPhaPoints[8][2];
    double llodcoAmpPoints[8][2][1];
    double llodcoAmpLimits[8][2][1];
    double llodcoAmpOffsets[8][2][1];
    double llodcoAmpMeasures[8][2][1];
    bool llodcoCurrentSelecteds[8][2];

    // Low-level DC amplitude.
    double llodcFrqPoints[8][2];
    double llodcPhaPoints[8][2];
    double llodcAmpPoints[8][2][2];
    double llodcAmpLimits[8][2][2];
    double llodcAmpFactors[8][2][2];
    double llodcAmpOffsets[8][2][2];
    double llodcAmpMeasures[8][2][2];
    bool llodcCurrentSelecteds[8][2];

    // The cursor: the kind being run or shown and its current point
    // (-1 = before the first point).
    CALType currentCalType = CAL_TYPE_ACDCO;
    qint32 currentPortIndex = 0;
    qint32 currentLevelIndex = 0;
    qint32 currentPointIndex = 0;

    // Guards every field between the testor and the view model.
    mutable QRecursiveMutex entityLock;

    // Held by every file writer and reader.
    mutable QMutex mutex;

    // Export and import only: the port groups the file writers and readers
    // obey (an EXPAOType mask, 7 otherwise) and the switch to the staging
    // folder (application root + "/dat/temp").
    qint32 exPaoType = 7;
    bool exEnable = false;

    // ---- Defaults ----------------------------------------------------------
    // Default points, limits, coefficients, measures and selections of one
    // kind, or of every kind for CAL_TYPE_ALL and any value outside 1..10.
    void initDefault(CALType type);

    // ---- Run -------------------------------------------------------------
    void resetCurrentPoint();
    // Moves to the next point of a selected cell of currentCalType (point,
    // then level, then port); false when none is left (cursor unchanged).
    bool switchToNextPoint();
    // Writes the cursor's point into the driver's output and control records.
    void updateToDriverValue();
    // The run's start: clears the selected cells of currentCalType and keeps
    // what they held for computeCurSelFactor().
    void resetCurSelFactor();
    // The run's end: coefficients of the selected cells from the points
    // measured since resetCurSelFactor(); the points not measured get back
    // their coefficients from before it.
    void computeCurSelFactor();
    void resetSel(CALType type);
    void resetFactor(CALType type, AOPORTType port, int level);
    void computeFactor(CALType type, AOPORTType port, int level);

    // Value offered as the measured value of the cursor's point: the nominal
    // value of the point; 0 for the offset kinds ACDCO and LLODCO (no offset
    // is the neutral reading) and outside the bounds.
    double getCurrentDefault() const;
    void setCurrentMeasure(double value);
    void setCurrentMeasure(CALType type, int port, int level, int point, double value);
    double getViewPoint(CALType type, int port, int level, int point) const;
    double getViewFrqPoint(CALType type, int port, int level, int point) const;

    // Copies the limits and coefficients of every kind (and the ACFAC
    // frequency points) into the driver's calibration record.
    void updateToDriverFactor();

    // ---- Files -------------------------------------------------------------
    // Writes the file of one kind, or all ten for CAL_TYPE_ALL; every file is
    // replaced atomically. True when every file was written.
    bool save(CALType type);
    // Reads the file of one kind, or (after every default) all ten. A kind
    // with no stored file gets its defaults, so a load drops coefficients that
    // were never saved. Missing groups and keys keep the values in memory;
    // damaged files and values are reported on the debug output and listed by
    // getDamagedTypes().
    void load(CALType type);
    // Coefficients and measures of one kind or all back to neutral (no file).
    void reset(CALType type);

    // Kinds whose file (or a value in it) could not be read by the last load
    // or import.
    QList<CALType> getDamagedTypes() const;
    // The names of the files of one of them that were read and found
    // damaged ("calacfrq.dat" when the older form was read).
    QStringList getDamagedFiles(CALType type) const;

    // Why a file was found damaged or refused.
    enum Damage : qint32 {
        DAMAGE_UNREADABLE = 0,    // not a calibration file that reads
        DAMAGE_VALUE = 1,         // a value or the version not readable
        DAMAGE_OLDER_FORM = 2,    // the older ".dat" form, which an import does not read
        DAMAGE_BEYOND_BOUNDS = 3, // more than any calibration file holds (BaseXmlFile::bounds)
        DAMAGE_NOTHING = 4,       // reads, but holds no coefficient of its kind
    };
    struct DamagedFile
    {
        CALType type;
        QString name;
        Damage why;
    };
    // Every file the last load or import found damaged, in the order read.
    QList<DamagedFile> getDamaged() const;

    // A line where this thread's warnings go (WarningSink, else the debug output).
    static void warning(const QString& line);

    // While one lives, the warnings of the file readers and of import on
    // this thread go to `line` (one line per file at most) instead of the
    // debug output.
    class WarningSink
    {
    public:
        explicit WarningSink(void (*line)(const QString&));
        ~WarningSink();
        WarningSink(const WarningSink&) = delete;
        WarningSink& operator=(const WarningSink&) = delete;

    private:
        void (*previous)(const QString&);
    };

    // Export: the files of the kinds chosen by mask into the staging folder
    // (only the chosen port groups), then every kind saved as save(ALL) does.
    // True when something was chosen and every file was written.
    bool Export(int mask);
    // Import: the chosen kinds and port groups from the staging files, all
    // or nothing, then every kind saved. The files are read into a copy of
    // the coefficients, which is taken only when every staging file of the
    // chosen kinds read whole: one unreadable, nested too deep, declaring an
    // encoding no reader knows, holding characters no XML file can carry or
    // a value the readers refuse, or only in the older ".dat" form, refuses
    // the whole import (getDamaged() names it, a warning too): nothing is
    // taken or saved. True when at least one staging file was taken and the
    // save succeeded; an import that took nothing changes nothing and fails,
    // and one whose save fails puts back the coefficients and the files
    // byte for byte (a file it made is removed).
    bool Import(int mask);
    // Whether an import of all groups would read every staging file there
    // whole, as Import() judges them. They are read into an entity of its
    // own: nothing is taken or written.
    static bool stagedFilesReadable();

    // One file each: the writers return whether the file was written, the
    // readers whether a file was taken (its ".xml", or the older ".dat").
    bool saveACAmp();
    bool saveACDco();
    bool saveACPha();
    bool saveACFrq();
    bool saveACFac();
    bool saveAuxDC();
    bool saveDCAmp();
    bool saveLLOAmp();
    bool saveLLODco();
    bool saveLLODC();
    bool loadACAmp();
    bool loadACDco();
    bool loadACPha();
    bool loadACFrq();
    bool loadACFac();
    bool loadAuxDC();
    bool loadDCAmp();
    bool loadLLOAmp();
    bool loadLLODco();
    bool loadLLODC();

    // Flushes the file systems ("sync", twice).
    static void sendSync();

private:
    struct FileKey;
    struct FileKind;

    bool* selection(CALType type);
    const bool* selection(CALType type) const;
    void initACAmp();
    void initACDco();
    void initACFrq();
    void initACPha();
    void initACFac();
    void initAuxDC();
    void initDCAmp();
    void initLLOAmp();
    void initLLODco();
    void initLLODC();

    static const FileKind& fileKind(CALType type);
    QList<FileKey> fileKeys(CALType type);
    QString filePath(CALType type, const char* extension) const;
    bool groupPasses(const FileKind& kind, int port) const;
    bool writeKind(CALType type);
    bool readKind(CALType type);
    struct ReadProblems;
    bool readXml(CALType type, const QDomElement& root, ReadProblems* problems);
    bool readLegacy(CALType type, const QString& path, ReadProblems* problems);
    // The coefficients of every kind and the version taken from another entity.
    void takeCoefficients(ModelCalibrationEntity& from);
    bool storedFileExists(CALType type) const;
    // Import's reading: the staging files of the mask's kinds over the values
    // in memory. False, with nothing read, when one is refused whole; *taken
    // tells whether a file was read.
    bool readStaged(int mask, bool* taken);
    // The device has one frequency factor, kept in UA level 1: every ACFRQ
    // cell takes its value, as the driver applies the cell of each output.
    void spreadFrequencyFactor();
    void markDamaged(CALType type, const QString& path, Damage why);
    void clearDamaged();
    // The load before found the file so (its line was written then).
    bool told(CALType type, const QString& path, Damage why) const;

    // The measures and coefficients of one kind as flat [8][2][points]
    // arrays (null where the kind has none).
    struct PointArrays
    {
        double* measures;
        double* factors;
        double* offsets;
    };
    PointArrays pointArrays(CALType type);
    // Puts back the coefficients resetCurSelFactor() kept for every point of
    // its cells that has no measure now; forgets what was kept.
    void restoreUnmeasured();

    QList<CALType> damagedTypes;
    QList<DamagedFile> damagedFiles;
    QList<DamagedFile> toldDamaged;   // what the load before found

    // The coefficients the start of a run cleared (kind CAL_TYPE_ALL:
    // nothing kept); loads, imports and resets forget them.
    struct RunKept
    {
        CALType type = CAL_TYPE_ALL;
        bool cells[8][2] = {};
        std::vector<double> factors;
        std::vector<double> offsets;
    };
    RunKept runKept;
};

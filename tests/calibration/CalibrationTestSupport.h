#pragma once

// Shared pieces of the calibration tests: an application root of its own for
// each test, fresh driver records, capture of warnings, and a walk over every
// coefficient array of every kind.

#include "CommDriverData.h"
#include "ModelCalibrationEntity.h"
#include "TestSandbox.h"
#include "zoplatform_control_host.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <vector>

namespace caltest {

using Cal = ModelCalibrationEntity;

// The test's sandbox is the application root (the working directory), with
// its "dat" folder (and "dat/temp" on request) created.
class AppRoot
{
public:
    explicit AppRoot(bool withDat = true, bool withStaging = false)
        : previous(QDir::currentPath())
    {
        zoplat::host::reset();
        zoplat::host::setSandboxRoot(box.filePath("sandbox"));
        QDir::setCurrent(box.path());
        if (withDat)
            QDir().mkpath(box.filePath("dat"));
        if (withStaging)
            QDir().mkpath(box.filePath("dat/temp"));
    }
    ~AppRoot()
    {
        QDir::setCurrent(previous);
        zoplat::host::reset();
    }
    AppRoot(const AppRoot&) = delete;
    AppRoot& operator=(const AppRoot&) = delete;

    QString dat(const QString& name) const { return box.filePath("dat/" + name); }
    QString staging(const QString& name) const { return box.filePath("dat/temp/" + name); }
    bool exists(const QString& path) const { return QFile::exists(path); }
    QByteArray read(const QString& path) const { return box.read(path); }
    void write(const QString& path, const QByteArray& body) const { box.write(path, body); }
    int syncCount() const { return zoplat::host::recordedCommands().count(QStringLiteral("sync")); }

    TestSandbox box;

private:
    QString previous;
};

// Fresh driver records in the process-wide pointers for one test.
class DriverRecords
{
public:
    DriverRecords()
        : savedOutput(globalTestOutputData), savedControl(globalTestControlData),
          savedHard(globalConfigureHardData), savedCal(globalConfigureCalData)
    {
        globalTestOutputData = &output;
        globalTestControlData = &control;
        globalConfigureHardData = &hard;
        globalConfigureCalData = &cal;
    }
    ~DriverRecords()
    {
        globalTestOutputData = savedOutput;
        globalTestControlData = savedControl;
        globalConfigureHardData = savedHard;
        globalConfigureCalData = savedCal;
    }
    DriverRecords(const DriverRecords&) = delete;
    DriverRecords& operator=(const DriverRecords&) = delete;

    CommDriverTestOutputData output;
    CommDriverTestControlData control;
    CommDriverConfigureHardData hard;
    CommDriverConfigureCalData cal;

private:
    CommDriverTestOutputData* savedOutput;
    CommDriverTestControlData* savedControl;
    CommDriverConfigureHardData* savedHard;
    CommDriverConfigureCalData* savedCal;
};

// Collects warning texts while alive.
class Warnings
{
public:
    Warnings() { active = this; previous = qInstallMessageHandler(&Warnings::handler); }
    ~Warnings()
    {
        qInstallMessageHandler(previous);
        active = nullptr;
    }
    bool any(const QString& part) const
    {
        QMutexLocker lock(&mutex);
        for (const QString& t : texts)
            if (t.contains(part))
                return true;
        return false;
    }
    int count(const QString& part) const
    {
        QMutexLocker lock(&mutex);
        return int(std::count_if(texts.begin(), texts.end(), [&](const QString& t) { return t.contains(part); }));
    }
    QStringList all() const
    {
        QMutexLocker lock(&mutex);
        return texts;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        Warnings* self = active;
        if (self && (type == QtWarningMsg || type == QtCriticalMsg)) {
            QMutexLocker lock(&self->mutex);
            self->texts << text;
        }
    }
    static inline std::atomic<Warnings*> active{nullptr};
    QtMessageHandler previous = nullptr;
    mutable QMutex mutex;
    QStringList texts;
};

// One double array of the entity: a flat view and its name.
struct ArrayRef
{
    const char* name;
    double* data;
    int size;
};

template <size_t N>
ArrayRef ref(const char* name, double (&a)[8][2][N])
{
    return {name, &a[0][0][0], int(16 * N)};
}
inline ArrayRef ref(const char* name, double (&a)[8][2])
{
    return {name, &a[0][0], 16};
}

// Every double array of one kind, as the data model lists them.
inline std::vector<ArrayRef> kindArrays(Cal& e, Cal::CALType type)
{
    switch (type) {
    case Cal::CAL_TYPE_ACAMP:
        return {ref("acampFrqPoints", e.acampFrqPoints), ref("acampPhaPoints", e.acampPhaPoints),
                ref("acampAmpPoints", e.acampAmpPoints), ref("acampAmpLimits", e.acampAmpLimits),
                ref("acampAmpFactors", e.acampAmpFactors), ref("acampAmpOffsets", e.acampAmpOffsets),
                ref("acampAmpMeasures", e.acampAmpMeasures)};
    case Cal::CAL_TYPE_ACDCO:
        return {ref("acdcoFrqPoints", e.acdcoFrqPoints), ref("acdcoPhaPoints", e.acdcoPhaPoints),
                ref("acdcoAmpPoints", e.acdcoAmpPoints), ref("acdcoAmpLimits", e.acdcoAmpLimits),
                ref("acdcoAmpOffsets", e.acdcoAmpOffsets), ref("acdcoAmpMeasures", e.acdcoAmpMeasures)};
    case Cal::CAL_TYPE_ACPHA:
        return {ref("acphaAmpPoints", e.acphaAmpPoints), ref("acphaPhaPoints", e.acphaPhaPoints),
                ref("acphaFrqPoints", e.acphaFrqPoints), ref("acphaFrqLimits", e.acphaFrqLimits),
                ref("acphaPhaOffsets", e.acphaPhaOffsets), ref("acphaPhaMeasures", e.acphaPhaMeasures)};
    case Cal::CAL_TYPE_ACFRQ:
        return {ref("acfrqFrqPoints", e.acfrqFrqPoints), ref("acfrqPhaPoints", e.acfrqPhaPoints),
                ref("acfrqAmpPoints", e.acfrqAmpPoints), ref("acfrqAmpLimits", e.acfrqAmpLimits),
                ref("acfrqFrqFactors", e.acfrqFrqFactors), ref("acfrqFrqMeasures", e.acfrqFrqMeasures)};
    case Cal::CAL_TYPE_ACFAC:
        return {ref("acfacAmpPoints", e.acfacAmpPoints), ref("acfacPhaPoints", e.acfacPhaPoints),
                ref("acfacFrqPoints", e.acfacFrqPoints), ref("acfacFrqLimits", e.acfacFrqLimits),
                ref("acfacFrqFactors", e.acfacFrqFactors), ref("acfacAmpMeasures", e.acfacAmpMeasures)};
    case Cal::CAL_TYPE_AUXDC:
        return {ref("auxdcPoints", e.auxdcPoints), ref("auxdcLimits", e.auxdcLimits),
                ref("auxdcFactors", e.auxdcFactors), ref("auxdcOffsets", e.auxdcOffsets),
                ref("auxdcMeasures", e.auxdcMeasures)};
    case Cal::CAL_TYPE_DCAMP:
        return {ref("dcampFrqPoints", e.dcampFrqPoints), ref("dcampPhaPoints", e.dcampPhaPoints),
                ref("dcampAmpPoints", e.dcampAmpPoints), ref("dcampAmpLimits", e.dcampAmpLimits),
                ref("dcampAmpFactors", e.dcampAmpFactors), ref("dcampAmpOffsets", e.dcampAmpOffsets),
                ref("dcampAmpMeasures", e.dcampAmpMeasures)};
    case Cal::CAL_TYPE_LLOAMP:
        return {ref("lloampFrqPoints", e.lloampFrqPoints), ref("lloampPhaPoints", e.lloampPhaPoints),
                ref("lloampAmpPoints", e.lloampAmpPoints), ref("lloampAmpLimits", e.lloampAmpLimits),
                ref("lloampAmpFactors", e.lloampAmpFactors), ref("lloampAmpOffsets", e.lloampAmpOffsets),
                ref("lloampAmpMeasures", e.lloampAmpMeasures)};
    case Cal::CAL_TYPE_LLODCO:
        return {ref("llodcoFrqPoints", e.llodcoFrqPoints), ref("llodcoPhaPoints", e.llodcoPhaPoints),
                ref("llodcoAmpPoints", e.llodcoAmpPoints), ref("llodcoAmpLimits", e.llodcoAmpLimits),
                ref("llodcoAmpOffsets", e.llodcoAmpOffsets), ref("llodcoAmpMeasures", e.llodcoAmpMeasures)};
    case Cal::CAL_TYPE_LLODC:
        return {ref("llodcFrqPoints", e.llodcFrqPoints), ref("llodcPhaPoints", e.llodcPhaPoints),
                ref("llodcAmpPoints", e.llodcAmpPoints), ref("llodcAmpLimits", e.llodcAmpLimits),
                ref("llodcAmpFactors", e.llodcAmpFactors), ref("llodcAmpOffsets", e.llodcAmpOffsets),
                ref("llodcAmpMeasures", e.llodcAmpMeasures)};
    default:
        return {};
    }
}

inline bool* kindSelection(Cal& e, Cal::CALType type)
{
    switch (type) {
    case Cal::CAL_TYPE_ACAMP: return &e.acampCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_ACDCO: return &e.acdcoCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_ACPHA: return &e.acphaCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_ACFRQ: return &e.acfrqCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_ACFAC: return &e.acfacCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_AUXDC: return &e.auxdcCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_DCAMP: return &e.dcampCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_LLOAMP: return &e.lloampCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_LLODCO: return &e.llodcoCurrentSelecteds[0][0];
    case Cal::CAL_TYPE_LLODC: return &e.llodcCurrentSelecteds[0][0];
    default: return nullptr;
    }
}

// The coefficient arrays of every kind that the files store.
struct Coefficients
{
    Cal::CALType type;
    std::vector<ArrayRef> arrays;
};

inline std::vector<Coefficients> storedCoefficients(Cal& e)
{
    return {
        {Cal::CAL_TYPE_ACAMP, {ref("acampAmpFactors", e.acampAmpFactors), ref("acampAmpOffsets", e.acampAmpOffsets)}},
        {Cal::CAL_TYPE_ACDCO, {ref("acdcoAmpOffsets", e.acdcoAmpOffsets)}},
        {Cal::CAL_TYPE_ACPHA, {ref("acphaPhaOffsets", e.acphaPhaOffsets)}},
        {Cal::CAL_TYPE_ACFRQ, {ref("acfrqFrqFactors", e.acfrqFrqFactors)}},
        {Cal::CAL_TYPE_ACFAC, {ref("acfacFrqFactors", e.acfacFrqFactors)}},
        {Cal::CAL_TYPE_AUXDC, {ref("auxdcFactors", e.auxdcFactors), ref("auxdcOffsets", e.auxdcOffsets)}},
        {Cal::CAL_TYPE_DCAMP, {ref("dcampAmpFactors", e.dcampAmpFactors), ref("dcampAmpOffsets", e.dcampAmpOffsets)}},
        {Cal::CAL_TYPE_LLOAMP, {ref("lloampAmpFactors", e.lloampAmpFactors), ref("lloampAmpOffsets", e.lloampAmpOffsets)}},
        {Cal::CAL_TYPE_LLODCO, {ref("llodcoAmpOffsets", e.llodcoAmpOffsets)}},
        {Cal::CAL_TYPE_LLODC, {ref("llodcAmpFactors", e.llodcAmpFactors), ref("llodcAmpOffsets", e.llodcAmpOffsets)}},
    };
}

// The pattern of the golden files (tests/data/calibration/make_golden.py
// computes the same numbers): array a of kind t, cell c = port * 2 + level,
// point k. Factors around 1, offsets small and negative.
inline double patternValue(int t, int a, int c, int k)
{
    if (a == 0)
        return 1.0 + t * 0.01 + c * 0.001 + k * 0.0001;
    return -(t * 0.1 + c * 0.01 + k * 0.001);
}

// Fills every stored coefficient with the pattern. The one frequency factor
// lives in UA level 1; the other ACFRQ cells get values the files never keep.
inline void fillPattern(Cal& e)
{
    for (const Coefficients& kind : storedCoefficients(e)) {
        for (size_t a = 0; a < kind.arrays.size(); ++a) {
            const ArrayRef& r = kind.arrays[a];
            const int points = r.size / 16;
            for (int c = 0; c < 16; ++c)
                for (int k = 0; k < points; ++k)
                    r.data[c * points + k] = patternValue(kind.type, int(a), c, k);
        }
    }
}

inline constexpr Cal::CALType kAllKinds[] = {
    Cal::CAL_TYPE_ACAMP, Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_ACPHA, Cal::CAL_TYPE_ACFRQ,
    Cal::CAL_TYPE_ACFAC, Cal::CAL_TYPE_AUXDC, Cal::CAL_TYPE_DCAMP, Cal::CAL_TYPE_LLOAMP,
    Cal::CAL_TYPE_LLODCO, Cal::CAL_TYPE_LLODC};

} // namespace caltest

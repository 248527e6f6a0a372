#pragma once

// Closed-loop calibration against the simulated instrument: the instrument
// plays its outputs with errors, the engine runs a calibration kind as the
// calibration page drives it (through ControllerCenter, with the kind and
// the selections set on the engine's calibration entity as the view model
// sets them), and every point's measured value is what a meter on the
// simulator's terminals reads. Afterwards the instrument is asked for the
// calibration points again and must play them within the tolerances.
//
// Each TEST runs in a process of its own (EngineFixture.h).

#include "../engine/EngineFixture.h"

#include "ModelCalibrationEntity.h"
#include "SimOutputErrors.h"
#include "driverbase.h"

#include <QMetaObject>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace calloop {

using Kind = ModelCalibrationEntity::CALType;

constexpr double kAmplitudeTolerance = 0.001;   // relative
constexpr double kPhaseToleranceDeg = 0.05;
constexpr double kFrequencyToleranceHz = 0.001;

struct Cell
{
    int port;
    int level;
};

// One point as the run output it, with the meter's reading.
struct PointReading
{
    int port;
    int level;
    int point;
    double reading;
};

// One output channel of a request.
struct Output
{
    int channel;
    double amplitude;   // V or A (for the low-level outputs: the page's scale)
    double angle;
    double frequency;
};

// What a source module would ask of the driver.
struct Request
{
    std::vector<Output> outputs;
    int level = -1;                 // range of the channels asked for; -1: as the automatic choice
    bool lowLevelDevice = false;    // a device with low-level outputs only
};

// One verified point: what was asked, what the meter read, and the limit.
struct Check
{
    std::string what;
    double wanted;
    double measured;
    double tolerance;
    bool within() const { return std::fabs(measured - wanted) <= tolerance; }
};

inline const char* kindName(Kind kind)
{
    static const char* const names[] = {"ALL",   "ACAMP", "ACDCO", "ACPHA",  "ACFRQ", "ACFAC",
                                        "AUXDC", "DCAMP", "LLOAMP", "LLODCO", "LLODC"};
    return kind >= 0 && kind <= 10 ? names[kind] : "?";
}

inline double angleDifference(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0)
        d -= 360.0;
    if (d < -180.0)
        d += 360.0;
    return d;
}

} // namespace calloop

class CalibrationLoop : public EngineTest
{
protected:
    void SetUp() override;

    ModelCalibrationEntity& entity() { return *center->testTestor->dataCalibration; }

    // Runs fn on the testor thread and waits for it.
    void onTestor(const std::function<void()>& fn);
    // True once the testor has handled everything queued to it so far.
    bool testorDone();

    // ---- The calibration page, as the view model drives it -------------------
    // Kind and cell selections into the entity (the nine selectable kinds
    // from the page's own copy: none but the given cells, and the frequency
    // kind's UA level 1 as always; AUXDC keeps the entity's own).
    void selectCells(calloop::Kind kind, const std::vector<calloop::Cell>& cells);
    // The measured value of the entity's current point (the frequency kind
    // stores it for both levels of the port).
    void enterMeasure(calloop::Kind kind, double value);
    // What the reference meter shows for the current point of a kind.
    double meterReading(calloop::Kind kind, int port);
    // Start, a reading per point and a switch after each, until the engine
    // stops by itself (or, with cancelAfter >= 0, the page's "取消" at the
    // prompt after that many readings); checks the notices of the run. The
    // readings in order.
    std::vector<calloop::PointReading> runCalibration(calloop::Kind kind, int cancelAfter = -1);
    // Save the kind; then leave the page and come back (every kind reloaded).
    void saveAndReload(calloop::Kind kind);
    void waitForCalLoaded(int before);
    int calLoadedCount() { return gui.count(ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_CALLOADED); }

    // Coefficients of every kind in the driver's record equal the entity's (as floats).
    bool driverHoldsEntityCoefficients(std::string* firstDifference = nullptr);

    // ---- Using the device ------------------------------------------------------
    // Plays a request through the driver as a source module would (automatic
    // range, or the manual range with the power corrections when the
    // automatic choice is not the wanted level), reads the meters of the
    // channels asked for, and switches off.
    std::vector<zorsim::MeterReading> play(const calloop::Request& request);
    double auxDcFor(double volts);

    // Every calibration point of the cells, asked for again, against the
    // tolerances of the kind.
    std::vector<calloop::Check> verify(calloop::Kind kind, const std::vector<calloop::Cell>& cells);
};

// Failed checks as text (empty when all are within their limits).
std::string failures(const std::vector<calloop::Check>& checks);
// Largest |measured - wanted| / tolerance of a set of checks.
double worstRatio(const std::vector<calloop::Check>& checks);

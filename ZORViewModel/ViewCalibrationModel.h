#pragma once

// The view model of the output-calibration page ("ZOR.ViewCalibrationModel"
// 1.0): the page's own calibration kind, output group (power amplifier or
// low-level outputs) and per-kind cell selections, copied into the engine's
// one calibration entity (dataCalibration) while calibration is the active
// test type; the point values for the page and the measured values from it.
//
// Every access to the entity holds its entityLock. From an accepted start
// (startRun) until the engine reports the run off, the kind, the group and the
// selections stay as they were: the run steps through them and stores the
// measured values into the kind's arrays.
//
// Ports (0..7, UA..IX) and levels (0..1) from QML are checked: out of range,
// a setter changes nothing and a getter gives false or 0.

#include "ViewBaseModel.h"

#include <optional>

class ModelCalibrationEntity;

class ViewCalibrationModel : public ViewBaseModel
{
    Q_OBJECT

public:
    // The entity's kinds (the base class names only the first six).
    enum CALType : qint32 {
        CAL_TYPE_ALL = 0,
        CAL_TYPE_ACAMP = 1,
        CAL_TYPE_ACDCO = 2,
        CAL_TYPE_ACPHA = 3,
        CAL_TYPE_ACFRQ = 4,
        CAL_TYPE_ACFAC = 5,
        CAL_TYPE_AUXDC = 6,
        CAL_TYPE_DCAMP = 7,
        CAL_TYPE_LLOAMP = 8,
        CAL_TYPE_LLODCO = 9,
        CAL_TYPE_LLODC = 10,
    };
    // The output group: power amplifier (kinds 1..7) or low-level outputs (8..10).
    enum OutputCALType : qint32 {
        CAL_TYPE_PAO = 0,
        CAL_TYPE_LLO = 1,
    };
    Q_ENUM(CALType)
    Q_ENUM(OutputCALType)

    explicit ViewCalibrationModel(QObject* parent = nullptr);
    ~ViewCalibrationModel() override;

    void doTestActive() override;
    void doUpdateVMToEnt(DATAType type, int subType) override;
    void doUpdateEntToVM(DATAType type, int subType) override;
    void doSwitchToStopState() override;
    void doSwitchToStartState() override;

    Q_INVOKABLE void setCurrentCalType(CALType type);
    // Kinds 1..5 and 7..10; AUXDC keeps its one cell.
    Q_INVOKABLE void setCurrentSelected(CALType type, int port, int level, bool sel);
    Q_INVOKABLE CALType getCurrentCalType() const;
    Q_INVOKABLE int getCurrentPortIndex() const;
    Q_INVOKABLE bool getCurrentSelected(CALType type, int port, int level) const;
    Q_INVOKABLE double getViewPoint(CALType type, int port, int level, int point) const;
    Q_INVOKABLE double getViewFrqPoint(CALType type, int port, int level, int point) const;
    // The point being output (the entity's kind and cursor).
    Q_INVOKABLE double getCurrentViewPoint() const;
    // The group; a kind outside it becomes the group's first amplitude kind,
    // in the entity too.
    Q_INVOKABLE void setOutputCalType(OutputCALType type);
    Q_INVOKABLE OutputCALType getOutputCalType();
    Q_INVOKABLE double getCurrentDefault() const;
    // The value measured at the cursor's point of the page's kind; ACFRQ
    // stores it for both levels of the port.
    Q_INVOKABLE void setCurrentMeasure(double val);

    // The page's kind has a cell to run (AUXDC always has its one).
    Q_INVOKABLE bool hasSelectedCell() const;
    // Asks the engine to start the run of the page's kind: false (nothing
    // asked) while a run is on or starting, with no cell to run, or when the
    // instrument cannot start (not initialised, amplifiers too hot: the
    // user message says why).
    Q_INVOKABLE bool startRun();
    // From an accepted startRun until the run is reported off.
    Q_INVOKABLE bool isRunLocked() const { return runLocked; }
    // The file of a kind ("calacamp.xml", ...); every file, comma-separated,
    // for CAL_TYPE_ALL.
    Q_INVOKABLE QString getCalFileName(int type) const;

signals:
    // The engine's result of saving a kind, with what the page tells of it:
    // after a run, the points it measured that were saved, or that it
    // measured none and so changed nothing.
    void sigCalSaveFinished(int type, bool ok, QString message);

private:
    using Cells = bool[8][2];

    static ModelCalibrationEntity* entity();
    static bool validCell(int port, int level) { return port >= 0 && port < 8 && level >= 0 && level < 2; }
    // The page's selection array of a kind; null for AUXDC, ALL and others.
    Cells* selection(CALType type);
    const Cells* selection(CALType type) const;
    bool calibrationActive() const;
    void bringIntoGroup();
    // The message of a save of the kind that ended with ok.
    QString saveMessage(int type, bool ok) const;
    // The cells of the last run that it measured, with the points measured
    // where they are not all of the cell's: "UA-L0; IA-L1 (1, 2)".
    QStringList measuredPoints() const;

    bool acampCurrentSelecteds[8][2];
    bool acdcoCurrentSelecteds[8][2];
    bool acphaCurrentSelecteds[8][2];
    bool acfrqCurrentSelecteds[8][2];
    bool acfacCurrentSelecteds[8][2];
    bool dcampCurrentSelecteds[8][2];
    bool lloampCurrentSelecteds[8][2];
    bool llodcoCurrentSelecteds[8][2];
    bool llodcCurrentSelecteds[8][2];
    CALType currentCalType = CAL_TYPE_ACDCO;
    OutputCALType outputCALType = CAL_TYPE_PAO;
    bool runLocked = false;
    // The kind and cells of the last run, until its coefficients are saved
    // or the stored ones loaded again.
    struct RunCells
    {
        CALType type;
        Cells cells;
    };
    std::optional<RunCells> lastRun;
};

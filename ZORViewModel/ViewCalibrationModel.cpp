#include "ViewCalibrationModel.h"

#include "ControllerCenter.h"
#include "ControllerTestor.h"
#include "ModelCalibrationEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>

namespace {

using Entity = ModelCalibrationEntity;

// The kinds the page selects cells of, with the entity's array of each.
struct SelectableKind
{
    ViewCalibrationModel::CALType type;
    bool (Entity::*cells)[8][2];
};

const SelectableKind kSelectable[] = {
    {ViewCalibrationModel::CAL_TYPE_ACAMP, &Entity::acampCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_ACDCO, &Entity::acdcoCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_ACPHA, &Entity::acphaCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_ACFRQ, &Entity::acfrqCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_ACFAC, &Entity::acfacCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_DCAMP, &Entity::dcampCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_LLOAMP, &Entity::lloampCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_LLODCO, &Entity::llodcoCurrentSelecteds},
    {ViewCalibrationModel::CAL_TYPE_LLODC, &Entity::llodcCurrentSelecteds},
};

bool validKind(qint32 type)
{
    return type >= ViewCalibrationModel::CAL_TYPE_ACAMP && type <= ViewCalibrationModel::CAL_TYPE_LLODC;
}

const char* const kPortNames[] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};

} // namespace

ViewCalibrationModel::ViewCalibrationModel(QObject* parent)
    : ViewBaseModel(parent)
{
    for (const SelectableKind& kind : kSelectable) {
        Cells& cells = *selection(kind.type);
        std::fill(&cells[0][0], &cells[0][0] + 16, false);
    }
    acfrqCurrentSelecteds[AO_PORT_TYPE_UA][1] = true;
    updateVMToEnt(DATA_TYPE_SYSTEM_CAL, -1, false);
    updateEntToVM(DATA_TYPE_SYSTEM_CAL, -1, false);
    doSwitchToStartState();
    // The testor's result of a save, on this thread.
    connect(center()->testTestor, &ControllerTestor::sigCalSaveFinished, this, [this](qint32 type, bool ok) {
        const QString message = saveMessage(type, ok);
        if (ok && lastRun && lastRun->type == type)
            lastRun.reset();
        emit sigCalSaveFinished(type, ok, message);
    });
}

ViewCalibrationModel::~ViewCalibrationModel() = default;

ModelCalibrationEntity* ViewCalibrationModel::entity()
{
    return center()->testTestor->dataCalibration;
}

ViewCalibrationModel::Cells* ViewCalibrationModel::selection(CALType type)
{
    return const_cast<Cells*>(static_cast<const ViewCalibrationModel*>(this)->selection(type));
}

const ViewCalibrationModel::Cells* ViewCalibrationModel::selection(CALType type) const
{
    switch (type) {
    case CAL_TYPE_ACAMP: return &acampCurrentSelecteds;
    case CAL_TYPE_ACDCO: return &acdcoCurrentSelecteds;
    case CAL_TYPE_ACPHA: return &acphaCurrentSelecteds;
    case CAL_TYPE_ACFRQ: return &acfrqCurrentSelecteds;
    case CAL_TYPE_ACFAC: return &acfacCurrentSelecteds;
    case CAL_TYPE_DCAMP: return &dcampCurrentSelecteds;
    case CAL_TYPE_LLOAMP: return &lloampCurrentSelecteds;
    case CAL_TYPE_LLODCO: return &llodcoCurrentSelecteds;
    case CAL_TYPE_LLODC: return &llodcCurrentSelecteds;
    default: return nullptr;
    }
}

bool ViewCalibrationModel::calibrationActive() const
{
    return getTestActiveType() == TEST_CALIBRATION;
}

// ---- Hooks ------------------------------------------------------------------------------

void ViewCalibrationModel::doTestActive()
{
    center()->testActive(TEST_CALIBRATION);
    ViewBaseModel::doTestActive();
    doSwitchToStartState();
}

void ViewCalibrationModel::doUpdateVMToEnt(DATAType type, int subType)
{
    if (!calibrationActive())
        return;
    ViewBaseModel::doUpdateVMToEnt(type, subType);
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    e->currentCalType = Entity::CALType(currentCalType);
    for (const SelectableKind& kind : kSelectable) {
        const Cells& from = *selection(kind.type);
        std::copy(&from[0][0], &from[0][0] + 16, &(e->*kind.cells)[0][0]);
    }
}

void ViewCalibrationModel::doUpdateEntToVM(DATAType type, int subType)
{
    // The stored coefficients are back: what a run changed is gone.
    if (type == DATA_TYPE_RT_STATE && subType == STATE_TYPE_CALLOADED)
        lastRun.reset();
    if (!calibrationActive())
        return;
    ViewBaseModel::doUpdateEntToVM(type, subType);
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    currentCalType = CALType(e->currentCalType);
    for (const SelectableKind& kind : kSelectable) {
        Cells& to = *selection(kind.type);
        std::copy(&(e->*kind.cells)[0][0], &(e->*kind.cells)[0][0] + 16, &to[0][0]);
    }
}

void ViewCalibrationModel::doSwitchToStopState()
{
    // The run is reported off (or a start did not begin one).
    runLocked = false;
}

void ViewCalibrationModel::doSwitchToStartState()
{
}

// ---- Kind, group and cells ----------------------------------------------------------------

void ViewCalibrationModel::setCurrentCalType(CALType type)
{
    if (runLocked)
        return;
    currentCalType = type;
    updateVMToEnt(DATA_TYPE_SYSTEM_CAL, -1, false);
}

void ViewCalibrationModel::setCurrentSelected(CALType type, int port, int level, bool sel)
{
    if (runLocked || !validCell(port, level))
        return;
    if (Cells* cells = selection(type))
        (*cells)[port][level] = sel;
    updateVMToEnt(DATA_TYPE_SYSTEM_CAL, -1, false);
}

ViewCalibrationModel::CALType ViewCalibrationModel::getCurrentCalType() const
{
    return currentCalType;
}

int ViewCalibrationModel::getCurrentPortIndex() const
{
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    return e->currentPortIndex;
}

bool ViewCalibrationModel::getCurrentSelected(CALType type, int port, int level) const
{
    const Cells* cells = selection(type);
    return cells && validCell(port, level) && (*cells)[port][level];
}

double ViewCalibrationModel::getViewPoint(CALType type, int port, int level, int point) const
{
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    return e->getViewPoint(Entity::CALType(type), port, level, point);
}

double ViewCalibrationModel::getViewFrqPoint(CALType type, int port, int level, int point) const
{
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    return e->getViewFrqPoint(Entity::CALType(type), port, level, point);
}

double ViewCalibrationModel::getCurrentViewPoint() const
{
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    return e->getViewPoint(e->currentCalType, e->currentPortIndex, e->currentLevelIndex, e->currentPointIndex);
}

void ViewCalibrationModel::bringIntoGroup()
{
    const CALType before = currentCalType;
    if (outputCALType == CAL_TYPE_LLO) {
        if (currentCalType < CAL_TYPE_LLOAMP)
            currentCalType = CAL_TYPE_LLOAMP;
    } else if (currentCalType > CAL_TYPE_DCAMP) {
        currentCalType = CAL_TYPE_ACAMP;
    }
    // The entity gets the kind too: every engine notice copies the entity's
    // kind back into this model (doUpdateEntToVM), which would otherwise put
    // the kind of the other group back under the page's cells.
    if (currentCalType != before)
        updateVMToEnt(DATA_TYPE_SYSTEM_CAL, -1, false);
}

void ViewCalibrationModel::setOutputCalType(OutputCALType type)
{
    if (runLocked)
        return;
    outputCALType = type;
    bringIntoGroup();
}

ViewCalibrationModel::OutputCALType ViewCalibrationModel::getOutputCalType()
{
    if (!runLocked)
        bringIntoGroup();
    return outputCALType;
}

// ---- Measured values ----------------------------------------------------------------------

double ViewCalibrationModel::getCurrentDefault() const
{
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    return e->getCurrentDefault();
}

void ViewCalibrationModel::setCurrentMeasure(double val)
{
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    const auto kind = Entity::CALType(currentCalType);
    const int port = e->currentPortIndex;
    const int level = e->currentLevelIndex;
    e->setCurrentMeasure(kind, port, level, e->currentPointIndex, val);
    if (currentCalType == CAL_TYPE_ACFRQ && validCell(port, level))
        e->setCurrentMeasure(kind, port, (level + 1) % 2, e->currentPointIndex, val);
}

// ---- Run ----------------------------------------------------------------------------------

bool ViewCalibrationModel::hasSelectedCell() const
{
    if (currentCalType == CAL_TYPE_AUXDC)
        return true;
    const Cells* cells = selection(currentCalType);
    return cells && std::any_of(&(*cells)[0][0], &(*cells)[0][0] + 16, [](bool s) { return s; });
}

bool ViewCalibrationModel::startRun()
{
    if (runLocked || getState(STATE_TYPE_RUNNING) != 0 || !validKind(currentCalType) || !hasSelectedCell())
        return false;
    // A start the instrument cannot take yet says why (sigUserMessage).
    if (!instrumentReadyToStart())
        return false;
    updateVMToEnt(DATA_TYPE_SYSTEM_CAL, -1, false);
    if (!testStart())
        return false;
    runLocked = true;
    RunCells run{currentCalType, {}};
    if (currentCalType == CAL_TYPE_AUXDC) {
        Entity* e = entity();
        QMutexLocker lock(&e->entityLock);
        std::copy(&e->auxdcCurrentSelecteds[0][0], &e->auxdcCurrentSelecteds[0][0] + 16, &run.cells[0][0]);
    } else {
        const Cells& cells = *selection(currentCalType);
        std::copy(&cells[0][0], &cells[0][0] + 16, &run.cells[0][0]);
    }
    lastRun = run;
    return true;
}

QStringList ViewCalibrationModel::measuredPoints() const
{
    QStringList cells;
    if (!lastRun)
        return cells;
    Entity* e = entity();
    QMutexLocker lock(&e->entityLock);
    const double* measures = e->measuresOf(Entity::CALType(lastRun->type));
    const int points = Entity::pointCount(Entity::CALType(lastRun->type));
    if (!measures)
        return cells;
    for (int port = 0; port < 8; ++port) {
        for (int level = 0; level < 2; ++level) {
            if (!lastRun->cells[port][level])
                continue;
            QStringList measured;
            for (int k = 0; k < points; ++k) {
                if (!std::isnan(measures[(port * 2 + level) * points + k]))
                    measured << QString::number(k + 1);
            }
            if (measured.isEmpty())
                continue;
            QString cell = QStringLiteral("%1-L%2").arg(QLatin1String(kPortNames[port])).arg(level);
            if (measured.size() < points)
                cell += QStringLiteral(" (%1)").arg(measured.join(QStringLiteral(", ")));
            cells << cell;
        }
    }
    return cells;
}

QString ViewCalibrationModel::saveMessage(int type, bool ok) const
{
    if (!ok)
        return tr("校准系数保存失败：%1").arg(getCalFileName(type));            // saving failed: <files>
    if (!lastRun || lastRun->type != type)
        return tr("校准系数保存成功!");                                         // coefficients saved
    const QStringList measured = measuredPoints();
    if (measured.isEmpty())
        return tr("没有测量任何校准点，校准系数未改变。");                       // nothing measured, nothing changed
    return tr("已保存的校准点：%1").arg(measured.join(QStringLiteral("; ")));   // points saved: <cells>
}

QString ViewCalibrationModel::getCalFileName(int type) const
{
    QStringList names;
    for (int kind = CAL_TYPE_ACAMP; kind <= CAL_TYPE_LLODC; ++kind) {
        if (type == kind || type == CAL_TYPE_ALL)
            names << Entity::getFileName(Entity::CALType(kind)) + QStringLiteral(".xml");
    }
    return names.join(QStringLiteral(", "));
}

#include "ViewRampOutputModel.h"

#include "ControllerCenter.h"
#include "ModelActionRampEntity.h"
#include "ViewParameterSetting.h"

#include <cmath>

ViewRampOutputModel::ViewRampOutputModel(TESTType type, QObject* parent)
    : ViewPortOutputModel(type, parent)
{
}

ViewRampOutputModel::~ViewRampOutputModel() = default;

void ViewRampOutputModel::setAutoRampEnabled(bool autoRamp)
{
    autoRampEnabled = autoRamp;
    if (!autoRampEnabled && faultActionType != ACTION_TYPE_STOP)
        faultActionType = ACTION_TYPE_CONTINUE;
}

bool ViewRampOutputModel::getAutoRampEnabled() const
{
    return autoRampEnabled;
}

void ViewRampOutputModel::setFaultActionType(FaultActionType actionType)
{
    if (actionType < ACTION_TYPE_STOP || actionType > ACTION_TYPE_CONTINUE)
        return;
    faultActionType = actionType;
    if (!autoRampEnabled && faultActionType != ACTION_TYPE_STOP)
        faultActionType = ACTION_TYPE_CONTINUE;
}

int ViewRampOutputModel::getFaultActionType() const
{
    return faultActionType;
}

int ViewRampOutputModel::getFaultActionItem() const
{
    return faultActionItem;
}

// ---- Results ---------------------------------------------------------------------------------------

bool ViewRampOutputModel::isExistFaultActionValue(int index) const
{
    return hasActionValue(index);
}

double ViewRampOutputModel::getFaultActionTime(int index) const
{
    return actionTime(index);
}

QString ViewRampOutputModel::getFaultActionFactor() const
{
    return actionFactorText();
}

QString ViewRampOutputModel::noActionWord() const
{
    return rampUntested ? tr("未测试") : tr("未动作");
}

void ViewRampOutputModel::beginResults()
{
    rampUntested = false;
    ViewPortOutputModel::beginResults();
}

void ViewRampOutputModel::settleResults()
{
    ViewPortOutputModel::settleResults();
    const ModelActionRampEntity* entity = rampEntity();
    QMutexLocker lock(&entity->entityLock);
    rampUntested = testState != 1 && entity->autoRampEnabled && !entity->rampRanOut;
}

// ---- Entity and automatic ramp --------------------------------------------------------------------

double ViewRampOutputModel::channelLimit(int port) const
{
    return portRangeLimit(port);
}

void ViewRampOutputModel::pushToEntity(DATAType type)
{
    using E = ModelActionRampEntity;
    pushPortEntity(rampEntity(), type, channelLimit(AO_PORT_TYPE_UA), channelLimit(AO_PORT_TYPE_IA), [this](E* entity) {
        entity->autoRampEnabled = autoRampEnabled;
        entity->actionRampTime = actionRampTime;
        entity->actionRampStep = getRampStepValue();
        entity->faultActionPort = E::RampPortType(faultActionPort);
        entity->faultActionItem = E::RampItemType(faultActionItem);
        entity->faultActionType = E::FaultActionType(faultActionType);
        writeHandedRamp(entity);
    });
}

void ViewRampOutputModel::pullOutputs()
{
    pullOutputsFrom(rampEntity());
}

void ViewRampOutputModel::pullResults()
{
    pullRampResults(rampEntity());
}

bool ViewRampOutputModel::checkStart()
{
    return !autoRampEnabled || checkRampStart();
}

QString ViewRampOutputModel::heldRampProblem() const
{
    // The ramp the engine will run: the direction and end value handed over
    // by the last "+" or "-", from the outputs pushed with the start.
    int direction;
    double end;
    heldRamp(rampEntity(), direction, end);
    return groupRampProblem(direction, end);
}

bool ViewRampOutputModel::handAutoRamp(bool toAdd)
{
    const int direction = toAdd ? 1 : -1;
    const double end = getEndRampValue();
    if (!acceptRamp(groupRampProblem(direction, end)))
        return false;
    handRamp(rampEntity(), direction, end);
    noteHandedRamp(direction, end);
    return true;
}

QString ViewRampOutputModel::groupRampProblem(int direction, double end) const
{
    int channels[3];
    const int count = groupChannels(faultActionPort, channels);
    return rampProblem(outputItem(faultActionItem), channels, count, direction, end, getRampStepValue(),
                       actionRampTime);
}

const double* ViewRampOutputModel::outputItem(int item) const
{
    return itemArray(item, outputRanges, outputAngles, outputFrequencies);
}

// ---- Report ------------------------------------------------------------------------------------

QString ViewRampOutputModel::unitText() const
{
    switch (faultActionItem) {
    case RAMP_ITEM_TYPE_RANGE: return isVoltageGroup(faultActionPort) ? QStringLiteral("V") : QStringLiteral("A");
    case RAMP_ITEM_TYPE_ANGLE: return QString::fromUtf8("°");
    case RAMP_ITEM_TYPE_FREQUENCY: return QStringLiteral("Hz");
    }
    return QString();
}

void ViewRampOutputModel::appendTestSetting(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestSetting(doc, parent);
    const QString unit = unitText();
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };

    QString mode;
    switch (faultActionType) {
    case ACTION_TYPE_STOP: mode = tr("From-to"); break;
    case ACTION_TYPE_CONTINUE: mode = tr("Continuous"); break;
    default: mode = tr("From-to-From"); break;
    }
    QString item;
    switch (faultActionItem) {
    case RAMP_ITEM_TYPE_RANGE: item = tr("Amplitude"); break;
    case RAMP_ITEM_TYPE_ANGLE: item = tr("Phase"); break;
    case RAMP_ITEM_TYPE_FREQUENCY: item = tr("Frequency"); break;
    }
    const QString inputs = setFlagList(outputBIStates);
    const QString outputs = setFlagList(outputBOStates);

    QStringList rows[6] = {
        {tr("Test mode"), autoRampEnabled ? tr("Auto") : tr("Manual"), tr("Mode"), mode},
        {tr("Deglitch") + QStringLiteral("(ms)"), number(getDitherTime() * 1000.0), tr("Auto time") + QStringLiteral("(s)"),
         autoRampEnabled ? number(actionRampTime) : QString()},
        {tr("Test item"), item, tr("Step"), number(getRampStepValue()) + unit},
        {tr("End"), number(getEndRampValue()) + unit},
        {tr("Logic"), outputBILogicType == AO_BILOGIC_TYPE_AND ? tr("And") : tr("Or"), tr("Bi Input"), inputs},
        {tr("Bi Output"), outputs},
    };
    appendTable(doc, parent, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, 6);
}

void ViewRampOutputModel::mapFaultActionType(bool save, QDomElement* root, QDomDocument* doc)
{
    mapSetting<qint32>(save, root, doc, QStringLiteral("faultActionType"), faultActionType, [this](qint32 value) {
        if (value < ACTION_TYPE_STOP || value > ACTION_TYPE_CONTINUE)
            return false;
        setFaultActionType(FaultActionType(value));
        return true;
    });
}

void ViewRampOutputModel::mapRampResults(bool save, QDomElement* root, QDomElement* outputs, QDomDocument* doc,
                                         bool timeFirst)
{
    mapRunResults(save, root, outputs, doc, timeFirst);
    mapResultFlag(save, root, doc, QStringLiteral("rampUntested"), rampUntested);
    mapNotRun(save, root, doc);
    if (testState != 0)   // a result: tested
        rampUntested = false;
    else if (!save && rampUntested)   // an untested ramp is a run's too
        notRun = false;
}

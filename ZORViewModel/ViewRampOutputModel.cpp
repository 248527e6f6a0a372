#include "ViewRampOutputModel.h"

#include <cmath>

ViewRampOutputModel::ViewRampOutputModel(TESTType type, QObject* parent)
    : ViewPortOutputModel(type, parent)
{
}

ViewRampOutputModel::~ViewRampOutputModel() = default;

void ViewRampOutputModel::setRampTimeValue(double timeRamp)
{
    if (std::isfinite(timeRamp))
        actionRampTime = timeRamp;
}

double ViewRampOutputModel::getRampTimeValue() const
{
    return actionRampTime;
}

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

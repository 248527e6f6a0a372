#pragma once

// What the distance and overcurrent list models share beyond the list: the
// trip of a point's fault state (the binary-input conditions and their
// logic) and the binary outputs the fault state sets, one setting for every
// point. The page's trigger panel reaches them through the invokables below;
// the parameter file keeps them (mapBinaryConditions) and each push writes
// them into the entity (writeGroupTriggers, writeTripInputs).

#include "ViewPointList.h"

class ViewTripListModel : public ViewPointListModel, protected ViewBaseModel::BinaryTrigger
{
    Q_OBJECT

public:
    ~ViewTripListModel() override;

    // ---- Trip inputs and outputs (index ignored; BinaryTrigger's rules) -------------------
    // No push: the next push of the list carries them.
    Q_INVOKABLE void setOutputBIState(int index, int biindex, int bi);
    Q_INVOKABLE int getOutputBIState(int index, int biindex) const;
    Q_INVOKABLE void setOutputBILogic(int index, int logic);
    Q_INVOKABLE int getOutputBILogic(int index) const;
    Q_INVOKABLE void setOutputBOState(int boindex, int bo);
    Q_INVOKABLE int getOutputBOState(int boindex) const;

protected:
    ViewTripListModel(const ViewPointListTraits& traits, QObject* parent);
};

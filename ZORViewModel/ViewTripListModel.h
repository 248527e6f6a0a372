#pragma once

// What the distance and overcurrent list models share beyond the list: the
// trip of a point's fault state (the binary-input conditions and their
// logic) and the binary outputs the fault state sets, one setting for every
// point. The page's trigger panel reaches them through the invokables below;
// the parameter file keeps them (mapBinaryConditions) and each push writes
// them into the entity (writeGroupTriggers, writeTripInputs).

#include "ViewPointList.h"

class ViewTripListModel : public ViewPointListModel
{
    Q_OBJECT

public:
    ~ViewTripListModel() override;

    // ---- Trip inputs and outputs (index ignored; biindex, boindex 0..3) ---------------------
    // A bi outside AOBIStateType, a logic outside AOBILogicType or an index
    // outside 0..3 changes nothing; a read outside 0..3 gives 0. No push: the
    // next push of the list carries them.
    Q_INVOKABLE void setOutputBIState(int index, int biindex, int bi);
    Q_INVOKABLE int getOutputBIState(int index, int biindex) const;
    Q_INVOKABLE void setOutputBILogic(int index, int logic);
    Q_INVOKABLE int getOutputBILogic(int index) const;
    Q_INVOKABLE void setOutputBOState(int boindex, int bo);
    Q_INVOKABLE int getOutputBOState(int boindex) const;

protected:
    // Every input watched on both edges, no output set, OR logic.
    ViewTripListModel(const ViewPointListTraits& traits, QObject* parent);

    qint32 outputBIStates[4];
    qint32 outputBOStates[4];
    AOBILogicType outputBILogicType = AO_BILOGIC_TYPE_OR;
};

// ViewTripListModel: the trip inputs and binary outputs of the distance and
// overcurrent lists.

#include "ViewTripListModel.h"

#include <algorithm>
#include <iterator>

namespace {

bool isIndex(int index)
{
    return index >= 0 && index <= 3;
}

} // namespace

ViewTripListModel::ViewTripListModel(const ViewPointListTraits& traits, QObject* parent)
    : ViewPointListModel(traits, parent)
{
    std::fill(std::begin(outputBIStates), std::end(outputBIStates), qint32(AO_BI_STATE_ALL));
    std::fill(std::begin(outputBOStates), std::end(outputBOStates), 0);
}

ViewTripListModel::~ViewTripListModel() = default;

void ViewTripListModel::setOutputBIState(int, int biindex, int bi)
{
    if (isIndex(biindex) && bi >= AO_BI_STATE_NONE && bi <= AO_BI_STATE_ALL)
        outputBIStates[biindex] = bi;
}

int ViewTripListModel::getOutputBIState(int, int biindex) const
{
    return isIndex(biindex) ? outputBIStates[biindex] : 0;
}

void ViewTripListModel::setOutputBILogic(int, int logic)
{
    if (logic >= AO_BILOGIC_TYPE_OR && logic <= AO_BILOGIC_TYPE_AND)
        outputBILogicType = AOBILogicType(logic);
}

int ViewTripListModel::getOutputBILogic(int) const
{
    return outputBILogicType;
}

void ViewTripListModel::setOutputBOState(int boindex, int bo)
{
    if (isIndex(boindex))
        outputBOStates[boindex] = bo;
}

int ViewTripListModel::getOutputBOState(int boindex) const
{
    return isIndex(boindex) ? outputBOStates[boindex] : 0;
}

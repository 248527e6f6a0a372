// ViewTripListModel: the trip inputs and binary outputs of the distance and
// overcurrent lists.

#include "ViewTripListModel.h"

ViewTripListModel::ViewTripListModel(const ViewPointListTraits& traits, QObject* parent)
    : ViewPointListModel(traits, parent)
{
}

ViewTripListModel::~ViewTripListModel() = default;

void ViewTripListModel::setOutputBIState(int, int biindex, int bi) { setTriggerInput(biindex, bi); }
int ViewTripListModel::getOutputBIState(int, int biindex) const { return triggerInput(biindex); }
void ViewTripListModel::setOutputBILogic(int, int logic) { setTriggerLogic(logic); }
int ViewTripListModel::getOutputBILogic(int) const { return outputBILogicType; }
void ViewTripListModel::setOutputBOState(int boindex, int bo) { setTriggerOutput(boindex, bo); }
int ViewTripListModel::getOutputBOState(int boindex) const { return triggerOutput(boindex); }

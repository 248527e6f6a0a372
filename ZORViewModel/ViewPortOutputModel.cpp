// ViewPortOutputModel: the eight-port outputs and their quick-set keys.

#include "ViewPortOutputModel.h"

ViewPortOutputModel::ViewPortOutputModel(TESTType type, QObject* parent)
    : ViewSourceTestModel(type, parent)
{
    defaultOutputs(outputRanges, outputAngles, outputFrequencies);
}

ViewPortOutputModel::~ViewPortOutputModel() = default;

bool ViewPortOutputModel::acceptsOutputValue(double) const
{
    return true;
}

void ViewPortOutputModel::pushOutputs(bool apply)
{
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTVI, -1, apply);
}

// ---- Outputs ------------------------------------------------------------------------------

void ViewPortOutputModel::setOutput(double values[8], AOPortType port, double value)
{
    if (!isPort(port) || !acceptsOutputValue(value))
        return;
    const bool changed = values[port] != value;
    values[port] = value;
    pushOutputs(changed && isTestRunning());
}

void ViewPortOutputModel::setOutputRange(AOPortType port, double range)
{
    setOutput(outputRanges, port, range);
}

void ViewPortOutputModel::setOutputAngle(AOPortType port, double angle)
{
    setOutput(outputAngles, port, angle);
}

void ViewPortOutputModel::setOutputFrequency(AOPortType port, double frequency)
{
    setOutput(outputFrequencies, port, frequency);
}

double ViewPortOutputModel::getOutputRange(AOPortType port) const
{
    return isPort(port) ? outputRanges[port] : 0.0;
}

double ViewPortOutputModel::getOutputAngle(AOPortType port) const
{
    return isPort(port) ? outputAngles[port] : 0.0;
}

double ViewPortOutputModel::getOutputFrequency(AOPortType port) const
{
    return isPort(port) ? outputFrequencies[port] : 0.0;
}

// ---- Quick-set keys -----------------------------------------------------------------------

void ViewPortOutputModel::setRateRange(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetRateRange(outputRanges, port);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setBalanceRange(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetBalanceRange(outputRanges, port);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setPositiveAngle(AOPortType port, bool pos)
{
    if (!isPort(port))
        return;
    quickSetPositiveAngle(outputAngles, port, pos);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setRateFrequency(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetRateFrequency(outputFrequencies, port);
    pushOutputs(isTestRunning());
}

void ViewPortOutputModel::setBalanceFrequency(AOPortType port)
{
    if (!isPort(port))
        return;
    quickSetBalanceFrequency(outputFrequencies, port);
    pushOutputs(isTestRunning());
}

// Host build: the simulated board behind the platform layer.

#include "HostInstrument.h"

#include "SimHostFactory.h"

void zorSetUpInstrument()
{
    // Never destroyed: the engine's threads use the link until the process ends.
    static zorsim::SimHost* board = new zorsim::SimHost(zorsim::SimHost::configuredOptions());
    (void)board;
}

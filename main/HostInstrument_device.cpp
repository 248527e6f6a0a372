// Device build: the instrument's board is there; nothing to set up.

#include "HostInstrument.h"

void zorSetUpInstrument()
{
}

void zorEndEventLoopOnTerminationSignals()
{
}

int zorTerminationSignal()
{
    return 0;
}

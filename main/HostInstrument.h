#pragma once

// Sets up what the instrument's board would provide, once, before the engine
// is built. Host build: the simulated board (instrument on the register link,
// paced from real time, serial devices, the relays chosen outside the
// product); it lives as long as the process, as the engine does. Device
// build: nothing, the board is there. Needs the application object.
void zorSetUpInstrument();

// Host build: SIGINT, SIGTERM and SIGHUP end the event loop with 128 + the
// signal's number, so the process exits as from the window and removes what
// it created (its shared-memory segments). Device build: nothing.
void zorEndEventLoopOnTerminationSignals();

// The termination signal taken so far, 0 for none: one taken during the
// start-up's own waits has ended only those, so the main loop is not entered.
int zorTerminationSignal();

#pragma once

// Sets up what the instrument's board would provide, once, before the engine
// is built. Host build: the simulated board (instrument on the register link,
// paced from real time, serial devices, the relays chosen outside the
// product); it lives as long as the process, as the engine does. Device
// build: nothing, the board is there. Needs the application object.
void zorSetUpInstrument();

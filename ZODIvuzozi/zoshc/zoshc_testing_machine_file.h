#pragma once

// The machine segment's defaults, written at every start after the segments
// are attached: version words, the assembly defaults, and the network part
// from the configured interface (the platform's interface, beacon and server
// ports). 0, or -1 when the segment is not attached or stays locked.

int shc_machine_init_handle();

#pragma once

// Requests the service rejects, told on standard output without letting a
// PC that sends nothing but garbage fill the log: per connection the first
// rejection is printed at once, later ones at most once a second (on the
// product's monotonic clock) with the count so far, and a count not yet
// told is printed when the connection ends.

#include "zobase_mytype.h"

// Any thread (the receive thread, or a caller of the frame layer).
void net_reject_note(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The receive thread at the start and the end of each connection.
void net_reject_connection_begin();
void net_reject_connection_end();

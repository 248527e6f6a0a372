#pragma once

// What a PC can make the service print on standard output, bounded.
//
// For the service as a whole (all connections and threads), such lines
// spend a budget on the product's monotonic clock: NET_LOG_BURST_LINES at
// once, then one more every NET_LOG_REFILL_MS. A line over it is withheld and
// counted; the next line printed tells how many were.
//
// Requests the service rejects are limited within a connection as well:
// the first rejection is printed at once, later ones at most once a second
// with the count so far, and a count not yet told is printed when the
// connection ends.

#include "zobase_mytype.h"

#include <cstdint>

constexpr int NET_LOG_BURST_LINES = 20;
constexpr int64_t NET_LOG_REFILL_MS = 1000;

// Any thread: a line a PC's connection or request causes (the newline is added).
void net_log_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Any thread (the receive thread, or a caller of the frame layer).
void net_reject_note(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The receive thread at the start and the end of each connection.
void net_reject_connection_begin();
void net_reject_connection_end();

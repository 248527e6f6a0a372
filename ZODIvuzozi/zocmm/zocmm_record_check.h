#pragma once

// Shared by the record headers of the network service: wire records are
// packed little-endian structures whose fields may lie at odd offsets, so
// they are only ever copied whole (memcpy) into a local object, and every
// record's size and field offsets are checked here at compile time.

#include "zobase_mytype.h"

#include <cstddef>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the remote-control records are little-endian and copied as they are");

#define ZO_PACKED __attribute__((packed))
#define ZO_RECORD_SIZE(T, n) static_assert(sizeof(T) == (n), #T " is " #n " bytes")
#define ZO_FIELD_AT(T, f, off) static_assert(offsetof(T, f) == (off), #T "." #f " lies at " #off)

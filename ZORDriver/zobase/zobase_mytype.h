#pragma once

// Fixed-width names used by the low-level modules.

#include <cstdint>

typedef uint8_t u8;
typedef uint16_t u16;
typedef uint32_t u32;
typedef uint64_t u64;
typedef int8_t s8;
typedef int16_t s16;
typedef int32_t s32;
typedef int64_t s64;
typedef float f32;
typedef double f64;
typedef int8_t b8;     // boolean flags stored in records: 0 or 1
typedef int32_t b32;

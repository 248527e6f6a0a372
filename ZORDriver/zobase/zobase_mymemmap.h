#pragma once

// Physical memory mapped through /dev/mem (device build). The host build
// never opens /dev/mem: it maps an anonymous, zero-filled block of the same
// layout (same page arithmetic, *fd = -1), so nothing of the host is reached.

#include "zobase_mytype.h"

// Maps the pages that hold [hwaddr, hwaddr + hwsize) (at least one page).
// *fd receives the /dev/mem descriptor, *mm the page-aligned mapping; the
// result is *mm plus hwaddr's offset within its page, or null.
u8* _my_memmap_open(int* fd, u32 hwaddr, u32 hwsize, u8** mm);
// Unmaps what _my_memmap_open mapped at *mm (the same length) and clears
// *mm; closes *fd when >= 0 and sets it to -1.
void _my_memmap_close(int* fd, u8** mm, u32 hwsize);

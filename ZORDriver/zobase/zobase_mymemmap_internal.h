#pragma once

// The build-specific half of zobase_mymemmap: where the pages come from.

#include <cstddef>
#include <sys/types.h>

// Maps length bytes at the page-aligned physical address base, shared,
// readable and writable; *fd receives the descriptor the mapping came from
// (-1 when none). Returns the mapping or MAP_FAILED, with a message printed.
void* zobase_memmap_pages(int* fd, off_t base, size_t length);

#pragma once

// System V shared memory.

#include "zobase_mytype.h"

#include <cstddef>
#include <sys/types.h>

// Creates (or attaches to the existing) segment of key, size rounded up to
// whole pages (0 counts as 1 byte); *addr receives the attached address.
// Returns the segment id (0 is a valid id) or -1.
int _my_shmem_open(key_t key, size_t size, void** addr);
// As _my_shmem_open with the key ftok(pathname, projid); pathname (a device
// path) is created or truncated first.
int _my_shmem_open_from_path(const char* pathname, s32 projid, size_t size, void** addr);
// Detaches shmaddr (unless null or (void*)-1) and removes the segment when
// shmid is a valid id.
void _my_shmem_close(int shmid, void* shmaddr);

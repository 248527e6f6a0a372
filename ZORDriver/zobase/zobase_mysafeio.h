#pragma once

// Interrupt-safe and time-limited reads and writes on descriptors.

// Read / write until len bytes are done; EINTR repeats the call; end of file
// ends early. The byte count, or the negative result of a failing call.
int _my_safe_read(int fd, void* buf, int len);
int _my_safe_write(int fd, const void* buf, int len);
// Waits up to msec ms for fd to become readable (flag 0) or writable (flag
// non-zero); signals do not extend the wait. fd < 0 only sleeps msec ms.
// > 0 ready, 0 time-out, < 0 error.
int _my_wait_for_ready(int fd, int msec, int flag);
// As _my_safe_read / _my_safe_write, waiting up to timeout ms before every
// call; a wait that ends without readiness returns the count done so far.
int _my_safe_read_timeout(int fd, void* buf, int len, int timeout);
int _my_safe_write_timeout(int fd, const void* buf, int len, int timeout);
// Adds (opt non-zero) or removes the file status flags which (fd >= 0).
void _my_set_fcntl_flag(int fd, int opt, int which);

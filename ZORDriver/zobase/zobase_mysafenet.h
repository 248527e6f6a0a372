#pragma once

// Interrupt-safe socket input and output (the loops of zobase_mysafeio).

#include <sys/socket.h>

int _my_safe_send(int fd, void* buf, int len, unsigned int flags);
int _my_safe_recv(int fd, void* buf, int len, unsigned int flags);
int _my_safe_sendto(int fd, void* buf, int len, unsigned int flags, const sockaddr* to, unsigned int tolen);
// fullrecv 0: one recvfrom(), whose result is returned, except that an
// interrupted call returns 0. fullrecv non-zero: loop until len bytes.
int _my_safe_recvfrom(int fd, void* buf, int len, unsigned int flags, sockaddr* from, unsigned int* fromlen,
                      int fullrecv);
// Loops that wait up to timeout ms before every call; a wait without
// readiness returns the count done so far.
int _my_safe_recvfrom_timeout(int fd, void* buf, int len, unsigned int flags, sockaddr* from,
                              unsigned int* fromlen, int timeout);
int _my_safe_sendto_timeout(int fd, void* buf, int len, unsigned int flags, const sockaddr* to,
                            unsigned int tolen, int timeout);

#pragma once

// termios helpers for the instrument's serial ports (the battery pack link).
// They return 0 / a byte count for success and -1 for failure.

#include <cstdint>

// New raw settings: every flag cleared, receiver on, modem lines ignored.
// dataBits 7 or 8; parity 'N'/'n', 'E'/'e', 'O'/'o' (even and odd check and
// strip input parity); stopBits 1 or 2; speed 2400 .. 230400 (any other
// value gives 9600). VMIN 1, VTIME 1, input flushed, applied at once.
int uartSetOpt(int fd, int speed, int dataBits, char parity, int stopBits);

// Waits up to timeoutMs (product milliseconds, zoplat clock) for input, then
// makes one read of up to size bytes. 0 on time-out, -1 on a port error.
int uartRecvData(int fd, uint8_t* buffer, int size, int timeoutMs);

// Writes length bytes; when not all of them were taken the output queue is
// flushed and -1 returned.
int uartSendData(int fd, const uint8_t* buffer, int length);

#pragma once

// The connection threads of the network service: a listener that accepts one
// TCP client at a time and watches it, a receive thread that answers its
// requests, a push thread that sends the procedure, trigger and status
// frames, an export thread for files, and the UDP beacon. A SIGALRM
// interval timer (100 ms ticks) gives them their millisecond clock.
//
// None of them polls a connection: the receive thread waits on the client
// socket and answers each request as soon as it has come whole (several in
// one read, or one over several); the push thread sleeps until the Qt side
// publishes into the segments (shm_wait_publication) or the connection
// ends; the export thread until a request was answered (only a request asks
// for an export).
//
// Every field shared by the threads is atomic. The client socket is shut
// down as soon as a connection is to end, and closed only once the receive,
// push and export threads have left the connection, so its number is never
// reused under a thread that still writes to it. Each connection end
// (closed by the PC, silent, read, parse or write failure, reboot) is
// reported through net_connect_set_end_handler.

#include "zobase_mytype.h"

#include <atomic>
#include <cstdint>

struct netconnect_tcpsocket_parameter
{
    std::atomic<bool> connect_enable{false};      // the service runs; clearing it ends every TCP thread
    std::atomic<bool> connect_successed{false};   // a client is connected
    std::atomic<bool> connect_restart{false};     // the connection is to end
    std::atomic<bool> connect_n1running{false};   // receive thread inside the connection
    std::atomic<bool> connect_n2running{false};   // push thread inside the connection
    std::atomic<bool> connect_n3running{false};   // export thread inside the connection
    std::atomic<int> connect_socket{-1};
    std::atomic<u32> connect_addr{0};             // as received (network order)
    std::atomic<u32> connect_port{0};
    std::atomic<u64> connect_beginmstime{0};
    std::atomic<u64> connect_beatmstime{0};       // 0: not stamped yet
    std::atomic<u64> connect_beatmstimeout{0};
    std::atomic<u64> clocktime_mstime{0};
    std::atomic<int> listen_socket{-1};           // bound, until the listener takes it
    // Set by net_connect_init_handle before the threads start, read-only after.
    char device_eth_name[32] = {};
    u32 device_connect_port1 = 0;
};

struct netconnect_udpsocket_parameter
{
    std::atomic<bool> connect_enable{false};
    std::atomic<int> beacon_socket{-1};           // bound, until the beacon takes it
    char device_eth_name[32] = {};
    u32 device_connect_port0 = 0;
};

extern netconnect_tcpsocket_parameter global_netconnect_ethtcp;
extern netconnect_udpsocket_parameter global_netconnect_ethudp;

// Beat time-outs (ms): to the first answered request, then after each one.
constexpr u64 NET_CONNECT_FIRST_BEAT_MS = 16000;
constexpr u64 NET_CONNECT_BEAT_MS = 8000;
constexpr int NET_CONNECT_IO_WAIT_MS = 1500;

// Prepares a service start: flags cleared, both records enabled with the
// interface name and ports of the machine segment's network part (a port of
// 0 or above 65535 falls back to the platform's; the beacon announces the
// ports in use), SIGPIPE ignored, the timer armed (first tick after 500 ms,
// then every 100 ms).
void net_connect_init_handle();
// What kept the service's sockets from being made: the protocol ("TCP",
// "UDP"), the port and the system's error number.
struct NetBindFailure
{
    const char* protocol;
    u32 port;
    int error;
};
// After net_connect_init_handle, before the threads start: the listen socket
// on the TCP port and the beacon's socket on the UDP port, bound now and held
// by the listener and the beacon until they end, so the service listens from
// its start to its stop and never takes a port later. 0, or -1 with what
// failed, said once on standard output (nothing is left open).
int net_connect_open_sockets(NetBindFailure* failure);
// Closes the sockets no thread has taken (threads that could not start).
void net_connect_close_sockets();
// Clears connect_enable of both records.
void net_connect_disable_handle();
// The client's address while a connection is up, else 0.
u32 net_connect_session_address();
// The ms clock: 100 x the SIGALRM tick count.
void net_connect_update_mstimer();
u64 net_connect_current_mstime();
// Installs the tick handler for SIGALRM and arms the real-time interval
// timer; 0 or -1 ("[SFS] FAILED TO SET THE TIMER ").
int sfctr_init_handle(long value_s, long value_us, long interval_s, long interval_us);

// The file transfer's mode (written by the receive thread, taken by the
// export thread): 1..3 export report, parameters, calibration.
std::atomic<int>& net_connect_transfer_mode();

// Called on the listener thread at every connection end (after the
// threads have left it, before the sockets are closed); the reboot flag
// tells whether the device reboots next.
void net_connect_set_end_handler(void (*handler)());
// Called on the listener thread once the device's restart after a network
// write was asked for, as the thread ends; the other TCP threads have ended
// too. Where the process lives on (the host only records the restart), the
// handler starts the service again.
void net_connect_set_reboot_handler(void (*handler)());
// Called on the export thread with a pending export mode (1..3); it sets the
// mode back to 0 (without a handler the thread does, after the export).
void net_connect_set_export_handler(void (*handler)(int mode));
// For the export handler: one frame to the connected PC under the send
// mutex; 0, or -1 (not connected, or a failed or partial write, which also
// ends the connection).
int net_connect_send_export_frame(const u8* frame, u32 length);

// Thread bodies (argument unused).
void* netconnect_start_tcpsocketnx(void*);   // listener
void* netconnect_start_tcpsocketn1(void*);   // receive
void* netconnect_start_tcpsocketn2(void*);   // push
void* netconnect_export_filse(void*);        // export
void* netconnect_start_udpsocketx(void*);    // beacon

// Connections accepted and ended since the process started (for tests).
u64 net_connect_accepted_count();
u64 net_connect_ended_count();

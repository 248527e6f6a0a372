#pragma once

// The frame layer: checks and dispatches one received request and writes its
// reply in place; builds the pushed, beacon and file-export frames. Every
// length read from a frame or a segment is checked before it is used.

#include "zocmn_net_connect_confer_def.h"

// The whole frame's size announced by a 12-byte header (the receive loop
// reads this many bytes before parsing): 0 with *total set, or -1 when the
// magic, version or body length is invalid.
int net_frame_expected_size(const u8* header, u32* total);

// One received frame of `received` bytes at the start of `buffer`
// (`buffer_size` bytes): 0 with the reply frame in the buffer and its total
// length in *reply_length, or -1 (protocol error or a command that is not
// handled: no reply, the connection ends).
int net_parse_protocol_connectx(u8* buffer, u32 received, u32* reply_length, u32 buffer_size, int wait_count);

// The dispatch by command over a body (sub-id first) of body_length bytes in
// a space of body_capacity bytes; the reply body is written in place.
int net_receive_process_connectx(u16 command, u32 body_length, u32* reply_body_length, u8* body,
                                 u32 body_capacity, int wait_count);

// One pushed frame (procedure, else trigger, else status) into buffer: 0
// with its total length, or -1 when nothing is to be sent.
int net_pack_protocol_connectx(u8* buffer, u32* length, u32 capacity);
int net_send_process_connectx(u16* command, u32* body_length, u8* body, u32 capacity);

// The export frames of the file transfer: a head (name, size) and a chunk.
int net_pack_protocol_file_info(u32 file_size, const char* name, u8* buffer, u32* length, u32 capacity);
int net_pack_protocol_file_content(const u8* data, u32 data_length, u8* buffer, u32* length, u32 capacity);

// The beacon: a frame of the given version and command whose body is the
// sub-id and the hello record.
int net_pack_protocol_broadcast(u16 version, u16 command, u16 subid, u8* buffer, u32* length, u32 capacity);

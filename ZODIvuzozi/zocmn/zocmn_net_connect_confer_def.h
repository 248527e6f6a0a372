#pragma once

// The frame of the remote-control protocol: a 12-byte header (magic,
// version, command, body length), then the body: a 2-byte sub-id and the
// record. All fields little-endian.

#include "zobase_mytype.h"

enum confer_message_header : u32 {
    CONFER_MESSAGE_HEADER = 0xFFFF7A4Fu,
};

enum confer_message_version : u16 {
    CONFER_MESSAGE_VERSION01 = 0x0101,
};

enum confer_message_command : u16 {
    CONFER_MESSAGE_COMMAND_GETTESTINGMACHINE = 0xA010,
    CONFER_MESSAGE_COMMAND_SETTESTINGMACHINE = 0xB010,
    CONFER_MESSAGE_COMMAND_SETTESTINGCONFIG = 0xB020,
    CONFER_MESSAGE_COMMAND_SETTESTINGCONTROL = 0xB030,
    CONFER_MESSAGE_COMMAND_SETTESTINGPARAMETER = 0xB040,
    CONFER_MESSAGE_COMMAND_SETTESTINGDATAREA = 0xB050,
    CONFER_MESSAGE_COMMAND_SETTESTINGUPGRADE = 0xB110,
    CONFER_MESSAGE_COMMAND_SETTESTINGCALIBRATE = 0xB120,
    CONFER_MESSAGE_COMMAND_GETTESTINGCALIBRATE = 0xB130,
    CONFER_MESSAGE_COMMAND_SETTESTINGMEASURE = 0xB210,
    CONFER_MESSAGE_COMMAND_GETTESTINGMEASURE = 0xB220,
    CONFER_MESSAGE_COMMAND_SETTESTINGCLOCKTIME = 0xB310,
    CONFER_MESSAGE_COMMAND_GETTESTINGCLOCKTIME = 0xB320,
    CONFER_MESSAGE_COMMAND_GETTESTINGSTATUS = 0xC010,
    CONFER_MESSAGE_COMMAND_GETTESTINGPROCEDURE = 0xC020,
    CONFER_MESSAGE_COMMAND_GETTESTINGTRIGGER = 0xC030,
    CONFER_MESSAGE_COMMAND_GETTESTINGHISTORY = 0xC040,
    CONFER_MESSAGE_COMMAND_GETTESTINGLOWER = 0xC110,
    CONFER_MESSAGE_COMMAND_GETTESTINGSNIFFER = 0xC210,
    CONFER_MESSAGE_COMMAND_SETTESTINGREGISTER = 0xE010,
    CONFER_MESSAGE_COMMAND_GETTESTINGREGISTER = 0xE020,
    CONFER_MESSAGE_COMMAND_TRANSFER_FILE = 0xE110,
};

// Byte offsets in a frame.
constexpr u32 CONFER_FRAME_MAGIC_AT = 0;
constexpr u32 CONFER_FRAME_VERSION_AT = 4;
constexpr u32 CONFER_FRAME_COMMAND_AT = 6;
constexpr u32 CONFER_FRAME_LENGTH_AT = 8;
constexpr u32 CONFER_FRAME_HEAD_SIZE = 12;   // the body (sub-id first) starts here
constexpr u32 CONFER_SUBID_SIZE = 2;
constexpr u32 CONFER_FRAME_PAYLOAD_AT = CONFER_FRAME_HEAD_SIZE + CONFER_SUBID_SIZE;

// Sizes: the largest frame accepted, with its header; the buffers of the
// receive, push and export threads; the body capacity of pushed frames.
constexpr u32 CONFER_FRAME_MAX_SIZE = 0x1FFF80;
constexpr u32 CONFER_BODY_MAX_LENGTH = CONFER_FRAME_MAX_SIZE - CONFER_FRAME_HEAD_SIZE;   // 0x1FFF74
constexpr u32 CONFER_BUFFER_SIZE = 0x200000;
constexpr u32 CONFER_PUSH_BODY_CAPACITY = 65524;
constexpr u32 CONFER_PARSE_BUFFER_MIN = 255;

// The single check of a header's body length, for the parser and the
// receive loop: at least the sub-id, at most what fits the largest frame.
// Checked on the field itself, before any sum with the header size.
inline bool zocmn_body_length_valid(u32 length)
{
    return length >= CONFER_SUBID_SIZE && length <= CONFER_BODY_MAX_LENGTH;
}

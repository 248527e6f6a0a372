#include "zocmn_net_connect_parse.h"

#include "zocmm_share_testing_keyword_def.h"
#include "zocmm_testing_confer_handle.h"
#include "zocmm_testing_confer_records.h"
#include "zocmn_net_reject_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

u16 get16(const u8* p)
{
    u16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

u32 get32(const u8* p)
{
    u32 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void put16(u8* p, u16 v)
{
    std::memcpy(p, &v, sizeof v);
}

void put32(u8* p, u32 v)
{
    std::memcpy(p, &v, sizeof v);
}

void putHeader(u8* buffer, u16 version, u16 command, u32 bodyLength)
{
    put32(buffer + CONFER_FRAME_MAGIC_AT, CONFER_MESSAGE_HEADER);
    put16(buffer + CONFER_FRAME_VERSION_AT, version);
    put16(buffer + CONFER_FRAME_COMMAND_AT, command);
    put32(buffer + CONFER_FRAME_LENGTH_AT, bodyLength);
}

using WriteHandler = int (*)(u16, u32, const u8*);
using ReadHandler = int (*)(u16, u32*, u8*, u32);

// How a command is answered: a write (sub-id + status) or a read (sub-id +
// record, or sub-id + 0xFF).
struct CommandEntry
{
    u16 command;
    WriteHandler write;
    ReadHandler read;
};

const CommandEntry kCommands[] = {
    {CONFER_MESSAGE_COMMAND_GETTESTINGMACHINE, nullptr, cmm_machine_update_loading_set},
    {CONFER_MESSAGE_COMMAND_SETTESTINGMACHINE, cmm_machine_update_storing_set, nullptr},
    {CONFER_MESSAGE_COMMAND_SETTESTINGCONFIG, cmm_config_update_storing_set, nullptr},
    {CONFER_MESSAGE_COMMAND_SETTESTINGCONTROL, cmm_testing_update_storing_control, nullptr},
    {CONFER_MESSAGE_COMMAND_SETTESTINGPARAMETER, cmm_testing_update_storing_parameter, nullptr},
    {CONFER_MESSAGE_COMMAND_SETTESTINGDATAREA, cmm_testing_update_stroing_datarea, nullptr},
    {CONFER_MESSAGE_COMMAND_SETTESTINGUPGRADE, cmm_upgrade_update_storing_packet, nullptr},
    {CONFER_MESSAGE_COMMAND_SETTESTINGCALIBRATE, cmm_cal_update_storing_set, nullptr},
    {CONFER_MESSAGE_COMMAND_GETTESTINGCALIBRATE, nullptr, cmm_cal_update_loading_set},
    {CONFER_MESSAGE_COMMAND_SETTESTINGMEASURE, cmm_measure_update_storing_set, nullptr},
    {CONFER_MESSAGE_COMMAND_GETTESTINGMEASURE, nullptr, cmm_measure_update_loading_val},
    {CONFER_MESSAGE_COMMAND_SETTESTINGCLOCKTIME, cmm_clocktime_update_storing_set, nullptr},
    {CONFER_MESSAGE_COMMAND_GETTESTINGCLOCKTIME, nullptr, cmm_clocktime_update_loading_val},
    {CONFER_MESSAGE_COMMAND_SETTESTINGREGISTER, cmm_register_update_storing_set, nullptr},
    {CONFER_MESSAGE_COMMAND_GETTESTINGREGISTER, nullptr, cmm_register_update_loading_val},
    {CONFER_MESSAGE_COMMAND_TRANSFER_FILE, cmm_transfer_file, nullptr},
};

// A pushed frame's source in the order they are sent.
struct PushedSource
{
    u16 command;
    int (*load)(u16*, u32*, u8*, u32);
};
const PushedSource kPushed[] = {
    {CONFER_MESSAGE_COMMAND_GETTESTINGPROCEDURE, cmm_testing_update_loading_procedure},
    {CONFER_MESSAGE_COMMAND_GETTESTINGTRIGGER, cmm_testing_update_loading_trigger},
    {CONFER_MESSAGE_COMMAND_GETTESTINGSTATUS, cmm_testing_update_loading_status},
};

} // namespace

int net_frame_expected_size(const u8* header, u32* total)
{
    if (!header || !total)
        return -1;
    const u32 length = get32(header + CONFER_FRAME_LENGTH_AT);
    if (get32(header + CONFER_FRAME_MAGIC_AT) != CONFER_MESSAGE_HEADER
        || get16(header + CONFER_FRAME_VERSION_AT) != CONFER_MESSAGE_VERSION01 || !zocmn_body_length_valid(length))
        return -1;
    *total = length + CONFER_FRAME_HEAD_SIZE;
    return 0;
}

int net_parse_protocol_connectx(u8* buffer, u32 received, u32* reply_length, u32 buffer_size, int wait_count)
{
    if (!buffer || !reply_length || received < CONFER_FRAME_PAYLOAD_AT || buffer_size < CONFER_PARSE_BUFFER_MIN
        || received > buffer_size) {
        net_reject_note("connect1 protocol parse error(-1); recving len:%d", int(received));
        return -1;
    }
    u32 total = 0;
    if (net_frame_expected_size(buffer, &total) != 0 || total != received) {
        net_reject_note("connect1 protocol parse error(-2); confer len:%d recving len:%d",
                        int(get32(buffer + CONFER_FRAME_LENGTH_AT)), int(received));
        return -1;
    }
    const u16 command = get16(buffer + CONFER_FRAME_COMMAND_AT);
    u32 replyBody = 0;
    if (net_receive_process_connectx(command, received - CONFER_FRAME_HEAD_SIZE, &replyBody,
                                     buffer + CONFER_FRAME_HEAD_SIZE, buffer_size - CONFER_FRAME_HEAD_SIZE,
                                     wait_count)
        != 0)
        return -1;
    put32(buffer + CONFER_FRAME_LENGTH_AT, replyBody);
    *reply_length = replyBody + CONFER_FRAME_HEAD_SIZE;
    return 0;
}

int net_receive_process_connectx(u16 command, u32 body_length, u32* reply_body_length, u8* body, u32 body_capacity,
                                 int)
{
    // A reply needs at least the sub-id and a status byte.
    if (!body || !reply_body_length || body_length < CONFER_SUBID_SIZE || body_length > body_capacity
        || body_capacity < CONFER_SUBID_SIZE + 1)
        return -1;
    const CommandEntry* entry = nullptr;
    for (const CommandEntry& e : kCommands) {
        if (e.command == command)
            entry = &e;
    }
    if (!entry)
        return -1;
    const u16 subid = get16(body);
    u8* payload = body + CONFER_SUBID_SIZE;
    const u32 payloadLength = body_length - CONFER_SUBID_SIZE;
    if (entry->write) {
        payload[0] = entry->write(subid, payloadLength, payload) == 0 ? 0x00 : 0xFF;
        *reply_body_length = CONFER_SUBID_SIZE + 1;
        return 0;
    }
    u32 recordLength = payloadLength;
    if (entry->read(subid, &recordLength, payload, body_capacity - CONFER_SUBID_SIZE) != 0
        || recordLength > body_capacity - CONFER_SUBID_SIZE) {
        payload[0] = 0xFF;
        recordLength = 1;
    }
    *reply_body_length = CONFER_SUBID_SIZE + recordLength;
    return 0;
}

int net_send_process_connectx(u16* command, u32* body_length, u8* body, u32 capacity)
{
    if (!command || !body_length || !body || capacity < CONFER_SUBID_SIZE)
        return -1;
    for (const PushedSource& source : kPushed) {
        u16 subid = 0;
        u32 length = 0;
        if (source.load(&subid, &length, body + CONFER_SUBID_SIZE, capacity - CONFER_SUBID_SIZE) == 0) {
            put16(body, subid);
            *command = source.command;
            *body_length = CONFER_SUBID_SIZE + length;
            return 0;
        }
    }
    return -1;
}

int net_pack_protocol_connectx(u8* buffer, u32* length, u32 capacity)
{
    if (!buffer || !length || capacity < CONFER_FRAME_PAYLOAD_AT)
        return -1;
    const u32 bodyCapacity = std::min(capacity - CONFER_FRAME_HEAD_SIZE, CONFER_PUSH_BODY_CAPACITY);
    u16 command = 0;
    u32 body = 0;
    if (net_send_process_connectx(&command, &body, buffer + CONFER_FRAME_HEAD_SIZE, bodyCapacity) != 0)
        return -1;
    putHeader(buffer, CONFER_MESSAGE_VERSION01, command, body);
    *length = CONFER_FRAME_HEAD_SIZE + body;
    return 0;
}

int net_pack_protocol_file_info(u32 file_size, const char* name, u8* buffer, u32* length, u32 capacity)
{
    const u32 total = CONFER_FRAME_PAYLOAD_AT + sizeof(confer_file_transfer_head);
    if (!name || !buffer || !length || capacity < total)
        return -1;
    confer_file_transfer_head head;
    std::memset(&head, 0, sizeof head);
    std::memcpy(head.file_name, name, strnlen(name, sizeof head.file_name - 1));
    head.fileSize = file_size;
    putHeader(buffer, CONFER_MESSAGE_VERSION01, CONFER_MESSAGE_COMMAND_TRANSFER_FILE, total - CONFER_FRAME_HEAD_SIZE);
    put16(buffer + CONFER_FRAME_HEAD_SIZE, SHARE_TRANSFER_FILE_TYPE_FILEHEAD_EXPORT);
    zocmm_wire_store(buffer + CONFER_FRAME_PAYLOAD_AT, head);
    *length = total;
    return 0;
}

int net_pack_protocol_file_content(const u8* data, u32 data_length, u8* buffer, u32* length, u32 capacity)
{
    const u32 total = CONFER_FRAME_PAYLOAD_AT + sizeof(confer_file_transfer_data);
    if (!buffer || !length || capacity < total || data_length < 1 || data_length > CONFER_FILE_PACKET_SIZE
        || !data)
        return -1;
    confer_file_transfer_data chunk;
    std::memset(&chunk, 0, sizeof chunk);
    chunk.packet_length = data_length;
    std::memcpy(chunk.packet_buffer, data, data_length);
    putHeader(buffer, CONFER_MESSAGE_VERSION01, CONFER_MESSAGE_COMMAND_TRANSFER_FILE, total - CONFER_FRAME_HEAD_SIZE);
    put16(buffer + CONFER_FRAME_HEAD_SIZE, SHARE_TRANSFER_FILE_TYPE_FILEDATA_EXPORT);
    zocmm_wire_store(buffer + CONFER_FRAME_PAYLOAD_AT, chunk);
    *length = total;
    return 0;
}

int net_pack_protocol_broadcast(u16 version, u16 command, u16 subid, u8* buffer, u32* length, u32 capacity)
{
    if (!buffer || !length || capacity < CONFER_FRAME_PAYLOAD_AT)
        return -1;
    u32 record = 0;
    if (cmm_machine_update_loading_set(subid, &record, buffer + CONFER_FRAME_PAYLOAD_AT,
                                       capacity - CONFER_FRAME_PAYLOAD_AT)
        != 0)
        return -1;
    putHeader(buffer, version, command, CONFER_SUBID_SIZE + record);
    put16(buffer + CONFER_FRAME_HEAD_SIZE, subid);
    *length = CONFER_FRAME_PAYLOAD_AT + record;
    return 0;
}

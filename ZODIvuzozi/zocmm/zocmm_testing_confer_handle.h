#pragma once

// The command handlers of the frame layer. Writes get (sub-id, payload
// length, payload) and return 0 (status 0x00) or -1 (0xFF). Reads get
// (sub-id, out length, buffer, capacity), write their record into buffer
// and return 0, or -1 when the sub-id is unknown or the record does not fit;
// a read that succeeds without setting *length leaves the request's payload
// (the echo). The network side takes each segment's server lock for its
// copies.

#include "zobase_mytype.h"

#include <atomic>

// Raised by an accepted network write (0xE103): the connection ends after
// the reply and the device reboots.
std::atomic<bool>& cmm_machine_reboot_flag();

// Whether `text` (16 bytes, NUL-terminated within them) is a dotted IPv4
// address a device can be reached at after a reboot: not 0.x.x.x, 127.x.x.x,
// multicast, nor reserved (240.0.0.0 and above, the broadcast
// 255.255.255.255 among them), unless it is the address the service's
// interface has now (the host's loopback interface). The network record
// (0xE103) and the eth0 part of its extension (0xE106) are both held to it,
// and with a netmask also to not being their subnet's network or broadcast
// address; their netmask is contiguous and their gateway, when given, a
// unicast address inside that subnet.
bool cmm_machine_address_usable(const u8* text, u32 size);

int cmm_machine_update_storing_set(u16 subid, u32 length, const u8* payload);
int cmm_machine_update_loading_set(u16 subid, u32* length, u8* buffer, u32 capacity);
int cmm_config_update_storing_set(u16 subid, u32 length, const u8* payload);
int cmm_testing_update_storing_control(u16 subid, u32 length, const u8* payload);
int cmm_testing_update_storing_parameter(u16 subid, u32 length, const u8* payload);
int cmm_cal_update_storing_set(u16 subid, u32 length, const u8* payload);
int cmm_cal_update_loading_set(u16 subid, u32* length, u8* buffer, u32 capacity);

int cmm_transfer_file(u16 subid, u32 length, const u8* payload);
int cmm_transfer_file_command(u32 length, const u8* payload);
int cmm_testing_recv_file_head(u32 length, const u8* payload);
int cmm_testing_recv_file_data(u32 length, const u8* payload);

// Pushed records from the procedure, result and status segments: 0 with
// the sub-id and record written, -1 when the segment holds no news. A
// procedure or result record whose length is not its type's size is
// dropped (its change mark cleared).
int cmm_testing_update_loading_procedure(u16* subid, u32* length, u8* buffer, u32 capacity);
int cmm_testing_update_loading_trigger(u16* subid, u32* length, u8* buffer, u32 capacity);
int cmm_testing_update_loading_status(u16* subid, u32* length, u8* buffer, u32 capacity);

// Commands accepted without effect (0) and the clock-time read (-1).
int cmm_testing_update_stroing_datarea(u16 subid, u32 length, const u8* payload);
int cmm_upgrade_update_storing_packet(u16 subid, u32 length, const u8* payload);
int cmm_measure_update_storing_set(u16 subid, u32 length, const u8* payload);
int cmm_measure_update_loading_val(u16 subid, u32* length, u8* buffer, u32 capacity);
int cmm_clocktime_update_storing_set(u16 subid, u32 length, const u8* payload);
int cmm_clocktime_update_loading_val(u16 subid, u32* length, u8* buffer, u32 capacity);
int cmm_register_update_storing_set(u16 subid, u32 length, const u8* payload);
int cmm_register_update_loading_val(u16 subid, u32* length, u8* buffer, u32 capacity);
int cmm_testing_update_loading_clocktime(u16* subid, u32* length, u8* buffer, u32 capacity);

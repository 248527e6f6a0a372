#pragma once

// Wire records of the remote-control protocol that this layer reads or
// writes field by field: packed, little-endian, floats IEEE-754 single. A
// record is only used as a local copy (zocmm_wire_load / zocmm_wire_store).
// The records that are only passed on whole are known here by their sizes.

#include "zocmm_record_check.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

// ---- Copying records in and out of frames -------------------------------------------
// A record from `length` bytes: zero-filled, then as many bytes as both hold.
template <typename R>
R zocmm_wire_load(const u8* bytes, u32 length)
{
    static_assert(std::is_trivially_copyable<R>::value, "wire records are plain bytes");
    R record;
    std::memset(&record, 0, sizeof record);
    if (bytes)
        std::memcpy(&record, bytes, std::min<size_t>(length, sizeof record));
    return record;
}

template <typename R>
void zocmm_wire_store(u8* bytes, const R& record)
{
    static_assert(std::is_trivially_copyable<R>::value, "wire records are plain bytes");
    std::memcpy(bytes, &record, sizeof record);
}

// ---- Machine ---------------------------------------------------------------------------
struct ZO_PACKED machine_hello_info
{
    u8 device_guid[32];
    u8 device_code[16];
    u8 device_kind[16];
    u8 device_date[16];
    u8 device_mac[32];
    u8 device_ip[16];
    u8 device_netmask[16];
    u8 device_gateway[16];
    u32 device_connect_port0;
    u32 device_connect_port1;
    u32 device_connect_port2;
    u32 device_connect_state;
    u32 device_apihw_version;
    u32 device_apibc_version;
};
ZO_RECORD_SIZE(machine_hello_info, 184);
ZO_FIELD_AT(machine_hello_info, device_mac, 80);
ZO_FIELD_AT(machine_hello_info, device_ip, 112);
ZO_FIELD_AT(machine_hello_info, device_gateway, 144);
ZO_FIELD_AT(machine_hello_info, device_connect_port0, 160);
ZO_FIELD_AT(machine_hello_info, device_connect_state, 172);
ZO_FIELD_AT(machine_hello_info, device_apibc_version, 180);

struct ZO_PACKED machine_assembly_info
{
    u8 device_guid[32];
    u8 device_code[16];
    u8 device_kind[16];
    u8 device_date[16];
    u32 device_versions[16];
    u8 device_pao_kind;
    u8 device_pao_icount;
    u8 device_pao_vcount;
    u8 device_pao_auxdcv;
    f32 device_pao_ac_iswitches[2];
    f32 device_pao_ac_vswitches[2];
    f32 device_pao_dc_iswitches[2];
    f32 device_pao_dc_vswitches[2];
    f32 device_llo_vswitches[2];
    f32 device_bim_vswitches[5];
    f32 device_bit_vswitches[4];
    f32 device_btm_vswitches[2];
    f32 device_btm_iswitches[2];
    f32 device_std_frequency;
};
ZO_RECORD_SIZE(machine_assembly_info, 244);
ZO_FIELD_AT(machine_assembly_info, device_versions, 80);
ZO_FIELD_AT(machine_assembly_info, device_pao_kind, 144);
ZO_FIELD_AT(machine_assembly_info, device_pao_ac_iswitches, 148);
ZO_FIELD_AT(machine_assembly_info, device_llo_vswitches, 180);
ZO_FIELD_AT(machine_assembly_info, device_bim_vswitches, 188);
ZO_FIELD_AT(machine_assembly_info, device_btm_iswitches, 232);
ZO_FIELD_AT(machine_assembly_info, device_std_frequency, 240);

struct ZO_PACKED machine_assembly_info_ex
{
    u8 device_fiber_type;
    u8 device_combo_type;
    u8 device_pao_aci3_enable;
    u8 device_pao_dci3_enable;
    u8 device_pao_hload_type;
    u8 device_inside_model_type;
    u8 device_hdi_count;
    u8 device_gsi_count;
    u8 device_hdo_count;
    u8 device_gso_count;
    u8 device_hdi_measure_enable;
    u8 device_pao_aci1_enable;
    u8 device_pao_dci1_enable;
    u8 device_eio_icount;
    u8 device_pao_ux_type;
    u8 device_pao_hdi3_type;
    u8 device_gpsgbd_type;
    u8 device_recurr_gcount;
    u8 device_plosync_enable;
    u8 device_hdi_variety_enable;
    u8 device_pao_auxdcv_relay_type;
    u8 device_pao_ddcwarn_type;
    u8 device_llo_count;
    u8 device_llo_vcount;
    u8 device_llo_ux_enable;
    u8 device_aux_pwmv_type;
    u8 device_bio_board_type;
    u8 device_bio_variety_count;
    u8 reserved1[996];
    f32 device_uppers[17];   // device_pao_aci3_upper .. device_pao_dci_hload, as in the segment
    s32 device_gps_trigger_error;
    u32 device_pao_temperature_warn;
    u32 device_pao_temperature_resume;
    f32 device_llo_aci_upper;
    f32 device_llo_dci_upper;
    f32 device_aux_pwmv_upper;
    f32 device_aux_pwmv_lower;
    u8 reserved2[2976];
};
ZO_RECORD_SIZE(machine_assembly_info_ex, 4096);
ZO_FIELD_AT(machine_assembly_info_ex, device_hdi_count, 6);
ZO_FIELD_AT(machine_assembly_info_ex, device_llo_count, 22);
ZO_FIELD_AT(machine_assembly_info_ex, device_aux_pwmv_type, 25);
ZO_FIELD_AT(machine_assembly_info_ex, device_uppers, 1024);
ZO_FIELD_AT(machine_assembly_info_ex, device_gps_trigger_error, 1092);
ZO_FIELD_AT(machine_assembly_info_ex, device_pao_temperature_warn, 1096);
ZO_FIELD_AT(machine_assembly_info_ex, device_aux_pwmv_lower, 1116);

struct ZO_PACKED machine_network_info
{
    u8 device_guid[32];
    u8 device_eth_kind;
    u8 device_mac_kind;
    u8 device_mac[32];
    u8 device_ip[16];
    u8 device_netmask[16];
    u8 device_gateway[16];
    u32 device_connect_port0;
    u32 device_connect_port1;
    u32 device_connect_port2;
};
ZO_RECORD_SIZE(machine_network_info, 126);
ZO_FIELD_AT(machine_network_info, device_ip, 66);
ZO_FIELD_AT(machine_network_info, device_connect_port0, 114);

struct ZO_PACKED machine_network_eth
{
    u8 device_eth_kind;
    u8 device_mac_kind;
    u8 device_mac[32];
    u8 device_ip[16];
    u8 device_netmask[16];
    u8 device_gateway[16];
    u32 device_connect_port0;
    u32 device_connect_port1;
    u32 device_connect_port2;
};
ZO_RECORD_SIZE(machine_network_eth, 94);

struct ZO_PACKED machine_network_info_ex
{
    u8 device_guid[32];
    machine_network_eth eth0;
    machine_network_eth eth1;
};
ZO_RECORD_SIZE(machine_network_info_ex, 220);
ZO_FIELD_AT(machine_network_info_ex, eth0, 32);
ZO_FIELD_AT(machine_network_info_ex, eth1, 126);

// ---- Configuration writes ------------------------------------------------------------------
struct ZO_PACKED run_scheme_set
{
    u8 update_enable;
    u8 fiber_mode;
    u32 output_enables;
    u32 binary_enables;
    f32 aux_pwmv_value;
    u16 svgse_iecv2_enable;
    u16 reserved1;
    u32 virtual_bi_enables;
    u32 virtual_bo_enables;
    u32 reserveds[28];
};
ZO_RECORD_SIZE(run_scheme_set, 138);
ZO_FIELD_AT(run_scheme_set, aux_pwmv_value, 10);
ZO_FIELD_AT(run_scheme_set, virtual_bi_enables, 18);

struct ZO_PACKED llo_port_set
{
    u8 channel_index;
    u8 reserveds1;
    u8 reserveds2;
    u8 reserveds3;
    f32 std_input_val;
    f32 std_output_val;
};
struct ZO_PACKED llo_signal_set
{
    u8 update_enable;
    u8 power_switch_enable;
    u32 power_switch_states;
    u32 sample_rate;
    llo_port_set ports[2][8];
    u32 reserveds[10];
};
ZO_RECORD_SIZE(llo_signal_set, 242);
ZO_FIELD_AT(llo_signal_set, ports, 10);
ZO_FIELD_AT(llo_signal_set, reserveds, 202);

struct ZO_PACKED pao_port_set
{
    u8 channel_index;
    u8 reserveds[3];
};
struct ZO_PACKED pao_signal_set
{
    u8 update_enable;
    u8 power_hload_type;
    u8 power_ikind;
    u8 power_switch_enable;
    u32 power_switch_states;
    u32 sample_rate;
    f32 power_iopenwarm_limit;
    pao_port_set ports[4][8];
    u8 power_ux_type;
    u8 reserveds[39];
};
ZO_RECORD_SIZE(pao_signal_set, 184);
ZO_FIELD_AT(pao_signal_set, ports, 16);
ZO_FIELD_AT(pao_signal_set, power_ux_type, 144);

struct ZO_PACKED clock_signal_set
{
    u8 update_enable;
    u8 autoreport_enable;
    u8 reserved;
    u8 clk_refsrc;
    f32 clk_timezone;
    u32 clk_stime;
    u32 ppx_count;
    u32 ppx_stimes[16];
    u32 eio_trigger_mask;
    u8 eio_trigger_in_type;
    u8 eio_trigger_in_polarity;
    u8 eio_trigger_out_type;
    u8 eio_trigger_out_polarity;
    u32 update_mask;
    u32 reserveds[9];
};
ZO_RECORD_SIZE(clock_signal_set, 128);
ZO_FIELD_AT(clock_signal_set, eio_trigger_mask, 80);
ZO_FIELD_AT(clock_signal_set, update_mask, 88);

// ---- Test control ------------------------------------------------------------------------------
enum confer_testing_control_enable : u32 {
    CONFER_TESTING_CONTROL_ENABLE_RESTARTSYS = 0x1,
    CONFER_TESTING_CONTROL_ENABLE_DISCONNECT = 0x2,
    CONFER_TESTING_CONTROL_ENABLE_PREPARE = 0x4,
    CONFER_TESTING_CONTROL_ENABLE_RUNNING = 0x8,
    CONFER_TESTING_CONTROL_ENABLE_STOPPING = 0x10,
    CONFER_TESTING_CONTROL_ENABLE_TRIGGER = 0x20,
    CONFER_TESTING_CONTROL_ENABLE_SWITCHING = 0x40,
    CONFER_TESTING_CONTROL_ENABLE_POWERING = 0x80,
    CONFER_TESTING_CONTROL_ENABLE_RESET_DATAREA = 0x100,
    CONFER_TESTING_CONTROL_ENABLE_RESET_CONFIG = 0x200,
    CONFER_TESTING_CONTROL_ENABLE_OUTPUT_BINARY = 0x400,
    CONFER_TESTING_CONTROL_ENABLE_RUNNING_REPEAT = 0x800,
    CONFER_TESTING_CONTROL_ENABLE_CLOCKING_TIME = 0x1000,
    CONFER_TESTING_CONTROL_ENABLE_STORING_CAL = 0x2000,
    CONFER_TESTING_CONTROL_ENABLE_MEASURE_VAL = 0x4000,
    CONFER_TESTING_CONTROL_ENABLE_SNIFFER_ETH = 0x8000,
    CONFER_TESTING_CONTROL_ENABLE_GSPUB_EXCEPTION = 0x10000,
    CONFER_TESTING_CONTROL_ENABLE_RESET_BIOTIME = 0x20000,
    CONFER_TESTING_CONTROL_ENABLE_PWHSWITCH = 0x40000,
    CONFER_TESTING_CONTROL_ENABLE_AUXDCSWITCH = 0x80000,
    CONFER_TESTING_CONTROL_ENABLE_BIOSTATE_INTERVAL = 0x100000,
    CONFER_TESTING_CONTROL_ENABLE_BIOHISTORY_INTERVAL = 0x200000,
    CONFER_TESTING_CONTROL_ENABLE_VIRTUAL_BI = 0x400000,
};

struct ZO_PACKED confer_testing_control
{
    u32 command_enables;
    u32 command_reserved0;
    u32 command_restartsys_enable;
    u32 command_disconnect_enable;
    u32 command_prepare_enable;
    u32 command_running_enable;
    u32 command_stopping_enable;
    u32 command_trigger_enable;
    u32 command_switching_enable;
    u32 command_powering_enable;
    u32 command_reset_datarea_enable;
    u32 command_reset_config_enable;
    u32 command_output_binary_state;
    u32 command_running_repeat_count;
    u32 command_power_auxdcswitch_enable;
    u32 command_storing_cal_enables;
    u32 command_measure_val_enables;
    u32 command_sniffer_eth_enables;
    u32 command_gspub_exception_enables;
    u32 command_gspub_exception_register;
    u32 command_reset_biotime_enables;
    f32 command_reset_biotime_dither;
    u32 command_power_hswitch_enable;
    u32 command_output_binary_enable;
    u32 command_bio_interval_ustime;
    u32 command_virtual_bi_states;
    u32 command_reserveds[38];
};
ZO_RECORD_SIZE(confer_testing_control, 256);
ZO_FIELD_AT(confer_testing_control, command_running_enable, 20);
ZO_FIELD_AT(confer_testing_control, command_stopping_enable, 24);
ZO_FIELD_AT(confer_testing_control, command_trigger_enable, 28);
ZO_FIELD_AT(confer_testing_control, command_switching_enable, 32);
ZO_FIELD_AT(confer_testing_control, command_output_binary_state, 48);
ZO_FIELD_AT(confer_testing_control, command_output_binary_enable, 92);
ZO_FIELD_AT(confer_testing_control, command_reserveds, 104);

// ---- File transfer ---------------------------------------------------------------------------------
struct ZO_PACKED confer_file_transfer_head
{
    u8 file_name[64];   // NUL-terminated, at most 63 characters
    u32 fileSize;
};
ZO_RECORD_SIZE(confer_file_transfer_head, 68);

constexpr u32 CONFER_FILE_PACKET_SIZE = 1024;
struct ZO_PACKED confer_file_transfer_data
{
    u32 packet_length;   // 0 .. 1024
    u8 packet_buffer[CONFER_FILE_PACKET_SIZE];
};
ZO_RECORD_SIZE(confer_file_transfer_data, 1028);

constexpr u32 CONFER_FILE_TRANSFER_CMD_SIZE = 1;

// ---- Records passed on whole: their sizes ---------------------------------------------
// Calibration: the small-signal and DC-output records have the segment's
// layout; the amplifier record holds four factor sets, the segment one.
constexpr u32 CAL_LLO_FACTOR_SIZE = 10244;
constexpr u32 CAL_PAO_FACTOR_SIZE = 119684;
constexpr u32 CAL_PDO_FACTOR_SIZE = 104;
constexpr u32 CAL_PAO_FACTOR_SETS = 4;
constexpr u32 CAL_BIT_FACTOR_SIZE = 2180;
constexpr u32 CAL_BIM_FACTOR_SIZE = 11044;
constexpr u32 CAL_BTM_FACTOR_SIZE = 276;

// Test parameters (converted by the service's parameter handlers).
constexpr u32 ALTERNATE_TESTING_PARAMETER_SIZE = 4920;
constexpr u32 ORDINARY_TESTING_PARAMETER_SIZE = 2738;
constexpr u32 HARMONIC_TESTING_PARAMETER_SIZE = 9630;
constexpr u32 SIMPLE_RAMPING_TESTING_PARAMETER_SIZE = 1183;

// Pushed records (written into the procedure and result segments by the Qt side).
constexpr u32 ALTERNATE_TESTING_RESULT_SIZE = 377;
constexpr u32 ORDINARY_TESTING_RESULT_SIZE = 280;
constexpr u32 HARMONIC_TESTING_RESULT_SIZE = 377;
constexpr u32 SIMPLE_RAMPING_TESTING_PROCEDURE_SIZE = 108;
constexpr u32 SIMPLE_RAMPING_TESTING_ACTION_SIZE = 92;
constexpr u32 SHM_TESTING_STATUS_SIZE = 512;

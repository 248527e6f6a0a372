#pragma once

// The nine shared-memory segments between the Qt side (client) and the
// network threads (server). Every segment starts with the control header;
// the records behind it are plain little-endian structures with natural
// alignment (a segment is page aligned).

#include "zocmm_record_check.h"

// ---- Header of every segment ------------------------------------------------
// server_locked / client_locked are the two flags of the segment's lock; they
// are only touched through the lock functions (sequentially consistent).
struct shm_shmem_datctrl
{
    u32 enables;
    u32 server_locked;
    u32 client_locked;
    u32 server_changes;   // status, procedure, result: 1 = a fresh record waits; config, cal: change bits
    u32 client_changes;
};
ZO_RECORD_SIZE(shm_shmem_datctrl, 20);
ZO_FIELD_AT(shm_shmem_datctrl, server_changes, 12);

// ---- Status -------------------------------------------------------------------
struct shm_testing_status_new
{
    u32 resulted_prepare_enable;
    u32 resulted_running_enable;
    u32 resulted_stopping_enable;
    u32 resulted_trigger_enable;
    u32 resulted_switching_enable;
    u32 resulted_powering_enable;
    u32 resulted_reset_datarea_enable;
    u32 resulted_reset_config_enable;
    u32 resulted_earthed_enable;
    u32 resulted_testing_error;
    f32 resulted_output_auxdcv_range;
    u32 resulted_output_binary_state;
    u32 resulted_output_alarm_state;
    u32 resulted_hdi_binary_state;
    u32 resulted_gsi_binary_state;
    u32 resulted_input_binary_state;
    u32 resulted_reserved1[32];
    u32 resulted_reserved2[32];
    u32 resulted_runing_bio_time_enable;
    u32 resulted_power_hload_enable;
    u32 resulted_testing_finished_enable;
    u32 resulted_power_auxdcswitch_enable;
    u32 resulted_pav_temperatures;
    u32 resulted_paa_temperatures;
    u32 resulted_reserved3[42];
};
ZO_RECORD_SIZE(shm_testing_status_new, 512);
ZO_FIELD_AT(shm_testing_status_new, resulted_running_enable, 4);
ZO_FIELD_AT(shm_testing_status_new, resulted_stopping_enable, 8);
ZO_FIELD_AT(shm_testing_status_new, resulted_output_binary_state, 44);
ZO_FIELD_AT(shm_testing_status_new, resulted_input_binary_state, 60);
ZO_FIELD_AT(shm_testing_status_new, resulted_runing_bio_time_enable, 320);
ZO_FIELD_AT(shm_testing_status_new, resulted_paa_temperatures, 340);

struct shm_share_status
{
    shm_shmem_datctrl ctrl;
    shm_testing_status_new status;
};
ZO_RECORD_SIZE(shm_share_status, 532);

// ---- Control ----------------------------------------------------------------
enum shm_testing_control_enable : u32 {
    SHM_TESTING_CONTROL_ENABLE_RESTARTSYS = 0x1,
    SHM_TESTING_CONTROL_ENABLE_DISCONNECT = 0x2,
    SHM_TESTING_CONTROL_ENABLE_PREPARE = 0x4,
    SHM_TESTING_CONTROL_ENABLE_RUNNING = 0x8,
    SHM_TESTING_CONTROL_ENABLE_STOPPING = 0x10,
    SHM_TESTING_CONTROL_ENABLE_TRIGGER = 0x20,
    SHM_TESTING_CONTROL_ENABLE_SWITCHING = 0x40,
    SHM_TESTING_CONTROL_ENABLE_POWERING = 0x80,
    SHM_TESTING_CONTROL_ENABLE_RESET_DATAREA = 0x100,
    SHM_TESTING_CONTROL_ENABLE_RESET_CONFIG = 0x200,
    SHM_TESTING_CONTROL_ENABLE_OUTPUT_BINARY = 0x400,
    SHM_TESTING_CONTROL_ENABLE_RUNNING_REPEAT = 0x800,
    SHM_TESTING_CONTROL_ENABLE_PWHSWITCH = 0x40000,
    SHM_TESTING_CONTROL_ENABLE_AUXDCSWITCH = 0x80000,
};

struct shm_testing_control
{
    u32 command_enables;
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
    u32 command_output_binary_enable;
    u32 command_output_binary_state;
    u32 command_running_repeat_count;
    u32 command_power_auxdcswitch_enable;
    u32 command_power_hswitch_enable;
};
ZO_RECORD_SIZE(shm_testing_control, 64);
ZO_FIELD_AT(shm_testing_control, command_stopping_enable, 20);

struct shm_share_control
{
    shm_shmem_datctrl ctrl;
    shm_testing_control control;
};
ZO_RECORD_SIZE(shm_share_control, 84);

// ---- Clock (created, not used) -------------------------------------------------
struct shm_testing_clock
{
    u32 irigb_stime;
    u32 gps_stime;
    f32 gps_timezone;
    u32 gps_svct;
    u32 gbd_stime;
    f32 gbd_timezone;
    u32 gbd_svct;
    u32 sync_state;
};
struct shm_share_clock
{
    shm_shmem_datctrl ctrl;
    shm_testing_clock clock;
};
ZO_RECORD_SIZE(shm_share_clock, 52);

// ---- Parameter, procedure, result: one record of a type ---------------------------
constexpr u32 SHM_SHARE_RECORD_CAPACITY = 65536;
struct shm_share_record
{
    shm_shmem_datctrl ctrl;
    u32 data_type;     // the record type, sent as the pushed frame's sub-id
    u32 data_length;   // bytes of buffer that hold the record
    u8 buffer[SHM_SHARE_RECORD_CAPACITY];
};
ZO_RECORD_SIZE(shm_share_record, 65564);
ZO_FIELD_AT(shm_share_record, data_type, 20);
ZO_FIELD_AT(shm_share_record, buffer, 28);
typedef shm_share_record shm_share_parameter;
typedef shm_share_record shm_share_procedure;
typedef shm_share_record shm_share_result;

// ---- Configuration -------------------------------------------------------------------
struct shm_run_scheme_set
{
    u32 update_enable;
    u32 output_enables;
    u32 binary_enables;
    f32 aux_pwmv_value;
    u32 virtual_bi_enables;
    u32 virtual_bo_enables;
};
ZO_RECORD_SIZE(shm_run_scheme_set, 24);

struct shm_llo_port_set
{
    u32 channel_index;
    f32 std_input_val;
    f32 std_output_val;
};
struct shm_llo_signal_set
{
    u32 update_enable;
    u32 power_switch_enable;
    u32 power_switch_states;
    u32 sample_rate;
    shm_llo_port_set ports[2][8];
};
ZO_RECORD_SIZE(shm_llo_signal_set, 208);

struct shm_pao_port_set
{
    u32 channel_index;
};
struct shm_pao_signal_set
{
    u32 update_enable;
    u32 power_hload_type;
    u32 power_ikind;
    u32 power_switch_enable;
    u32 power_switch_states;
    u32 sample_rate;
    f32 power_iopenwarm_limit;
    shm_pao_port_set ports[2][8];
    u32 power_ux_type;
};
ZO_RECORD_SIZE(shm_pao_signal_set, 96);
ZO_FIELD_AT(shm_pao_signal_set, power_ux_type, 92);

struct shm_clock_signal_set
{
    u32 update_enable;
    u32 autoreport_enable;
    u32 reserved;
    u32 clk_refsrc;
    f32 clk_timezone;
    u32 clk_stime;
    u32 ppx_count;
    u32 ppx_stimes[16];
    u32 eio_trigger_mask;
    u32 eio_trigger_in_type;
    u32 eio_trigger_in_polarity;
    u32 eio_trigger_out_type;
    u32 eio_trigger_out_polarity;
    u32 update_mask;
    u32 reserveds[9];
};
ZO_RECORD_SIZE(shm_clock_signal_set, 152);
ZO_FIELD_AT(shm_clock_signal_set, update_mask, 112);

struct shm_config_testing_cfgset
{
    shm_run_scheme_set runset;
    shm_llo_signal_set lloset;
    shm_pao_signal_set paoset;
    shm_clock_signal_set clockset;
};
ZO_RECORD_SIZE(shm_config_testing_cfgset, 480);
ZO_FIELD_AT(shm_config_testing_cfgset, lloset, 24);
ZO_FIELD_AT(shm_config_testing_cfgset, paoset, 232);
ZO_FIELD_AT(shm_config_testing_cfgset, clockset, 328);

enum shm_config_change : u32 {
    SHM_CONFIG_CHANGE_RUNSET = 0x04,
    SHM_CONFIG_CHANGE_LLOSET = 0x08,
    SHM_CONFIG_CHANGE_PAOSET = 0x10,
    SHM_CONFIG_CHANGE_CLOCKSET = 0x20,
};

struct shm_share_config
{
    shm_shmem_datctrl ctrl;
    shm_config_testing_cfgset cfgset;
};
ZO_RECORD_SIZE(shm_share_config, 500);

// ---- Calibration -----------------------------------------------------------------------
// The entries hold only 4-byte fields; the wire records of the small-signal
// and DC-output factors have the same layout as these.
struct shm_cal_dcamp
{
    u32 set_amp_count;
    f32 set_amp_points[4];
    f32 get_amp_points[4];
    f32 cal_amp_factors[4];
    f32 cal_amp_offsets[4];
};
ZO_RECORD_SIZE(shm_cal_dcamp, 68);
struct shm_cal_acamp
{
    u32 set_amp_count;
    f32 set_frq_point;
    f32 set_pha_point;
    f32 set_amp_points[4];
    f32 get_amp_points[4];
    f32 cal_amp_factors[4];
    f32 cal_amp_offsets[4];
};
ZO_RECORD_SIZE(shm_cal_acamp, 76);
struct shm_cal_acdco
{
    u32 set_amp_count;
    f32 set_frq_point;
    f32 set_pha_point;
    f32 set_amp_points[2];
    f32 get_amp_points[2];
    f32 cal_amp_offsets[2];
};
ZO_RECORD_SIZE(shm_cal_acdco, 36);
struct shm_cal_acfrq
{
    u32 set_amp_count;
    f32 set_frq_point;
    f32 set_pha_point;
    f32 set_amp_points[2];
    f32 get_amp_points[2];
    f32 cal_frq_factors[2];
};
ZO_RECORD_SIZE(shm_cal_acfrq, 36);
struct shm_cal_acpha
{
    u32 set_frq_count;
    f32 set_amp_point;
    f32 set_pha_point;
    f32 set_frq_points[2];
    f32 get_frq_points[2];
    f32 cal_pha_offsets[2];
};
ZO_RECORD_SIZE(shm_cal_acpha, 36);
struct shm_cal_acfac
{
    u32 set_amp_count;
    u32 set_frq_count;
    f32 set_pha_point;
    f32 set_amp_points[2];
    f32 get_amp_points[2];
    f32 set_frq_points[25];
    f32 get_frq_points[25];
    f32 cal_amp_factors[2][25];
};
ZO_RECORD_SIZE(shm_cal_acfac, 428);
struct shm_cal_pdo_dcamp
{
    u32 set_amp_count;
    f32 set_amp_points[6];
    f32 get_amp_points[6];
    f32 cal_amp_factors[6];
    f32 cal_amp_offsets[6];
};
ZO_RECORD_SIZE(shm_cal_pdo_dcamp, 100);

// One amplifier factor set.
struct shm_cal_pao_ofactor
{
    shm_cal_dcamp dcpos[20][2];
    shm_cal_dcamp dcneg[20][2];
    shm_cal_acamp acamp[20][2];
    shm_cal_acdco acdco[20][2];
    shm_cal_acfrq acfrq[20][2];
    shm_cal_acpha acpha[20][2];
    shm_cal_acfac acfac[20][2];
};
ZO_RECORD_SIZE(shm_cal_pao_ofactor, 29920);
struct shm_cal_pao_factor
{
    u32 factor_version;
    shm_cal_pao_ofactor ofactor;
};
ZO_RECORD_SIZE(shm_cal_pao_factor, 29924);
struct shm_cal_llo_factor
{
    u32 factor_version;
    shm_cal_dcamp dcpos[16][2];
    shm_cal_dcamp dcneg[16][2];
    shm_cal_acamp acamp[16][2];
    shm_cal_acdco acdco[16][2];
    shm_cal_acfrq acfrq[16][2];
    shm_cal_acpha acpha[16][2];
};
ZO_RECORD_SIZE(shm_cal_llo_factor, 10244);
struct shm_cal_pdo_factor
{
    u32 factor_version;
    shm_cal_pdo_dcamp dcamp;
};
ZO_RECORD_SIZE(shm_cal_pdo_factor, 104);

struct shm_cal_testing_calset
{
    shm_cal_pao_factor paodat;
    shm_cal_llo_factor llodat;
    shm_cal_pdo_factor pdodat;
};
ZO_RECORD_SIZE(shm_cal_testing_calset, 40272);
ZO_FIELD_AT(shm_cal_testing_calset, llodat, 29924);
ZO_FIELD_AT(shm_cal_testing_calset, pdodat, 40168);

enum shm_cal_change : u32 {
    SHM_CAL_CHANGE_PAO = 0x02,
    SHM_CAL_CHANGE_LLO = 0x04,
    SHM_CAL_CHANGE_PDO = 0x08,
};

struct shm_share_cal
{
    shm_shmem_datctrl ctrl;
    shm_cal_testing_calset calset;
};
ZO_RECORD_SIZE(shm_share_cal, 40292);

// ---- Machine ---------------------------------------------------------------------------
struct shm_machine_assembly_info
{
    u8 device_guid[32];
    u8 device_code[16];
    u8 device_kind[16];
    u8 device_date[16];
    u32 device_versions[16];
    u32 device_pao_kind;
    u32 device_pao_icount;
    u32 device_pao_vcount;
    u32 device_pao_auxdcv;
    f32 device_pao_ac_iswitches[2];
    f32 device_pao_ac_vswitches[2];
    f32 device_pao_dc_iswitches[2];
    f32 device_pao_dc_vswitches[2];
    f32 device_llo_vswitches[2];
    f32 device_std_frequency;
    u32 device_pao_aci3_enable;
    u32 device_pao_dci3_enable;
    u32 device_pao_hload_type;
    u32 device_hdi_count;
    u32 device_hdo_count;
    u32 device_pao_aci1_enable;
    u32 device_pao_dci1_enable;
    u32 device_pao_hdi3_type;
    u32 device_gpsgbd_type;
    u32 device_recurr_gcount;
    u32 device_plosync_enable;
    u32 device_llo_count;
    u32 device_llo_vcount;
    u32 device_aux_pwmv_type;
    // From device_pao_aci3_upper to device_pao_dci_hload (17 values, the
    // order of the assembly extension record).
    f32 device_pao_aci3_upper;
    f32 device_pao_aci6_upper;
    f32 device_pao_dci3_upper;
    f32 device_pao_dci6_upper;
    f32 device_pao_acv_upper;
    f32 device_pao_dcv_upper;
    f32 device_pao_acf_upper;
    f32 device_pao_auxdcv_upper;
    f32 device_llo_acv_upper;
    f32 device_llo_dcv_upper;
    f32 device_pao_aci1_upper;
    f32 device_pao_dci1_upper;
    f32 device_llo_acf_upper;
    f32 device_pao_acv_hload;
    f32 device_pao_aci_hload;
    f32 device_pao_dcv_hload;
    f32 device_pao_dci_hload;
    u32 device_pao_temperature_warn;
    u32 device_pao_temperature_resume;
    f32 device_llo_aci_upper;
    f32 device_llo_dci_upper;
    f32 device_aux_pwmv_upper;
    f32 device_aux_pwmv_lower;
    u32 device_speed_frequency;
};
ZO_RECORD_SIZE(shm_machine_assembly_info, 356);
ZO_FIELD_AT(shm_machine_assembly_info, device_pao_kind, 144);
ZO_FIELD_AT(shm_machine_assembly_info, device_std_frequency, 200);
ZO_FIELD_AT(shm_machine_assembly_info, device_aux_pwmv_type, 256);
ZO_FIELD_AT(shm_machine_assembly_info, device_pao_aci3_upper, 260);
ZO_FIELD_AT(shm_machine_assembly_info, device_pao_dci_hload, 324);
ZO_FIELD_AT(shm_machine_assembly_info, device_pao_temperature_warn, 328);
ZO_FIELD_AT(shm_machine_assembly_info, device_aux_pwmv_lower, 348);

struct shm_machine_network_info
{
    u8 device_eth_kind;
    u8 device_mac_kind;
    u8 device_mac[32];
    u8 device_ip[16];
    u8 device_netmask[16];
    u8 device_gateway[16];
    u8 reserved[2];
    u32 device_connect_port0;   // UDP beacon port
    u32 device_connect_port1;   // TCP control port
    u32 device_connect_port2;
    u8 device_eth_name[32];
};
ZO_RECORD_SIZE(shm_machine_network_info, 128);
ZO_FIELD_AT(shm_machine_network_info, device_ip, 34);
ZO_FIELD_AT(shm_machine_network_info, device_gateway, 66);
ZO_FIELD_AT(shm_machine_network_info, device_connect_port0, 84);
ZO_FIELD_AT(shm_machine_network_info, device_eth_name, 96);

struct shm_machine_version_info
{
    u32 device_hardware_version;
    u32 device_software_version;
    u32 device_fpga_version;
    u32 device_zodivuzozi_version;
};

struct shm_machine_testing_mchset
{
    u8 reserved[2056];
    shm_machine_assembly_info assembly;
    shm_machine_network_info network;
    shm_machine_version_info version;
};
ZO_RECORD_SIZE(shm_machine_testing_mchset, 2556);
ZO_FIELD_AT(shm_machine_testing_mchset, assembly, 2056);
ZO_FIELD_AT(shm_machine_testing_mchset, network, 2412);
ZO_FIELD_AT(shm_machine_testing_mchset, version, 2540);

struct shm_share_machine
{
    shm_shmem_datctrl ctrl;
    shm_machine_testing_mchset mchset;
};
ZO_RECORD_SIZE(shm_share_machine, 2576);

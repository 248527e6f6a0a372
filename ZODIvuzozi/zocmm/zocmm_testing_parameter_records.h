#pragma once

// Wire layouts of the test parameter records a PC sends (AC, one state of the
// state sequence, harmonic, ramping) and of the procedure and result records
// pushed back while such a test runs. Packed, little-endian, floats IEEE-754
// single; only ever copied whole into a local object (zocmm_wire_load).

#include "zocmm_testing_confer_records.h"

// ---- Shared parts -------------------------------------------------------------------
struct ZO_PACKED common_phase_base
{
    f32 base_range;
    f32 base_angle;   // degrees
    f32 base_frequency;
};
ZO_RECORD_SIZE(common_phase_base, 12);

struct ZO_PACKED common_vector_base
{
    f32 base_range;
    f32 base_angle;
};
ZO_RECORD_SIZE(common_vector_base, 8);

// Port order UA, UB, UC, UX, IA, IB, IC, IX.
struct ZO_PACKED common_analog_base
{
    common_phase_base phases[8];
};
ZO_RECORD_SIZE(common_analog_base, 96);

struct ZO_PACKED common_phase_property
{
    u32 enables;
    f32 harm_range;
    f32 harm_angle;
    f32 harm_frequency;
    f32 drdt_slip_value;
    f32 drdt_stop_value;
    f32 dfdt_slip_value;
    f32 dfdt_stop_value;
};
ZO_RECORD_SIZE(common_phase_property, 32);

struct ZO_PACKED common_analog_property
{
    common_phase_property phases[8];
};
ZO_RECORD_SIZE(common_analog_property, 256);

struct ZO_PACKED common_xphase_define
{
    u8 ux_define;
    u8 ux_reference;
    common_phase_base ux_phase;
};
ZO_RECORD_SIZE(common_xphase_define, 14);

struct ZO_PACKED common_close_define
{
    u8 close_enable;
    u8 decay_enable;
    u16 linkphase_type;
    f32 close_angle;
    f32 decay_factor;
    f32 decay_zvalue;
};
ZO_RECORD_SIZE(common_close_define, 16);

struct ZO_PACKED common_exception_define
{
    u16 exceptionKind;
    u16 exceptionAppusets;
    u32 exceptionStillCount;
    u16 exceptionBeginSmpcnt;
    u16 exceptionBlockCount;
    u16 missFrameCount;
    u16 missStepCount;
    u16 missSequenceCount;
    u16 missSequenceOffset;
    u16 missQualityCount;
    u32 missQualityDWord;
    u64 missQualityDssets;
    u16 missValueCount;
    f32 missValueRate;
    u64 missValueDssets;
    u16 missUniformCount;
    u32 missUniformUtime;
};
ZO_RECORD_SIZE(common_exception_define, 54);
ZO_FIELD_AT(common_exception_define, missQualityDssets, 26);
ZO_FIELD_AT(common_exception_define, missValueDssets, 40);

// AC: ramping_mode; harmonic: the ramped harmonic slot.
struct ZO_PACKED common_ramping_variable
{
    u8 group_index;
    u8 ramping_kind;   // port group (RampPortType)
    u8 ramping_mode_or_order;
    u8 ramping_item;   // range 0, angle 1, frequency 2
    f32 ramping_from;
    f32 ramping_to;
    f32 ramping_lower;
    f32 ramping_upper;
    f32 ramping_rate;
    f32 ramping_length;
    f32 ramping_factor;
    f32 ramping_current;
};
ZO_RECORD_SIZE(common_ramping_variable, 36);
ZO_FIELD_AT(common_ramping_variable, ramping_to, 8);
ZO_FIELD_AT(common_ramping_variable, ramping_length, 24);
ZO_FIELD_AT(common_ramping_variable, ramping_factor, 28);

struct ZO_PACKED model_constant_fault
{
    u8 fault_kind;
    u8 fault_direction;
    f32 values[8];   // fault_current_range .. load_angle
};
ZO_RECORD_SIZE(model_constant_fault, 34);

struct ZO_PACKED model_distance_repairfactor
{
    u8 repair_kind;
    f32 repair_factor1;
    f32 repair_factor2;
};
ZO_RECORD_SIZE(model_distance_repairfactor, 9);

struct ZO_PACKED model_distance_fault
{
    u8 kinds[7];     // distance_kind .. separate_arc_resistance_enable
    f32 values[8];   // limit_current_range .. load_angle
    common_vector_base setting_impedance;
    common_vector_base system_impedance;
    common_vector_base short_impedance;
    model_distance_repairfactor system_factor;
    model_distance_repairfactor short_factor;
};
ZO_RECORD_SIZE(model_distance_fault, 81);
ZO_FIELD_AT(model_distance_fault, setting_impedance, 39);
ZO_FIELD_AT(model_distance_fault, short_factor, 72);

struct ZO_PACKED alternate_ramping_model
{
    u8 ramping_model_type;
    common_analog_base direct;
    model_constant_fault constant;
    model_distance_fault distance;
};
ZO_RECORD_SIZE(alternate_ramping_model, 212);
ZO_FIELD_AT(alternate_ramping_model, constant, 97);
ZO_FIELD_AT(alternate_ramping_model, distance, 131);

// ---- AC ---------------------------------------------------------------------------------
struct ZO_PACKED alternate_testing_parameter
{
    u32 testing_index;
    f32 dither_stime;
    f32 cb_break_delay_stime;
    f32 cb_close_delay_stime;
    f32 normal_output_stime;
    f32 normal_output_first_stime;
    u32 normal_output_binary_enable;
    u32 normal_output_binary_hold_state;
    u32 normal_input_binary_fall_enable;
    u32 normal_input_binary_rise_enable;
    u8 normal_input_binary_logic;
    u8 normal_trigger_kind;
    u8 normal_cb_delay_enable;
    u8 normal_model_calc_enable;
    f32 interval_output_stime;
    f32 fault_output_stime;
    f32 fault_output_short_stime;
    f32 fault_output_delay_stime;
    u32 fault_output_sliptime_enable;
    f32 fault_volid_action_short_stime;
    u32 fault_output_binary_enable;
    u32 fault_output_binary_hold_state;
    u32 fault_output_binary_turn_state;
    u8 fault_output_binary_refer_kinds[32];
    u32 fault_output_binary_refer_bistates[32];
    f32 fault_output_binary_hold_stimes[32];
    f32 fault_output_binary_turn_stimes[32];
    u32 fault_input_binary_fall_enable;
    u32 fault_input_binary_rise_enable;
    u8 fault_input_binary_logic;
    u8 fault_trigger_kind;
    u8 fault_cb_delay_enable;
    u8 ramping_direct_type;
    u8 ramping_from_type;
    u8 ramping_multiresult_enable;
    u8 ramping_variable_count;
    u8 normal_link_state_type;
    u8 fault_link_state_type;
    u8 interval_link_state_type;
    u32 active_group_count;
    common_analog_base normal_bases[6];
    common_analog_base interval_bases[6];
    alternate_ramping_model fault_models[6];
    common_xphase_define fault_xdefines[6];
    common_analog_property fault_properties[6];
    common_ramping_variable fault_rampings[8];
    common_close_define fault_close;
    common_exception_define fault_exception;
};
ZO_RECORD_SIZE(alternate_testing_parameter, ALTERNATE_TESTING_PARAMETER_SIZE);
ZO_FIELD_AT(alternate_testing_parameter, interval_output_stime, 44);
ZO_FIELD_AT(alternate_testing_parameter, fault_output_stime, 48);
ZO_FIELD_AT(alternate_testing_parameter, fault_output_binary_refer_kinds, 80);
ZO_FIELD_AT(alternate_testing_parameter, fault_input_binary_fall_enable, 496);
ZO_FIELD_AT(alternate_testing_parameter, fault_input_binary_logic, 504);
ZO_FIELD_AT(alternate_testing_parameter, ramping_direct_type, 507);
ZO_FIELD_AT(alternate_testing_parameter, active_group_count, 514);
ZO_FIELD_AT(alternate_testing_parameter, normal_bases, 518);
ZO_FIELD_AT(alternate_testing_parameter, fault_models, 1670);
ZO_FIELD_AT(alternate_testing_parameter, fault_xdefines, 2942);
ZO_FIELD_AT(alternate_testing_parameter, fault_properties, 3026);
ZO_FIELD_AT(alternate_testing_parameter, fault_rampings, 4562);
ZO_FIELD_AT(alternate_testing_parameter, fault_close, 4850);
ZO_FIELD_AT(alternate_testing_parameter, fault_exception, 4866);

// ---- One state of the state sequence -----------------------------------------------------
struct ZO_PACKED ordinary_testing_parameter
{
    u32 testing_index;   // the state number
    f32 dither_stime;
    u32 output_binary_enable;
    u32 output_binary_hold_state;
    u32 output_binary_turn_state;
    u8 output_binary_refer_kinds[32];
    u32 output_binary_refer_bistates[32];
    f32 output_binary_hold_stimes[32];
    f32 output_binary_turn_stimes[32];
    f32 output_stime;
    f32 output_short_stime;
    f32 output_delay_stime;
    u32 output_sliptime_enable;
    f32 volid_action_short_stime;
    u32 input_binary_return_enable;
    u32 input_binary_rise_enable;
    u32 input_binary_fall_enable;
    u8 input_binary_logic;
    u8 link_state_type;
    u8 trigger_kind;
    u8 active_group_count;
    common_analog_base bases[6];
    common_analog_property properties[6];
    common_xphase_define xdefines[6];
    common_close_define close_define;
    common_exception_define exception_define;
};
ZO_RECORD_SIZE(ordinary_testing_parameter, ORDINARY_TESTING_PARAMETER_SIZE);
ZO_FIELD_AT(ordinary_testing_parameter, output_stime, 436);
ZO_FIELD_AT(ordinary_testing_parameter, input_binary_rise_enable, 460);
ZO_FIELD_AT(ordinary_testing_parameter, input_binary_logic, 468);
ZO_FIELD_AT(ordinary_testing_parameter, bases, 472);
ZO_FIELD_AT(ordinary_testing_parameter, properties, 1048);
ZO_FIELD_AT(ordinary_testing_parameter, xdefines, 2584);
ZO_FIELD_AT(ordinary_testing_parameter, close_define, 2668);
ZO_FIELD_AT(ordinary_testing_parameter, exception_define, 2684);

// ---- Harmonic ----------------------------------------------------------------------------------
struct ZO_PACKED harmonic_phase_wave
{
    f32 ranges[21];
    f32 angles[21];
    f32 frequencies[21];
};
ZO_RECORD_SIZE(harmonic_phase_wave, 252);

struct ZO_PACKED harmonic_analog_wave
{
    harmonic_phase_wave phases[8];
};
ZO_RECORD_SIZE(harmonic_analog_wave, 2016);

struct ZO_PACKED harmonic_testing_parameter
{
    u32 testing_index;
    f32 dither_stime;
    f32 cb_break_delay_stime;
    f32 cb_close_delay_stime;
    f32 normal_output_stime;
    f32 normal_output_first_stime;
    u32 normal_output_binary_enable;
    u32 normal_output_binary_hold_state;
    u32 normal_input_binary_fall_enable;
    u32 normal_input_binary_rise_enable;
    u8 normal_input_binary_logic;
    u8 normal_trigger_kind;
    u8 normal_cb_delay_enable;
    f32 fault_output_stime;
    f32 fault_output_short_stime;
    f32 fault_output_delay_stime;
    f32 fault_volid_action_short_stime;
    u32 fault_output_binary_enable;
    u32 fault_output_binary_hold_state;
    u32 fault_output_binary_turn_state;
    u8 fault_output_binary_refer_kinds[32];
    u32 fault_output_binary_refer_bistates[32];
    f32 fault_output_binary_hold_stimes[32];
    f32 fault_output_binary_turn_stimes[32];
    u32 fault_input_binary_fall_enable;
    u32 fault_input_binary_rise_enable;
    u8 fault_input_binary_logic;
    u8 fault_trigger_kind;
    u8 fault_cb_delay_enable;
    f32 interval_output_stime;
    u8 ramping_direct_type;
    u8 ramping_from_type;
    u8 ramping_multiresult_enable;
    u8 ramping_variable_count;
    u8 normal_link_state_type;
    u8 fault_link_state_type;
    u8 interval_link_state_type;
    u8 active_group_count;
    common_analog_base normal_bases[4];
    common_analog_base interval_bases[4];
    harmonic_analog_wave faultWaves[4];
    common_ramping_variable fault_rampings[8];
};
ZO_RECORD_SIZE(harmonic_testing_parameter, HARMONIC_TESTING_PARAMETER_SIZE);
ZO_FIELD_AT(harmonic_testing_parameter, fault_output_stime, 43);
ZO_FIELD_AT(harmonic_testing_parameter, fault_output_binary_refer_kinds, 71);
ZO_FIELD_AT(harmonic_testing_parameter, fault_input_binary_fall_enable, 487);
ZO_FIELD_AT(harmonic_testing_parameter, fault_input_binary_logic, 495);
ZO_FIELD_AT(harmonic_testing_parameter, interval_output_stime, 498);
ZO_FIELD_AT(harmonic_testing_parameter, ramping_direct_type, 502);
ZO_FIELD_AT(harmonic_testing_parameter, normal_bases, 510);
ZO_FIELD_AT(harmonic_testing_parameter, faultWaves, 1278);
ZO_FIELD_AT(harmonic_testing_parameter, fault_rampings, 9342);

// ---- Ramping ------------------------------------------------------------------------------------
struct ZO_PACKED simple_ramping_testing_parameter
{
    u32 project_index;
    u32 module_index;
    u32 testing_index;
    f32 dither_time;
    common_analog_base normal_output;
    f32 normal_output_time;
    u8 normal_output_enable;
    u8 normal_output_only_once;
    u8 interval_output_enable;
    common_analog_base interval_output;
    f32 interval_output_time;
    u32 testing_point_cnt;
    common_analog_base fault_output[8];
    f32 ramp_step[8];
    f32 ramp_end[8];
    f32 ramp_time[8];
    u8 ramp_variable[8];
    u8 ramp_item[8];
    u8 output_link_type[8];
    u8 bi_trigger_logic[8];
    u8 bi_trigger_state[8][4];
    u8 bo_state[8][4];
};
ZO_RECORD_SIZE(simple_ramping_testing_parameter, SIMPLE_RAMPING_TESTING_PARAMETER_SIZE);
ZO_FIELD_AT(simple_ramping_testing_parameter, interval_output, 119);
ZO_FIELD_AT(simple_ramping_testing_parameter, testing_point_cnt, 219);
ZO_FIELD_AT(simple_ramping_testing_parameter, fault_output, 223);
ZO_FIELD_AT(simple_ramping_testing_parameter, ramp_step, 991);
ZO_FIELD_AT(simple_ramping_testing_parameter, ramp_variable, 1087);
ZO_FIELD_AT(simple_ramping_testing_parameter, bi_trigger_state, 1119);
ZO_FIELD_AT(simple_ramping_testing_parameter, bo_state, 1151);

// ---- Pushed records ------------------------------------------------------------------------
struct ZO_PACKED common_testing_action
{
    f32 testing_trigger_stime;
    u32 input_binary_action_state;   // bit i: input i acted
    f32 input_binary_action_stimes[32];
};
ZO_RECORD_SIZE(common_testing_action, 136);

struct ZO_PACKED common_ramping_detail
{
    u8 group_index;
    u8 ramping_port;
    u8 ramping_mode_or_order;
    u8 ramping_item;
    f32 ramping_current;
};
ZO_RECORD_SIZE(common_ramping_detail, 8);

struct ZO_PACKED alternate_testing_result
{
    u32 testing_index;
    u32 testing_repeated_count;
    u32 ramping_stepping_count;
    u32 turning_stepping_count;
    f32 ramping_currents[8];
    common_ramping_detail ramping_details[24];
    u8 output_state_type;
    common_testing_action state_action;
};
ZO_RECORD_SIZE(alternate_testing_result, ALTERNATE_TESTING_RESULT_SIZE);
ZO_FIELD_AT(alternate_testing_result, output_state_type, 240);
ZO_FIELD_AT(alternate_testing_result, state_action, 241);

struct ZO_PACKED harmonic_testing_result
{
    u32 testing_index;
    u32 testing_repeated_count;
    u32 ramping_stepping_count;
    u32 turning_stepping_count;
    u8 output_state_type;
    common_testing_action state_action;
    f32 ramping_currents[8];
    common_ramping_detail ramping_details[24];
};
ZO_RECORD_SIZE(harmonic_testing_result, HARMONIC_TESTING_RESULT_SIZE);
ZO_FIELD_AT(harmonic_testing_result, state_action, 17);
ZO_FIELD_AT(harmonic_testing_result, ramping_currents, 153);
ZO_FIELD_AT(harmonic_testing_result, ramping_details, 185);

struct ZO_PACKED ordinary_testing_result
{
    u32 testing_index;
    u32 testing_repeated_count;
    common_testing_action state_action;
    common_testing_action state_return;
};
ZO_RECORD_SIZE(ordinary_testing_result, ORDINARY_TESTING_RESULT_SIZE);
ZO_FIELD_AT(ordinary_testing_result, state_return, 144);

struct ZO_PACKED simple_ramping_testing_procedure
{
    u32 project_index;
    u32 module_index;
    u32 testing_index;
    common_analog_base current_output;
};
ZO_RECORD_SIZE(simple_ramping_testing_procedure, SIMPLE_RAMPING_TESTING_PROCEDURE_SIZE);

struct ZO_PACKED simple_common_testing_action_value
{
    u32 bi_action_port_cnt;
    f32 bi_action_port_value[3];
};
struct ZO_PACKED simple_ramping_testing_action
{
    u32 project_index;
    u32 module_index;
    u32 testing_index;
    f32 bi_action_stimes[4];
    simple_common_testing_action_value bi_action_value[4];
};
ZO_RECORD_SIZE(simple_ramping_testing_action, SIMPLE_RAMPING_TESTING_ACTION_SIZE);
ZO_FIELD_AT(simple_ramping_testing_action, bi_action_value, 28);

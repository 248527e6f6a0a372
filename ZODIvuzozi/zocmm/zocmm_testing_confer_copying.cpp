#include "zocmm_testing_confer_copying.h"

#include <cstring>

namespace {

template <typename T>
T zeroed()
{
    T value;
    std::memset(&value, 0, sizeof value);
    return value;
}

template <size_t N>
void copyBytes(u8 (&to)[N], const u8 (&from)[N])
{
    std::memcpy(to, from, N);
}

// The identity fields shared by the assembly records.
template <typename W>
void identityToWire(const shm_machine_assembly_info& a, W& w)
{
    copyBytes(w.device_guid, a.device_guid);
    copyBytes(w.device_code, a.device_code);
    copyBytes(w.device_kind, a.device_kind);
    copyBytes(w.device_date, a.device_date);
}

template <typename E>
void ethToWire(const shm_machine_network_info& n, E& w)
{
    w.device_eth_kind = n.device_eth_kind;
    w.device_mac_kind = n.device_mac_kind;
    copyBytes(w.device_mac, n.device_mac);
    copyBytes(w.device_ip, n.device_ip);
    copyBytes(w.device_netmask, n.device_netmask);
    copyBytes(w.device_gateway, n.device_gateway);
    w.device_connect_port0 = n.device_connect_port0;
    w.device_connect_port1 = n.device_connect_port1;
    w.device_connect_port2 = n.device_connect_port2;
}

template <typename E>
void ethToSegment(const E& w, shm_machine_network_info& n)
{
    n.device_eth_kind = w.device_eth_kind;
    n.device_mac_kind = w.device_mac_kind;
    copyBytes(n.device_mac, w.device_mac);
    copyBytes(n.device_ip, w.device_ip);
    copyBytes(n.device_netmask, w.device_netmask);
    copyBytes(n.device_gateway, w.device_gateway);
    n.device_connect_port0 = w.device_connect_port0;
    n.device_connect_port1 = w.device_connect_port1;
    n.device_connect_port2 = w.device_connect_port2;
}

// The 17 upper and load values, in the order of the assembly extension.
f32 shm_machine_assembly_info::* const kUppers[17] = {
    &shm_machine_assembly_info::device_pao_aci3_upper,   &shm_machine_assembly_info::device_pao_aci6_upper,
    &shm_machine_assembly_info::device_pao_dci3_upper,   &shm_machine_assembly_info::device_pao_dci6_upper,
    &shm_machine_assembly_info::device_pao_acv_upper,    &shm_machine_assembly_info::device_pao_dcv_upper,
    &shm_machine_assembly_info::device_pao_acf_upper,    &shm_machine_assembly_info::device_pao_auxdcv_upper,
    &shm_machine_assembly_info::device_llo_acv_upper,    &shm_machine_assembly_info::device_llo_dcv_upper,
    &shm_machine_assembly_info::device_pao_aci1_upper,   &shm_machine_assembly_info::device_pao_dci1_upper,
    &shm_machine_assembly_info::device_llo_acf_upper,    &shm_machine_assembly_info::device_pao_acv_hload,
    &shm_machine_assembly_info::device_pao_aci_hload,    &shm_machine_assembly_info::device_pao_dcv_hload,
    &shm_machine_assembly_info::device_pao_dci_hload,
};

} // namespace

machine_hello_info cmm_machine_copy_shm2cmm_hello(const shm_machine_testing_mchset& m)
{
    machine_hello_info w = zeroed<machine_hello_info>();
    identityToWire(m.assembly, w);
    copyBytes(w.device_mac, m.network.device_mac);
    copyBytes(w.device_ip, m.network.device_ip);
    copyBytes(w.device_netmask, m.network.device_netmask);
    copyBytes(w.device_gateway, m.network.device_gateway);
    w.device_connect_port0 = m.network.device_connect_port0;
    w.device_connect_port1 = m.network.device_connect_port1;
    w.device_connect_port2 = m.network.device_connect_port2;
    w.device_connect_state = 1;
    w.device_apihw_version = m.version.device_hardware_version;
    w.device_apibc_version = m.version.device_software_version;
    return w;
}

machine_assembly_info cmm_machine_copy_shm2cmm_assembly(const shm_machine_testing_mchset& m)
{
    const shm_machine_assembly_info& a = m.assembly;
    machine_assembly_info w = zeroed<machine_assembly_info>();
    identityToWire(a, w);
    for (int i = 0; i < 16; ++i)
        w.device_versions[i] = a.device_versions[i];
    w.device_pao_kind = u8(a.device_pao_kind);
    w.device_pao_icount = u8(a.device_pao_icount);
    w.device_pao_vcount = u8(a.device_pao_vcount);
    w.device_pao_auxdcv = u8(a.device_pao_auxdcv);
    for (int i = 0; i < 2; ++i) {
        w.device_pao_ac_iswitches[i] = a.device_pao_ac_iswitches[i];
        w.device_pao_ac_vswitches[i] = a.device_pao_ac_vswitches[i];
        w.device_pao_dc_iswitches[i] = a.device_pao_dc_iswitches[i];
        w.device_pao_dc_vswitches[i] = a.device_pao_dc_vswitches[i];
        w.device_llo_vswitches[i] = a.device_llo_vswitches[i];
    }
    w.device_std_frequency = a.device_std_frequency;
    return w;
}

void cmm_machine_copy_cmm2shm_assembly(const machine_assembly_info& w, shm_machine_testing_mchset& m)
{
    shm_machine_assembly_info& a = m.assembly;
    copyBytes(a.device_guid, w.device_guid);
    copyBytes(a.device_code, w.device_code);
    copyBytes(a.device_kind, w.device_kind);
    copyBytes(a.device_date, w.device_date);
    for (int i = 0; i < 16; ++i)
        a.device_versions[i] = w.device_versions[i];
    a.device_pao_kind = w.device_pao_kind;
    a.device_pao_icount = w.device_pao_icount;
    a.device_pao_vcount = w.device_pao_vcount;
    a.device_pao_auxdcv = w.device_pao_auxdcv;
    for (int i = 0; i < 2; ++i) {
        a.device_pao_ac_iswitches[i] = w.device_pao_ac_iswitches[i];
        a.device_pao_ac_vswitches[i] = w.device_pao_ac_vswitches[i];
        a.device_pao_dc_iswitches[i] = w.device_pao_dc_iswitches[i];
        a.device_pao_dc_vswitches[i] = w.device_pao_dc_vswitches[i];
        a.device_llo_vswitches[i] = w.device_llo_vswitches[i];
    }
    a.device_std_frequency = w.device_std_frequency;
}

machine_assembly_info_ex cmm_machine_copy_shm2cmm_assembly_ex(const shm_machine_testing_mchset& m)
{
    const shm_machine_assembly_info& a = m.assembly;
    machine_assembly_info_ex w = zeroed<machine_assembly_info_ex>();
    w.device_pao_aci3_enable = u8(a.device_pao_aci3_enable);
    w.device_pao_dci3_enable = u8(a.device_pao_dci3_enable);
    w.device_pao_hload_type = u8(a.device_pao_hload_type);
    w.device_hdi_count = u8(a.device_hdi_count);
    w.device_hdo_count = u8(a.device_hdo_count);
    w.device_pao_aci1_enable = u8(a.device_pao_aci1_enable);
    w.device_pao_dci1_enable = u8(a.device_pao_dci1_enable);
    w.device_pao_hdi3_type = u8(a.device_pao_hdi3_type);
    w.device_gpsgbd_type = u8(a.device_gpsgbd_type);
    w.device_recurr_gcount = u8(a.device_recurr_gcount);
    w.device_plosync_enable = u8(a.device_plosync_enable);
    w.device_llo_count = u8(a.device_llo_count);
    w.device_llo_vcount = u8(a.device_llo_vcount);
    w.device_aux_pwmv_type = u8(a.device_aux_pwmv_type);
    for (int i = 0; i < 17; ++i)
        w.device_uppers[i] = a.*kUppers[i];
    w.device_pao_temperature_warn = a.device_pao_temperature_warn;
    w.device_pao_temperature_resume = a.device_pao_temperature_resume;
    w.device_llo_aci_upper = a.device_llo_aci_upper;
    w.device_llo_dci_upper = a.device_llo_dci_upper;
    w.device_aux_pwmv_upper = a.device_aux_pwmv_upper;
    w.device_aux_pwmv_lower = a.device_aux_pwmv_lower;
    return w;
}

void cmm_machine_copy_cmm2shm_assembly_ex(const machine_assembly_info_ex& w, shm_machine_testing_mchset& m)
{
    shm_machine_assembly_info& a = m.assembly;
    a.device_pao_aci3_enable = w.device_pao_aci3_enable;
    a.device_pao_dci3_enable = w.device_pao_dci3_enable;
    a.device_pao_hload_type = w.device_pao_hload_type;
    a.device_hdi_count = w.device_hdi_count;
    a.device_hdo_count = w.device_hdo_count;
    a.device_pao_aci1_enable = w.device_pao_aci1_enable;
    a.device_pao_dci1_enable = w.device_pao_dci1_enable;
    a.device_pao_hdi3_type = w.device_pao_hdi3_type;
    a.device_gpsgbd_type = w.device_gpsgbd_type;
    a.device_recurr_gcount = w.device_recurr_gcount;
    a.device_plosync_enable = w.device_plosync_enable;
    a.device_llo_count = w.device_llo_count;
    a.device_llo_vcount = w.device_llo_vcount;
    a.device_aux_pwmv_type = w.device_aux_pwmv_type;
    for (int i = 0; i < 17; ++i)
        a.*kUppers[i] = w.device_uppers[i];
    a.device_pao_temperature_warn = w.device_pao_temperature_warn;
    a.device_pao_temperature_resume = w.device_pao_temperature_resume;
    a.device_llo_aci_upper = w.device_llo_aci_upper;
    a.device_llo_dci_upper = w.device_llo_dci_upper;
    a.device_aux_pwmv_upper = w.device_aux_pwmv_upper;
    a.device_aux_pwmv_lower = w.device_aux_pwmv_lower;
}

machine_network_info cmm_machine_copy_shm2cmm_network(const shm_machine_testing_mchset& m)
{
    machine_network_info w = zeroed<machine_network_info>();
    copyBytes(w.device_guid, m.assembly.device_guid);
    ethToWire(m.network, w);
    return w;
}

void cmm_machine_copy_cmm2shm_network(const machine_network_info& w, shm_machine_testing_mchset& m)
{
    ethToSegment(w, m.network);
}

machine_network_info_ex cmm_machine_copy_shm2cmm_network_ex(const shm_machine_testing_mchset& m)
{
    machine_network_info_ex w = zeroed<machine_network_info_ex>();
    ethToWire(m.network, w.eth0);
    return w;
}

void cmm_machine_copy_cmm2shm_network_ex(const machine_network_info_ex& w, shm_machine_testing_mchset& m)
{
    ethToSegment(w.eth0, m.network);
}

void cmm_config_copy_cmm2shm_runset(const run_scheme_set& w, shm_run_scheme_set& s)
{
    s.update_enable = w.update_enable;
    s.output_enables = w.output_enables;
    s.binary_enables = w.binary_enables;
    s.aux_pwmv_value = w.aux_pwmv_value;
    s.virtual_bi_enables = w.virtual_bi_enables;
    s.virtual_bo_enables = w.virtual_bo_enables;
}

void cmm_config_copy_cmm2shm_lloset(const llo_signal_set& w, shm_llo_signal_set& s)
{
    s.update_enable = w.update_enable;
    s.power_switch_enable = w.power_switch_enable;
    s.power_switch_states = w.power_switch_states;
    s.sample_rate = w.sample_rate;
    for (int row = 0; row < 2; ++row) {
        for (int port = 0; port < 8; ++port) {
            s.ports[row][port].channel_index = w.ports[row][port].channel_index;
            s.ports[row][port].std_input_val = w.ports[row][port].std_input_val;
            s.ports[row][port].std_output_val = w.ports[row][port].std_output_val;
        }
    }
}

void cmm_config_copy_cmm2shm_paoset(const pao_signal_set& w, shm_pao_signal_set& s)
{
    s.update_enable = w.update_enable;
    s.power_hload_type = w.power_hload_type;
    s.power_ikind = w.power_ikind;
    s.power_switch_enable = w.power_switch_enable;
    s.power_switch_states = w.power_switch_states;
    s.sample_rate = w.sample_rate;
    s.power_iopenwarm_limit = w.power_iopenwarm_limit;
    for (int row = 0; row < 2; ++row) {
        for (int port = 0; port < 8; ++port)
            s.ports[row][port].channel_index = w.ports[row][port].channel_index;
    }
    s.power_ux_type = w.power_ux_type;
}

void cmm_config_copy_cmm2shm_clockset(const clock_signal_set& w, shm_clock_signal_set& s)
{
    s.update_enable = w.update_enable;
    s.autoreport_enable = w.autoreport_enable;
    s.clk_refsrc = w.clk_refsrc;
    s.clk_timezone = w.clk_timezone;
    s.clk_stime = w.clk_stime;
    s.ppx_count = w.ppx_count;
    for (int i = 0; i < 16; ++i)
        s.ppx_stimes[i] = w.ppx_stimes[i];
    s.eio_trigger_mask = w.eio_trigger_mask;
    s.eio_trigger_in_type = w.eio_trigger_in_type;
    s.eio_trigger_in_polarity = w.eio_trigger_in_polarity;
    s.eio_trigger_out_type = w.eio_trigger_out_type;
    s.eio_trigger_out_polarity = w.eio_trigger_out_polarity;
    s.update_mask = w.update_mask;
}

#include "zoshc_testing_machine_file.h"

#include "zobase_myethx.h"
#include "zoplatform.h"
#include "zoshm_testing_share_handle.h"

#include <algorithm>
#include <cstring>

namespace {

void setAssemblyDefaults(shm_machine_assembly_info& a)
{
    std::memset(&a, 0, sizeof a);
    a.device_pao_kind = 0;
    a.device_pao_icount = 6;
    a.device_pao_vcount = 7;
    a.device_pao_auxdcv = 0;
    a.device_pao_ac_iswitches[0] = 3.0f;
    a.device_pao_ac_iswitches[1] = 30.0f;
    a.device_pao_ac_vswitches[0] = 13.0f;
    a.device_pao_ac_vswitches[1] = 130.0f;
    a.device_pao_dc_iswitches[0] = 3.0f;
    a.device_pao_dc_iswitches[1] = 30.0f;
    a.device_pao_dc_vswitches[0] = 13.0f;
    a.device_pao_dc_vswitches[1] = 130.0f;
    a.device_llo_vswitches[0] = 0.8f;
    a.device_llo_vswitches[1] = 8.0f;
    a.device_std_frequency = 50.0f;
    a.device_pao_aci3_enable = 1;
    a.device_pao_dci3_enable = 1;
    a.device_pao_aci1_enable = 1;
    a.device_pao_dci1_enable = 1;
    a.device_hdi_count = 8;
    a.device_hdo_count = 8;
    a.device_recurr_gcount = 1;
    a.device_llo_count = 8;
    a.device_llo_vcount = 8;
    a.device_pao_aci1_upper = 100.0f;
    a.device_pao_aci3_upper = 40.0f;
    a.device_pao_aci6_upper = 20.0f;
    a.device_pao_dci1_upper = 60.0f;
    a.device_pao_dci3_upper = 20.0f;
    a.device_pao_dci6_upper = 20.0f;
    a.device_pao_acv_upper = 130.0f;
    a.device_pao_dcv_upper = 130.0f;
    a.device_pao_acf_upper = 1000.0f;
    a.device_pao_auxdcv_upper = 300.0f;
    a.device_llo_acv_upper = 8.0f;
    a.device_llo_dcv_upper = 8.0f;
    a.device_llo_acf_upper = 1000.0f;
    a.device_llo_aci_upper = 0.024f;
    a.device_llo_dci_upper = 0.024f;
    a.device_pao_temperature_warn = 65;
    a.device_pao_temperature_resume = 60;
    a.device_aux_pwmv_upper = 260.0f;
    a.device_aux_pwmv_lower = 40.0f;
    a.device_speed_frequency = 20000;
}

template <size_t N>
void readText(u8 (&field)[N], int (*get)(const char*, char*), const char* ethx)
{
    char text[64] = {};
    if (get(ethx, text) == 0)
        std::memcpy(field, text, std::min(N - 1, strnlen(text, sizeof text)));
}

void setNetworkDefaults(shm_machine_network_info& n)
{
    std::memset(&n, 0, sizeof n);
    const QByteArray ethx = zoplat::networkInterface().toLatin1();
    readText(n.device_mac, _my_get_ethx_mac, ethx.constData());
    readText(n.device_ip, _my_get_ethx_ip, ethx.constData());
    readText(n.device_netmask, _my_get_ethx_mask, ethx.constData());
    readText(n.device_gateway, _my_get_ethx_gate, ethx.constData());
    n.device_connect_port0 = zoplat::beaconPort();
    n.device_connect_port1 = zoplat::serverPort();
    n.device_connect_port2 = 10902;
    std::memcpy(n.device_eth_name, ethx.constData(), std::min(sizeof n.device_eth_name - 1, size_t(ethx.size())));
}

} // namespace

int shc_machine_init_handle()
{
    // The interface is read before the lock is taken: the lock is held only
    // for copies.
    shm_machine_testing_mchset defaults;
    std::memset(&defaults, 0, sizeof defaults);
    defaults.version.device_hardware_version = 2;
    defaults.version.device_software_version = 5;
    defaults.version.device_fpga_version = 1;
    defaults.version.device_zodivuzozi_version = 1;
    setAssemblyDefaults(defaults.assembly);
    setNetworkDefaults(defaults.network);

    ShmAccess access(ShmSide::Client, SHM_SEGMENT_MACHINE);
    if (!access.held())
        return -1;
    global_shm_machine->mchset = defaults;
    return 0;
}

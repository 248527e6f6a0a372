#include "zocmm_testing_confer_handle.h"

#include "CommNetCtrlBase.h"
#include "zobase_myethx.h"
#include "zocmm_share_testing_keyword_def.h"
#include "zocmm_testing_confer_copying.h"
#include "zocmn_net_reject_log.h"
#include "zoplatform.h"
#include "zoshm_testing_share_handle.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>

namespace {

template <typename R>
int loadRecord(const R& record, u32* length, u8* buffer, u32 capacity)
{
    if (capacity < sizeof record)
        return -1;
    zocmm_wire_store(buffer, record);
    *length = sizeof record;
    return 0;
}

u32 wireU32(const u8* bytes)
{
    u32 v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

// A procedure or result record's type and the size its frame carries.
struct PushedType
{
    u32 type;
    u32 procedureSize;
    u32 triggerSize;
};
constexpr PushedType kPushedTypes[] = {
    {SHARE_TESTING_RESULT_TYPE_ALTERNATE, ALTERNATE_TESTING_RESULT_SIZE, ALTERNATE_TESTING_RESULT_SIZE},
    {SHARE_TESTING_RESULT_TYPE_ORDINARY, ORDINARY_TESTING_RESULT_SIZE, ORDINARY_TESTING_RESULT_SIZE},
    {SHARE_TESTING_RESULT_TYPE_HARMONIC, HARMONIC_TESTING_RESULT_SIZE, HARMONIC_TESTING_RESULT_SIZE},
    {SHARE_SIMPLE_TESTING_RESULT_TYPE_RAMPING, SIMPLE_RAMPING_TESTING_PROCEDURE_SIZE,
     SIMPLE_RAMPING_TESTING_ACTION_SIZE},
};

// The record of a procedure or result segment, when it holds news of a known
// type and exactly that type's size (the length word lies in a segment any
// local process may write); news of another size is dropped.
int loadPushed(int segment, bool trigger, u16* subid, u32* length, u8* buffer, u32 capacity)
{
    ShmAccess access(ShmSide::Server, segment, SHM_LOCK_TRIES);
    if (!access.held())
        return -1;
    auto* r = static_cast<shm_share_record*>(static_cast<void*>(shm_testing_header(segment)));
    if (r->ctrl.server_changes != 1)
        return -1;
    const u32 type = r->data_type;
    const u32 size = r->data_length;
    for (const PushedType& t : kPushedTypes) {
        if (t.type != type)
            continue;
        const u32 expected = trigger ? t.triggerSize : t.procedureSize;
        if (size != expected)
            break;
        if (capacity < expected)
            return -1;   // kept for a larger buffer
        std::memcpy(buffer, r->buffer, expected);
        *subid = u16(type);
        *length = expected;
        r->ctrl.server_changes = 0;
        return 0;
    }
    r->ctrl.server_changes = 0;
    return -1;
}

// A 16-byte address field: dotted IPv4, NUL-terminated within it.
bool dottedAddress(const u8* text, in_addr* parsed)
{
    char address[16];
    std::memcpy(address, text, sizeof address);
    return strnlen(address, sizeof address) < sizeof address && inet_pton(AF_INET, address, parsed) == 1;
}

// Not 0.x.x.x, loopback, multicast or reserved (240.0.0.0 and above).
bool unicastAddress(u32 a, bool loopback)
{
    const u32 first = a >> 24;
    return first != 0 && (loopback || first != 127) && first < 224;
}

// Ones from the top, then zeros; at least one.
bool contiguousMask(u32 m)
{
    return m != 0 && (~m & (~m + 1u)) == 0;
}

// Whether a network record (0xE103, or 0xE106's eth0 part) may be stored:
// its three ports in 1..65535, its address one the device can be reached at,
// its netmask contiguous and its gateway a unicast address inside the
// subnet, each dotted IPv4 or empty (none). With a subnet of more than two
// addresses, the address and the gateway are neither its network nor its
// broadcast address.
template <typename E>
bool networkStorable(const E& w)
{
    for (const u32 port : {u32(w.device_connect_port0), u32(w.device_connect_port1), u32(w.device_connect_port2)}) {
        if (port < 1 || port > 0xFFFF)
            return false;
    }
    in_addr ip{}, mask{}, gateway{};
    if (!cmm_machine_address_usable(w.device_ip, sizeof w.device_ip) || !dottedAddress(w.device_ip, &ip))
        return false;
    const bool hasMask = w.device_netmask[0] != 0;
    const bool hasGateway = w.device_gateway[0] != 0;
    if ((hasMask && !dottedAddress(w.device_netmask, &mask)) || (hasGateway && !dottedAddress(w.device_gateway, &gateway)))
        return false;
    const u32 a = ntohl(ip.s_addr);
    const u32 m = ntohl(mask.s_addr);
    const u32 g = ntohl(gateway.s_addr);
    if (hasMask && !contiguousMask(m))
        return false;
    const u32 host = ~m;
    const auto inner = [&](u32 x) { return !hasMask || host < 3u || ((x & host) != 0 && (x & host) != host); };
    if (!inner(a))
        return false;
    if (!hasGateway)
        return true;
    return unicastAddress(g, (a >> 24) == 127) && (!hasMask || (g & m) == (a & m)) && inner(g);
}

} // namespace

std::atomic<bool>& cmm_machine_reboot_flag()
{
    static std::atomic<bool> flag{false};
    return flag;
}

bool cmm_machine_address_usable(const u8* text, u32 size)
{
    in_addr parsed{};
    if (!text || size < 16 || !dottedAddress(text, &parsed))
        return false;
    const u32 a = ntohl(parsed.s_addr);
    if (unicastAddress(a, false))
        return true;
    char own[INET_ADDRSTRLEN] = {};
    in_addr current{};
    const QByteArray ethx = zoplat::networkInterface().toLatin1();
    return _my_get_ethx_ip(ethx.constData(), own) == 0 && inet_pton(AF_INET, own, &current) == 1
        && current.s_addr == parsed.s_addr;
}

int cmm_machine_update_storing_set(u16 subid, u32 length, const u8* payload)
{
    if (length < 4)
        return -1;
    ShmAccess access(ShmSide::Server, SHM_SEGMENT_MACHINE);
    if (!access.held())
        return -1;
    shm_machine_testing_mchset& m = global_shm_machine->mchset;
    switch (subid) {
    case SHARE_TESTING_MACHINE_TYPE_ASSEMBLY:
        cmm_machine_copy_cmm2shm_assembly(zocmm_wire_load<machine_assembly_info>(payload, length), m);
        return 0;
    case SHARE_TESTING_MACHINE_TYPE_ASSEMBLY_EX:
        cmm_machine_copy_cmm2shm_assembly_ex(zocmm_wire_load<machine_assembly_info_ex>(payload, length), m);
        return 0;
    case SHARE_TESTING_MACHINE_TYPE_NETWORK_EX: {
        const machine_network_info_ex w = zocmm_wire_load<machine_network_info_ex>(payload, length);
        if (!networkStorable(w.eth0)) {
            net_reject_note("machine network: refused address or port");
            return -1;
        }
        cmm_machine_copy_cmm2shm_network_ex(w, m);
        return 0;
    }
    case SHARE_TESTING_MACHINE_TYPE_NETWORK: {
        const machine_network_info w = zocmm_wire_load<machine_network_info>(payload, length);
        if (!networkStorable(w)) {
            net_reject_note("machine network: refused address or port");
            return -1;
        }
        const QByteArray ethx = zoplat::networkInterface().toLatin1();
        if (_my_set_ethx_ip(ethx.constData(), reinterpret_cast<const char*>(w.device_ip)) != 0)
            return -1;
        cmm_machine_copy_cmm2shm_network(w, m);
        cmm_machine_reboot_flag().store(true);
        return 0;
    }
    default:
        return -1;
    }
}

int cmm_machine_update_loading_set(u16 subid, u32* length, u8* buffer, u32 capacity)
{
    ShmAccess access(ShmSide::Server, SHM_SEGMENT_MACHINE);
    if (!access.held())
        return -1;
    const shm_machine_testing_mchset& m = global_shm_machine->mchset;
    switch (subid) {
    case SHARE_TESTING_MACHINE_TYPE_HELLO:
        return loadRecord(cmm_machine_copy_shm2cmm_hello(m), length, buffer, capacity);
    case SHARE_TESTING_MACHINE_TYPE_ASSEMBLY:
        return loadRecord(cmm_machine_copy_shm2cmm_assembly(m), length, buffer, capacity);
    case SHARE_TESTING_MACHINE_TYPE_NETWORK:
        return loadRecord(cmm_machine_copy_shm2cmm_network(m), length, buffer, capacity);
    case SHARE_TESTING_MACHINE_TYPE_ASSEMBLY_EX:
        return loadRecord(cmm_machine_copy_shm2cmm_assembly_ex(m), length, buffer, capacity);
    case SHARE_TESTING_MACHINE_TYPE_NETWORK_EX:
        return loadRecord(cmm_machine_copy_shm2cmm_network_ex(m), length, buffer, capacity);
    default:
        return -1;
    }
}

int cmm_config_update_storing_set(u16 subid, u32 length, const u8* payload)
{
    switch (subid) {
    case SHARE_TESTING_CONFIG_TYPE_BIOSIGNAL:
    case SHARE_TESTING_CONFIG_TYPE_GOPUBSIGNAL:
    case SHARE_TESTING_CONFIG_TYPE_GOSUBSIGNAL:
    case SHARE_TESTING_CONFIG_TYPE_USERSIGNAL:
    case SHARE_TESTING_CONFIG_TYPE_SV92PKG:
    case SHARE_TESTING_CONFIG_TYPE_SV91PKG:
    case SHARE_TESTING_CONFIG_TYPE_SVFT3PKG:
    case SHARE_TESTING_CONFIG_TYPE_SVMXJPKG:
    case SHARE_TESTING_CONFIG_TYPE_SMVEXCEPTION:
        return 0;
    case SHARE_TESTING_CONFIG_TYPE_CLOCKSIGNAL:
    case SHARE_TESTING_CONFIG_TYPE_RUNSCHEME:
    case SHARE_TESTING_CONFIG_TYPE_LLOSIGNAL:
    case SHARE_TESTING_CONFIG_TYPE_PAOSIGNAL:
        break;
    default:
        return -1;
    }
    const u32 size = subid == SHARE_TESTING_CONFIG_TYPE_CLOCKSIGNAL ? sizeof(clock_signal_set)
                     : subid == SHARE_TESTING_CONFIG_TYPE_RUNSCHEME ? sizeof(run_scheme_set)
                     : subid == SHARE_TESTING_CONFIG_TYPE_LLOSIGNAL ? sizeof(llo_signal_set)
                                                                    : sizeof(pao_signal_set);
    if (length != size)
        return -1;
    ShmAccess access(ShmSide::Server, SHM_SEGMENT_CONFIG);
    if (!access.held())
        return -1;
    shm_share_config& c = *global_shm_config;
    switch (subid) {
    case SHARE_TESTING_CONFIG_TYPE_CLOCKSIGNAL:
        cmm_config_copy_cmm2shm_clockset(zocmm_wire_load<clock_signal_set>(payload, length), c.cfgset.clockset);
        c.ctrl.server_changes |= SHM_CONFIG_CHANGE_CLOCKSET;
        break;
    case SHARE_TESTING_CONFIG_TYPE_RUNSCHEME:
        cmm_config_copy_cmm2shm_runset(zocmm_wire_load<run_scheme_set>(payload, length), c.cfgset.runset);
        c.ctrl.server_changes |= SHM_CONFIG_CHANGE_RUNSET;
        break;
    case SHARE_TESTING_CONFIG_TYPE_LLOSIGNAL:
        cmm_config_copy_cmm2shm_lloset(zocmm_wire_load<llo_signal_set>(payload, length), c.cfgset.lloset);
        c.ctrl.server_changes |= SHM_CONFIG_CHANGE_LLOSET;
        break;
    default:
        cmm_config_copy_cmm2shm_paoset(zocmm_wire_load<pao_signal_set>(payload, length), c.cfgset.paoset);
        c.ctrl.server_changes |= SHM_CONFIG_CHANGE_PAOSET;
        break;
    }
    return 0;
}

int cmm_testing_update_storing_control(u16 subid, u32 length, const u8* payload)
{
    if (subid != SHARE_TESTING_CONTROL_TYPE_DEFAULT || length != sizeof(confer_testing_control)) {
        net_reject_note("contr_update_storing_control error");
        return -1;
    }
    const confer_testing_control c = zocmm_wire_load<confer_testing_control>(payload, length);
    const u32 bits = c.command_enables;
    if (bits & CONFER_TESTING_CONTROL_ENABLE_OUTPUT_BINARY)
        return netCtrl_SetBOState(c.command_output_binary_enable, c.command_output_binary_state) == 0 ? 0 : -1;
    const u32 repeat = CONFER_TESTING_CONTROL_ENABLE_RUNNING | CONFER_TESTING_CONTROL_ENABLE_RUNNING_REPEAT;
    if ((bits & repeat) == repeat && c.command_running_enable != 0)
        return netCtrl_SetTestStart() == 0 ? 0 : -1;
    if ((bits & CONFER_TESTING_CONTROL_ENABLE_STOPPING) && c.command_stopping_enable != 0)
        return netCtrl_SetTestStop() == 0 ? 0 : -1;
    if (bits & CONFER_TESTING_CONTROL_ENABLE_PREPARE)
        return netCtrl_ClearSettingParameter() == 0 ? 0 : -1;
    if ((bits & CONFER_TESTING_CONTROL_ENABLE_SWITCHING) && c.command_switching_enable != 0)
        return netCtrl_SetTestSwitch() == 0 ? 0 : -1;
    if ((bits & CONFER_TESTING_CONTROL_ENABLE_TRIGGER) && c.command_trigger_enable != 0)
        return netCtrl_SetManualTrigger() == 0 ? 0 : -1;
    if (bits & CONFER_TESTING_CONTROL_ENABLE_POWERING)
        return netCtrl_GetBIBOState() == 0 ? 0 : -1;
    net_reject_note("contr_update_storing_control error");
    return -1;
}

int cmm_testing_update_storing_parameter(u16 subid, u32 length, const u8* payload)
{
    switch (subid) {
    case SHARE_TESTING_PARAMETER_TYPE_ALTERNATE:
        if (length != ALTERNATE_TESTING_PARAMETER_SIZE)
            return -1;
        return netCtrl_SetAlternatParameter(payload, length) == 0 ? 0 : -1;
    case SHARE_TESTING_PARAMETER_TYPE_ORDINARY:
        if (length != ORDINARY_TESTING_PARAMETER_SIZE)
            return -1;
        return netCtrl_SetStateSquenceParameter(payload, length) == 0 ? 0 : -1;
    case SHARE_TESTING_PARAMETER_TYPE_HARMONIC:
        if (length != HARMONIC_TESTING_PARAMETER_SIZE)
            return -1;
        return netCtrl_SetHarmonicParameter(payload, length) == 0 ? 0 : -1;
    case SHARE_SIMPLE_TESTING_PARAMETER_TYPE_RAMPING:
        if (length != SIMPLE_RAMPING_TESTING_PARAMETER_SIZE) {
            net_reject_note("ramping record refused: %d bytes, not %d", int(length),
                            int(SIMPLE_RAMPING_TESTING_PARAMETER_SIZE));
            return -1;
        }
        return netCtrl_SetSimpleRampingParameter(payload, length) == 0 ? 0 : -1;
    default:
        return -1;
    }
}

int cmm_cal_update_storing_set(u16 subid, u32 length, const u8* payload)
{
    u32 size = 0;
    switch (subid) {
    case SHARE_TESTING_CALIBRATE_TYPE_CALBIT_VN:
        return 0;
    case SHARE_TESTING_CALIBRATE_TYPE_CALLLO_VN: size = CAL_LLO_FACTOR_SIZE; break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALPAO_VN: size = CAL_PAO_FACTOR_SIZE; break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALPDO_VN: size = CAL_PDO_FACTOR_SIZE; break;
    default: return -1;
    }
    if (length != size)
        return -1;
    ShmAccess access(ShmSide::Server, SHM_SEGMENT_CAL);
    if (!access.held())
        return -1;
    shm_share_cal& c = *global_shm_cal;
    switch (subid) {
    case SHARE_TESTING_CALIBRATE_TYPE_CALLLO_VN:
        std::memcpy(&c.calset.llodat, payload, sizeof c.calset.llodat);
        c.ctrl.server_changes |= SHM_CAL_CHANGE_LLO;
        break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALPAO_VN:
        // The version word and the first of the four factor sets.
        std::memcpy(&c.calset.paodat, payload, sizeof c.calset.paodat);
        c.ctrl.server_changes |= SHM_CAL_CHANGE_PAO;
        break;
    default:
        std::memcpy(&c.calset.pdodat, payload, sizeof c.calset.pdodat);
        c.ctrl.server_changes |= SHM_CAL_CHANGE_PDO;
        break;
    }
    return 0;
}

int cmm_cal_update_loading_set(u16 subid, u32* length, u8* buffer, u32 capacity)
{
    u32 size = 0;
    switch (subid) {
    case SHARE_TESTING_CALIBRATE_TYPE_CALLLO_VN: size = CAL_LLO_FACTOR_SIZE; break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALPAO_VN: size = CAL_PAO_FACTOR_SIZE; break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALPDO_VN: size = CAL_PDO_FACTOR_SIZE; break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALBIT_VN: size = CAL_BIT_FACTOR_SIZE; break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALBIM_VN: size = CAL_BIM_FACTOR_SIZE; break;
    case SHARE_TESTING_CALIBRATE_TYPE_CALBTM_VN: size = CAL_BTM_FACTOR_SIZE; break;
    default: return -1;
    }
    if (capacity < size)
        return -1;
    std::memset(buffer, 0, size);
    *length = size;
    if (subid == SHARE_TESTING_CALIBRATE_TYPE_CALBIT_VN || subid == SHARE_TESTING_CALIBRATE_TYPE_CALBIM_VN
        || subid == SHARE_TESTING_CALIBRATE_TYPE_CALBTM_VN)
        return 0;
    ShmAccess access(ShmSide::Server, SHM_SEGMENT_CAL);
    if (!access.held())
        return -1;
    const shm_cal_testing_calset& c = global_shm_cal->calset;
    if (subid == SHARE_TESTING_CALIBRATE_TYPE_CALLLO_VN)
        std::memcpy(buffer, &c.llodat, sizeof c.llodat);
    else if (subid == SHARE_TESTING_CALIBRATE_TYPE_CALPAO_VN)
        std::memcpy(buffer, &c.paodat, sizeof c.paodat);   // the other three sets read as 0
    else
        std::memcpy(buffer, &c.pdodat, sizeof c.pdodat);
    return 0;
}

int cmm_transfer_file(u16 subid, u32 length, const u8* payload)
{
    switch (subid) {
    case SHARE_TRANSFER_FILE_TYPE_CMD: return cmm_transfer_file_command(length, payload);
    case SHARE_TRANSFER_FILE_TYPE_FILEHEAD_IPMORT: return cmm_testing_recv_file_head(length, payload);
    case SHARE_TRANSFER_FILE_TYPE_FILEDATA_IMPORT: return cmm_testing_recv_file_data(length, payload);
    default: return -1;
    }
}

int cmm_transfer_file_command(u32 length, const u8* payload)
{
    if (length != CONFER_FILE_TRANSFER_CMD_SIZE)
        return -1;
    return netCtrl_TransferFileCommand(payload[0]) == 0 ? 0 : -1;
}

int cmm_testing_recv_file_head(u32 length, const u8* payload)
{
    if (length != sizeof(confer_file_transfer_head))
        return -1;
    const confer_file_transfer_head h = zocmm_wire_load<confer_file_transfer_head>(payload, length);
    char name[sizeof h.file_name];
    std::memcpy(name, h.file_name, sizeof name);
    if (strnlen(name, sizeof name) == sizeof name)
        return -1;   // not NUL-terminated within its field
    return netCtrl_TransferFileHead(name, h.fileSize) == 0 ? 0 : -1;
}

int cmm_testing_recv_file_data(u32 length, const u8* payload)
{
    if (length != sizeof(confer_file_transfer_data))
        return -1;
    const u32 packet = wireU32(payload);
    if (packet > CONFER_FILE_PACKET_SIZE)
        return -1;   // 0 is taken and writes nothing
    return netCtrl_TransferFileData(payload + 4, packet) == 0 ? 0 : -1;
}

int cmm_testing_update_loading_procedure(u16* subid, u32* length, u8* buffer, u32 capacity)
{
    return loadPushed(SHM_SEGMENT_PROCEDURE, false, subid, length, buffer, capacity);
}

int cmm_testing_update_loading_trigger(u16* subid, u32* length, u8* buffer, u32 capacity)
{
    return loadPushed(SHM_SEGMENT_RESULT, true, subid, length, buffer, capacity);
}

int cmm_testing_update_loading_status(u16* subid, u32* length, u8* buffer, u32 capacity)
{
    if (capacity < sizeof(shm_testing_status_new))
        return -1;
    ShmAccess access(ShmSide::Server, SHM_SEGMENT_STATUS);
    if (!access.held())
        return -1;
    shm_share_status& s = *global_shm_status;
    if (s.ctrl.server_changes != 1)
        return -1;
    shm_testing_status_new out;
    std::memset(&out, 0, sizeof out);
    out.resulted_running_enable = s.status.resulted_running_enable;
    out.resulted_stopping_enable = s.status.resulted_stopping_enable;
    out.resulted_output_binary_state = s.status.resulted_output_binary_state;
    out.resulted_input_binary_state = s.status.resulted_input_binary_state;
    s.ctrl.server_changes = 0;
    std::memcpy(buffer, &out, sizeof out);
    *subid = SHARE_TESTING_STATUS_TYPE_DEFAULT;
    *length = sizeof out;
    return 0;
}

int cmm_testing_update_stroing_datarea(u16, u32, const u8*) { return 0; }
int cmm_upgrade_update_storing_packet(u16, u32, const u8*) { return 0; }
int cmm_measure_update_storing_set(u16, u32, const u8*) { return 0; }
int cmm_measure_update_loading_val(u16, u32*, u8*, u32) { return 0; }
int cmm_clocktime_update_storing_set(u16, u32, const u8*) { return 0; }
int cmm_clocktime_update_loading_val(u16, u32*, u8*, u32) { return 0; }
int cmm_register_update_storing_set(u16, u32, const u8*) { return 0; }
int cmm_register_update_loading_val(u16, u32*, u8*, u32) { return 0; }
int cmm_testing_update_loading_clocktime(u16*, u32*, u8*, u32) { return -1; }

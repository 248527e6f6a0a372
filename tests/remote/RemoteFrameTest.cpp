// Requests through the frame layer as a PC sends them: replies byte for
// byte, the machine data, the configuration and calibration records, test
// control, protocol errors and the pushed frames.

#include "RemoteTestSupport.h"

#include "zocmm_testing_confer_handle.h"
#include "zocmn_net_file_transfer.h"
#include "zocmn_net_reject_log.h"

#include <QDir>
#include <QFile>

using namespace remotetest;
using pc::Bytes;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QByteArray status(uint8_t s)
{
    return QByteArray(1, char(s));
}

class RemoteFrame : public RemoteTest
{
};

TEST_F(RemoteFrame, RepliesAndBeaconByteForByte)
{
    // A write reply: the request's header with length 3, the sub-id, the status.
    const QByteArray request = pc::frame(pc::SetDataArea, 0x1234, "payload");
    EXPECT_EQ(exchange(request).value_or("none"), hex("4f7affff010150b003000000341200"));

    // The beacon: 198 bytes, command 0xA010, length 186, the hello record.
    uint8_t buffer[256] = {};
    uint32_t length = 0;
    ASSERT_EQ(net_pack_protocol_broadcast(0x0101, 0xA010, 0xE101, buffer, &length, sizeof buffer), 0);
    ASSERT_EQ(length, 198u);
    const QByteArray beacon(reinterpret_cast<const char*>(buffer), int(length));
    EXPECT_EQ(beacon.left(14), hex("4f7affff010110a0ba00000001e1"));
    EXPECT_EQ(beacon.mid(14), answer(pc::frame(pc::GetMachine, pc::Hello)));
}

TEST_F(RemoteFrame, MachineDataAfterPreparation)
{
    ASSERT_EQ(QByteArray(zoplat::networkInterface().toLatin1()), "lo");
    const Bytes hello(answer(pc::frame(pc::GetMachine, pc::Hello)));
    ASSERT_EQ(hello.data.size(), 184);
    EXPECT_EQ(hello.text(112, 16), "127.0.0.1");
    EXPECT_EQ(hello.u32(160), 10801u);
    EXPECT_EQ(hello.u32(164), 10901u);
    EXPECT_EQ(hello.u32(168), 10902u);
    EXPECT_EQ(hello.u32(172), 1u);   // connected, whatever the segment holds
    EXPECT_EQ(hello.u32(176), 2u);
    EXPECT_EQ(hello.u32(180), 5u);

    // The ports come from the platform's settings.
    zoplat::host::setBeaconPort(20801);
    zoplat::host::setServerPort(20901);
    ASSERT_EQ(netCtrlInit(), 0);
    const Bytes moved(answer(pc::frame(pc::GetMachine, pc::Hello)));
    EXPECT_EQ(moved.u32(160), 20801u);
    EXPECT_EQ(moved.u32(164), 20901u);

    const Bytes assembly(answer(pc::frame(pc::GetMachine, pc::Assembly)));
    ASSERT_EQ(assembly.data.size(), 244);
    EXPECT_EQ(assembly.u8(145), 6);                 // current amplifiers
    EXPECT_EQ(assembly.u8(146), 7);                 // voltage amplifiers
    EXPECT_FLOAT_EQ(assembly.f32(148 + 4), 30.0f);  // second AC current switch
    EXPECT_FLOAT_EQ(assembly.f32(184), 8.0f);       // second small-signal switch
    EXPECT_FLOAT_EQ(assembly.f32(240), 50.0f);
    const Bytes ex(answer(pc::frame(pc::GetMachine, pc::AssemblyEx)));
    ASSERT_EQ(ex.data.size(), 4096);
    EXPECT_EQ(ex.u8(6), 8);                         // binary inputs
    EXPECT_FLOAT_EQ(ex.f32(1024), 40.0f);           // aci3 upper
    EXPECT_EQ(ex.u32(1096), 65u);
    EXPECT_FLOAT_EQ(ex.f32(1116), 40.0f);
}

TEST_F(RemoteFrame, MachineWritesFollowTheCopyRules)
{
    // Assembly: the counts read back, the switches the segment does not keep read 0.
    Bytes assembly(244);
    assembly.text(32, "ZOR-9").u8(145, 4).f32(188, 5.5f).f32(240, 60.0f);
    EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::Assembly, assembly.data)), status(0));
    const Bytes back(answer(pc::frame(pc::GetMachine, pc::Assembly)));
    EXPECT_EQ(back.text(32, 16), "ZOR-9");
    EXPECT_EQ(back.u8(145), 4);
    EXPECT_FLOAT_EQ(back.f32(188), 0.0f);
    EXPECT_FLOAT_EQ(back.f32(240), 60.0f);

    // Network extension: the eth1 values change nothing but the eth0 fields.
    const QByteArray before = answer(pc::frame(pc::GetMachine, pc::NetworkEx));
    Bytes ex(before);
    ex.text(0, "guid").text(126 + 34, "10.9.9.9").u32(126 + 82, 1);
    EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::NetworkEx, ex.data)), status(0));
    EXPECT_EQ(answer(pc::frame(pc::GetMachine, pc::NetworkEx)), before);
    ex.raw(32 + 34, QByteArray(16, '\0').constData(), 16).text(32 + 34, "10.1.2.3");
    EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::NetworkEx, ex.data)), status(0));
    EXPECT_EQ(Bytes(answer(pc::frame(pc::GetMachine, pc::Hello))).text(112, 16), "10.1.2.3");

    // A write shorter than its record is zero-filled, never completed from
    // an earlier frame; under 4 bytes it is refused.
    EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::Assembly, Bytes(40).text(32, "ZOR-1").data)), status(0));
    const Bytes shortBack(answer(pc::frame(pc::GetMachine, pc::Assembly)));
    EXPECT_EQ(shortBack.text(32, 16), "ZOR-1");
    EXPECT_EQ(shortBack.u8(145), 0);
    EXPECT_FLOAT_EQ(shortBack.f32(240), 0.0f);
    EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::Assembly, "abc")), status(0xFF));
    EXPECT_EQ(answer(pc::frame(pc::SetMachine, 0xE101, Bytes(184).data)), status(0xFF));
    EXPECT_EQ(answer(pc::frame(pc::GetMachine, 0xE104)), status(0xFF));
}

// A network extension record is stored only with ports of 1..65535, a
// dotted IPv4 address a host may have (not its subnet's broadcast), a
// contiguous netmask and a unicast gateway inside the subnet, or those two
// empty; anything else is refused whole. The network record refuses such
// ports as well.
TEST_F(RemoteFrame, NetworkRecordsWithNonsenseAreRefusedWhole)
{
    Bytes base(answer(pc::frame(pc::GetMachine, pc::NetworkEx)));
    for (const auto& field : {std::make_pair(34, "10.1.2.3"), std::make_pair(50, "255.0.0.0"), std::make_pair(66, "10.1.2.1")})
        base.raw(32 + field.first, QByteArray(field.second).leftJustified(16, '\0').constData(), 16);
    ASSERT_EQ(answer(pc::frame(pc::SetMachine, pc::NetworkEx, base.data)), status(0));
    const QByteArray before = answer(pc::frame(pc::GetMachine, pc::NetworkEx));
    const struct
    {
        int at;               // in the eth0 part
        const char* text;     // 16 bytes there, or
        uint32_t port;        // a port there
        bool accepted = false;
    } rows[] = {
        {82, nullptr, 0}, {86, nullptr, 70000}, {90, nullptr, 3902009650u}, {34, "999.1.1.1", 0}, {34, "", 0},
        {34, "10.1.2", 0}, {34, "10.100.100.100.1", 0}, {50, "255.255.0", 0}, {66, "gw", 0},
        {82, nullptr, 65536}, {82, nullptr, 65535, true}, {86, nullptr, 1, true}, {34, "10.1.1.256", 0},
        {34, "10.255.1.255", 0, true}, {50, "255.255.256.0", 0}, {50, "255.255.255.0", 0, true},
        {34, "240.0.0.1", 0}, {34, "255.255.255.254", 0}, {34, "10.255.255.255", 0}, {50, "1.2.3.4", 0},
        {66, "224.0.0.1", 0}, {66, "11.0.0.1", 0}, {66, "10.9.9.9", 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text ? row.text : std::to_string(row.port).c_str());
        Bytes ex(before);
        if (row.text)
            ex.raw(32 + row.at, QByteArray(row.text).leftJustified(16, '\0').constData(), 16);
        else
            ex.u32(32 + row.at, row.port);
        EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::NetworkEx, ex.data)), status(row.accepted ? 0 : 0xFF));
        EXPECT_EQ(answer(pc::frame(pc::GetMachine, pc::NetworkEx)), row.accepted ? ex.data : before);
        EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::NetworkEx, before)), status(0));   // back as it was
    }
    EXPECT_EQ(answer(pc::networkWrite("10.0.0.5", 0, 10901)), status(0xFF));
    EXPECT_EQ(answer(pc::frame(pc::GetMachine, pc::NetworkEx)), before);
}

TEST_F(RemoteFrame, NetworkWriteSetsTheAddressOrLeavesEverythingAsItWas)
{
    const QString file = zoplat::devicePath("/etc/network/interfaces");
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QByteArray original = "auto lo\niface lo inet static\n      address 127.0.0.1\n";
    const auto writeFile = [&] {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(original);
    };
    const auto readFile = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    // The interface's own address is one it can be reached at (on the host, lo's).
    const struct
    {
        const char* ip;
        bool accepted;
    } rows[] = {
        {"192.168.7.20", true}, {"0.0.0.0", false}, {"127.0.0.2", false}, {"224.0.0.1", false},
        {"239.255.255.250", false}, {"255.255.255.255", false}, {"192.168.7", false}, {"", false},
        {"240.0.0.1", false}, {"192.168.7.255", false}, {"127.0.0.1", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.ip);
        writeFile();
        cmm_machine_reboot_flag().store(false);
        const QByteArray hello = answer(pc::frame(pc::GetMachine, pc::Network));
        EXPECT_EQ(answer(pc::networkWrite(row.ip, 10801, 11111)), status(row.accepted ? 0 : 0xFF));
        EXPECT_EQ(cmm_machine_reboot_flag().load(), row.accepted);
        const Bytes now(answer(pc::frame(pc::GetMachine, pc::Network)));
        if (row.accepted) {
            EXPECT_TRUE(readFile().contains(QByteArray("      address ") + row.ip + '\n'));
            EXPECT_EQ(now.text(66, 16), row.ip);
            EXPECT_EQ(now.u32(118), 11111u);   // stored as sent
        } else {
            EXPECT_EQ(readFile(), original);
            EXPECT_EQ(now.data, hello);
        }
        // The extension's eth0 part is held to the same addresses.
        const QByteArray ex = answer(pc::frame(pc::GetMachine, pc::NetworkEx));
        const QByteArray ip = QByteArray(row.ip).leftJustified(16, '\0');
        EXPECT_EQ(answer(pc::frame(pc::SetMachine, pc::NetworkEx, Bytes(ex).raw(32 + 34, ip.constData(), 16).data)),
                  status(row.accepted ? 0 : 0xFF));
        EXPECT_EQ(Bytes(answer(pc::frame(pc::GetMachine, pc::NetworkEx))).text(32 + 34, 16),
                  row.accepted ? QByteArray(row.ip) : Bytes(ex).text(32 + 34, 16));
    }
    // An address that runs into the netmask field is refused as well.
    writeFile();
    Bytes unterminated(pc::networkWrite("10.0.0.2"));
    unterminated.raw(14 + 66, "10.100.100.100.1", 16);
    EXPECT_EQ(answer(unterminated.data), status(0xFF));
    EXPECT_EQ(readFile(), original);
    cmm_machine_reboot_flag().store(false);
}

TEST_F(RemoteFrame, DispatchByCommandClass)
{
    const QByteArray none;
    const struct
    {
        const char* name;
        QByteArray request;
        QByteArray answer;
        uint32_t configChanges;
        uint32_t calChanges;
    } rows[] = {
        {"echo measure", pc::frame(pc::GetMeasure, 7, "measure"), "measure", 0, 0},
        {"echo clock", pc::frame(pc::GetClockTime, 7, none), none, 0, 0},
        {"echo register", pc::frame(pc::GetRegister, 7, "r"), "r", 0, 0},
        {"data area", pc::frame(pc::SetDataArea, 7, none), status(0), 0, 0},
        {"upgrade", pc::frame(pc::SetUpgrade, 7, "x"), status(0), 0, 0},
        {"measure", pc::frame(pc::SetMeasure, 7, none), status(0), 0, 0},
        {"clock time", pc::frame(pc::SetClockTime, 7, "x"), status(0), 0, 0},
        {"register", pc::frame(pc::SetRegister, 7, none), status(0), 0, 0},
        {"clock config", pc::frame(pc::SetConfig, 0xA102, Bytes(128).data), status(0), 0x20, 0},
        {"run scheme", pc::frame(pc::SetConfig, 0xA105, Bytes(138).data), status(0), 0x04, 0},
        {"small signal", pc::frame(pc::SetConfig, 0xA107, Bytes(242).data), status(0), 0x08, 0},
        {"amplifier", pc::frame(pc::SetConfig, 0xA108, Bytes(184).data), status(0), 0x10, 0},
        {"config ignored", pc::frame(pc::SetConfig, 0xA10D, "any"), status(0), 0, 0},
        {"config size", pc::frame(pc::SetConfig, 0xA105, Bytes(137).data), status(0xFF), 0, 0},
        {"config sub-id", pc::frame(pc::SetConfig, 0xA10E, none), status(0xFF), 0, 0},
        {"cal small", pc::frame(pc::SetCalibrate, 0xF202, Bytes(10244).data), status(0), 0, 0x04},
        {"cal amplifier", pc::frame(pc::SetCalibrate, 0xF206, Bytes(119684).data), status(0), 0, 0x02},
        {"cal dc", pc::frame(pc::SetCalibrate, 0xF207, Bytes(104).data), status(0), 0, 0x08},
        {"cal bit", pc::frame(pc::SetCalibrate, 0xF203, "any"), status(0), 0, 0},
        {"cal v2", pc::frame(pc::SetCalibrate, 0xF201, Bytes(104).data), status(0xFF), 0, 0},
        {"cal size", pc::frame(pc::SetCalibrate, 0xF207, Bytes(105).data), status(0xFF), 0, 0},
        {"read bit", pc::frame(pc::GetCalibrate, 0xF203), QByteArray(2180, '\0'), 0, 0},
        {"read bim", pc::frame(pc::GetCalibrate, 0xF204), QByteArray(11044, '\0'), 0, 0},
        {"read other", pc::frame(pc::GetCalibrate, 0xF201), status(0xFF), 0, 0},
        {"file sub-id", pc::frame(pc::TransferFile, 0xF501, Bytes(68).data), status(0xFF), 0, 0},
        {"file cmd size", pc::frame(pc::TransferFile, 0xF503, "ab"), status(0xFF), 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        global_shm_config->ctrl.server_changes = 0;
        global_shm_cal->ctrl.server_changes = 0;
        EXPECT_EQ(answer(row.request), row.answer);
        EXPECT_EQ(global_shm_config->ctrl.server_changes, row.configChanges);
        EXPECT_EQ(global_shm_cal->ctrl.server_changes, row.calChanges);
    }
    EXPECT_TRUE(netCtrl_recordedCalls().isEmpty());
}

TEST_F(RemoteFrame, RecordsRoundTripThroughTheSegments)
{
    // Configuration: wire fields by name, narrow integers widened.
    Bytes run(138);
    run.u8(0, 1).u8(1, 9).u32(2, 0x3F).u32(6, 0xF).f32(10, 110.5f).u32(18, 0x3).u32(22, 0x5);
    ASSERT_EQ(answer(pc::frame(pc::SetConfig, 0xA105, run.data)), status(0));
    const shm_run_scheme_set& r = global_shm_config->cfgset.runset;
    EXPECT_EQ(r.update_enable, 1u);
    EXPECT_EQ(r.output_enables, 0x3Fu);
    EXPECT_FLOAT_EQ(r.aux_pwmv_value, 110.5f);
    EXPECT_EQ(r.virtual_bo_enables, 0x5u);
    Bytes pao(184);
    pao.u8(3, 1).f32(12, 2.5f).u8(16 + 4 * 9, 7).u8(16 + 4 * 17, 9).u8(144, 2);
    ASSERT_EQ(answer(pc::frame(pc::SetConfig, 0xA108, pao.data)), status(0));
    const shm_pao_signal_set& p = global_shm_config->cfgset.paoset;
    EXPECT_EQ(p.power_switch_enable, 1u);
    EXPECT_FLOAT_EQ(p.power_iopenwarm_limit, 2.5f);
    EXPECT_EQ(p.ports[1][1].channel_index, 7u);
    EXPECT_EQ(p.power_ux_type, 2u);

    // Calibration: the records read back as written; of the amplifier
    // record only the first factor set.
    const struct
    {
        uint16_t subid;
        int size;
    } cal[] = {{0xF202, 10244}, {0xF206, 119684}, {0xF207, 104}};
    for (const auto& c : cal) {
        SCOPED_TRACE(c.subid);
        Bytes record(c.size);
        for (int i = 0; i < c.size; i += 4)
            record.u32(i, uint32_t(i) * 2654435761u + c.subid);
        ASSERT_EQ(answer(pc::frame(pc::SetCalibrate, c.subid, record.data)), status(0));
        const QByteArray back = answer(pc::frame(pc::GetCalibrate, c.subid));
        ASSERT_EQ(back.size(), c.size);
        const int kept = c.subid == 0xF206 ? 4 + 29920 : c.size;
        EXPECT_EQ(back.left(kept), record.data.left(kept));
        EXPECT_EQ(back.mid(kept), QByteArray(c.size - kept, '\0'));
    }
}

TEST_F(RemoteFrame, ControlRulesInTheirOrder)
{
    const struct
    {
        const char* name;
        pc::Bytes record;
        uint8_t status;
        const char* call;
    } rows[] = {
        {"outputs first", pc::control(0x400 | 0x8 | 0x800, 1, 0, 0, 0, 0x4, 0x5), 0, "SetBOState 5 4"},
        {"start", pc::control(0x8 | 0x800, 1), 0, "SetTestStart"},
        {"start before stop", pc::control(0x8 | 0x800 | 0x10, 1, 1), 0, "SetTestStart"},
        {"start without repeat", pc::control(0x8, 1), 0xFF, nullptr},
        {"start disabled", pc::control(0x8 | 0x800, 0), 0xFF, nullptr},
        {"start disabled, stop", pc::control(0x8 | 0x800 | 0x10, 0, 1), 0, "SetTestStop"},
        {"prepare", pc::control(0x4 | 0x40, 0, 0, 0, 1), 0, "ClearSettingParameter"},
        {"switch", pc::control(0x40 | 0x20, 0, 0, 1, 1), 0, "SetTestSwitch"},
        {"trigger", pc::control(0x20 | 0x40, 0, 0, 1, 0), 0, "SetManualTrigger"},
        {"powering", pc::control(0x80 | 0x10), 0, "GetBIBOState"},
        {"clock only", pc::control(0x1000), 0xFF, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        netCtrl_clearRecordedCalls();
        EXPECT_EQ(answer(pc::frame(pc::SetControl, 0, row.record.data)), status(row.status));
        EXPECT_EQ(netCtrl_recordedCalls(), row.call ? QStringList{row.call} : QStringList());
    }
    netCtrl_clearRecordedCalls();
    EXPECT_EQ(answer(pc::frame(pc::SetControl, 1, pc::control(0x80).data)), status(0xFF));
    EXPECT_EQ(answer(pc::frame(pc::SetControl, 0, pc::control(0x80).data.left(255))), status(0xFF));
    EXPECT_TRUE(netCtrl_recordedCalls().isEmpty());
}

TEST_F(RemoteFrame, ParameterAndFileRecordsOfExactSizeOnly)
{
    const struct
    {
        uint16_t command;
        uint16_t subid;
        int size;
        const char* call;
    } rows[] = {
        {pc::SetParameter, 0xB104, 4920, "SetAlternatParameter 4920"},
        {pc::SetParameter, 0xB102, 2738, "SetStateSquenceParameter 2738"},
        {pc::SetParameter, 0xB106, 9630, "SetHarmonicParameter 9630"},
        {pc::SetParameter, 0xB301, 1183, "SetSimpleRampingParameter 1183"},
        {pc::TransferFile, 0xF504, 68, "TransferFileHead report.htm 300"},
        {pc::TransferFile, 0xF505, 1028, "TransferFileData 10"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.call);
        for (int delta : {-1, 1, 0}) {
            netCtrl_clearRecordedCalls();
            Bytes record(row.size + delta);
            if (row.subid == 0xF504)
                record.text(0, "report.htm").u32(64, 300);
            if (row.subid == 0xF505)
                record.u32(0, 10);
            EXPECT_EQ(answer(pc::frame(row.command, row.subid, record.data)), status(delta ? 0xFF : 0));
            EXPECT_EQ(netCtrl_recordedCalls(), delta ? QStringList() : QStringList{row.call});
        }
    }
    netCtrl_clearRecordedCalls();
    EXPECT_EQ(answer(pc::frame(pc::SetParameter, 0xB101, Bytes(100).data)), status(0xFF));
    EXPECT_EQ(answer(pc::frame(pc::TransferFile, 0xF505, Bytes(1028).u32(0, 1025).data)), status(0xFF));
    EXPECT_EQ(answer(pc::frame(pc::TransferFile, 0xF504, Bytes(68).raw(0, QByteArray(64, 'a').constData(), 64).data)),
              status(0xFF));
    EXPECT_TRUE(netCtrl_recordedCalls().isEmpty());
}

TEST_F(RemoteFrame, ProtocolErrorsGetNoReply)
{
    const QByteArray body = pc::Bytes(4).u16(0, pc::Hello).data;
    const struct
    {
        const char* name;
        QByteArray request;
    } rows[] = {
        {"length 0", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 0, body)},
        {"length 1", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 1, body)},
        {"length wraps to 2", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 0xFFFFFFF6u, body)},
        {"length wraps to 0", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 0xFFFFFFF4u, body)},
        {"length too large", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 0x1FFF75u, body)},
        {"length short of the bytes", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 3, body)},
        {"length beyond the bytes", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 5, body)},
        {"magic", pc::rawFrame(0xFFFF7A4E, pc::kVersion, pc::GetMachine, 4, body)},
        {"version", pc::rawFrame(pc::kMagic, 0x0102, pc::GetMachine, 4, body)},
        {"header only", pc::rawFrame(pc::kMagic, pc::kVersion, pc::GetMachine, 0, {})},
        {"status is pushed", pc::frame(pc::PushStatus, 0)},
        {"procedure is pushed", pc::frame(pc::PushProcedure, 0xC104)},
        {"trigger is pushed", pc::frame(pc::PushTrigger, 0xC104)},
        {"history", pc::frame(pc::GetHistory, 0)},
        {"lower", pc::frame(pc::GetLower, 0)},
        {"sniffer", pc::frame(pc::GetSniffer, 0)},
        {"unknown", pc::frame(0xA011, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(exchange(row.request).has_value());
    }
    // The receive loop's size from a header: the same bound.
    uint32_t total = 0;
    for (uint32_t length : {0u, 1u, 0xFFFFFFF4u, 0xFFFFFFFFu, 0x1FFF75u}) {
        EXPECT_EQ(net_frame_expected_size(reinterpret_cast<const uint8_t*>(
                                              pc::rawFrame(pc::kMagic, pc::kVersion, 0xA010, length, {}).constData()),
                                          &total),
                  -1)
            << length;
    }
    EXPECT_EQ(net_frame_expected_size(reinterpret_cast<const uint8_t*>(
                                          pc::rawFrame(pc::kMagic, pc::kVersion, 0xA010, 0x1FFF74u, {}).constData()),
                                      &total),
              0);
    EXPECT_EQ(total, 0x1FFF80u);
}

TEST_F(RemoteFrame, PushedFramesInOrderAndOnlyOfTheirTypesSize)
{
    const QByteArray alternate(377, 'a');
    const QByteArray rampingAction(92, 'r');
    netCtrl_updateProcedure(0xC104, reinterpret_cast<const uint8_t*>(alternate.constData()), 377);
    netCtrl_updateResult(0xC201, reinterpret_cast<const uint8_t*>(rampingAction.constData()), 92);
    netCtrl_updateRunningEnable(1);
    netCtrl_updateBOState(0x1);
    netCtrl_updateBOState(0x5);   // published twice: one frame, the latest word
    const std::vector<pc::Frame> frames = pushedFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].command, pc::PushProcedure);
    EXPECT_EQ(frames[0].subid, 0xC104);
    EXPECT_EQ(frames[0].payload, alternate);
    EXPECT_EQ(frames[1].command, pc::PushTrigger);
    EXPECT_EQ(frames[1].subid, 0xC201);
    EXPECT_EQ(frames[1].payload, rampingAction);
    EXPECT_EQ(frames[2].command, pc::PushStatus);
    EXPECT_EQ(frames[2].subid, 0);
    ASSERT_EQ(frames[2].payload.size(), 512);
    const Bytes st(frames[2].payload);
    EXPECT_EQ(st.u32(4), 1u);
    EXPECT_EQ(st.u32(8), 0u);
    EXPECT_EQ(st.u32(44), 0x5u);
    for (const auto& f : frames)
        EXPECT_EQ(f.version, pc::kVersion);

    // A length word that is not the type's size (the segment is writable by
    // any local process) drops the record instead of sending it.
    const struct
    {
        shm_share_record* segment;
        uint32_t type;
        uint32_t length;
    } bad[] = {
        {global_shm_procedure, 0xC201, 92},       // the trigger's size in the procedure segment
        {global_shm_result, 0xC104, 376},
        {global_shm_procedure, 0xC102, 65536},
        {global_shm_result, 0xC106, 69605},
        {global_shm_procedure, 0xC105, 377},      // not a pushed type
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.length);
        b.segment->data_type = b.type;
        b.segment->data_length = b.length;
        b.segment->ctrl.server_changes = 1;
        EXPECT_TRUE(pushedFrames().empty());
        EXPECT_EQ(b.segment->ctrl.server_changes, 0u);
    }
}

// Stop and prepare in one request: the stop acts alone (rule 3 comes before
// rule 4); with its enable word 0 the stop does not match and the prepare acts.
TEST_F(RemoteFrame, StopRuleComesBeforePrepare)
{
    const struct
    {
        pc::Bytes record;
        const char* call;
    } rows[] = {
        {pc::control(0x10 | 0x4, 0, 1), "SetTestStop"},
        {pc::control(0x10 | 0x4, 0, 0), "ClearSettingParameter"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.call);
        netCtrl_clearRecordedCalls();
        EXPECT_EQ(answer(pc::frame(pc::SetControl, 0, row.record.data)), status(0));
        EXPECT_EQ(netCtrl_recordedCalls(), QStringList{row.call});
    }
}


// 10,000 rejected requests of a connection write one line while the clock
// stands still; a second later the next one tells the count; the end of
// the connection tells what was not told.
TEST_F(RemoteFrame, RejectedRequestsWriteAFewLinesWithTheirCount)
{
    int64_t nowMs = 5000;
    zoplat::setMonotonicClock([&nowMs] { return nowMs * 1000; });
    const QByteArray rejected[] = {
        pc::rawFrame(0xFFFF7A4E, pc::kVersion, pc::GetMachine, 2, Bytes(2).data),   // protocol error
        pc::frame(pc::SetControl, 0, pc::control(0x1000).data),                      // no rule
        pc::frame(pc::SetParameter, 0xB301, Bytes(1182).data),                       // wrong size
        pc::networkWrite("127.0.0.9"),                                               // refused address
    };
    const QList<QByteArray> lines = stdoutOf(sandbox.filePath("out"), [&] {
        net_reject_connection_begin();
        for (int i = 0; i < 10000; ++i)
            exchange(rejected[i % 4]);
        nowMs += 1000;
        exchange(rejected[0]);
        net_reject_connection_end();   // all told
        net_reject_connection_begin();
        for (int i = 0; i < 3; ++i)
            exchange(rejected[1]);
        net_reject_connection_end();
    }).split('\n');
    zoplat::setMonotonicClock({});
    ASSERT_EQ(lines.size(), 5) << lines.mid(0, 10).join('\n').constData();
    EXPECT_TRUE(lines[0].startsWith("connect1 protocol parse error(-2)")) << lines[0].constData();
    EXPECT_TRUE(lines[0].endsWith("[1 rejected on this connection]")) << lines[0].constData();
    EXPECT_TRUE(lines[1].endsWith("[10001 rejected on this connection]")) << lines[1].constData();
    EXPECT_EQ(lines[2], "contr_update_storing_control error [1 rejected on this connection]");
    EXPECT_EQ(lines[3], "3 requests rejected on this connection");
}

// What a PC makes the service print is bounded for the service as a whole:
// while the clock stands, 200 imports of a parameter file that is no XML
// file, 200 connections with one rejected request each, or exports of a
// folder whose files are all left out, print the burst; once it moves on,
// the next line tells that lines were withheld.
TEST_F(RemoteFrame, LinesAPcCausesStayWithinTheServiceBudget)
{
    int64_t nowMs = 0;
    zoplat::setMonotonicClock([&nowMs] { return nowMs; });
    const QByteArray rejected = pc::frame(pc::SetControl, 0, pc::control(0x1000).data);
    for (int i = 0; i < 2 * NET_LOG_BURST_LINES; ++i)   // names too long for the head
        sandbox.write("report/AC/" + QByteArray(64, 'n') + QByteArray::number(i), "x");
    const struct
    {
        const char* name;
        std::function<void()> request;
    } rows[] = {
        {"parameter file refused",
         [&] {
             const NetFileRoots roots{sandbox.filePath("root"), sandbox.filePath("root")};
             net_file_command(5);
             net_file_head("AC/p.xml", 3, roots);
             net_file_data(reinterpret_cast<const u8*>("bad"), 3);
             net_file_head("SEND_END", 0, roots);
         }},
        {"connection with a rejected request",
         [&] {
             net_reject_connection_begin();
             exchange(rejected);
             net_reject_connection_end();
         }},
        {"export leaving its files out",
         [&] { net_export_files(1, {sandbox.path(), sandbox.path()}, [](const u8*, u32) { return 0; }, 0); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        nowMs += 100 * NET_LOG_REFILL_MS;   // the whole budget again
        const QList<QByteArray> lines = stdoutOf(sandbox.filePath("out"), [&] {
            for (int i = 0; i < 200; ++i)
                row.request();
            nowMs += NET_LOG_REFILL_MS;
            net_log_line("next");
        }).trimmed().split('\n');
        EXPECT_EQ(lines.size(), NET_LOG_BURST_LINES + 1) << lines.mid(0, 3).join('\n').constData();
        EXPECT_TRUE(lines.back().startsWith("next [") && lines.back().endsWith(" lines withheld before]"))
            << lines.back().constData();
    }
    zoplat::setMonotonicClock({});
}

} // namespace

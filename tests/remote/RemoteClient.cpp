#include "RemoteClient.h"

namespace pc {

QByteArray rawFrame(uint32_t magic, uint16_t version, uint16_t command, uint32_t length, const QByteArray& body)
{
    Bytes b(12);
    b.u32(0, magic).u16(4, version).u16(6, command).u32(8, length);
    return b.data + body;
}

QByteArray frame(uint16_t command, uint16_t subid, const QByteArray& payload)
{
    Bytes sub(2);
    sub.u16(0, subid);
    return rawFrame(kMagic, kVersion, command, uint32_t(2 + payload.size()), sub.data + payload);
}

std::optional<Frame> decode(const QByteArray& bytes)
{
    if (bytes.size() < 14)
        return std::nullopt;
    const Bytes b(bytes);
    Frame f;
    f.magic = b.u32(0);
    f.version = b.u16(4);
    f.command = b.u16(6);
    f.length = b.u32(8);
    if (f.length + 12u != uint32_t(bytes.size()))
        return std::nullopt;
    f.subid = b.u16(12);
    f.payload = bytes.mid(14);
    return f;
}

Bytes control(uint32_t enables, uint32_t running, uint32_t stopping, uint32_t trigger, uint32_t switching,
              uint32_t boState, uint32_t boEnable)
{
    Bytes c(256);
    c.u32(0, enables).u32(20, running).u32(24, stopping).u32(28, trigger).u32(32, switching);
    c.u32(48, boState).u32(92, boEnable);
    return c;
}

QByteArray networkWrite(const char* ip, uint32_t port0, uint32_t port1, const char* gateway)
{
    Bytes n(126);
    n.text(66, ip).text(82, "255.255.255.0").text(98, gateway).u32(114, port0).u32(118, port1).u32(122, 10902);
    return frame(SetMachine, Network, n.data);
}

std::vector<QByteArray> everyRequest()
{
    const QByteArray none;
    return {
        frame(GetMachine, Hello),
        frame(SetMachine, Assembly, Bytes(244).u8(145, 4).data),
        frame(SetConfig, 0xA105, Bytes(138).u32(2, 0xFF).data),
        frame(SetControl, 0x0000, control(0x400, 0, 0, 0, 0, 0x4, 0x5).data),
        frame(SetParameter, 0xB301, Bytes(1183).data),
        frame(SetDataArea, 0x0001, none),
        frame(SetUpgrade, 0x0001, none),
        frame(SetCalibrate, 0xF207, Bytes(104).u32(0, 7).data),
        frame(GetCalibrate, 0xF207),
        frame(SetMeasure, 0x0001, none),
        frame(GetMeasure, 0x0001, "abc"),
        frame(SetClockTime, 0x0001, none),
        frame(GetClockTime, 0x0001, "t"),
        frame(SetRegister, 0x0001, none),
        frame(GetRegister, 0x0001, "reg"),
        frame(TransferFile, 0xF503, QByteArray(1, '\x05')),
    };
}

} // namespace pc

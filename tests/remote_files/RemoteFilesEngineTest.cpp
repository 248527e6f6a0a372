// Calibration files from a PC through the whole engine: the import reloads
// every group into the driver, and what an export sends imports again.

#include "../remote_service/RemoteServiceSupport.h"
#include "RemoteFilesSupport.h"

namespace {

class RemoteCalibrationFiles : public remoteservice::RemoteServiceTest
{
protected:
    void SetUp() override
    {
        remoteservice::RemoteServiceTest::SetUp();
        zoplat::host::setSharedMemoryKeyBase(remotefiles::keyBase());
        remotefiles::removeKeys();
    }
    void TearDown() override
    {
        remoteservice::RemoteServiceTest::TearDown();
        remotefiles::removeKeys();
    }
    int status(remoteservice::Pc& pc, uint16_t subid, const QByteArray& payload)
    {
        const size_t from = pc.frames.size();
        pc.send(pc::frame(pc::TransferFile, subid, payload));
        const auto reply =
            pc.waitFrame(pc::TransferFile, from, 5000, [subid](const pc::Frame& f) { return f.subid == subid; });
        return reply && reply->payload.size() == 1 ? uint8_t(reply->payload.at(0)) : -1;
    }
    // Sends the files in mode 6 and ends the import; the replies, all 0 when taken.
    int importFiles(remoteservice::Pc& pc, const std::map<QByteArray, QByteArray>& files)
    {
        int worst = status(pc, 0xF503, QByteArray(1, '\6'));
        for (const auto& [name, bytes] : files) {
            worst = std::max(worst, status(pc, 0xF504, remotefiles::headRecord(name, uint32_t(bytes.size()))));
            for (int at = 0; at < bytes.size(); at += 1024) {
                const QByteArray part = bytes.mid(at, 1024);
                worst = std::max(worst, status(pc, 0xF505, remotefiles::chunkRecord(part, uint32_t(part.size()))));
            }
        }
        return std::max(worst, status(pc, 0xF504, remotefiles::headRecord("SEND_END", 0)));
    }
    int calLoaded() { return gui.count(ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_CALLOADED); }
};

TEST_F(RemoteCalibrationFiles, ImportReloadsTheDriverAndAnExportImportsAgain)
{
    switchOn();
    remoteservice::Pc pcSide;
    connectPc(pcSide);
    QByteArray golden = testData("calibration/calacamp.xml");
    ASSERT_TRUE(golden.contains("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>"));
    golden.replace("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>", "<AMP_P0_FACTOR>1.0625</AMP_P0_FACTOR>");

    int loads = calLoaded();
    ASSERT_EQ(importFiles(pcSide, {{"calacamp.xml", golden}}), 0);
    ASSERT_TRUE(remoteservice::waitFor([&] { return calLoaded() > loads; }));
    ASSERT_NE(globalConfigureCalData, nullptr);
    EXPECT_FLOAT_EQ(globalConfigureCalData->acampAmpFactors[0][0][0], 1.0625f);

    // Mode 3 sends what the engine stored; sent back under plain names it loads the same.
    const size_t from = pcSide.frames.size();
    ASSERT_EQ(status(pcSide, 0xF503, QByteArray(1, '\3')), 0);
    ASSERT_TRUE(pcSide.waitFrame(pc::TransferFile, from, 20000, [](const pc::Frame& f) {
        return f.subid == 0xF501 && f.payload.startsWith("KS_END");
    }));
    std::map<QByteArray, QByteArray> files;
    QByteArray current;
    for (size_t i = from; i < pcSide.frames.size(); ++i) {
        const pc::Frame& f = pcSide.frames[i];
        if (f.command != pc::TransferFile || (f.subid != 0xF501 && f.subid != 0xF502))
            continue;
        const pc::Bytes b(f.payload);
        if (f.subid == 0xF501)
            current = b.text(0, 64);
        else if (current.startsWith("calcoe/"))
            files[current.mid(7)].append(f.payload.mid(4, int(b.u32(0))));
    }
    ASSERT_EQ(files.count("calacamp.xml"), 1u);
    EXPECT_TRUE(files["calacamp.xml"].contains("1.0625"));
    globalConfigureCalData->acampAmpFactors[0][0][0] = 2.0f;
    loads = calLoaded();
    ASSERT_EQ(importFiles(pcSide, files), 0);
    ASSERT_TRUE(remoteservice::waitFor([&] { return calLoaded() > loads; }));
    EXPECT_FLOAT_EQ(globalConfigureCalData->acampAmpFactors[0][0][0], 1.0625f);
}

} // namespace

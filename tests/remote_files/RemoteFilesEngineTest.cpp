// Calibration files from a PC through the whole engine: the import reloads
// every group into the driver, and what an export sends imports again.

#include "RemoteFilesSupport.h"

using namespace remotefiles;

namespace {

class RemoteCalibrationFiles : public remoteservice::RemoteServiceTest
{
protected:
    int calLoaded() { return gui.count(ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_CALLOADED); }
};

TEST_F(RemoteCalibrationFiles, ImportReloadsTheDriverAndAnExportImportsAgain)
{
    switchOn();
    Pc pcSide;
    connectPc(pcSide);
    QByteArray golden = testData("calibration/calacamp.xml");
    ASSERT_TRUE(golden.contains("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>"));
    golden.replace("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>", "<AMP_P0_FACTOR>1.0625</AMP_P0_FACTOR>");

    // The staging folder holds a kind an earlier USB import left: the import
    // removes it first, and loads only at "SEND_END".
    sandbox.write("app/dat/temp/caldcamp.xml", "stale");
    sandbox.write("app/dat/temp/notes.txt", "mine");
    int loads = calLoaded();
    netCtrl_clearRecordedCalls();
    ASSERT_EQ(mode(pcSide, 6), 0);
    const std::vector<int> replies = sendFile(pcSide, "calacamp.xml", golden);
    EXPECT_EQ(replies, std::vector<int>(replies.size(), 0));
    EXPECT_FALSE(netCtrl_recordedCalls().contains("LoadAllCalFile"));
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0);
    ASSERT_TRUE(waitFor([&] { return calLoaded() > loads; }));
    EXPECT_TRUE(netCtrl_recordedCalls().contains("LoadAllCalFile"));
    ASSERT_NE(globalConfigureCalData, nullptr);
    EXPECT_FLOAT_EQ(globalConfigureCalData->acampAmpFactors[0][0][0], 1.0625f);
    EXPECT_EQ(tree(sandbox.filePath("app/dat/temp")),
              (std::map<QString, QByteArray>{{"calacamp.xml", golden}, {"notes.txt", "mine"}}));

    // Mode 3 sends what the engine stored; sent back under plain names it loads the same.
    Export sent = runExport(pcSide, 3);
    ASSERT_GT(sent.count, 0);
    EXPECT_TRUE(sent.files["calcoe/calacamp.xml"].contains("1.0625"));
    globalConfigureCalData->acampAmpFactors[0][0][0] = 2.0f;
    loads = calLoaded();
    ASSERT_EQ(mode(pcSide, 6), 0);
    for (const auto& [name, bytes] : sent.files) {
        ASSERT_TRUE(name.startsWith("calcoe/")) << name.constData();
        const std::vector<int> back = sendFile(pcSide, name.mid(7), bytes);
        EXPECT_EQ(back, std::vector<int>(back.size(), 0));
    }
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0);
    ASSERT_TRUE(waitFor([&] { return calLoaded() > loads; }));
    EXPECT_FLOAT_EQ(globalConfigureCalData->acampAmpFactors[0][0][0], 1.0625f);
}

} // namespace

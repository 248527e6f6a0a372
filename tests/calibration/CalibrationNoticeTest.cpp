// The notice of the calibration files a load at start found damaged names
// the files that were read.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelCalibrationEntity.h"

namespace {

using CalibrationNotice = vmtest::ViewModelTest;

} // namespace

TEST_F(CalibrationNotice, NamesTheDamagedFileThatWasRead)
{
    // The frequency factor's XML file is missing: its older form is read.
    sandbox.write("app/dat/calacfrq.dat", "[UA-L1]\nFRQ_P0_FACTOR=nan\n");
    sandbox.write("app/dat/calacamp.xml", "<root><AHEAD>");
    ViewBaseModel vm;
    center->loadCal(ModelCalibrationEntity::CAL_TYPE_ALL);
    ASSERT_TRUE(vmtest::waitUntil([&] { return center->testTestor->calibrationFilesOnDefaults().size() == 2; }));
    EXPECT_EQ(vm.takeStartupNotice().toStdString(),
              "以下校准文件已损坏，无法读取的校准系数按默认值运行：calacamp.xml, calacfrq.dat");
}

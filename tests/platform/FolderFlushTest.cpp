// A file the PC sends replaces the old one by a rename into its folder; the
// folder is flushed after it, so that the new name outlives a power cut.

#include "FolderFlushes.h"
#include "PlatformTestSupport.h"

#include "zocmn_net_connect_handle.h"
#include "zocmn_net_file_transfer.h"

TEST_F(PlatformTest, TheFolderOfAnImportedFileIsFlushedAfterTheRenameIntoIt)
{
    sandbox.write("parameters_bk/AC/f.par", "old");
    const QString folder = sandbox.filePath("parameters_bk/AC");
    const int before = platformtest::folderFlushes(folder);
    net_connect_transfer_mode() = NET_FILE_MODE_IMPORT_PARAMETERS;
    const NetFileRoots roots{sandbox.path(), sandbox.path()};
    EXPECT_EQ(net_file_head("AC/f.par", 3, roots), 0);
    EXPECT_EQ(net_file_data(reinterpret_cast<const u8*>("new"), 3), 0);
    net_connect_transfer_mode() = NET_FILE_MODE_IDLE;
    EXPECT_EQ(sandbox.read(folder + "/f.par"), "new");
    EXPECT_GT(platformtest::folderFlushes(folder), before);
}

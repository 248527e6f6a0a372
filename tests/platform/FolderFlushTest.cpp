// A file written whole beside the old one replaces it by a rename into its
// folder; the folder is flushed after it, so that the new name outlives a
// power cut.

#include "FolderFlushes.h"
#include "PlatformTestSupport.h"

#include "zobase_myethx.h"
#include "zocmn_net_connect_handle.h"
#include "zocmn_net_file_transfer.h"

#include <QFileInfo>

#include <functional>

TEST_F(PlatformTest, TheFolderOfAReplacedFileIsFlushedAfterTheRenameIntoIt)
{
    struct Row
    {
        const char* writer;
        QString file;
        QByteArray before;
        std::function<bool()> replace;
        QByteArray after;
    };
    const Row rows[] = {
        {"a file the PC sends", sandbox.filePath("parameters_bk/AC/f.par"), "old",
         [&] {
             net_connect_transfer_mode() = NET_FILE_MODE_IMPORT_PARAMETERS;
             const NetFileRoots roots{sandbox.path(), sandbox.path()};
             const bool ok = net_file_head("AC/f.par", 3, roots) == 0
                 && net_file_data(reinterpret_cast<const u8*>("new"), 3) == 0;
             net_connect_transfer_mode() = NET_FILE_MODE_IDLE;
             return ok;
         },
         "new"},
        {"a copy over a file", root + "/backup/f.par", "old",
         [&] {
             sandbox.write(root + "/new.par", "new");
             return zoplat::replaceFile("/new.par", "/backup/f.par") == 0;
         },
         "new"},
        {"the interface settings", root + "/etc/network/interfaces", "iface eth0 inet static\n      address 10.0.0.1\n",
         [&] { return _my_set_ethx_ip("eth0", "10.0.0.2") == 0; }, "iface eth0 inet static\n      address 10.0.0.2\n"},
    };
    for (const Row& row : rows) {
        sandbox.write(row.file, row.before);
        const QString folder = QFileInfo(row.file).absolutePath();
        const int before = platformtest::folderFlushes(folder);
        EXPECT_TRUE(row.replace()) << row.writer;
        EXPECT_EQ(sandbox.read(row.file), row.after) << row.writer;
        EXPECT_GT(platformtest::folderFlushes(folder), before) << row.writer;
    }
}

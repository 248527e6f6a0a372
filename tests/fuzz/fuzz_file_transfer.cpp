// Sequences of the PC's file-transfer requests (mode commands, heads,
// chunks, connection ends) on the fuzz root, whose application root and
// device sandbox hold every file they may create. "SEND_END" of a
// calibration import checks the staged files and imports them, as the
// service has the engine do.

#include "FuzzSupport.h"
#include "ModelCalibrationEntity.h"
#include "zocmn_net_connect_handle.h"
#include "zocmn_net_file_transfer.h"
#include "zoplatform_datapaths.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace {

QStringList outside()
{
    QDir parent(fuzz::root());
    parent.cdUp();
    return parent.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList& before()
{
    static QStringList list;
    return list;
}

// The engine's import of every staged calibration file, which the service
// asks for when the PC ends a calibration import.
bool importCalibration()
{
    using Cal = ModelCalibrationEntity;
    Cal calibration;
    return calibration.Import(Cal::EX_PAO_TYPE_LLO | Cal::EX_PAO_TYPE_U | Cal::EX_PAO_TYPE_I);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const int r = fuzz::initialize(argc, argv);
    net_file_set_calibration_check(ModelCalibrationEntity::stagedFilesReadable);
    net_file_set_calibration_loader(importCalibration);
    before() = outside();
    return r;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startInput();
    const NetFileRoots roots{zoplat::dataRootPath(), fuzz::root()};
    net_connect_transfer_mode() = 0;
    size_t at = 0;
    while (at < size) {
        const uint8_t op = data[at++];
        switch (op % 4) {
        case 0:   // mode command; an export would set 1..3 back to 0
            if (at < size)
                net_file_command(data[at++]);
            if (net_connect_transfer_mode().load() >= 1 && net_connect_transfer_mode().load() <= 3)
                net_connect_transfer_mode() = 0;
            break;
        case 1: {   // head: a NUL-terminated name of at most 63 bytes, the size field
            char name[64] = {};
            const size_t n = std::min<size_t>({size - at, 63, size_t(op >> 2)});
            std::memcpy(name, data + at, n);
            at += n;
            u32 fileSize = 0;
            const size_t s = std::min<size_t>(size - at, sizeof fileSize);
            std::memcpy(&fileSize, data + at, s);
            at += s;
            net_file_head(name, fileSize, roots);
            break;
        }
        case 2: {   // chunk: a length (any, the frame layer passes up to 1024) over the rest
            u8 buffer[1024] = {};
            const size_t n = std::min<size_t>({size - at, sizeof buffer, size_t(op >> 2) * 17});
            std::memcpy(buffer, data + at, n);
            at += n;
            net_file_data(buffer, u32(std::min<size_t>(n + (op & 0x80 ? 1 : 0), 1024)));
            break;
        }
        default:
            net_file_connection_ended();
            break;
        }
    }
    net_file_connection_ended();
    if (outside() != before())
        fuzz::fail("a file was created beside the fuzz root", outside().join(' '));
    return 0;
}

// Calibration files, XML and the older ".dat" form: a load (or an import
// from the staging folder), the save, and the next load of what was saved.
// The first byte: the kind (low four bits, modulo 10: 0 is ACAMP), 0x10 the
// older form (the five AC kinds have one), 0x20 an import.

#include "FuzzSupport.h"
#include "ModelCalibrationEntity.h"

#include <QDateTime>
#include <QFile>

namespace {

using Cal = ModelCalibrationEntity;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    fuzz::startInput();
    const auto type = Cal::CALType(Cal::CAL_TYPE_ACAMP + (data[0] & 0x0F) % 10);
    const bool legacy = (data[0] & 0x10) != 0;
    const bool import = (data[0] & 0x20) != 0;
    const QString name = Cal::getFileName(type) + (legacy ? QStringLiteral(".dat") : QStringLiteral(".xml"));
    const QString path = fuzz::write((import ? QStringLiteral("dat/temp/") : QStringLiteral("dat/")) + name,
                                     fuzz::bytes(data + 1, size - 1));
    // QSettings keeps the INI files it read while their size and time stay:
    // each input's file has a time of its own, or it could read the last one's.
    static qint64 inputs = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(QDateTime::fromSecsSinceEpoch(++inputs, Qt::UTC), QFileDevice::FileModificationTime))
        fuzz::fail("the time of a fuzz input not set", path);
    file.close();

    Cal e;
    if (import) {
        e.Import(Cal::EX_PAO_TYPE_LLO | Cal::EX_PAO_TYPE_U | Cal::EX_PAO_TYPE_I);
    } else {
        e.load(type);
        if (!e.save(type))
            fuzz::fail("a calibration file was not written");
    }
    const QString saved = fuzz::root() + QStringLiteral("/dat/") + Cal::getFileName(type) + QStringLiteral(".xml");
    if (!QFile::exists(saved))
        return 0;   // a refused import writes nothing
    fuzz::expectWellFormed(saved);

    // What the instrument wrote, it reads back whole.
    Cal next;
    next.load(type);
    if (!next.getDamagedTypes().isEmpty())
        fuzz::fail("a calibration file the instrument wrote reads back as damaged");
    if (next.factorVersion != e.factorVersion)
        fuzz::fail("the calibration version read back differs from the one saved");
    return 0;
}

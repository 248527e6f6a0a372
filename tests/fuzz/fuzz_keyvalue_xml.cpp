// Key/value XML files (BaseXmlHelper): read, written back, read again.

#include "FuzzSupport.h"
#include "BaseXmlHelper.h"

#include <QStringList>

namespace {

const char* const kGroups[] = {"AHEAD", "UA-L0", "IX-L1", "missing"};
const char* const kKeys[] = {"VERSION", "TYPE", "DEVICE_CODE", "AMP_P0_FACTOR", "DITHER_TIME", "RATE_VOLTAGE"};

// Every key of the root and of each group: "group/key" = text.
QStringList readAll(const QString& path, BaseXmlFile::Kind kind = BaseXmlFile::Kind::Settings)
{
    QStringList values;
    BaseXmlHelper xml(path, true, kind);
    for (const char* key : kKeys)
        values << xml.value(QLatin1String(key), QStringLiteral("-")).toString();
    for (const char* group : kGroups) {
        xml.beginGroup(QLatin1String(group));
        for (const char* key : kKeys)
            values << xml.value(QLatin1String(key), QStringLiteral("-")).toString();
        xml.endGroup();
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startInput();
    const QString in = fuzz::write(QStringLiteral("dat/in.xml"), fuzz::bytes(data, size));
    const QStringList values = readAll(in);

    // What was read, written as the instrument writes its files, reads back
    // as it was: the readers took no text that a file cannot carry. (Written
    // as a kind of larger bounds: the texts read are written more than once,
    // escaped.)
    const QString out = fuzz::root() + QStringLiteral("/dat/out.xml");
    const BaseXmlFile::Kind outKind = BaseXmlFile::Kind::Parameter;
    {
        BaseXmlHelper xml(out, false, outKind);
        int i = 0;
        for (const char* key : kKeys)
            xml.setValue(QLatin1String(key), values.at(i++));
        for (const char* group : kGroups) {
            xml.beginGroup(QLatin1String(group));
            for (const char* key : kKeys)
                xml.setValue(QLatin1String(key), values.at(i++));
            xml.endGroup();
        }
        if (!xml.sync())
            fuzz::fail("a key/value file was not written");
    }
    fuzz::expectWellFormed(out);
    if (readAll(out, outKind) != values)
        fuzz::fail("a key/value file read back differs from what was written");
    return 0;
}

#pragma once

// What the fuzz targets share: a Qt application object, an application root
// of their own (a folder "fuzz-root" in the working directory, made afresh at
// start and emptied before each input), quiet debug output, disk flushes
// that return at once, and the checks whose failure is a finding.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// For LLVMFuzzerInitialize: the application object, the root and the
// platform's sandbox inside it; the product's waits take no time.
int initialize(int* argc, char*** argv);

// The application root (the working directory after initialize()).
QString root();

// For the start of each input of a target that touches the disk: the root
// back to what initialize() made (its empty folders dat/temp and sandbox),
// no command recorded. Every input starts from the same state, whatever
// the ones before it left.
void startInput();

// Writes bytes to a file under the root (folders made); returns its path.
QString write(const QString& name, const QByteArray& bytes);
QByteArray bytes(const uint8_t* data, size_t size);

// A finding: prints what failed and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const char* what, const QString& detail = QString());

// The file at path is a well-formed XML document for a strict reader, one
// that reads with namespaces too: it parses, and holds nothing that an XML
// file cannot carry.
void expectWellFormed(const QString& path);

} // namespace fuzz

#pragma once

// The file transfer's requests from the PC client of tests/remote, through
// the service tests' PC (remoteservice::Pc), and what an export sends.

#include "../remote_service/RemoteServiceSupport.h"

#include <QDir>
#include <QDirIterator>

#include <map>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }

namespace remotefiles {

using remoteservice::Pc;
using remoteservice::waitFor;

enum Sub : uint16_t { ExportHead = 0xF501, ExportChunk = 0xF502, Mode = 0xF503, Head = 0xF504, Chunk = 0xF505 };

inline QByteArray headRecord(const QByteArray& name, uint32_t size)
{
    pc::Bytes b(68);
    b.raw(0, name.constData(), std::min(64, name.size()));
    return b.u32(64, size).data;
}

inline QByteArray chunkRecord(const QByteArray& data, uint32_t length)
{
    pc::Bytes b(1028);
    b.raw(4, data.constData(), std::min(1024, data.size()));
    return b.u32(0, length).data;
}

// A request's status byte, or -1 without a reply.
inline int ask(Pc& pcSide, uint16_t subid, const QByteArray& payload)
{
    const size_t from = pcSide.frames.size();
    pcSide.send(pc::frame(pc::TransferFile, subid, payload));
    const auto reply =
        pcSide.waitFrame(pc::TransferFile, from, 5000, [subid](const pc::Frame& f) { return f.subid == subid; });
    return reply && reply->payload.size() == 1 ? uint8_t(reply->payload.at(0)) : -1;
}

inline int mode(Pc& pcSide, uint8_t value) { return ask(pcSide, Mode, QByteArray(1, char(value))); }
inline int head(Pc& pcSide, const QByteArray& name, uint32_t size) { return ask(pcSide, Head, headRecord(name, size)); }
inline int chunk(Pc& pcSide, const QByteArray& data)
{
    return ask(pcSide, Chunk, chunkRecord(data, uint32_t(data.size())));
}

// A whole file: its head, then chunks of 1024 bytes; the replies in order.
inline std::vector<int> sendFile(Pc& pcSide, const QByteArray& name, const QByteArray& bytes)
{
    std::vector<int> replies{head(pcSide, name, uint32_t(bytes.size()))};
    for (int at = 0; at < bytes.size(); at += 1024)
        replies.push_back(chunk(pcSide, bytes.mid(at, 1024)));
    return replies;
}

// What an export sent: the files by name, the chunk frames (each of 1028
// bytes, zero-padded after its length, or `padded` is false) and the count
// of "KS_END" (-1 when it did not come).
struct Export
{
    std::map<QByteArray, QByteArray> files;
    int chunks = 0;
    bool padded = true;
    int count = -1;
};

inline Export runExport(Pc& pcSide, uint8_t value)
{
    Export e;
    const size_t from = pcSide.frames.size();
    const auto isHead = [](const pc::Frame& f) { return f.subid == ExportHead && f.payload.size() == 68; };
    if (mode(pcSide, value) != 0 || !pcSide.waitFrame(pc::TransferFile, from, 20000, [&](const pc::Frame& f) {
            return isHead(f) && pc::Bytes(f.payload).text(0, 64) == "KS_END";
        }))
        return e;
    QByteArray name;
    for (size_t i = from; i < pcSide.frames.size() && e.count < 0; ++i) {
        const pc::Frame& f = pcSide.frames[i];
        const pc::Bytes b(f.payload);
        if (f.command == pc::TransferFile && isHead(f)) {
            name = b.text(0, 64);
            if (name == "KS_END")
                e.count = int(b.u32(64));
            else
                e.files[name];
        } else if (f.command == pc::TransferFile && f.subid == ExportChunk) {
            const int length = int(std::min(b.u32(0), 1024u));
            ++e.chunks;
            e.padded = e.padded && f.payload.size() == 1028 && b.u32(0) <= 1024
                && f.payload.mid(4 + length) == QByteArray(1024 - length, '\0');
            e.files[name].append(f.payload.mid(4, length));
        }
    }
    return e;
}

// Every file and folder ("<dir>") under a folder, hidden ones included.
inline std::map<QString, QByteArray> tree(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[QDir(root).relativeFilePath(path)] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<dir>");
    }
    return files;
}

} // namespace remotefiles

#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QDomNode>
#include <QString>

class QIODevice;

// What every XML file of the instrument shares: the characters a stored text
// may hold, and how a document reaches the disk.
//
// A text is storable when an XML 1.0 file can carry it: no C0 control other
// than tab, LF and CR, neither U+FFFE nor U+FFFF, no lone surrogate. Qt's
// parser takes such characters from character references ("&#xFFFE;") and
// its writer puts them out raw, or as "?" for a lone surrogate, which makes
// a file that its next read, or any other reader, refuses. So readers treat
// a text that is not storable as unreadable, and save() never writes one.
namespace BaseXmlFile {

// The kinds of XML file the instrument reads, and what one of each may
// hold: the largest file of the kind that the instrument writes, with room.
// A document beyond any bound of its kind is refused before it is built:
// Qt's DOM parser recurses once per level (a deep one overflows the stack),
// its attribute maps are searched from the start for each one, and a flat
// document of millions of elements takes a gigabyte.
enum class Kind {
    Parameter,     // a module's parameter.xml
    Backup,        // a parameter file kept under parameters_bk, or one a PC sends
    Calibration,   // a calibration file, stored or to import
    Settings,      // the key/value files of dat/
    TimeZones,     // the custom time-zone list
};

struct Bounds
{
    qint64 bytes;
    int elements;
    int attributes;   // on one element
    int nesting;      // elements open at once
};

Bounds bounds(Kind kind);

// Damaged or refused copies of one file kept beside it (moveAside).
constexpr int kDamagedCopies = 100;

// Parses bytes into doc as QDomDocument::setContent (without namespace
// processing) does, once one pass over the text the parser reads (the bytes
// decoded as it decodes them) has found the document within the bounds of
// its kind, no document type (its entities expand markup where they are
// referred to; no file of the instrument has one) and no encoding declared
// that no codec reads. Every reader of the instrument's XML files parses
// through here. Such a document is refused as an unreadable one is: false,
// doc empty, error (when given) saying why, line and column 0.
bool parse(QDomDocument& doc, const QByteArray& bytes, Kind kind, QString* error = nullptr, int* line = nullptr,
           int* column = nullptr);
// Reads the open device up to the bytes bound and parses that; a device
// holding more is refused without being read further.
bool parse(QDomDocument& doc, QIODevice* device, Kind kind, QString* error = nullptr, int* line = nullptr,
           int* column = nullptr);

// Which of its refusals parse's error names: a document beyond a bound of
// its kind, one declaring an encoding no codec reads, or any other.
enum class Refusal { BeyondBounds, UnknownEncoding, Other };
Refusal refusalOf(const QString& error);

// What reading a file came to.
enum class Read {
    Whole,      // read, all of it
    Missing,    // nothing there (a link to nothing included)
    NotAFile,   // a folder, FIFO, device or socket (or a link, not followed)
    TooLarge,   // more than the limit
    Failed,     // there, but not opened or not read
};

// Opens path for reading when it is a regular file: looked at first, then
// opened without blocking (a FIFO or a device is never waited on) and its
// type taken from what was opened; with followLinks false a link is no
// regular file. The descriptor (blocking, closed on exec), or -1 with why
// (when given) Missing, NotAFile or Failed.
int openRegularFile(const QString& path, bool followLinks = true, Read* why = nullptr);

// Reads the file at path (openRegularFile) into bytes when it holds at most
// limit bytes. Anything but Whole leaves bytes empty.
Read readRegularFile(const QString& path, qint64 limit, QByteArray* bytes, bool followLinks = true);

// readRegularFile with the kind's bytes bound, then parse. False, error
// saying why, when the file is not read whole or is refused.
bool parseFile(QDomDocument& doc, const QString& path, Kind kind, QString* error = nullptr, int* line = nullptr,
               int* column = nullptr);

bool isStorable(const QString& text);
// The text without the characters that make it unstorable.
QString storable(const QString& text);
// Whether an element or attribute name can be written into a file that every
// reader takes, namespace-aware ones too: an XML name with at most one colon,
// none at either end, whose parts are names on their own, of the characters
// the older editions of XML 1.0 allow in names (Qt's stream reader holds to
// them). Qt's DOM parser takes ":", "a:", ":a", "a:b:c", "a:1" or a name with
// U+0718 (it reads without namespaces, by the current edition's ranges), but
// a namespace-aware or a strict reader refuses the file.
bool isWritableName(const QString& name);
// Every name, text, attribute, comment and instruction under node (node
// included) is storable.
bool isStorable(const QDomNode& node);
// Makes everything under node storable: drops those characters from texts,
// attribute values, comments and instructions, and removes elements and
// attributes whose names hold them or are not writable names. Then what a
// namespace-aware reader refuses goes too, so that the file reads the same
// with namespaces as without: elements and attributes whose prefix no
// declaration in scope binds ("p:x" alone, an element "xmlns:x"), unlawful
// declarations ('xmlns:p=""', "xml" bound to another namespace, "xmlns"
// declared, a reserved namespace taken by another prefix or the default),
// and the second of two attributes of one namespace and local name (two
// prefixes of one namespace). Returns the number of nodes changed.
int makeStorable(QDomNode node);

// Removes a link in path's place (not what it leads to), so that a
// QSaveFile of path, which writes beside a link's target and renames over
// it, puts a file there instead of replacing a device or a file anywhere.
// False when a link stays.
bool dropLink(const QString& path);

// Writes doc atomically: made storable (a warning names the file when that
// changed anything; a document whose root element has to go is not
// written), in UTF-8 with one declaration saying so (first; any
// other processing instruction is dropped), into a temporary file beside
// path, flushed to the disk, then renamed over path (a link there is
// replaced, not followed: dropLink). Temporaries that an interrupted save of path left
// are removed first. A document whose text is beyond a bound of kind (its
// reader would refuse the file) is not written. False, with path untouched
// and error (when given) saying why as parse does, when a step fails.
bool save(QDomDocument& doc, const QString& path, int indent, QDomNode::EncodingPolicy policy, Kind kind,
          QString* error = nullptr);

// Removes what an interrupted save() of path leaves: the regular files beside
// it named path's file name + "." + six ASCII letters (the temporary file's
// name while it is renamed into place). Callers serialise the saves and
// loads of one file, so none of these belongs to a save in progress. Returns
// the number removed.
int removeStaleTemporaries(const QString& path);

// Moves the file at path aside, beside it, as path + ".damaged", else the
// first free of path + ".1.damaged" .. ".<kDamagedCopies - 1>.damaged";
// when every one is taken, the oldest regular file of them gives way.
// Returns the new name, "" when the file stays.
QString moveAside(const QString& path);

} // namespace BaseXmlFile

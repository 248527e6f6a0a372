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

// What a file of the instrument can hold: its own files nest elements at most
// eight deep and stay far below a megabyte. Qt's DOM parser (and a
// document's destructor) recurse once per level, so a document from outside
// nested some ten thousand deep would overflow the stack.
constexpr int kMaxNesting = 32;
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// Parses bytes into doc as QDomDocument::setContent (without namespace
// processing) does, once a scan without recursion of the text the parser
// reads (the bytes decoded as it decodes them) has found no element nested
// deeper than kMaxNesting and no entity declared (an entity's markup is
// expanded where it is referred to). Every reader of the instrument's XML
// files parses through here. Such a document is refused as an unreadable one
// is: false, doc empty, error (when given) saying why.
bool parse(QDomDocument& doc, const QByteArray& bytes, QString* error = nullptr, int* line = nullptr,
           int* column = nullptr);
// Reads the open device to its end and parses that; a device holding more
// than kMaxFileSize is refused without being read.
bool parse(QDomDocument& doc, QIODevice* device, QString* error = nullptr, int* line = nullptr,
           int* column = nullptr);
// The deepest nesting of elements in bytes, counted up to limit + 1 (a scan
// that stops there). Markup that is not an element (comments, CDATA,
// instructions, the document type) does not count; NUL bytes are skipped,
// so UTF-16 text counts as its characters.
int nestingDepth(const QByteArray& bytes, int limit = kMaxNesting);

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

// Writes doc atomically: made storable (a warning names the file when that
// changed anything; a document whose root element has to go is not
// written), in UTF-8 with one declaration saying so (first; any
// other processing instruction is dropped), into a temporary file beside
// path, flushed to the disk, then renamed over path. Temporaries that an interrupted save of path left
// are removed first. False, with path untouched, when a step fails.
bool save(QDomDocument& doc, const QString& path, int indent, QDomNode::EncodingPolicy policy);

// Removes what an interrupted save() of path leaves: the regular files beside
// it named path's file name + "." + six ASCII letters (the temporary file's
// name while it is renamed into place). Callers serialise the saves and
// loads of one file, so none of these belongs to a save in progress. Returns
// the number removed.
int removeStaleTemporaries(const QString& path);

// Moves the file at path aside, beside it, as path + ".damaged", else the
// first free of path + ".1.damaged" .. ".<copies - 1>.damaged"; when every
// one is taken, the oldest regular file of them gives way. Returns the new
// name, "" when the file stays.
QString moveAside(const QString& path, int copies);

} // namespace BaseXmlFile

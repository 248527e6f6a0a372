#pragma once

#include "BaseXmlFile.h"

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QVariant>

// One pass over a key/value XML settings file: opened either for reading or
// for writing, used, then destroyed. Keys are child elements of the root
// element, optionally gathered into group elements one level deep:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <root>
//       <DITHER_TIME>0.15</DITHER_TIME>
//       <UA-L0>
//           <AMP_P0_FACTOR>1</AMP_P0_FACTOR>
//       </UA-L0>
//   </root>
//
// No lock and no thread affinity: callers serialise access to their files.
class BaseXmlHelper
{
public:
    BaseXmlHelper();
    // bRead true: parses fileName now, held to the bounds of kind (a
    // missing, unreadable or malformed file, or anything but a regular file,
    // reads as empty), after removing the temporaries an interrupted save of
    // it left (BaseXmlFile). false: starts a new document; the disk is
    // touched only by sync(), which writes no file beyond the bounds of kind.
    BaseXmlHelper(const QString& fileName, bool bRead, BaseXmlFile::Kind kind = BaseXmlFile::Kind::Settings);

    // Read mode: whether a document was read, and when not, why ("" for a
    // missing file).
    bool isDocument() const { return !root.isNull(); }
    QString readError() const { return error; }

    BaseXmlHelper(const BaseXmlHelper&) = delete;
    BaseXmlHelper& operator=(const BaseXmlHelper&) = delete;

    // Write mode: starts a new group element, attached to the root by
    // endGroup(). Read mode: makes the root's first child element named key
    // the current group; when there is none the current group stays.
    void beginGroup(const QString& key);
    // Write mode: attaches the group to the root; it stays current, so keys
    // set before the next beginGroup() still land in it. Read mode: the root
    // is current again.
    void endGroup();

    // Text of the current group's first child element named key, as a string
    // variant; defaultValue when there is none, its text is empty or it is
    // not storable (BaseXmlFile: unreadable, with a warning).
    QVariant value(const QString& key, const QVariant& defaultValue) const;
    // Appends an element key holding value.toString() to the current group
    // (always appends: a key set twice is stored twice).
    void setValue(const QString& key, const QVariant& value);

    // Writes the document to the file with BaseXmlFile::save (texts made
    // storable, a temporary file in the same folder flushed to disk, then
    // renamed over the old file). Returns false (leaving any old file
    // untouched) when any step fails or the object was opened for reading.
    // Callers still run "sync" afterwards.
    bool sync();

private:
    bool isRead = false;
    QString xmlFile;
    BaseXmlFile::Kind kind = BaseXmlFile::Kind::Settings;
    QDomDocument doc;     // built in write mode only
    QDomElement root;     // null when a read failed
    QDomElement parent;   // current group
    QDomDocument parsed;  // keeps the read document alive
    QString error;        // why a read found no document
};

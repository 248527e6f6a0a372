#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QMetaEnum>
#include <QObject>
#include <QString>

// Typed values to and from child elements of a DOM element: one element per
// value, named by its key, holding the value as text. Used by the parameter
// files, usually through map(), which writes (save true) or reads (save false)
// one field so that its key, type and default stand in one place.
//
// Text rules (reading anything else gives the default):
//   double, float      written as QString::number(v, 'g', 6) (a float is
//                      widened first; but see ExactNumbers); read as a
//                      decimal number with a point, exponent allowed
//   (u)int 16/32/64    decimal; read within the type's range
//   qint8, quint8      decimal; read as a 16-bit (un)signed integer, then cut
//                      to its low 8 bits ("300" reads as 44)
//   bool               "true"/"false"; read "TRUE"/"FALSE" in any case only
//   QString            as it is; an empty text reads as the default
//   enumeration        the enumerator's name from the QMetaEnum (empty when it
//                      has none); read by name, "A|B" accepted
// Parsing ignores the user's locale and surrounding white space. A text that
// is not storable (BaseXmlFile: a C0 control other than tab, LF and CR, U+FFFE,
// U+FFFF or a lone surrogate) reads as the default whatever the type.
//
// Null pointers and null elements read as missing and are never written to.
//
// A ReadCheck open on the thread collects what a read refused: map() notes a
// value that is there but does not read by its type's rule (the default is
// taken), and the callers note the values they refuse themselves.
class BaseXmlUtilities : public QObject
{
    Q_OBJECT
public:
    explicit BaseXmlUtilities(QObject* parent = nullptr);

    // A value a read refused: its key path, its text or number and, for a
    // value outside its limits, those limits.
    struct ReadNote
    {
        enum Kind {
            UNREADABLE,       // no value of the field's type (or no finite number)
            OUTSIDE_LIMITS,   // a value outside [low, high]
            REPEATED,         // an element a list holds once, there twice
        };
        Kind kind = UNREADABLE;
        QString key;
        QString value;
        double low = 0.0;
        double high = 0.0;
    };

    // Notes of the reads made while it is open on this thread. Checks nest:
    // notes go to the innermost open one. The first note is kept, with the
    // number of notes.
    class ReadCheck
    {
    public:
        ReadCheck();
        ~ReadCheck();
        ReadCheck(const ReadCheck&) = delete;
        ReadCheck& operator=(const ReadCheck&) = delete;

        // Into the innermost open check of this thread; nothing when none is open.
        static void note(const ReadNote& note);
        bool passed() const { return notes == 0; }
        int count() const { return notes; }
        const ReadNote& first() const { return firstNote; }

    private:
        ReadCheck* outer;
        ReadNote firstNote;
        int notes = 0;
    };

    // While one is alive on this thread, doubles and floats are written with
    // all their digits, so that they read back exactly (a model's values
    // kept aside in a document to be read back into it).
    class ExactNumbers
    {
    public:
        ExactNumbers();
        ~ExactNumbers();
        ExactNumbers(const ExactNumbers&) = delete;
        ExactNumbers& operator=(const ExactNumbers&) = delete;

    private:
        bool outer;
    };

    // A double as a write stores it and a read gives it back (six
    // significant digits, all under ExactNumbers); not finite: as it is.
    static double asStored(double value);

    // "a/b/key": the names from below the document's root element down to
    // parent, then key (key alone for a child of the root element).
    static QString keyPath(const QDomElement* parent, const QString& key);

    // The child elements this thread's reads have looked at: each one a
    // search by key passes (getElement, getValue, map) and each one a walk
    // along a list notes (visitChild). Tests hold a list's read linear by it.
    static quint64 visitedChildren();
    static void visitChild();

    // *elem := the first child element of parent named key; when there is
    // none and autocreate is true, a new element key appended to parent;
    // else the null element.
    static void getElement(QDomElement* elem, QDomElement* parent, QDomDocument* doc,
                           const QString& key, bool autocreate);
    // *elem := a new element key, always appended to parent (list items).
    static void newElement(QDomElement* elem, QDomElement* parent, QDomDocument* doc,
                           const QString& key);

    // The text content of elem by the type's read rule, or defaultValue.
    static double getValue(const QDomElement* elem, double defaultValue);
    static float getValue(const QDomElement* elem, float defaultValue);
    static qint32 getValue(const QDomElement* elem, qint32 defaultValue);
    static quint32 getValue(const QDomElement* elem, quint32 defaultValue);
    static qint16 getValue(const QDomElement* elem, qint16 defaultValue);
    static quint16 getValue(const QDomElement* elem, quint16 defaultValue);
    static qint8 getValue(const QDomElement* elem, qint8 defaultValue);
    static quint8 getValue(const QDomElement* elem, quint8 defaultValue);
    static qint64 getValue(const QDomElement* elem, qint64 defaultValue);
    static quint64 getValue(const QDomElement* elem, quint64 defaultValue);
    static bool getValue(const QDomElement* elem, bool defaultValue);
    static QString getValue(const QDomElement* elem, const QString& defaultValue);
    static int getValue(const QDomElement* elem, const QMetaEnum& meta, int defaultValue);

    // As above, on the first child element of parent named key.
    static double getValue(const QDomElement* parent, const QString& key, double defaultValue);
    static float getValue(const QDomElement* parent, const QString& key, float defaultValue);
    static qint32 getValue(const QDomElement* parent, const QString& key, qint32 defaultValue);
    static quint32 getValue(const QDomElement* parent, const QString& key, quint32 defaultValue);
    static qint16 getValue(const QDomElement* parent, const QString& key, qint16 defaultValue);
    static quint16 getValue(const QDomElement* parent, const QString& key, quint16 defaultValue);
    static qint8 getValue(const QDomElement* parent, const QString& key, qint8 defaultValue);
    static quint8 getValue(const QDomElement* parent, const QString& key, quint8 defaultValue);
    static qint64 getValue(const QDomElement* parent, const QString& key, qint64 defaultValue);
    static quint64 getValue(const QDomElement* parent, const QString& key, quint64 defaultValue);
    static bool getValue(const QDomElement* parent, const QString& key, bool defaultValue);
    static QString getValue(const QDomElement* parent, const QString& key, const QString& defaultValue);
    static int getValue(const QDomElement* parent, const QString& key, const QMetaEnum& meta,
                        int defaultValue);

    // Sets the text of elem (replacing its first text, never adding a
    // second; an element or comment before it goes, so that map() reads the
    // value); returns elem.
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, double value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, float value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, qint32 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, quint32 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, qint16 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, quint16 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, qint8 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, quint8 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, qint64 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, quint64 value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, bool value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, const QString& value);
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, const QMetaEnum& meta, int value);

    // As above, on the first child element of parent named key (created when
    // missing); returns parent.
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, double value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, float value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, qint32 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, quint32 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, qint16 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, quint16 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, qint8 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, quint8 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, qint64 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, quint64 value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key, bool value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key,
                                 const QString& value);
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key,
                                 const QMetaEnum& meta, int value);

    // save true: the keyed setValue with value. save false: value :=
    // defaultValue, then the text of the first child element key (its first
    // child node only, when that is a text) when it reads by the type's
    // rule; a text that does
    // not (an empty one too, but for QString) is noted as UNREADABLE in the
    // open ReadCheck. Returns value.
    static double& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                       double& value, double defaultValue);
    static float& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                      float& value, float defaultValue);
    static qint32& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                       qint32& value, qint32 defaultValue);
    static quint32& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                        quint32& value, quint32 defaultValue);
    static qint16& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                       qint16& value, qint16 defaultValue);
    static quint16& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                        quint16& value, quint16 defaultValue);
    static qint8& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                      qint8& value, qint8 defaultValue);
    static quint8& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                       quint8& value, quint8 defaultValue);
    static qint64& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                       qint64& value, qint64 defaultValue);
    static quint64& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                        quint64& value, quint64 defaultValue);
    static bool& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                     bool& value, bool defaultValue);
    static QString& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                        QString& value, const QString& defaultValue);
    static int& map(bool save, QDomElement* parent, QDomDocument* doc, const QString& key,
                    const QMetaEnum& meta, int& value, int defaultValue);

    // A string literal would otherwise silently pick the bool overloads.
    static QString getValue(const QDomElement* elem, const char* defaultValue) = delete;
    static QString getValue(const QDomElement* parent, const QString& key, const char* defaultValue) = delete;
    static QDomElement* setValue(QDomElement* elem, QDomDocument* doc, const char* value) = delete;
    static QDomElement* setValue(QDomElement* parent, QDomDocument* doc, const QString& key,
                                 const char* value) = delete;
};

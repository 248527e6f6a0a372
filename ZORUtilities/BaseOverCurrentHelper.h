#pragma once

#include "OperatingCurves.h"

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QStringList>

// The overcurrent relay's curve catalogue with the settings that select and
// scale one curve: pickup current, time dial, family and row. 111 rows of the
// standard form (row 0 definite time) and 15 of the IAC form, fixed at
// construction. A new catalogue selects standard row 1.
//
// Operate times follow OperatingCurves: NaN for no operation (below the
// pickup, no curve selected, a row outside the family), DBL_MAX for an
// unbounded time, 0 for a zero time dial or a negative formula value.
// GUI thread only.
class BaseOverCurrentHelper
{
public:
    static constexpr int CNT_IEC = 111;
    static constexpr int CNT_IAC = 15;

    BaseOverCurrentHelper();
    virtual ~BaseOverCurrentHelper() = default;

    void setIPickUp(double value) { iPickUp = value; }
    double getIPickUp() const { return iPickUp; }
    void setTdPickUp(double value) { tdPickUp = value; }
    double getTdPickUp() const { return tdPickUp; }
    void setActiveType(OperatingCurves::CharacterType type) { activeType = type; }
    OperatingCurves::CharacterType getActiveType() const { return activeType; }
    void setActiveIndex(int index) { activeIndex = index; }
    int getActiveIndex() const { return activeIndex; }

    // Trip time in s of the selected row at current I (A).
    double ComputerTime(double I);

    // Names of the selectable rows of the active family in row order: the
    // standard rows 1 to 110 (position p is row p + 1; the definite-time row
    // is not offered), the 15 IAC rows (position p is row p), none otherwise.
    QStringList getCharNames() const;
    // Name of the selected row; empty when nothing is selected.
    QString getSingleCharNames() const;

    // The four settings as child elements "iPickUp", "tdPickUp",
    // "activeIndex", "activeType" of element. Loading keeps a setting whose
    // child is missing or unreadable; a family value outside the list is kept
    // as read (it selects no curve). False, with nothing read or written,
    // for a null element (or a null document when saving).
    virtual bool serialize(bool save, QDomElement* element, QDomDocument* doc);

    double iPickUp = 1.0;
    double tdPickUp = 0.1;
    OverCurrentChar overCurrentCharIECs[CNT_IEC];
    OverCurrentCharIAC overCurrentCharIACs[CNT_IAC];
    OperatingCurves::CharacterType activeType = OperatingCurves::CHAR_STAND;
    int activeIndex = 1;

private:
    // The selected row, or null.
    OperatingCurves* activeCurve();
    const OperatingCurves* activeCurve() const;
};

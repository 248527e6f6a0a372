#pragma once

#include <QList>
#include <QString>

class QQuickItem;
class QQuickWindow;

// A visible text of a window that is not shown whole or not clearly apart.
struct TextMisfit
{
    QString where; // object names (or types) from the window's content down to the text
    QString text;
    QString why;
};

// Every visible text item of the window (Text, Label, the texts of controls,
// text inputs) that is elided, whose painted width exceeds its item's width,
// or that a clipping ancestor, the popup it lies in or the window's edge
// cuts; of a drop-down list every entry must fit the box that shows the
// chosen one. Texts wholly outside a clipping ancestor (another page of a
// swipe view, a scrolled-out row) are not shown and not checked.
//
// Call after the window has drawn a frame.
QList<TextMisfit> zorFindTextMisfits(QQuickWindow* window);

// The same for one item and what it holds (as far as its window shows it),
// and besides: within a row (texts and boxes whose heights overlap, in the
// same popup or outside any) each text stands apart, at least a few pixels
// from the next text or box (the indicator of a check box or radio button,
// the frame of an edit box) on either side; no part of it lies under a scroll
// bar that is shown or under an opaque rectangle drawn after it; it is drawn at 12 px or more; and it is not drawn far
// smaller (under 85 %) than another shown text of its kind: the same type in
// the same control, in the same font family (a text that shrank to fit).
QList<TextMisfit> zorFindTextMisfitsInRows(QQuickItem* root);

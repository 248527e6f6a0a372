#pragma once

#include <QList>
#include <QString>

class QQuickWindow;

// A visible text of a window that is not shown whole.
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
// swipe view, a scrolled-out row) are not shown and not checked. Call after
// the window has drawn a frame.
QList<TextMisfit> zorFindTextMisfits(QQuickWindow* window);

#include "TextFitCheck.h"

#include <QColor>
#include <QFontMetricsF>
#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>
#include <cmath>

namespace {

// Sub-pixel layout differences are not a cut.
constexpr qreal tolerance = 0.5;
// A text closer than this to the next text or box of its row runs into it.
constexpr qreal minimumGap = 4.0;
// A text drawn under this share of the size of another of its kind is far
// smaller than it (13 px beside 16 px is; 18 px beside 21 px is not).
constexpr qreal farSmaller = 0.85;
// No text is drawn smaller than this (pixels).
constexpr qreal smallestSize = 12.0;

struct Clip
{
    QRectF rect; // scene coordinates
    QString owner;
    const QQuickItem* layer = nullptr; // the popup the items lie in
};

// What the row checks compare: a text as drawn, a box, a scroll bar or an
// opaque rectangle, in the order they are drawn.
struct Shown
{
    enum Kind { Text, Box, ScrollBar, Opaque };
    Kind kind;
    const QQuickItem* item;
    QRectF rect; // scene coordinates, within the clip
    const QQuickItem* layer;
    QString family;   // texts: the font's family
    qreal size = 0;   // texts: the pixel size drawn
    QString textKind; // texts: the item's type and the control it belongs to
    QRectF face;      // texts: what must not be hidden, the control's face (a
                      // button's) or else the text as drawn; within the clip
};

// The type of an item: its class, or the QML type declared in a file
// ("ToolCheckBox_QMLTYPE_12" is a ToolCheckBox).
QString typeOf(const QQuickItem* item)
{
    const QString type = QString::fromLatin1(item->metaObject()->className());
    const int suffix = type.indexOf(QLatin1String("_QML"));
    return suffix > 0 ? type.left(suffix) : type;
}

// The kind of a text: its QML type (a FitLabel), or its class and the QML type
// it is part of (the text of a ToolTextButton).
QString kindOf(const QQuickItem* item)
{
    const QString type = typeOf(item);
    if (QString::fromLatin1(item->metaObject()->className()).contains(QLatin1String("_QML")))
        return type;
    for (const QQuickItem* i = item->parentItem(); i; i = i->parentItem()) {
        if (QString::fromLatin1(i->metaObject()->className()).contains(QLatin1String("_QML")))
            return type + QLatin1String(" in ") + typeOf(i);
    }
    return type;
}

QString nameOf(const QQuickItem* item)
{
    return item->objectName().isEmpty() ? typeOf(item) : item->objectName();
}

QString pathOf(const QQuickItem* item)
{
    QStringList parts;
    for (const QQuickItem* i = item; i && i->parentItem(); i = i->parentItem()) {
        if (!i->objectName().isEmpty() || i == item || parts.size() < 2)
            parts.prepend(nameOf(i));
    }
    return parts.join(QLatin1Char('/'));
}

qreal pixelSizeOf(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
}

// The pixel size a text is drawn in: below its font's when it shrank to fit
// its box (fontSizeMode), in proportion to the width it gave up (one line) or
// to the height of its lines (several); a whole number, as Qt shrinks.
qreal drawnSize(const QQuickItem* item, const QString& text, const QFont& font)
{
    const qreal nominal = pixelSizeOf(font);
    if (!item->inherits("QQuickText") || item->property("fontSizeMode").toInt() == 0)
        return nominal;
    const int lines = item->property("lineCount").toInt();
    if (lines > 1 || text.contains(QLatin1Char('\n'))) {
        const qreal lineHeight = QFontMetricsF(font).height();
        const qreal drawn = item->property("contentHeight").toReal() / std::max(lines, 1);
        return lineHeight > drawn + tolerance ? std::round(nominal * drawn / lineHeight) : nominal;
    }
    const qreal full = QFontMetricsF(font).horizontalAdvance(text);
    const qreal drawn = item->property("contentWidth").toReal();
    return full > drawn + tolerance && full > 0 ? std::round(nominal * drawn / full) : nominal;
}

void checkText(QQuickItem* item, const Clip& clip, QList<TextMisfit>* misfits, QList<Shown>* shown)
{
    const QString text = item->property("text").toString();
    if (text.trimmed().isEmpty())
        return;
    const qreal leftPadding = item->property("leftPadding").toReal();
    const qreal room = item->width() - leftPadding - item->property("rightPadding").toReal();
    const qreal contentWidth = item->property("contentWidth").toReal();
    // Where the text is drawn across: a text input scrolls its content inside
    // its box; a text is aligned in its box within the padding.
    qreal left = 0;
    qreal width = item->width();
    qreal top = 0;
    qreal height = item->height();
    const bool isText = item->inherits("QQuickText");
    if (isText) {
        const int alignment = item->property("effectiveHorizontalAlignment").toInt();
        left = leftPadding;
        if (alignment == Qt::AlignRight)
            left += room - contentWidth;
        else if (alignment == Qt::AlignHCenter)
            left += (room - contentWidth) / 2;
        width = contentWidth;
        // And down: the lines within the padding.
        const qreal topPadding = item->property("topPadding").toReal();
        const qreal roomDown = item->height() - topPadding - item->property("bottomPadding").toReal();
        const qreal contentHeight = std::min(item->property("contentHeight").toReal(), roomDown);
        const int vertical = item->property("verticalAlignment").toInt();
        top = topPadding;
        if (vertical == Qt::AlignBottom)
            top += roomDown - contentHeight;
        else if (vertical == Qt::AlignVCenter)
            top += (roomDown - contentHeight) / 2;
        height = contentHeight;
    }
    const QRectF painted = item->mapRectToScene(QRectF(left, top, width, height));
    // Wholly outside the clip: not on screen now.
    if (!painted.intersects(clip.rect))
        return;

    QString why;
    if (item->property("truncated").toBool())
        why = QStringLiteral("elided in a %1 px box").arg(room);
    else if (contentWidth > room + tolerance)
        why = QStringLiteral("%1 px of text in a %2 px box").arg(qRound(contentWidth)).arg(room);
    else if (painted.left() < clip.rect.left() - tolerance || painted.right() > clip.rect.right() + tolerance)
        why = QStringLiteral("cut by %1 (text %2..%3 px, shown %4..%5 px)")
                  .arg(clip.owner)
                  .arg(qRound(painted.left())).arg(qRound(painted.right()))
                  .arg(qRound(clip.rect.left())).arg(qRound(clip.rect.right()));
    if (!why.isEmpty())
        misfits->append({pathOf(item), text, why});

    // A text input's text lies in its box, which the row checks take instead.
    if (!isText)
        return;
    const QFont font = item->property("font").value<QFont>();
    // A control's text, or one that fills its parent (a button, a cell: within
    // a few pixels of its edges), stands for the control's face.
    const QQuickItem* control = item->parentItem();
    const QRectF box = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    const QRectF controlBox = control ? control->mapRectToScene(QRectF(0, 0, control->width(), control->height()))
                                      : QRectF();
    const bool fills = control && box.left() - controlBox.left() <= minimumGap
                       && controlBox.right() - box.right() <= minimumGap && box.top() - controlBox.top() <= minimumGap
                       && controlBox.bottom() - box.bottom() <= minimumGap;
    const QRectF face = control && (control->inherits("QQuickControl") || fills) ? controlBox : painted;
    shown->append({Shown::Text, item, painted.intersected(clip.rect), clip.layer, font.family(),
                   drawnSize(item, text, font), kindOf(item), face.intersected(clip.rect)});
}

// A drop-down list shows one entry at a time in its content text: every
// entry must fit there (at the smallest size of a text that shrinks).
void checkComboEntries(QQuickItem* combo, QList<TextMisfit>* misfits)
{
    auto* content = combo->property("contentItem").value<QQuickItem*>();
    if (!content || !content->inherits("QQuickText"))
        return;
    const qreal room = content->width() - content->property("leftPadding").toReal()
                       - content->property("rightPadding").toReal();
    QFont font = content->property("font").value<QFont>();
    // A text that shrinks to fit (fontSizeMode) may go down to its smallest size.
    if (content->property("fontSizeMode").toInt() != 0)
        font.setPixelSize(content->property("minimumPixelSize").toInt());
    const QFontMetricsF metrics(font);
    const int count = combo->property("count").toInt();
    for (int i = 0; i < count; ++i) {
        QString entry;
        QMetaObject::invokeMethod(combo, "textAt", Q_RETURN_ARG(QString, entry), Q_ARG(int, i));
        const qreal needed = std::ceil(metrics.horizontalAdvance(entry));
        if (needed > room + tolerance)
            misfits->append({pathOf(combo), entry,
                             QStringLiteral("entry %1: %2 px of text in %3 px").arg(i).arg(needed).arg(room)});
    }
}

void addBox(const QQuickItem* box, Shown::Kind kind, const Clip& clip, QList<Shown>* shown)
{
    if (!box || !box->isVisible() || box->opacity() <= 0.0 || box->width() <= 0 || box->height() <= 0)
        return;
    const QRectF rect = box->mapRectToScene(QRectF(0, 0, box->width(), box->height()));
    if (rect.intersects(clip.rect))
        shown->append({kind, box, rect.intersected(clip.rect), clip.layer, QString(), 0, QString(), QRectF()});
}

void visit(QQuickItem* item, const Clip& clip, QList<TextMisfit>* misfits, QList<Shown>* shown)
{
    if (!item->isVisible() || item->opacity() <= 0.0)
        return;
    if (item->inherits("QQuickText") || item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"))
        checkText(item, clip, misfits, shown);
    else if (item->inherits("QQuickComboBox"))
        checkComboEntries(item, misfits);
    // The boxes a text must keep apart from: the indicator of a check box or
    // radio button, the frame of an edit box (its text input's parent).
    if (item->inherits("QQuickCheckBox") || item->inherits("QQuickRadioButton") || item->inherits("QQuickSwitch"))
        addBox(item->property("indicator").value<QQuickItem*>(), Shown::Box, clip, shown);
    if (item->inherits("QQuickTextInput"))
        addBox(item->parentItem(), Shown::Box, clip, shown);
    // A filled rectangle hides what was drawn before it.
    if (item->inherits("QQuickRectangle") && item->property("color").value<QColor>().alpha() == 255)
        addBox(item, Shown::Opaque, clip, shown);
    // A scroll bar is shown while it is kept on or in use.
    if (item->inherits("QQuickScrollBar")
        && (item->property("policy").toInt() == 2 /* AlwaysOn */ || item->property("active").toBool()))
        addBox(item, Shown::ScrollBar, clip, shown);
    Clip inner = clip;
    // A dialog or panel bounds its texts as a clipping item does.
    if (item->clip() || item->inherits("QQuickPopupItem")) {
        inner.rect = clip.rect.intersected(item->mapRectToScene(item->clipRect()));
        inner.owner = pathOf(item);
    }
    if (item->inherits("QQuickPopupItem"))
        inner.layer = item;
    // Children are drawn in the order of their z, then as declared.
    QList<QQuickItem*> children = item->childItems();
    std::stable_sort(children.begin(), children.end(),
                     [](const QQuickItem* a, const QQuickItem* b) { return a->z() < b->z(); });
    for (QQuickItem* child : children)
        visit(child, inner, misfits, shown);
}

// Whether two things are in one row: their heights overlap by at least half
// the lower one.
bool sameRow(const QRectF& a, const QRectF& b)
{
    const qreal overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
    return overlap >= 0.5 * std::min(a.height(), b.height());
}

// The row checks: texts apart from the next text or box, none under a shown
// scroll bar or a rectangle drawn after it; and the size checks: none drawn under the smallest size, none
// drawn smaller than another text of its kind (the same type in the same
// control, in the same font family) shown with it in the same popup or
// outside any.
void checkRows(const QList<Shown>& shown, QList<TextMisfit>* misfits)
{
    const auto report = [misfits](const Shown& text, const QString& why) {
        misfits->append({pathOf(text.item), text.item->property("text").toString(), why});
    };
    for (int t = 0; t < shown.size(); ++t) {
        const Shown& text = shown.at(t);
        if (text.kind != Shown::Text)
            continue;
        for (int later = t + 1; later < shown.size(); ++later) {
            const Shown& cover = shown.at(later);
            const QRectF under = text.face.intersected(cover.rect);
            if (cover.kind == Shown::Opaque && cover.layer == text.layer && under.width() > tolerance
                && under.height() > tolerance) {
                report(text, QStringLiteral("%1 px of it under %2").arg(qRound(under.width())).arg(pathOf(cover.item)));
                break;
            }
        }
        if (text.size < smallestSize - tolerance)
            report(text, QStringLiteral("drawn at %1 px, under %2 px").arg(text.size).arg(smallestSize));
        const QPointF centre = text.rect.center();
        const Shown* left = nullptr;
        const Shown* right = nullptr;
        const Shown* largest = nullptr;
        for (const Shown& other : shown) {
            if (&other == &text || other.layer != text.layer || other.kind == Shown::Opaque)
                continue;
            if (other.kind == Shown::ScrollBar) {
                const QRectF under = text.rect.intersected(other.rect);
                if (under.width() > tolerance && under.height() > tolerance)
                    report(text, QStringLiteral("%1 px of it under the scroll bar %2")
                                     .arg(qRound(under.width())).arg(pathOf(other.item)));
                continue;
            }
            if (other.kind == Shown::Text && other.family == text.family && other.textKind == text.textKind
                && (!largest || other.size > largest->size))
                largest = &other;
            // A box the text lies in, or a text drawn over it, is no neighbour.
            if (other.rect.contains(centre) || text.rect.contains(other.rect.center())
                || !sameRow(text.rect, other.rect))
                continue;
            if (other.rect.center().x() > centre.x()) {
                if (!right || other.rect.left() < right->rect.left())
                    right = &other;
            } else if (!left || other.rect.right() > left->rect.right()) {
                left = &other;
            }
        }
        for (const Shown* next : {left, right}) {
            if (!next)
                continue;
            const qreal gap = next == right ? next->rect.left() - text.rect.right()
                                            : text.rect.left() - next->rect.right();
            if (gap < minimumGap - tolerance)
                report(text, QStringLiteral("%1 px from %2").arg(gap, 0, 'f', 1).arg(pathOf(next->item)));
        }
        if (largest && text.size < largest->size * farSmaller)
            report(text, QStringLiteral("drawn at %1 px where %2 is %3 px")
                             .arg(text.size).arg(pathOf(largest->item)).arg(largest->size));
    }
}

Clip screenOf(const QQuickWindow* window)
{
    return {QRectF(0, 0, window->width(), window->height()), QStringLiteral("the window's edge")};
}

} // namespace

QList<TextMisfit> zorFindTextMisfits(QQuickWindow* window)
{
    QList<TextMisfit> misfits;
    if (!window || !window->contentItem())
        return misfits;
    QList<Shown> shown;
    visit(window->contentItem(), screenOf(window), &misfits, &shown);
    return misfits;
}

QList<TextMisfit> zorFindTextMisfitsInRows(QQuickItem* root)
{
    QList<TextMisfit> misfits;
    if (!root || !root->window())
        return misfits;
    // What the item's ancestors let be seen of it.
    Clip clip = screenOf(root->window());
    for (const QQuickItem* i = root->parentItem(); i; i = i->parentItem()) {
        if (!i->isVisible())
            return misfits;
        if (i->clip() || i->inherits("QQuickPopupItem")) {
            clip.rect = clip.rect.intersected(i->mapRectToScene(i->clipRect()));
            if (clip.owner == QLatin1String("the window's edge"))
                clip.owner = pathOf(i);
        }
        if (i->inherits("QQuickPopupItem") && !clip.layer)
            clip.layer = i;
    }
    QList<Shown> shown;
    visit(root, clip, &misfits, &shown);
    checkRows(shown, &misfits);
    return misfits;
}

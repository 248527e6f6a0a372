#include "TextFitCheck.h"

#include <QFontMetricsF>
#include <QQuickItem>
#include <QQuickWindow>

#include <cmath>

namespace {

// Sub-pixel layout differences are not a cut.
constexpr qreal tolerance = 0.5;

struct Clip
{
    QRectF rect; // scene coordinates
    QString owner;
};

QString nameOf(const QQuickItem* item)
{
    if (!item->objectName().isEmpty())
        return item->objectName();
    QString type = QString::fromLatin1(item->metaObject()->className());
    // QML types derived in a file carry a suffix: "ToolCheckBox_QMLTYPE_12".
    const int suffix = type.indexOf(QLatin1String("_QML"));
    return suffix > 0 ? type.left(suffix) : type;
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

void checkText(QQuickItem* item, const Clip& clip, QList<TextMisfit>* misfits)
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
    if (item->inherits("QQuickText")) {
        const int alignment = item->property("effectiveHorizontalAlignment").toInt();
        left = leftPadding;
        if (alignment == Qt::AlignRight)
            left += room - contentWidth;
        else if (alignment == Qt::AlignHCenter)
            left += (room - contentWidth) / 2;
        width = contentWidth;
    }
    const QRectF painted = item->mapRectToScene(QRectF(left, 0, width, item->height()));
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

void visit(QQuickItem* item, const Clip& clip, QList<TextMisfit>* misfits)
{
    if (!item->isVisible() || item->opacity() <= 0.0)
        return;
    if (item->inherits("QQuickText") || item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"))
        checkText(item, clip, misfits);
    else if (item->inherits("QQuickComboBox"))
        checkComboEntries(item, misfits);
    Clip inner = clip;
    // A dialog or panel bounds its texts as a clipping item does.
    if (item->clip() || item->inherits("QQuickPopupItem")) {
        inner.rect = clip.rect.intersected(item->mapRectToScene(item->clipRect()));
        inner.owner = pathOf(item);
    }
    for (QQuickItem* child : item->childItems())
        visit(child, inner, misfits);
}

} // namespace

QList<TextMisfit> zorFindTextMisfits(QQuickWindow* window)
{
    QList<TextMisfit> misfits;
    if (!window || !window->contentItem())
        return misfits;
    const Clip screen{QRectF(0, 0, window->width(), window->height()), QStringLiteral("the window's edge")};
    visit(window->contentItem(), screen, &misfits);
    return misfits;
}

#include "TextFitCheck.h"

#include <QQuickItem>
#include <QQuickWindow>

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
    const bool input = !item->inherits("QQuickText");
    // A text input scrolls its content inside itself: its whole box is what shows.
    const QRectF painted = item->mapRectToScene(input ? QRectF(0, 0, item->width(), item->height())
                                                      : item->boundingRect());
    // Wholly outside the clip: not on screen now.
    if (!painted.intersects(clip.rect))
        return;

    const qreal contentWidth = item->property("contentWidth").toReal();
    QString why;
    if (item->property("truncated").toBool())
        why = QStringLiteral("elided in a %1 px box").arg(item->width());
    else if (contentWidth > item->width() + tolerance)
        why = QStringLiteral("%1 px of text in a %2 px box").arg(qRound(contentWidth)).arg(item->width());
    else if (painted.left() < clip.rect.left() - tolerance || painted.right() > clip.rect.right() + tolerance)
        why = QStringLiteral("cut by %1 (text %2..%3 px, shown %4..%5 px)")
                  .arg(clip.owner)
                  .arg(qRound(painted.left())).arg(qRound(painted.right()))
                  .arg(qRound(clip.rect.left())).arg(qRound(clip.rect.right()));
    if (!why.isEmpty())
        misfits->append({pathOf(item), text, why});
}

void visit(QQuickItem* item, const Clip& clip, QList<TextMisfit>* misfits)
{
    if (!item->isVisible() || item->opacity() <= 0.0)
        return;
    if (item->inherits("QQuickText") || item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"))
        checkText(item, clip, misfits);
    Clip inner = clip;
    if (item->clip()) {
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

// The text-fit check for Qt Quick tests, as the singleton TextFit of the
// module "ZOR.TextFit" 1.0 (registered at start-up by this object file):
//   TextFit.misfits(item)  the texts within item that are cut, do not
//                          stand apart in their rows or are drawn too small,
//                          one line each ("" none)

#include "TextFitCheck.h"

#include <QCoreApplication>
#include <QObject>
#include <QQmlEngine>
#include <QQuickItem>

namespace {

class TextFit : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE QStringList misfits(QQuickItem* item) const
    {
        QStringList lines;
        for (const TextMisfit& misfit : zorFindTextMisfitsInRows(item))
            lines.append(QStringLiteral("\"%1\" (%2): %3").arg(misfit.text, misfit.where, misfit.why));
        return lines;
    }
};

void registerTextFit()
{
    qmlRegisterSingletonType<TextFit>("ZOR.TextFit", 1, 0, "TextFit",
                                      [](QQmlEngine*, QJSEngine*) -> QObject* { return new TextFit; });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(registerTextFit)

#include "TextFitQml.moc"

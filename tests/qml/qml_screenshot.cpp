// Renders QML files of the interface into PNGs with the software scene
// graph, as the device draws it:
//
//   zor_qml_screenshot [--size WxH] [--language LANG] [--text-fit] <file.qml> <out.png>
//   zor_qml_screenshot [--size WxH] [--language LANG] [--text-fit] --out-dir DIR <file.qml>...
//
// A file's root item is shown in a window of the given size (else of the
// item's own size, 800 x 480 when it has none); a root that is a window
// itself (as Main.qml's) is shown as it declares itself unless a size is given.
// With --out-dir every file is drawn in turn into DIR/<file name>.png. With
// --language the translation ":/LANG.qm" (us_en, pt_pt, ...) is installed
// first, as start-up installs the configured one, and the files see its
// LANGUAGEType as galleryLanguageType. With --text-fit every
// visible text of each picture must fit its box (TextFitCheck.h). The
// program fails (exit status 1) when a file does not load, when QML reports
// a warning or error while loading or drawing, when a picture is a single
// colour (nothing drawn), and with --text-fit when a text does not fit.

#include "QmlTestEnvironment.h"
#include "TextFitCheck.h"

#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QTextStream>
#include <QTranslator>

#include <algorithm>
#include <memory>

namespace {

QStringList qmlProblems;
QtMessageHandler previousHandler = nullptr;

// Collects what the QML engine reports (messages that point into a QML file)
// and passes every message on.
void collectQmlProblems(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg
        && (message.contains(QLatin1String(".qml:")) || QString::fromLatin1(context.category) == QLatin1String("qml")))
        qmlProblems.append(message);
    if (previousHandler)
        previousHandler(type, context, message);
}

bool singleColour(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] != first)
                return false;
        }
    }
    return true;
}

bool waitForFrame(QQuickWindow* window)
{
    bool swapped = false;
    const auto connection = QObject::connect(window, &QQuickWindow::frameSwapped, window, [&swapped] { swapped = true; });
    window->update();
    QDeadlineTimer deadline(30000);
    while (!swapped && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QObject::disconnect(connection);
    return swapped;
}

struct Options
{
    QSize size{800, 480};
    bool sizeSet = false; // else an item's own size, a window's own size
    bool textFit = false;
};

// Draws one file into output; an empty string when all went well, else why not.
QString shoot(QQmlEngine* engine, const QUrl& source, const QString& output, const Options& options)
{
    qmlProblems.clear();
    // A view sized before the file is created, as the program's window is
    // when its content is built.
    auto view = std::make_unique<QQuickView>(engine, nullptr);
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    view->resize(options.size);
    QQmlComponent component(engine, source);
    if (component.isLoading())
        return QStringLiteral("%1 loads asynchronously").arg(source.toString());
    std::unique_ptr<QObject> root(component.beginCreate(engine->rootContext()));
    if (root)
        component.completeCreate();
    if (!root)
        return QStringLiteral("cannot load %1:\n%2").arg(source.toString(), component.errorString());

    // An item goes into the view (of its own size unless one is given); a
    // window shows itself.
    QQuickWindow* window = qobject_cast<QQuickWindow*>(root.get());
    if (!window) {
        const auto* item = qobject_cast<QQuickItem*>(root.get());
        if (!item)
            return QStringLiteral("the root of %1 is neither an item nor a window").arg(source.toString());
        const QSize own(qRound(item->width()), qRound(item->height()));
        view->setContent(source, &component, root.release());
        if (!options.sizeSet && !own.isEmpty())
            view->resize(own);
        window = view.get();
    } else {
        view.reset();
        if (options.sizeSet)
            window->resize(options.size);
    }
    window->show();
    if (!waitForFrame(window))
        return QStringLiteral("no frame was drawn");
    // Work the file queued for after loading (Qt.callLater: opening popups)
    // has run now; draw once more for the picture.
    QCoreApplication::processEvents();
    if (!waitForFrame(window))
        return QStringLiteral("no second frame was drawn");

    // The software renderer grabs through the platform's backing store, which
    // the offscreen platform does not offer; its screen holds the last frame.
    QImage image = window->grabWindow();
    if (image.isNull() && window->screen())
        image = window->screen()->grabWindow(window->winId()).toImage();
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull() || image.size() != window->size())
        return QStringLiteral("grabbed a %1 x %2 picture, not %3 x %4")
            .arg(image.width()).arg(image.height()).arg(window->width()).arg(window->height());
    if (singleColour(image))
        return QStringLiteral("the picture is a single colour");
    if (!qmlProblems.isEmpty())
        return QStringLiteral("QML reported problems:\n") + qmlProblems.join(QLatin1Char('\n'));
    if (!QDir().mkpath(QFileInfo(output).absolutePath()) || !image.save(output, "PNG"))
        return QStringLiteral("cannot write %1").arg(output);
    QTextStream(stdout) << "wrote " << output << '\n';

    if (options.textFit) {
        const QList<TextMisfit> misfits = zorFindTextMisfits(window);
        if (!misfits.isEmpty()) {
            QStringList lines;
            for (const TextMisfit& misfit : misfits)
                lines.append(QStringLiteral("  \"%1\" (%2): %3").arg(misfit.text, misfit.where, misfit.why));
            return QStringLiteral("%1 text(s) do not fit:\n%2").arg(misfits.size()).arg(lines.join(QLatin1Char('\n')));
        }
    }
    return QString();
}

int fail(const QString& why)
{
    QTextStream(stderr) << "zor_qml_screenshot: " << why << '\n';
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    zorUseSoftwareRendering();
    QGuiApplication app(argc, argv);
    previousHandler = qInstallMessageHandler(collectQmlProblems);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders QML files into PNGs."));
    parser.addHelpOption();
    QCommandLineOption sizeOption(QStringLiteral("size"),
                                  QStringLiteral("Window size WxH (else the root's own size, or 800x480)."),
                                  QStringLiteral("size"));
    parser.addOption(sizeOption);
    QCommandLineOption languageOption(QStringLiteral("language"),
                                      QStringLiteral("Translation to install (resource :/<language>.qm)."),
                                      QStringLiteral("language"));
    parser.addOption(languageOption);
    QCommandLineOption textFitOption(QStringLiteral("text-fit"),
                                     QStringLiteral("Fail when a visible text does not fit its box."));
    parser.addOption(textFitOption);
    QCommandLineOption outDirOption(QStringLiteral("out-dir"),
                                    QStringLiteral("Draw every QML file given into <dir>/<name>.png."),
                                    QStringLiteral("dir"));
    parser.addOption(outDirOption);
    parser.addPositionalArgument(QStringLiteral("qml"), QStringLiteral("The QML file (a path or a URL)."));
    parser.addPositionalArgument(QStringLiteral("png"), QStringLiteral("The picture to write (without --out-dir)."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();

    // Pairs of a source and its picture.
    QList<QPair<QUrl, QString>> shots;
    const auto url = [](const QString& file) {
        return QUrl::fromUserInput(file, QDir::currentPath(), QUrl::AssumeLocalFile);
    };
    if (parser.isSet(outDirOption)) {
        if (args.isEmpty())
            return fail(QStringLiteral("expected QML files"));
        const QDir dir(parser.value(outDirOption));
        for (const QString& file : args)
            shots.append({url(file), dir.absoluteFilePath(QFileInfo(file).completeBaseName() + QStringLiteral(".png"))});
    } else {
        if (args.size() != 2)
            return fail(QStringLiteral("expected a QML file and a PNG file"));
        shots.append({url(args.at(0)), QFileInfo(args.at(1)).absoluteFilePath()});
    }

    Options options;
    if (parser.isSet(sizeOption)) {
        const QStringList size = parser.value(sizeOption).split(QLatin1Char('x'));
        options.size = QSize(size.value(0).toInt(), size.value(1).toInt());
        options.sizeSet = true;
        if (size.size() != 2 || options.size.width() <= 0 || options.size.height() <= 0
            || options.size.width() > 8192 || options.size.height() > 8192)
            return fail(QStringLiteral("bad size %1").arg(parser.value(sizeOption)));
    }
    options.textFit = parser.isSet(textFitOption);

    QQmlEngine engine;
    zorPrepareQmlTestEngine(&engine);
    QTranslator translator;
    const QString language = parser.value(languageOption);
    if (!language.isEmpty()) {
        const QString file = QStringLiteral(":/%1.qm").arg(language);
        if (!translator.load(file))
            return fail(QStringLiteral("cannot load the translation %1").arg(file));
        QCoreApplication::installTranslator(&translator);
    }
    // The files' stand-in view models report the language drawn in (the
    // view model's LANGUAGEType: the catalogues in this order), as the pages
    // adapt some font sizes to it.
    const QStringList catalogues{QStringLiteral("zh_cn"), QStringLiteral("us_en"), QStringLiteral("pt_pt"),
                                 QStringLiteral("ru_ru"), QStringLiteral("ja_jp")};
    engine.rootContext()->setContextProperty(QStringLiteral("galleryLanguageType"),
                                             std::max(0, int(catalogues.indexOf(language))));

    int failures = 0;
    for (const auto& shot : shots) {
        const QString problem = shoot(&engine, shot.first, shot.second, options);
        if (!problem.isEmpty()) {
            fail(QStringLiteral("%1: %2").arg(shot.first.fileName(), problem));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

// Renders one QML file of the interface into a PNG with the software scene
// graph, as the device draws it:
//
//   zor_qml_screenshot [--size WxH] [--language LANG] <file.qml> <out.png>
//
// The file's root item is sized to the window (800 x 480 by default). With
// --language the translation ":/LANG.qm" (us_en, pt_pt, ...) is installed
// first, as start-up installs the configured one. The
// program fails (exit status 1) when the file does not load, when QML reports
// a warning or error while loading or drawing, and when the picture is a
// single colour (nothing drawn).

#include "QmlTestEnvironment.h"

#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QQmlEngine>
#include <QQuickView>
#include <QScreen>
#include <QPixmap>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

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
    parser.setApplicationDescription(QStringLiteral("Renders a QML file into a PNG."));
    parser.addHelpOption();
    QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Window size WxH."), QStringLiteral("size"),
                                  QStringLiteral("800x480"));
    parser.addOption(sizeOption);
    QCommandLineOption languageOption(QStringLiteral("language"),
                                      QStringLiteral("Translation to install (resource :/<language>.qm)."),
                                      QStringLiteral("language"));
    parser.addOption(languageOption);
    parser.addPositionalArgument(QStringLiteral("qml"), QStringLiteral("The QML file (a path or a URL)."));
    parser.addPositionalArgument(QStringLiteral("png"), QStringLiteral("The picture to write."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return fail(QStringLiteral("expected a QML file and a PNG file"));

    const QStringList size = parser.value(sizeOption).split(QLatin1Char('x'));
    const int width = size.value(0).toInt();
    const int height = size.value(1).toInt();
    if (size.size() != 2 || width <= 0 || height <= 0 || width > 8192 || height > 8192)
        return fail(QStringLiteral("bad size %1").arg(parser.value(sizeOption)));

    const QUrl source = QUrl::fromUserInput(args.at(0), QDir::currentPath(), QUrl::AssumeLocalFile);
    const QString output = QFileInfo(args.at(1)).absoluteFilePath();

    QQmlEngine engine;
    zorPrepareQmlTestEngine(&engine);
    QTranslator translator;
    if (parser.isSet(languageOption)) {
        const QString file = QStringLiteral(":/%1.qm").arg(parser.value(languageOption));
        if (!translator.load(file))
            return fail(QStringLiteral("cannot load the translation %1").arg(file));
        QCoreApplication::installTranslator(&translator);
    }
    QQuickView view(&engine, nullptr);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(width, height);
    view.setSource(source);
    if (view.status() != QQuickView::Ready || !view.rootObject()) {
        QStringList errors;
        for (const QQmlError& error : view.errors())
            errors.append(error.toString());
        return fail(QStringLiteral("cannot load %1:\n%2").arg(source.toString(), errors.join(QLatin1Char('\n'))));
    }

    bool swapped = false;
    QObject::connect(&view, &QQuickWindow::frameSwapped, &view, [&swapped] { swapped = true; });
    const auto waitForFrame = [&swapped] {
        QDeadlineTimer deadline(30000);
        while (!swapped && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return swapped;
    };
    view.show();
    if (!waitForFrame())
        return fail(QStringLiteral("no frame was drawn"));
    // Work the file queued for after loading (Qt.callLater: opening popups)
    // has run now; draw once more for the picture.
    QCoreApplication::processEvents();
    swapped = false;
    view.update();
    if (!waitForFrame())
        return fail(QStringLiteral("no second frame was drawn"));

    // The software renderer grabs through the platform's backing store, which
    // the offscreen platform does not offer; its screen holds the last frame.
    QImage image = view.grabWindow();
    if (image.isNull() && view.screen())
        image = view.screen()->grabWindow(view.winId()).toImage();
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull() || image.width() != width || image.height() != height)
        return fail(QStringLiteral("grabbed a %1 x %2 picture, not %3 x %4")
                        .arg(image.width()).arg(image.height()).arg(width).arg(height));
    if (singleColour(image))
        return fail(QStringLiteral("the picture is a single colour"));
    if (!qmlProblems.isEmpty())
        return fail(QStringLiteral("QML reported problems:\n") + qmlProblems.join(QLatin1Char('\n')));

    if (!QDir().mkpath(QFileInfo(output).absolutePath()) || !image.save(output, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(output));
    QTextStream(stdout) << "wrote " << output << '\n';
    return 0;
}

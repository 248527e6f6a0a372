// The overcurrent page's chart as the screen shows it, in Chinese and in
// English (pictures in <build>/screenshots/overcurrent_chart_<language>.png):
// the values and captions of both rulers stand out from the page's black in
// the axis colour, none cut at the chart's left edge; the report image keeps
// its rulers black on white.

#include "QmlTestEnvironment.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QTranslator>

namespace {

template <typename Ink>
int inked(const QImage& image, const QRect& area, Ink ink)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += ink(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// "#9b9b9b", or most of it, over black.
bool axisGrey(QRgb p)
{
    return qAbs(qRed(p) - qGreen(p)) < 12 && qAbs(qGreen(p) - qBlue(p)) < 12 && qGreen(p) >= 0x70;
}

// The next frame of the software renderer, taken from the offscreen screen
// (which offers no backing store to grab).
QImage nextFrame(QQuickWindow& window)
{
    bool swapped = false;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&swapped] { swapped = true; });
    window.update();
    QDeadlineTimer deadline(30000);
    while (!swapped && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(OvercurrentChartOnScreen, RulersShowInTheAxisColourInEachLanguage)
{
    for (const QString language : {"zh_cn", "us_en"}) {
        SCOPED_TRACE(qPrintable(language));
        QTranslator translator;
        ASSERT_TRUE(translator.load(":/" + language + ".qm"));
        QCoreApplication::installTranslator(&translator);
        QQmlEngine engine;
        zorPrepareQmlTestEngine(&engine);
        QQuickView view(&engine, nullptr);
        view.setSource(QUrl::fromLocalFile(ZOR_QML_TEST_DIR "/OvercurrentChartScene.qml"));
        ASSERT_EQ(view.status(), QQuickView::Ready);
        view.show();
        nextFrame(view);
        QQuickItem* page = view.rootObject()->findChild<QQuickItem*>("page");
        QQuickItem* chart = view.rootObject()->findChild<QQuickItem*>("chart");
        // Every paint consumes the chart's feed: fed for the frame taken.
        QMetaObject::invokeMethod(page, "updateCurveView");
        const QImage screen = nextFrame(view);
        QDir().mkpath(ZOR_SCREENSHOT_DIR);
        screen.save(ZOR_SCREENSHOT_DIR "/overcurrent_chart_" + language + ".png");

        // The view rectangle (2, 4, w - 10, h - 4): a 60 px Y ruler left of the
        // plot, a 20 px X ruler below it; "Time(s)" in the plot's top left
        // corner, "I(A)" in its bottom right one.
        const QRect c = chart->mapRectToScene(QRectF(0, 0, chart->width(), chart->height())).toRect();
        EXPECT_GT(inked(screen, QRect(c.left() + 2, c.top() + 5, 60, c.height() - 27), axisGrey), 100);
        EXPECT_GT(inked(screen, QRect(c.left() + 63, c.bottom() - 19, c.width() - 72, 20), axisGrey), 100);
        EXPECT_GT(inked(screen, QRect(c.left() + 64, c.top() + 6, 60, 20), axisGrey), 20) << "Time(s)";
        EXPECT_GT(inked(screen, QRect(c.right() - 59, c.bottom() - 43, 50, 20), axisGrey), 20) << "I(A)";
        EXPECT_EQ(inked(screen, QRect(c.left(), c.top() + 5, 2, c.height() - 27), axisGrey), 0) << "value cut";

        QMetaObject::invokeMethod(page, "feedChart", Q_ARG(QVariant, 1));
        QString report;
        QMetaObject::invokeMethod(chart, "drawImage", Q_RETURN_ARG(QString, report));
        const QImage image = QImage::fromData(QByteArray::fromBase64(report.toLatin1()), "PNG");
        EXPECT_GT(inked(image, QRect(2, 5, 60, image.height() - 27), [](QRgb p) { return qGray(p) < 64; }), 100);
        QCoreApplication::removeTranslator(&translator);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorUseSoftwareRendering();
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

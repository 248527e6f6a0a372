// The overcurrent page's time-current chart as the screen shows it and as the
// report draws it, in Chinese and in English, over ranges whose labels crowd
// (pictures in <build>/screenshots/overcurrent_chart_<language>_<case>.png
// and overcurrent_report_<language>_<case>.png). The boxes of the texts the
// chart drew (BasePaintCoordinate::drawnTexts) are checked against each
// other, the plot and the picture's edge, and against the ink of the picture.

#include "BasePaintCoordinate.h"
#include "ControllerCenter.h"
#include "QmlTestEnvironment.h"
#include "ViewOvercurrentCurvePainter.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QTranslator>

#include <cmath>
#include <functional>
#include <memory>

namespace {

using Text = BasePaintRuler::RulerText;

template <typename Ink>
int inked(const QImage& image, const QRect& area, Ink ink)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.valid(x, y) && ink(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// "#9b9b9b", or most of it, over black.
bool axisGrey(QRgb p)
{
    return qAbs(qRed(p) - qGreen(p)) < 12 && qAbs(qGreen(p) - qBlue(p)) < 12 && qGreen(p) >= 0x70;
}

bool dark(QRgb p) { return qGray(p) < 64; }

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

struct Case
{
    const char* name;
    int function; // 0 definite time, 1 inverse time
    double pickUp, dial;
    int charIndex;       // list position of the standard curve
    double maxIRange;    // the X axis ends 1 A above it
    QVariantList currents;
};

// The chart on the page in one language; show() opens it on a case.
class ChartPage
{
public:
    explicit ChartPage(const QString& language)
    {
        EXPECT_TRUE(translator.load(":/" + language + ".qm"));
        QCoreApplication::installTranslator(&translator);
        zorPrepareQmlTestEngine(&engine);
        view = std::make_unique<QQuickView>(&engine, nullptr);
        view->setSource(QUrl::fromLocalFile(ZOR_QML_TEST_DIR "/OvercurrentChartScene.qml"));
        EXPECT_EQ(view->status(), QQuickView::Ready);
        view->show();
        nextFrame(*view);
        page = view->rootObject()->findChild<QQuickItem*>("page");
        chart = view->rootObject()->findChild<ViewOvercurrentCurvePainter*>("chart");
    }
    ~ChartPage()
    {
        view.reset();
        QCoreApplication::removeTranslator(&translator);
        ControllerCenter::getInstance()->testConfiguration->maxIRange = savedRange;
    }

    // The screen with the chart of the case, fed for the frame taken (every
    // paint consumes the feed).
    QImage show(const Case& c)
    {
        ControllerCenter::getInstance()->testConfiguration->maxIRange = c.maxIRange;
        QMetaObject::invokeMethod(view->rootObject(), "show", Q_ARG(QVariant, c.function), Q_ARG(QVariant, c.pickUp),
                                  Q_ARG(QVariant, c.dial), Q_ARG(QVariant, c.charIndex), Q_ARG(QVariant, c.currents));
        QMetaObject::invokeMethod(page, "updateCurveView");
        return nextFrame(*view);
    }

    // The report's image of the case's function.
    QImage report(const Case& c)
    {
        QMetaObject::invokeMethod(page, "feedChart", Q_ARG(QVariant, c.function));
        QString image;
        QMetaObject::invokeMethod(chart, "drawImage", Q_RETURN_ARG(QString, image));
        return QImage::fromData(QByteArray::fromBase64(image.toLatin1()), "PNG").convertToFormat(QImage::Format_ARGB32);
    }

    QRect chartOnScreen() const { return chart->mapRectToScene(QRectF(0, 0, chart->width(), chart->height())).toRect(); }

    QTranslator translator;
    QQmlEngine engine;
    std::unique_ptr<QQuickView> view;
    QQuickItem* page = nullptr;
    ViewOvercurrentCurvePainter* chart = nullptr;
    const double savedRange = ControllerCenter::getInstance()->testConfiguration->maxIRange;
};

// The texts the chart drew last into a picture of size `size`, shown at
// `origin`: whole inside the picture, none within a pixel of another,
// outside the plot, each with ink in the picture; every whole power of ten
// on either axis labelled.
void expectReadable(const ViewOvercurrentCurvePainter& chart, const QImage& picture, QPoint origin,
                    const std::function<bool(QRgb)>& ink)
{
    const BasePaintCoordinate& c = chart.getPaintCoordinate();
    const QVector<Text>& texts = c.drawnTexts;
    const QRectF plot = c.rulerX.viewDataRect;
    const QRectF whole(0, 0, int(chart.width()), int(chart.height()));
    ASSERT_FALSE(texts.isEmpty());
    for (int i = 0; i < texts.size(); ++i) {
        const Text& t = texts[i];
        EXPECT_TRUE(whole.contains(t.rect)) << "cut: " << qPrintable(t.text);
        EXPECT_FALSE(plot.adjusted(-1, -1, 1, 1).intersects(t.rect)) << "over the plot: " << qPrintable(t.text);
        EXPECT_GT(inked(picture, t.rect.translated(origin).toAlignedRect(), ink), 3) << "no ink: " << qPrintable(t.text);
        for (int j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(t.rect.adjusted(-1, -1, 1, 1).intersects(texts[j].rect))
                << qPrintable(t.text) << " touches " << qPrintable(texts[j].text);
    }
    for (const BasePaintRuler* ruler : {&c.rulerX, &c.rulerY}) {
        const DataPaintLimitor& range = *ruler->dataLimitor;
        for (double e = std::ceil(std::log10(range.dataMin) - 1e-9); e <= std::log10(range.dataMax) + 1e-9; ++e) {
            const QString label = ruler->getScaleText(std::pow(10.0, e));
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const Text& t) { return t.text == label; }))
                << "no label " << qPrintable(label);
        }
    }
}

TEST(OvercurrentChart, TextsStayWholeApartAndOutsideThePlot)
{
    const Case cases[] = {
        // IEC normal inverse 1 A, dial 1: 0.8 and 0.9 A crowd, the time axis spans four decades.
        {"inverse_1A", 1, 1, 1, 0, 10, {2, 5, 10}},
        // Dial 0.3: the time axis reaches below 1 s.
        {"inverse_dial_0.3", 1, 1, 0.3, 0, 10, {2, 5, 10}},
        // IEC extremely inverse 0.1 A on a 40 A range: five current decades.
        {"inverse_0.1A", 1, 0.1, 0.05, 2, 40, {0.5, 20}},
        // Definite time 2 A, 0.5 s: one decade of time, every multiple labelled.
        {"definite_2A", 0, 2, 0.5, 0, 10, {3, 8}},
    };
    for (const QString language : {"zh_cn", "us_en"}) {
        ChartPage page(language);
        ASSERT_TRUE(page.chart);
        QDir().mkpath(ZOR_SCREENSHOT_DIR);
        for (const Case& c : cases) {
            SCOPED_TRACE(qPrintable(language + " " + c.name));
            const QImage screen = page.show(c);
            screen.save(QStringLiteral(ZOR_SCREENSHOT_DIR "/overcurrent_chart_%1_%2.png").arg(language, c.name));
            expectReadable(*page.chart, screen, page.chartOnScreen().topLeft(), axisGrey);

            const QImage report = page.report(c);
            report.save(QStringLiteral(ZOR_SCREENSHOT_DIR "/overcurrent_report_%1_%2.png").arg(language, c.name));
            EXPECT_EQ(report.size(), QSize(732, 308));
            expectReadable(*page.chart, report, QPoint(), dark);
            // The characteristic and its band (in the page's blue) stay off the rulers.
            const QRect plot = page.chart->getPaintCoordinate().rulerX.viewDataRect.toAlignedRect().adjusted(-2, -2, 2, 2);
            const auto blueOutside = [&](QRgb p) { return qBlue(p) > qRed(p) + 60; };
            EXPECT_EQ(inked(report, report.rect(), blueOutside) - inked(report, plot, blueOutside), 0);
        }
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

// The overcurrent page's time-current chart as the screen shows it and as the
// report draws it, in every language, over ranges whose labels crowd
// (pictures in <build>/screenshots/overcurrent_chart_<language>_<case>.png
// and overcurrent_report_<language>_<case>.png). The boxes of the texts the
// chart drew (BasePaintCoordinate::drawnTexts) are checked against each
// other, the plot and the picture's edge, and against the ink of the picture.

#include "BasePaintCoordinate.h"
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

#include <algorithm>
#include <cmath>

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

// The texts the chart drew last into `picture` (shown there at `origin`):
// whole inside the chart, none within a pixel of another or of the plot,
// each with ink; each decade of either range labelled.
void expectReadable(const ViewOvercurrentCurvePainter& chart, const QImage& picture, QPoint origin,
                    bool (*ink)(QRgb))
{
    const BasePaintCoordinate& c = chart.getPaintCoordinate();
    const QVector<Text>& texts = c.drawnTexts;
    const QRectF plot = c.rulerX.viewDataRect.adjusted(-1, -1, 1, 1);
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF& r = texts[i].rect;
        const std::string text = texts[i].text.toStdString();
        EXPECT_TRUE(QRectF(0, 0, int(chart.width()), int(chart.height())).contains(r)) << "cut: " << text;
        EXPECT_FALSE(plot.intersects(r)) << "over the plot: " << text;
        EXPECT_GT(inked(picture, r.translated(origin).toAlignedRect(), ink), 3) << "no ink: " << text;
        for (int j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(r.adjusted(-1, -1, 1, 1).intersects(texts[j].rect)) << text << " touches " << qPrintable(texts[j].text);
    }
    // Every decade either range reaches into, the end ones too, has a label;
    // a power of ten in range its own. A decade whose power lies outside goes
    // without only where neither two nor five times the power lies in the
    // range, or where that label would crowd one kept beside it.
    const QRectF area = c.rulerX.viewDataRect;
    for (const BasePaintRuler* ruler : {&c.rulerX, &c.rulerY}) {
        const bool alongX = ruler->rulerType == BasePaintRuler::RULER_TYPE_X;
        struct Label { double value, at, extent; }; // `at` pixels along the axis, `extent` the room taken along it
        QVector<Label> labels;
        for (const Text& t : texts)
            if (t.ruler == ruler->rulerType && !t.caption)
                labels.append({t.text.toDouble(), alongX ? t.rect.center().x() - area.left() : area.bottom() - t.rect.center().y(),
                               alongX ? t.rect.width() : t.rect.height()});
        const DataPaintLimitor& range = *ruler->dataLimitor;
        const auto inRange = [&](double v) { return v > range.dataMin * (1 - 1e-9) && v < range.dataMax * (1 + 1e-9); };
        const auto labelled = [&](double from, double below) {
            return std::any_of(labels.begin(), labels.end(), [&](const Label& l) { return l.value > from * (1 - 1e-6) && l.value < below; });
        };
        for (double e = std::floor(std::log10(range.dataMin) + 1e-9); e <= std::log10(range.dataMax) + 1e-9; ++e) {
            const double power = std::pow(10.0, e);
            const std::string decade = QString::number(power).toStdString();
            if (inRange(power)) {
                EXPECT_TRUE(labelled(power, power * (1 + 1e-6))) << "no label " << decade;
            } else if (!labelled(power, 10 * power)) {
                const double first = inRange(2 * power) ? 2 * power : 5 * power;
                const double at = range.getViewPointFromDataValue(ruler->getAxisLength(), first);
                EXPECT_TRUE(!inRange(first) || std::any_of(labels.begin(), labels.end(), [&](const Label& l) {
                    return std::fabs(l.at - at) < l.extent + 4;
                })) << "no label from " << decade << " up";
            }
        }
    }
}

TEST(OvercurrentChart, TextsStayWholeApartAndOutsideThePlot)
{
    // Function (0 definite, 1 IEC normal inverse), pickup A, dial, test currents.
    struct Case { const char* name; int function; double pickUp, dial; QVariantList currents; };
    const Case cases[] = {
        {"inverse_1A", 1, 1, 1, {2, 5, 10}},          // 0.8 and 0.9 A crowd; four decades of time
        {"inverse_dial_0.3", 1, 1, 0.3, {2, 5, 10}},  // time down below 1 s
        {"inverse_0.1A", 1, 0.1, 0.05, {0.5, 8}},     // three decades of current, six of time
        {"definite_2A", 0, 2, 0.5, {3, 8}},           // one decade of time, its multiples labelled
    };
    // The axes' captions in each language, on the screen and in the report.
    const struct { QString language, captions; } languages[] = {
        {"zh_cn", "电流(A)|时间(s)"}, {"us_en", "I(A)|Time(s)"}, {"pt_pt", "Corrente(A)|Tempo(s)"},
        {"ru_ru", "Ток(А)|Время(с)"}, {"ja_jp", "電流(A)|時間(s)"},
    };
    QDir().mkpath(ZOR_SCREENSHOT_DIR);
    for (const auto& l : languages) {
        const QString& language = l.language;
        const auto captions = [&l](const ViewOvercurrentCurvePainter& chart) {
            QStringList texts;   // X's, then Y's
            for (const Text& t : chart.getPaintCoordinate().drawnTexts)
                if (t.caption)
                    texts.insert(t.ruler == BasePaintRuler::RULER_TYPE_X ? 0 : texts.size(), t.text);
            EXPECT_EQ(texts.join('|').toStdString(), l.captions.toStdString());
        };
        QTranslator translator;
        ASSERT_TRUE(translator.load(":/" + language + ".qm"));
        QCoreApplication::installTranslator(&translator);
        QQmlEngine engine;
        zorPrepareQmlTestEngine(&engine);
        QQuickView view(&engine, nullptr);
        view.setSource(QUrl::fromLocalFile(ZOR_QML_TEST_DIR "/OvercurrentChartScene.qml"));
        ASSERT_EQ(view.status(), QQuickView::Ready);
        view.show();
        QQuickItem* page = view.rootObject()->findChild<QQuickItem*>("page");
        auto* chart = view.rootObject()->findChild<ViewOvercurrentCurvePainter*>("chart");
        ASSERT_TRUE(page && chart);
        for (const Case& c : cases) {
            SCOPED_TRACE(qPrintable(language + " " + c.name));
            // Every paint consumes the chart's feed: fed for the frame taken.
            QMetaObject::invokeMethod(view.rootObject(), "show", Q_ARG(QVariant, c.function),
                                      Q_ARG(QVariant, c.pickUp), Q_ARG(QVariant, c.dial), Q_ARG(QVariant, c.currents));
            QMetaObject::invokeMethod(page, "updateCurveView");
            const QImage screen = nextFrame(view);
            screen.save(QStringLiteral(ZOR_SCREENSHOT_DIR "/overcurrent_chart_%1_%2.png").arg(language, c.name));
            expectReadable(*chart, screen, chart->mapToScene(QPointF()).toPoint(), axisGrey);
            captions(*chart);

            QMetaObject::invokeMethod(page, "feedChart", Q_ARG(QVariant, c.function));
            QString png;
            QMetaObject::invokeMethod(chart, "drawImage", Q_RETURN_ARG(QString, png));
            const QImage report = QImage::fromData(QByteArray::fromBase64(png.toLatin1()), "PNG").convertToFormat(QImage::Format_ARGB32);
            report.save(QStringLiteral(ZOR_SCREENSHOT_DIR "/overcurrent_report_%1_%2.png").arg(language, c.name));
            EXPECT_EQ(report.size(), QSize(732, 308));
            expectReadable(*chart, report, QPoint(), [](QRgb p) { return qGray(p) < 64; });
            captions(*chart);
            // The characteristic and its band (in the page's blue) stay off the rulers.
            const QRect plot = chart->getPaintCoordinate().rulerX.viewDataRect.toAlignedRect().adjusted(-2, -2, 2, 2);
            const auto blue = [](QRgb p) { return qBlue(p) > qRed(p) + 60; };
            EXPECT_EQ(inked(report, report.rect(), blue), inked(report, plot, blue));
        }
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

#pragma once

// View-model tests: a module model like the AC page's, the fixture of the
// tests that need no instrument, and the checks every written report passes.
//
// The engine is a process-wide singleton: a ViewBaseModel always reaches it.
// Tests without an instrument only use what needs no driver (configuration
// members, the runtime store's slots, the facade's signals). Tests with the
// instrument use EngineFixture.h and run one per process under ctest.

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ModelAlternateEntity.h"
#include "TestSandbox.h"
#include "ViewBaseModel.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <chrono>
#include <functional>
#include <thread>

namespace vmtest {

constexpr int kDeadlineMs = 60000;

// Waits for cond while the main thread's events run; false on the deadline.
inline bool waitUntil(const std::function<bool()>& cond, int timeoutMs = kDeadlineMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

inline QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// A module model as a module page's would be: it selects its module and
// copies its settings into the engine's entity (here the AC one, whatever
// module it names, so tests can select other modules with the same model).
class ModuleTestModel : public ViewBaseModel
{
public:
    explicit ModuleTestModel(TESTType type = TEST_ALTERNATE)
        : module(type)
    {
        for (int p = 0; p < 8; ++p) {
            ranges[p] = p < 3 ? 57.735 : 0.0;
            angles[p] = (p % 4 == 1) ? 240.0 : (p % 4 == 2 ? 120.0 : 0.0);
        }
    }

    using ViewBaseModel::bLoadParameter;
    using ViewBaseModel::dataVersion;
    using ViewBaseModel::normalOutput;
    using ViewBaseModel::intervalOutput;
    using ViewBaseModel::testingALARM;
    using ViewBaseModel::testingPowerT;
    using ViewBaseModel::testingSTATE;
    using ViewBaseModel::testingBatteryPercent;

    void doTestActive() override
    {
        hooks << QStringLiteral("doTestActive");
        center()->testActive(module);
        ViewBaseModel::doTestActive();
    }

    void doUpdateVMToEnt(DATAType type, int subType) override
    {
        hooks << QStringLiteral("doUpdateVMToEnt(%1)").arg(int(type));
        ModelAlternateEntity* e = center()->testTestor->dataAlternate;
        QMutexLocker lock(&e->entityLock);
        if (type == DATA_TYPE_RT_BO) {
            for (int i = 0; i < 4; ++i)
                e->outputBOStates[i] = getBOState(i) ? 1 : 0;
        } else if (type == DATA_TYPE_TEST_OUTPUTDATA || type == DATA_TYPE_TEST_OUTPUTVI) {
            for (int p = 0; p < 8; ++p) {
                e->outputRanges[p] = ranges[p];
                e->outputAngles[p] = angles[p];
                e->outputFrequencies[p] = 50.0;
            }
            e->autoRampEnabled = false;
            e->faultActionType = ModelEntity::ACTION_TYPE_CONTINUE;
        }
        ViewBaseModel::doUpdateVMToEnt(type, subType);
    }

    void doUpdateEntToVM(DATAType type, int subType) override
    {
        hooks << QStringLiteral("doUpdateEntToVM(%1,%2)").arg(int(type)).arg(subType);
        ViewBaseModel::doUpdateEntToVM(type, subType);
    }

    void doSwitchToStartState() override { hooks << QStringLiteral("doSwitchToStartState"); }
    void doSwitchToStopState() override { hooks << QStringLiteral("doSwitchToStopState"); }
    void doUpdateSOEToView(const QString& text) override { events << text; }

    void appendTestSetting(QDomDocument* doc, QDomElement* body) override
    {
        ViewBaseModel::appendTestSetting(doc, body);
        QStringList rows[3] = {
            {utf8("通道"), utf8("幅值"), utf8("相位")},
            {QStringLiteral("UA"), QStringLiteral("57.735 V"), utf8("0.0°")},
            {QStringLiteral("IA <&> \"x\""), QStringLiteral("1.000 A")},
        };
        appendTable(doc, body, QStringLiteral("1"), QStringList{"20%", "40%", "40%", "0%"}, QStringLiteral("center"),
                    QStringLiteral("2"), QStringLiteral("Arial"), rows, 3);
    }

    void appendTestResult(QDomDocument* doc, QDomElement* body) override
    {
        ViewBaseModel::appendTestResult(doc, body);
        QStringList rows[1] = {{utf8("动作时间"), QStringLiteral("0.0312 s")}};
        appendTable(doc, body, QStringLiteral("1"), QStringLiteral("50%"), QStringLiteral("center"),
                    QStringLiteral("2"), QStringLiteral("Arial"), rows, 1);
        appendTable(doc, body, QStringLiteral("1"), QStringLiteral("50%"), QStringLiteral("center"),
                    QStringLiteral("2"), QStringLiteral("Arial"), nullptr, 0);
        appendImage(doc, body, QStringLiteral("data:image/png;base64,iVBORw0KGgo="), QStringLiteral("600"),
                    QStringLiteral("300"));
    }

    bool serialize(bool write, QDomElement* root, QDomDocument* doc) override
    {
        if (!write && (!root || root->isNull()))
            return false;
        const bool ok = ViewBaseModel::serialize(write, root, doc);
        QDomElement own;
        BaseXmlUtilities::getElement(&own, root, doc, QStringLiteral("moduleSetting"), write);
        BaseXmlUtilities::map(write, &own, doc, QStringLiteral("name"), moduleName, moduleName);
        BaseXmlUtilities::map(write, &own, doc, QStringLiteral("stateCount"), stateCount, stateCount);
        return ok;
    }

    TESTType module;
    double ranges[8];
    double angles[8];
    QString moduleName = QStringLiteral("default");
    qint32 stateCount = 1;
    QStringList hooks;
    QStringList events;
};

// Fixture of the tests without an instrument: a sandbox as application
// root (working directory) and as the platform's device root.
class ViewModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.isValid());
        zoplat::host::reset();
        zoplat::host::setSandboxRoot(sandbox.filePath("root"));
        QDir().mkpath(sandbox.filePath("root"));
        previousDir = QDir::currentPath();
        QDir().mkpath(sandbox.filePath("app/dat"));
        QDir::setCurrent(sandbox.filePath("app"));
        center = ControllerCenter::getInstance();
        config = center->testConfiguration;
        savedPpx = config->ppxUTCTimeList;
        config->ppxUTCTimeList.clear();
        config->timeZoneOffsetMin = 0;
        config->bNetConnect = false;
        center->testActive(ControllerTestor::TEST_NONE);
    }

    void TearDown() override
    {
        config->ppxUTCTimeList = savedPpx;
        QDir::setCurrent(previousDir);
        zoplat::host::reset();
    }

    QString appRoot() const { return QDir::currentPath(); }
    QString deviceRoot() const { return sandbox.filePath("root"); }

    // The run state as the runtime reports it: the start and stop hooks.
    void reportRunning(ViewBaseModel& vm, bool running)
    {
        ControllerRuntime* rt = center->testRuntime;
        rt->dataLock();
        rt->STATE[ControllerRuntime::STATE_TYPE_RUNNING] = running ? 1 : 0;
        rt->dataUnlock();
        vm.updateEntToVM(ViewBaseModel::DATA_TYPE_RT_STATE, ViewBaseModel::STATE_TYPE_RUNNING, false);
    }

    TestSandbox sandbox;
    QString previousDir;
    ControllerCenter* center = nullptr;
    ControllerConfiguration* config = nullptr;
    QList<quint32> savedPpx;
};

// With ZOR_UPDATE_GOLDEN set, a golden file of tests/data is rewritten from
// what the product wrote (review the change before keeping it).
inline void updateGoldenIfAsked(const QString& name, const QByteArray& bytes)
{
    if (!qEnvironmentVariableIsSet("ZOR_UPDATE_GOLDEN"))
        return;
    QFile f(QString(ZOR_TEST_DATA_DIR) + "/data/" + name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// ---- Reports -------------------------------------------------------------------------

// Elements an HTML parser treats as void (they may be written "<x/>").
inline bool isVoidElement(const QString& name)
{
    static const QSet<QString> kVoid = {"area", "base", "br", "col", "embed", "hr", "img", "input",
                                        "link", "meta", "param", "source", "track", "wbr"};
    return kVoid.contains(name.toLower());
}

// Problems of a written report: not UTF-8, no HTML doctype, not well formed,
// a non-void element written self-closed (an HTML parser would leave it
// open and nest the rest of the page in it), a size attribute that is no
// number (an image's width and height whole pixels, other widths and
// heights pixels or a percentage), or a table row whose cells' widths add
// up to more than 100 %. Empty when there are none.
inline QStringList reportProblems(const QByteArray& bytes)
{
    QStringList problems;
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        problems << QStringLiteral("not UTF-8");
    if (!text.startsWith(QStringLiteral("<!DOCTYPE html>")))
        problems << QStringLiteral("no HTML doctype first");
    static const QRegularExpression pixels(QStringLiteral("^\\d+$"));
    static const QRegularExpression length(QStringLiteral("^(\\d+)%?$"));
    static const QSet<QString> sizes = {"width", "height", "border", "cellpadding", "cellspacing", "size"};
    QVector<int> rowShares;   // per open row, nested tables' rows above
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.name().toString().toLower();
        if (reader.isEndElement() && name == QLatin1String("tr") && !rowShares.isEmpty()) {
            const int share = rowShares.takeLast();
            if (share > 100)
                problems << QStringLiteral("a row's cells %1 % wide (line %2)").arg(share).arg(reader.lineNumber());
        }
        if (!reader.isStartElement())
            continue;
        if (name == QLatin1String("tr"))
            rowShares.append(0);
        for (const QXmlStreamAttribute& a : reader.attributes()) {
            const QString attribute = a.name().toString().toLower();
            const QString value = a.value().toString();
            if (!sizes.contains(attribute))
                continue;
            const bool image = name == QLatin1String("img") && attribute != QLatin1String("border");
            if (!(image ? pixels : length).match(value).hasMatch())
                problems << QStringLiteral("<%1 %2=\"%3\"> is no %4 (line %5)")
                                .arg(name, attribute, value, image ? QStringLiteral("number") : QStringLiteral("length"))
                                .arg(reader.lineNumber());
            else if (name == QLatin1String("td") && attribute == QLatin1String("width") && value.endsWith('%')
                     && !rowShares.isEmpty())
                rowShares.last() += value.chopped(1).toInt();
        }
    }
    if (reader.hasError())
        problems << QStringLiteral("not well formed: %1 (line %2)").arg(reader.errorString()).arg(reader.lineNumber());
    static const QRegularExpression selfClosed(QStringLiteral("<([A-Za-z][A-Za-z0-9]*)((?:\\s+[^\\s=/>]+(?:=\"[^\"]*\")?)*)\\s*/>"));
    auto it = selfClosed.globalMatch(text);
    while (it.hasNext()) {
        const QString name = it.next().captured(1);
        if (!isVoidElement(name))
            problems << QStringLiteral("self-closed <%1/>").arg(name);
    }
    return problems;
}

// Checks a report the test wrote; with ZOR_REPORT_SAMPLES_DIR set it is also
// copied there for the HTML5 parser run by ctest.
inline void expectValidReport(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    const QStringList problems = reportProblems(bytes);
    EXPECT_TRUE(problems.isEmpty()) << path.toStdString() << ": " << problems.join("; ").toStdString();
    const QString samples = qEnvironmentVariable("ZOR_REPORT_SAMPLES_DIR");
    if (samples.isEmpty())
        return;
    QDir().mkpath(samples);
    static int serial = 0;
    const QString name = QStringLiteral("%1/%2-%3.htm")
                             .arg(samples)
                             .arg(QCoreApplication::applicationPid())
                             .arg(++serial);
    QFile out(name);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

// The report as a list of tokens (elements with sorted attributes, texts
// trimmed), times masked: for comparing with a golden file whatever the
// attribute order.
inline QStringList canonicalReport(const QByteArray& bytes)
{
    static const QRegularExpression times(QStringLiteral("\\d{8} \\d{4}|\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}"));
    QStringList tokens;
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            QStringList attrs;
            for (const QXmlStreamAttribute& a : reader.attributes())
                attrs << a.name().toString() + "=" + a.value().toString();
            attrs.sort();
            tokens << "<" + reader.name().toString() + " " + attrs.join(' ') + ">";
        } else if (reader.isEndElement()) {
            tokens << "</" + reader.name().toString() + ">";
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            tokens << reader.text().toString().trimmed().replace(times, QStringLiteral("#TIME#"));
        } else if (reader.isDTD()) {
            tokens << reader.text().toString();
        }
    }
    return tokens;
}

} // namespace vmtest

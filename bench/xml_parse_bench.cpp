// Parsing the instrument's XML files: the largest parameter files the pages
// write (a 32-state sequence with its 32 assessments and 1,024 events, the
// ramping page's 8 states of 8 points), built through the pages' own save,
// then parsed and taken by File > Load; and documents past a parameter
// file's bounds, which are refused before they are built.

#include "BaseXmlFile.h"
#include "ControllerCenter.h"
#include "ViewRampingModel.h"
#include "ViewStateSequenceModel.h"
#include "zoplatform_control_host.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

using BaseXmlFile::Kind;

class Sequence : public ViewStateSequenceModel
{
public:
    using ViewStateSequenceModel::addEventItem;

    void fill()
    {
        for (int s = 0; s < kMaxStates; ++s)
            addState();
        for (int a = 0; a < kMaxAssessments; ++a)
            addAssess();
        for (int e = 0; e < kMaxEvents; ++e)
            addEventItem(e * 0.0123457, e % 2, e % 4 + 1, QStringLiteral("0->1"));
    }
};

class Ramping : public ViewRampingModel
{
public:
    void fill()
    {
        for (int s = 0; s < kMaxStates; ++s)
            addState();
        for (auto& state : testStates) {
            while (state->testPoints.size() < size_t(kMaxPoints))
                state->testPoints.emplace_back(new ViewPointModel(this));
        }
    }
};

// The application root and the platform's sandbox in a folder of the
// working directory, with the largest file of a page saved by the page as
// its backup "largest.xml".
struct Root
{
    Root()
    {
        static int argc = 1;
        static char name[] = "xml_parse_bench";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        previous = QDir::currentPath();
        QDir().mkpath(dir.filePath("app/dat"));
        QDir::setCurrent(dir.filePath("app"));
        zoplat::host::setSandboxRoot(dir.filePath("sandbox"));
    }
    ~Root() { QDir::setCurrent(previous); }

    template <typename Model>
    QByteArray largest(ControllerTestor::TESTType type)
    {
        ControllerCenter::getInstance()->testActive(type);
        Model vm;
        vm.testActive();
        vm.fill();
        if (!vm.backupParameter(QStringLiteral("largest.xml")))
            return QByteArray();
        QFile file(QStringLiteral("parameters_bk/") + ViewBaseModel::testDirOf(type) + QStringLiteral("/largest.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/xml_parse_bench-XXXXXX")};
    QString previous;
};

Root& root()
{
    static Root r;
    return r;
}

void parse(benchmark::State& state, const QByteArray& bytes, bool taken)
{
    for (auto _ : state) {
        QDomDocument doc;
        if (BaseXmlFile::parse(doc, bytes, Kind::Parameter) != taken)
            state.SkipWithError("parsed otherwise than expected");
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The page's File > Load of its largest file: read, parsed, checked, taken
// into the model and written as the page's file.
template <typename Model>
void load(benchmark::State& state, ControllerTestor::TESTType type)
{
    const QByteArray bytes = root().largest<Model>(type);
    state.counters["KB"] = bytes.size() / 1000.0;
    Model vm;
    vm.testActive();
    for (auto _ : state) {
        if (!vm.loadParmFromFile(QStringLiteral("largest.xml")))
            state.SkipWithError("the largest file was not loaded");
    }
}

void BM_LargestSequenceFileParsed(benchmark::State& state)
{
    parse(state, root().largest<Sequence>(ControllerTestor::TEST_STATESEQUENCE), true);
}
BENCHMARK(BM_LargestSequenceFileParsed)->Unit(benchmark::kMillisecond);

void BM_LargestRampingFileParsed(benchmark::State& state)
{
    parse(state, root().largest<Ramping>(ControllerTestor::TEST_RAMPING), true);
}
BENCHMARK(BM_LargestRampingFileParsed)->Unit(benchmark::kMillisecond);

void BM_LargestSequenceFileLoaded(benchmark::State& state)
{
    load<Sequence>(state, ControllerTestor::TEST_STATESEQUENCE);
}
BENCHMARK(BM_LargestSequenceFileLoaded)->Unit(benchmark::kMillisecond);

void BM_LargestRampingFileLoaded(benchmark::State& state)
{
    load<Ramping>(state, ControllerTestor::TEST_RAMPING);
}
BENCHMARK(BM_LargestRampingFileLoaded)->Unit(benchmark::kMillisecond);

void BM_FlatDocumentRefused(benchmark::State& state)
{
    const qint64 bytes = BaseXmlFile::bounds(Kind::Parameter).bytes;
    parse(state, "<r>" + QByteArray("<b/>").repeated(int(bytes / 4 - 2)) + "</r>", false);
}
BENCHMARK(BM_FlatDocumentRefused)->Unit(benchmark::kMillisecond);

void BM_ManyAttributesRefused(benchmark::State& state)
{
    QByteArray text = "<DataRoot";
    for (int i = 0; i < 50000; ++i)
        text += " a" + QByteArray::number(i) + "=\"1\"";
    parse(state, text.left(int(BaseXmlFile::bounds(Kind::Parameter).bytes) - 3) + "/>", false);
}
BENCHMARK(BM_ManyAttributesRefused)->Unit(benchmark::kMillisecond);

} // namespace

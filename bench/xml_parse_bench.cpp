// Parsing the instrument's XML files: a parameter file as large as the
// instrument writes one (a 32-state sequence with its 1,024 events), and
// documents past a parameter file's bounds, which are refused before they
// are built.

#include "BaseXmlFile.h"

#include <benchmark/benchmark.h>

#include <QDomDocument>

namespace {

using BaseXmlFile::Kind;

// Some 280 KB in 7,000 elements, nested six deep.
QByteArray largestParameterFile()
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<DataRoot>\n <testStates>\n";
    for (int s = 0; s < 32; ++s) {
        text += "  <state" + QByteArray::number(s) + ">\n   <ports>\n";
        for (int p = 0; p < 8; ++p)
            text += "    <port" + QByteArray::number(p) + "><range>57.735</range><angle>-120</angle>"
                    "<frequency>50</frequency></port" + QByteArray::number(p) + ">\n";
        text += "   </ports>\n  </state" + QByteArray::number(s) + ">\n";
    }
    text += " </testStates>\n <eventRecorderList>\n";
    for (int e = 0; e < 1024; ++e)
        text += "  <event" + QByteArray::number(e) + "><tripTime>1.234567</tripTime><tripType>1</tripType>"
                "<signalName>2</signalName><slope>0-&gt;1</slope></event" + QByteArray::number(e) + ">\n";
    return text + " </eventRecorderList>\n</DataRoot>\n";
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

void BM_LargestParameterFile(benchmark::State& state)
{
    parse(state, largestParameterFile(), true);
}
BENCHMARK(BM_LargestParameterFile)->Unit(benchmark::kMillisecond);

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

// The XML layer against two references on the same bytes: a plain expat parse that builds nothing and a
// pugixml in-place parse (a fast tree-building parser). Figures from inside this process reuse its heap;
// the side-by-side benchmark runs each parse in a fresh process, as a user opening a file does.
#include "processmemory.h"
#include "xml/xmldocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <expat.h>
#include <malloc.h>
#include <map>
#include <pugixml.hpp>

namespace {

enum Kind { Game10, Game100, Wide, Deep, Text100 };

const char* kindLabel(int kind)
{
    static const char* labels[] = { "game 10 MB", "game 100 MB", "200,000 children", "100,000 deep", "text 100 MB" };
    return labels[kind];
}

// Game-like data: items with attributes, nested records, text values and a comment every few items.
QByteArray gameData(qsizetype size)
{
    QByteArray out;
    out.reserve(size + 4096);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GameData version=\"3\">\n";
    for (int i = 0; out.size() < size; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i % 5 == 0)
            out += "  <!-- items " + n + " to " + QByteArray::number(i + 4) + " -->\n";
        out += "  <Item id=\"" + n + "\" name=\"Blade " + n + "\" type=\"weapon\" value=\""
            + QByteArray::number(i % 500) + "\" weight='" + QByteArray::number(i % 97) + ".5'>\n"
            + "    <Description>A fine blade &amp; a sharp one, number " + n + ".</Description>\n"
            + "    <Stats attack=\"" + QByteArray::number(i % 50) + "\" defense=\"3\" speed=\"1.25\"/>\n"
            + "    <Effects>\n" + "      <Effect kind=\"fire\" power=\"" + QByteArray::number(i % 7)
            + "\">Burns for <b>3</b> turns</Effect>\n" + "      <Effect kind=\"ice\" power=\"2\"/>\n"
            + "    </Effects>\n" + "  </Item>\n";
    }
    out += "</GameData>\n";
    return out;
}

// Text-heavy data: chapters of long paragraphs with a few references and non-ASCII letters.
QByteArray textData(qsizetype size)
{
    static const QByteArray sentences[] = {
        "The caravan left the river town before dawn, its wagons heavy with salt and copper. ",
        "\xE2\x80\x9CNo one crosses the Dunes of Ash in summer,\xE2\x80\x9D said the guide &amp; laughed. ",
        "Beyond the ridge the old road turned north, past ruins that the maps call caf\xC3\xA9s of the dead. ",
        "Every night they counted the water; every morning there was less than the night before. ",
    };
    QByteArray out;
    out.reserve(size + 4096);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Book title=\"Roads\">\n";
    for (int i = 0; out.size() < size; ++i) {
        out += "  <Chapter n=\"" + QByteArray::number(i) + "\">\n    <Title>Chapter " + QByteArray::number(i)
            + "</Title>\n";
        for (int p = 0; p < 6; ++p) {
            out += "    <Para>";
            for (int k = 0; k < 8; ++k)
                out += sentences[(i + p + k) % 4];
            out += "</Para>\n";
        }
        out += "  </Chapter>\n";
    }
    out += "</Book>\n";
    return out;
}

QByteArray wideData()
{
    QByteArray out = "<Entries>\n";
    for (int i = 0; i < 200000; ++i)
        out += "  <Entry id=\"" + QByteArray::number(i) + "\" value=\"" + QByteArray::number(i * 7 % 1000) + "\"/>\n";
    return out + "</Entries>\n";
}

QByteArray deepData()
{
    return QByteArray("<Level>").repeated(100000) + "bottom" + QByteArray("</Level>").repeated(100000);
}

// Generated once per kind, deterministic.
const QByteArray& data(int kind)
{
    static std::map<int, QByteArray> cache;
    QByteArray& bytes = cache[kind];
    if (bytes.isEmpty())
        bytes = kind == Game10 ? gameData(10'000'000)
            : kind == Game100  ? gameData(100'000'000)
            : kind == Text100  ? textData(100'000'000)
            : kind == Wide     ? wideData()
                               : deepData();
    return bytes;
}

// Runs `build` once outside the timing: the memory it keeps (RSS growth) and its peak, as counters.
template <class Build> void countMemory(benchmark::State& state, qsizetype fileSize, Build build)
{
    malloc_trim(0); // memory freed by earlier benchmarks would otherwise be reused unseen
    bench::ResetPeak();
    const qint64 before = bench::StatusKb("VmRSS:");
    auto kept = build();
    const qint64 after = bench::StatusKb("VmRSS:");
    const qint64 peak = bench::StatusKb("VmHWM:");
    state.counters["file_MB"] = double(fileSize) / 1e6;
    state.counters["kept_MB"] = double(after - before) * 1024 / 1e6;
    state.counters["peak_MB"] = double(peak - before) * 1024 / 1e6;
    state.counters["kept_x_file"] = double(after - before) * 1024 / double(fileSize);
    benchmark::DoNotOptimize(kept);
}

void setUp(benchmark::State& state, int kind)
{
    state.SetLabel(kindLabel(kind));
    state.SetBytesProcessed(int64_t(state.iterations()) * data(kind).size());
}

void BM_LoadXml(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const QByteArray& bytes = data(kind);
    // A copy of its own, so that the bytes the tree keeps count too.
    countMemory(state, bytes.size(), [&] {
        auto doc = std::make_shared<xml::XmlDocument>();
        doc->LoadXml(QByteArray(bytes.constData(), bytes.size()));
        return doc;
    });
    for (auto _ : state) {
        xml::XmlDocument doc;
        doc.LoadXml(bytes);
        benchmark::DoNotOptimize(doc.DocumentElement());
    }
    setUp(state, kind);
}

void BM_ExpatNoTree(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const QByteArray& bytes = data(kind);
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(
            parser, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
        XML_SetCharacterDataHandler(parser, [](void*, const XML_Char*, int) {});
        if (XML_Parse(parser, bytes.constData(), int(bytes.size()), XML_TRUE) != XML_STATUS_OK)
            state.SkipWithError("expat refused the data");
        XML_ParserFree(parser);
    }
    setUp(state, kind);
}

constexpr unsigned kPugiFlags = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;

void BM_PugixmlInPlace(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const QByteArray& bytes = data(kind);
    countMemory(state, bytes.size(), [&] {
        auto doc = std::make_shared<pugi::xml_document>();
        doc->load_buffer(bytes.constData(), size_t(bytes.size()), kPugiFlags);
        return doc;
    });
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<char> copy(bytes.begin(), bytes.end());
        state.ResumeTiming();
        pugi::xml_document doc;
        if (!doc.load_buffer_inplace(copy.data(), copy.size(), kPugiFlags))
            state.SkipWithError("pugixml refused the data");
        benchmark::DoNotOptimize(doc.first_child());
    }
    setUp(state, kind);
}

void BM_ChildWalk(benchmark::State& state)
{
    xml::XmlDocument doc;
    doc.LoadXml(data(Wide));
    const xml::XmlNode root = doc.DocumentElement();
    for (auto _ : state) {
        const int count = root.ChildCount();
        for (int i = 0; i < count; ++i)
            benchmark::DoNotOptimize(root.Child(i));
    }
    state.SetLabel(kindLabel(Wide));
    state.SetItemsProcessed(int64_t(state.iterations()) * root.ChildCount());
}

void BM_PugixmlSiblingWalk(benchmark::State& state)
{
    QByteArray copy = data(Wide);
    pugi::xml_document doc;
    doc.load_buffer_inplace(copy.data(), size_t(copy.size()), kPugiFlags);
    const pugi::xml_node root = doc.document_element();
    int64_t walked = 0;
    for (auto _ : state)
        for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
            benchmark::DoNotOptimize(child);
            ++walked;
        }
    state.SetLabel(kindLabel(Wide));
    state.SetItemsProcessed(walked);
}

// range(1): 0 unchanged, 1 after one edit in the middle of the file.
void prepare(xml::XmlDocument& doc, int kind, bool edited)
{
    doc.LoadXml(data(kind));
    if (!edited)
        return;
    xml::XmlNode n = doc.DocumentElement();
    n = n.Child(n.ChildCount() / 2);
    while (n.ChildCount() > 0)
        n = n.Child(0);
    if (n.Type() == xml::XmlNodeType::Element)
        n.SetName("Edited");
    else
        n.SetValue("edited");
}

void BM_ToBytes(benchmark::State& state)
{
    const int kind = int(state.range(0));
    xml::XmlDocument doc;
    prepare(doc, kind, state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.ToBytes().constData());
    setUp(state, kind);
    state.SetLabel(std::string(kindLabel(kind)) + (state.range(1) ? ", edited" : ", unchanged"));
}

void BM_CopyBytes(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const QByteArray& bytes = data(kind);
    for (auto _ : state) {
        QByteArray copy(bytes.constData(), bytes.size());
        benchmark::DoNotOptimize(copy.constData());
    }
    setUp(state, kind);
}

void BM_SaveXml(benchmark::State& state)
{
    const int kind = int(state.range(0));
    QTemporaryDir dir;
    xml::XmlDocument doc;
    prepare(doc, kind, state.range(1));
    for (auto _ : state)
        doc.SaveXml(dir.filePath("out.xml"));
    setUp(state, kind);
    state.SetLabel(std::string(kindLabel(kind)) + (state.range(1) ? ", edited" : ", unchanged"));
}

void BM_QFileWrite(benchmark::State& state)
{
    const int kind = int(state.range(0));
    QTemporaryDir dir;
    const QByteArray& bytes = data(kind);
    for (auto _ : state) {
        QFile file(dir.filePath("out.xml"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            state.SkipWithError("cannot write");
    }
    setUp(state, kind);
}

// One read and parse in a fresh process: seconds and the process's peak resident size in bytes.
std::pair<double, double> parseInProcess(const char* parser, const QString& path)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), { "--parse-once", parser, path });
    process.waitForFinished(-1);
    const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
    if (process.exitCode() != 0 || figures.size() != 2)
        return { -1, -1 };
    return { figures[0].toDouble(), figures[1].toDouble() * 1024 };
}

// Read + LoadXml against read + pugixml's in-place parse, as whole processes, alternating: medians of five pairs.
void BM_SideBySide(benchmark::State& state)
{
    const int kind = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath("data.xml");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data(kind)) != data(kind).size())
        state.SkipWithError("cannot write the data");
    file.close();
    constexpr int kPairs = 5;
    std::vector<double> ours[2], pugi[2];
    for (auto _ : state) {
        for (int i = 0; i < kPairs; ++i) {
            const auto [oursTime, oursPeak] = parseInProcess("sildra", path);
            const auto [pugiTime, pugiPeak] = parseInProcess("pugixml", path);
            if (oursTime < 0 || pugiTime < 0)
                state.SkipWithError("a parse failed");
            ours[0].push_back(oursTime);
            ours[1].push_back(oursPeak);
            pugi[0].push_back(pugiTime);
            pugi[1].push_back(pugiPeak);
        }
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    const double size = double(data(kind).size());
    state.counters["sildra_ms"] = median(ours[0]) * 1e3;
    state.counters["pugixml_ms"] = median(pugi[0]) * 1e3;
    state.counters["time_x_pugixml"] = median(ours[0]) / median(pugi[0]);
    state.counters["sildra_peak_x_file"] = median(ours[1]) / size;
    state.counters["pugixml_peak_x_file"] = median(pugi[1]) / size;
    state.SetLabel(std::string(kindLabel(kind)) + ", fresh processes");
}

void parseArgs(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->MinTime(1.0);
    for (int kind : { Game10, Game100, Text100, Wide, Deep })
        b->Arg(kind);
}

void saveArgs(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->MinTime(1.0);
    for (int kind : { Game10, Game100 })
        for (int edited : { 0, 1 })
            b->Args({ kind, edited });
}

void byteArgs(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->MinTime(1.0)->Arg(Game10)->Arg(Game100);
}

} // namespace

BENCHMARK(BM_SideBySide)->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(Game100)->Arg(Text100);
BENCHMARK(BM_LoadXml)->Apply(parseArgs);
BENCHMARK(BM_ExpatNoTree)->Apply(parseArgs);
BENCHMARK(BM_PugixmlInPlace)->Apply(parseArgs);
BENCHMARK(BM_ChildWalk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PugixmlSiblingWalk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToBytes)->Apply(saveArgs);
BENCHMARK(BM_CopyBytes)->Apply(byteArgs);
BENCHMARK(BM_SaveXml)->Apply(saveArgs);
BENCHMARK(BM_QFileWrite)->Apply(byteArgs);

#include "framework/filedialogs.h"
#include "framework/listbox.h"
#include "framework/messagelog.h"
#include "processmemory.h"
#include "shell/mainwindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <memory>
#include <pugixml.hpp>

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeFile(const QString& name, const QByteArray& text)
{
    const QString path = folder().filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

// The file of that name in the folder, written from make() the first time it is asked for.
QString cachedFile(const QString& name, const std::function<QByteArray()>& make)
{
    static std::map<QString, QString> paths;
    QString& path = paths[name];
    if (path.isEmpty())
        path = writeFile(name, make());
    return path;
}

// One game item: an element with attributes, a text child with blanks, a nested element with attributes.
void appendItem(QByteArray& text, int i)
{
    const QByteArray n = QByteArray::number(i);
    text += "  <Item id=\"" + n + "\" name=\"Blade " + n + "\" type=\"weapon\" weight=\"" + QByteArray::number(i % 97)
        + ".5\">\n    <Description lang=\"en\">  A fine blade, number " + n
        + ", forged in the north.  </Description>\n    <Stats attack=\"" + QByteArray::number(i % 50)
        + "\" defense=\"3\" speed=\"1.25\"/>\n    <Price>" + QByteArray::number(i % 1000) + "</Price>\n  </Item>\n";
}

// A game-like file of about `megabytes` MB whose document element holds one Item per ~250 bytes.
QString gameFile(int megabytes)
{
    return cachedFile(QStringLiteral("game%1.xml").arg(megabytes), [megabytes] {
        QByteArray text;
        const qsizetype size = qsizetype(megabytes) * 1000 * 1000;
        text.reserve(size + 1000);
        text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Items>\n";
        for (int i = 0; text.size() < size; ++i)
            appendItem(text, i);
        text += "</Items>\n";
        return text;
    });
}

// One line of a long game list: an element with attributes and a text with blanks.
QByteArray gemLine(int i)
{
    return "  <Gem id=\"" + QByteArray::number(i) + "\" cut=\"oval\" shine=\"" + QByteArray::number(i % 7)
        + "\"> ruby </Gem>\n";
}

// A document element with `count` gems as its children.
QString flatFile(int count)
{
    return cachedFile(QStringLiteral("flat%1.xml").arg(count), [count] {
        QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Items>\n";
        for (int i = 0; i < count; ++i)
            text += gemLine(i);
        text += "</Items>\n";
        return text;
    });
}

// A document element with `count` children; the first of them holds `count` gems of its own.
QString twoLevelFile(int count)
{
    return cachedFile(QStringLiteral("twolevel%1.xml").arg(count), [count] {
        QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Items>\n<Chest>\n";
        for (int i = 0; i < count; ++i)
            text += gemLine(i);
        text += "</Chest>\n";
        for (int i = 1; i < count; ++i)
            text += "  <Slot n=\"" + QByteArray::number(i) + "\" kind=\"empty\">" + QByteArray::number(i % 10)
                + "</Slot>\n";
        text += "</Items>\n";
        return text;
    });
}

// Base64-like text of `size` bytes in lines of 76 characters, as game files hold map layers and embedded data.
QByteArray encodedText(qsizetype size)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray text(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        text[i] = (i + 1) % 77 == 0 ? '\n' : alphabet[(i * 7 + i / 64) % 64];
    return text;
}

// The same 2 MB as values: one value (pieces 1) or 2,000 values of 1 KB each (pieces 2000).
QString valuesFile(int pieces)
{
    return cachedFile(QStringLiteral("values%1.xml").arg(pieces), [pieces] {
        constexpr qsizetype kTotal = 2000 * 1000;
        QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Map>\n";
        for (int i = 0; i < pieces; ++i)
            text += "  <Layer>" + encodedText(kTotal / pieces) + "</Layer>\n";
        text += "</Map>\n";
        return text;
    });
}

qint64 fileSize(const QString& path) { return QFile(path).size(); }

std::unique_ptr<MainWindow> shownWindow()
{
    auto window = fw::Window::Create<MainWindow>();
    window->show();
    QCoreApplication::processEvents();
    return window;
}

// Until the window has drawn what the open or the command put in it.
void showNow(MainWindow& window)
{
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.grab());
}

void openFile(MainWindow& window, const QString& path)
{
    fw::FileDialogs dialogs;
    dialogs.Answer(path);
    window._OpenXML_Action();
}

// The yardstick: the file read whole and parsed in place by pugixml.
void ReadAndPugixmlParse(benchmark::State& state)
{
    const QString path = gameFile(int(state.range(0)));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_buffer_inplace(bytes.data(), size_t(bytes.size())));
    }
    state.counters["file_MB"] = double(fileSize(path)) / 1e6;
}
BENCHMARK(ReadAndPugixmlParse)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// File > Open > XML on a fresh window until the list and both panes are drawn, with the peak memory it took.
void OpenXmlGameFile(benchmark::State& state)
{
    const QString path = gameFile(int(state.range(0)));
    fw::MessageLog messages;
    qint64 peakKb = 0;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = shownWindow();
        bench::ResetPeak();
        const qint64 beforeKb = bench::StatusKb("VmRSS:");
        state.ResumeTiming();
        openFile(*window, path);
        showNow(*window);
        state.PauseTiming();
        peakKb = std::max(peakKb, bench::StatusKb("VmHWM:") - beforeKb);
        rows = window->XMLList().ListCount();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(fileSize(path)) / 1e6;
    state.counters["rows"] = rows;
    state.counters["peak_extra_MB"] = double(peakKb) / 1024;
    state.counters["peak_per_file_size"] = double(peakKb) * 1024 / double(fileSize(path));
    state.counters["errors"] = double(messages.Entries().size());
}
BENCHMARK(OpenXmlGameFile)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// File > Open > XML of a file whose top level has 200,000 children, until the list is drawn.
void OpenXmlWideFile(benchmark::State& state)
{
    const QString path = flatFile(int(state.range(0)));
    fw::MessageLog messages;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = shownWindow();
        state.ResumeTiming();
        openFile(*window, path);
        showNow(*window);
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(fileSize(path)) / 1e6;
    state.counters["errors"] = double(messages.Entries().size());
}
BENCHMARK(OpenXmlWideFile)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// "In" into a level of 200,000 children and "Out" back to one of 200,000, each until the list is drawn.
void InAndOutWideLevel(benchmark::State& state)
{
    const QString path = twoLevelFile(int(state.range(0)));
    fw::MessageLog messages;
    auto window = shownWindow();
    openFile(*window, path);
    showNow(*window);
    double inMs = 0;
    double outMs = 0;
    double inTotal = 0;
    double outTotal = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        window->XMLList().SetListIndex(0);
        timer.start();
        window->InButton_Action();
        showNow(*window);
        const qint64 in = timer.nsecsElapsed();
        window->XMLList().SetListIndex(0);
        timer.start();
        window->OutButton_Action();
        showNow(*window);
        const qint64 out = timer.nsecsElapsed();
        state.SetIterationTime(double(in + out) / 1e9);
        inMs = std::max(inMs, double(in) / 1e6);
        outMs = std::max(outMs, double(out) / 1e6);
        inTotal += double(in) / 1e6;
        outTotal += double(out) / 1e6;
    }
    state.counters["in_ms_mean"] = inTotal / double(state.iterations());
    state.counters["out_ms_mean"] = outTotal / double(state.iterations());
    state.counters["in_ms_max"] = inMs;
    state.counters["out_ms_max"] = outMs;
    state.counters["rows"] = window->XMLList().ListCount();
    state.counters["errors"] = double(messages.Entries().size());
}
BENCHMARK(InAndOutWideLevel)->Arg(200000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// File > Open > XML of 2 MB of values until the list is drawn, then a click's selection of the first row until it is
// drawn: one value of 2 MB against 2,000 values of 1 KB.
void OpenAndSelectValues(benchmark::State& state)
{
    const QString path = valuesFile(int(state.range(0)));
    fw::MessageLog messages;
    double openTotal = 0;
    double selectTotal = 0;
    for (auto _ : state) {
        auto window = shownWindow();
        QElapsedTimer timer;
        timer.start();
        openFile(*window, path);
        showNow(*window);
        const qint64 open = timer.nsecsElapsed();
        timer.start();
        window->XMLList().SetListIndex(0);
        showNow(*window);
        const qint64 select = timer.nsecsElapsed();
        state.SetIterationTime(double(open + select) / 1e9);
        openTotal += double(open) / 1e6;
        selectTotal += double(select) / 1e6;
        window.reset();
        QCoreApplication::processEvents();
    }
    state.counters["open_ms_mean"] = openTotal / double(state.iterations());
    state.counters["select_ms_mean"] = selectTotal / double(state.iterations());
    state.counters["values"] = double(state.range(0));
    state.counters["errors"] = double(messages.Entries().size());
}
BENCHMARK(OpenAndSelectValues)->Arg(1)->Arg(2000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

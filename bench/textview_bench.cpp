#include "framework/textbuffer.h"
#include "framework/textview.h"
#include "processmemory.h"

#include <QFile>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>

namespace {

// An XML-like text of about `megabytes` MB: indented elements with attributes and text.
const QByteArray& xmlText(int megabytes)
{
    static std::map<int, QByteArray> texts;
    QByteArray& text = texts[megabytes];
    if (!text.isEmpty())
        return text;
    const qsizetype size = qsizetype(megabytes) * 1000 * 1000;
    text.reserve(size + 1000);
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Items>\n";
    for (int i = 0; text.size() < size; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "  <Item id=\"" + n + "\" name=\"Blade " + n + "\" type=\"weapon\" weight=\""
            + QByteArray::number(i % 97) + ".5\">\n    <Description lang=\"en\">A fine blade, number " + n
            + ", forged in the north.</Description>\n    <Stats attack=\"" + QByteArray::number(i % 50)
            + "\" defense=\"3\" speed=\"1.25\"/>\n  </Item>\n";
    }
    text += "</Items>\n";
    return text;
}

// Runs show() once per iteration, timing it, and reports the peak memory it took beyond what was resident before.
template <typename Show> void measureShow(benchmark::State& state, const QByteArray& text, Show show)
{
    qint64 peakKb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench::ResetPeak();
        const qint64 beforeKb = bench::StatusKb("VmRSS:");
        state.ResumeTiming();
        show();
        state.PauseTiming();
        peakKb = std::max(peakKb, bench::StatusKb("VmHWM:") - beforeKb);
        state.ResumeTiming();
    }
    state.counters["text_MB"] = double(text.size()) / 1e6;
    state.counters["peak_extra_MB"] = double(peakKb) / 1024;
    state.counters["VmHWM_MB"] = double(bench::StatusKb("VmHWM:")) / 1024;
}

// Buffer, two views of it (one from the second character, as the preview shows it) and their first paint.
void TextViewShow(benchmark::State& state)
{
    const QByteArray& text = xmlText(int(state.range(0)));
    measureShow(state, text, [&text] {
        fw::TextView whole;
        fw::TextView preview;
        whole.resize(700, 500);
        preview.resize(700, 500);
        const fw::TextRef ref { fw::MakeTextBuffer(text), 0 };
        whole.setText(ref);
        preview.setText(fw::Mid(ref, 2));
        benchmark::DoNotOptimize(whole.grab());
        benchmark::DoNotOptimize(preview.grab());
    });
}
BENCHMARK(TextViewShow)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same for a plain text edit of one view, for comparison.
void PlainTextEditShow(benchmark::State& state)
{
    const QByteArray& text = xmlText(int(state.range(0)));
    measureShow(state, text, [&text] {
        QPlainTextEdit edit;
        edit.setReadOnly(true);
        edit.resize(700, 500);
        edit.setPlainText(QString::fromUtf8(text));
        benchmark::DoNotOptimize(edit.grab());
    });
}
BENCHMARK(PlainTextEditShow)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// Scrolling a page and repainting, the cost of reading through a large text.
void TextViewPageDown(benchmark::State& state)
{
    fw::TextView view;
    view.resize(700, 500);
    view.setText(fw::TextRef { fw::MakeTextBuffer(xmlText(100)), 0 });
    for (auto _ : state) {
        view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        benchmark::DoNotOptimize(view.grab());
    }
}
BENCHMARK(TextViewPageDown)->Unit(benchmark::kMicrosecond);

} // namespace

// What the editor runs on every keystroke, on a 20,000-character capture of
// mixed Markdown. Prints each analysis in milliseconds (the aim is well under
// 1 ms) and as a ratio to one plain pass over the text (counting line breaks),
// measured in the same run.
#include "editing/EditorSyntax.h"
#include "editing/ListSyntax.h"
#include "editing/MarkdownPresentation.h"
#include "editing/QuoteSyntax.h"

#include <QString>

#include "MixedCapture.h"

#include "MeanTimes.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using namespace quillor;

using bench::mixedCapture;

const QString& capture()
{
    static const QString text = mixedCapture();
    return text;
}

void baselineLineCount(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(capture().count(u'\n'));
}
void styles(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(MarkdownPresentation::styles(capture()));
}
void listItems(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ListSyntax::items(capture()));
}
void quoteLines(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QuoteSyntax::lines(capture()));
}
void codeRanges(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(EditorSyntax::codeRanges(capture()));
}
void linkRanges(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(EditorSyntax::linkRanges(capture()));
}
void completionContext(benchmark::State& state)
{
    const TextRange caret{capture().size() / 2, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(EditorSyntax::completion(capture(), caret, QStringLiteral("@")));
}

BENCHMARK(baselineLineCount);
BENCHMARK(styles);
BENCHMARK(listItems);
BENCHMARK(quoteLines);
BENCHMARK(codeRanges);
BENCHMARK(linkRanges);
BENCHMARK(completionContext);

} // namespace

int main(int argc, char** argv)
{
    bench::MeanTimes times;
    if (!bench::runBenchmarks(argc, argv, times))
        return 1;
    const double baseline = times.of("baselineLineCount");
    for (const char* name : {"styles", "listItems", "quoteLines", "codeRanges", "linkRanges", "completionContext"}) {
        const double time = times.of(name);
        std::printf("%-18s %.3f ms per keystroke (%.0f× one plain pass over the text)\n", name, time * 1000,
                    baseline > 0 ? time / baseline : 0.0);
    }
    return 0;
}

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

class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                seconds[run.run_name.function_name] = run.real_accumulated_time / double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    const double baseline = collector.seconds["baselineLineCount"];
    for (const char* name : {"styles", "listItems", "quoteLines", "codeRanges", "linkRanges", "completionContext"}) {
        const double time = collector.seconds[name];
        std::printf("%-18s %.3f ms per keystroke (%.0f× one plain pass over the text)\n", name, time * 1000,
                    baseline > 0 ? time / baseline : 0.0);
    }
    return 0;
}

#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace quillor::bench {

// Shows Google Benchmark's usual table and keeps each benchmark's mean real
// time per iteration, in seconds, for the ratios a program prints after it.
class MeanTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                m_seconds[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The benchmark called `name`, or whose name goes on from it after a "/"
    // (its arguments and options); 0 when it was not measured.
    double of(const std::string& name) const
    {
        for (const auto& [measured, seconds] : m_seconds) {
            if (measured == name || measured.starts_with(name + "/"))
                return seconds;
        }
        return 0;
    }

    const std::map<std::string, double>& all() const { return m_seconds; }

private:
    std::map<std::string, double> m_seconds;
};

// Runs the benchmarks the command line selects into `times`; false when the
// command line holds words Google Benchmark does not know.
inline bool runBenchmarks(int argc, char** argv, MeanTimes& times)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return false;
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();
    return true;
}

} // namespace quillor::bench

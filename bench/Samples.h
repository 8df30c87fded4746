#pragma once

#include "Median.h"

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace quillor::bench {

using Clock = std::chrono::steady_clock;

// The durations of a program's measured steps, by name, for the medians it
// prints after its run.
class Samples {
public:
    // Keeps the time since `start` under `name`, and returns it in seconds
    // (for a manually timed iteration).
    double record(const std::string& name, Clock::time_point start)
    {
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        m_samples[name].push_back(seconds);
        return seconds;
    }

    // In seconds; 0 when nothing was kept under `name`.
    double median(const std::string& name) const
    {
        const auto found = m_samples.find(name);
        return found == m_samples.end() ? 0 : bench::median(found->second);
    }

private:
    std::map<std::string, std::vector<double>> m_samples;
};

} // namespace quillor::bench

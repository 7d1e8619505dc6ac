#pragma once
// The console reporter of the Google Benchmark programs that end with ratios:
// it passes every result on to the console and keeps each benchmark's times
// (the median of the repetitions when there are several), by its name with
// its arguments ("follow/tree/2000").

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace carmanual::bench {

// Per iteration, in seconds: the running thread's CPU time (which includes
// the kernel's work for its reads and page faults) and the wall-clock time.
struct Times {
    double cpu = 0;
    double real = 0;
};

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    using benchmark::ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const Times t{run.GetAdjustedCPUTime() / unit, run.GetAdjustedRealTime() / unit};
            const std::string name = NameOf(run);
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    m_median[name] = t;
            } else {
                m_single[name].push_back(t);
            }
        }
        benchmark::ConsoleReporter::ReportRuns(runs);
    }

    std::optional<Times> Median(const std::string& name) const {
        if (const auto it = m_median.find(name); it != m_median.end())
            return it->second;
        const auto it = m_single.find(name);
        if (it == m_single.end() || it->second.empty())
            return std::nullopt;
        std::vector<double> cpu, real;
        for (const Times& t : it->second) {
            cpu.push_back(t.cpu);
            real.push_back(t.real);
        }
        std::sort(cpu.begin(), cpu.end());
        std::sort(real.begin(), real.end());
        return Times{cpu[cpu.size() / 2], real[real.size() / 2]};
    }

private:
    static std::string NameOf(const Run& run) {
        const std::string& args = run.run_name.args;
        return run.run_name.function_name + (args.empty() ? std::string() : "/" + args);
    }

    std::map<std::string, Times> m_median;
    std::map<std::string, std::vector<Times>> m_single;
};

} // namespace carmanual::bench

// The usual console table, and the time in seconds of every run that
// finished, kept by name so a benchmark can print its own summary after it:
// the CPU time, or the wall time of runs registered with UseRealTime (their
// names carry "/real_time"), whose work runs on other threads.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

using BenchTimes = std::map<std::string, double>;

class CCpuTimeReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports)
        {
            if (run.error_occurred)
                continue;
            const std::string name = run.benchmark_name();
            const bool isWallTime = name.find("/real_time") != std::string::npos;
            m_times[name] = (isWallTime ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime()) /
                            benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }

    const BenchTimes& GetTimes() const { return m_times; }

private:
    BenchTimes m_times;
};

// The time of a benchmark: the median of its repetitions when it was
// repeated, else its one run; 0 when it did not run.
inline double GetBenchTime(const BenchTimes& times, const std::string& name)
{
    const auto median = times.find(name + "_median");
    if (median != times.end())
        return median->second;
    const auto single = times.find(name);
    return single != times.end() ? single->second : 0.0;
}

// Runs the benchmarks the command line picks, then hands their times to
// pfnSummary.
inline int RunBenchmarksWithSummary(int argc, char** argv, void (*pfnSummary)(const BenchTimes&))
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CCpuTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    pfnSummary(reporter.GetTimes());
    benchmark::Shutdown();
    return 0;
}

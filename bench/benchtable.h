// A reporter for benchmark programs that keeps each benchmark's median time
// for the table of ratios they print at the end.
#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

// Passes every run on to the console and keeps each benchmark's median
// (or its single run without repetitions) in milliseconds.
class MedianTableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            const std::string name = r.run_name.function_name;
            const double ms = r.GetAdjustedRealTime() * Scale(r.time_unit);
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                median_[name] = ms;
            else if (r.run_type == Run::RT_Iteration)
                single_[name] = ms;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    bool Has(const std::string& name) const { return median_.count(name) || single_.count(name); }
    double Ms(const std::string& name) const
    {
        auto m = median_.find(name);
        return m != median_.end() ? m->second : single_.at(name);
    }

private:
    static double Scale(benchmark::TimeUnit u)
    {
        switch (u) {
        case benchmark::kNanosecond: return 1e-6;
        case benchmark::kMicrosecond: return 1e-3;
        case benchmark::kMillisecond: return 1.0;
        case benchmark::kSecond: return 1e3;
        }
        return 1.0;
    }

    std::map<std::string, double> median_;
    std::map<std::string, double> single_;
};

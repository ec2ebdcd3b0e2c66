// What the benchmark programs share: their start, and a reporter that keeps
// each benchmark's median time for the table of ratios they print at the end.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

// Takes the benchmark options out of the arguments; false (after saying
// which) when some are left that it does not know. A program with windows
// runs them offscreen unless QT_QPA_PLATFORM names a window system.
inline bool StartBenchmarks(int& argc, char** argv, bool windows = false)
{
    if (windows && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    return !benchmark::ReportUnrecognizedArguments(argc, argv);
}

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
        case benchmark::kNanosecond:
            return 1e-6;
        case benchmark::kMicrosecond:
            return 1e-3;
        case benchmark::kMillisecond:
            return 1.0;
        case benchmark::kSecond:
            return 1e3;
        }
        return 1.0;
    }

    std::map<std::string, double> median_;
    std::map<std::string, double> single_;
};

// One line of a table of ratios: an operation, its baseline and the ratio
// the operation may take at most.
struct RatioRow {
    const char* label;
    const char* op;
    const char* base;
    double target;
};

// Prints the ratio of each row whose two benchmarks ran; false when one is
// over its target.
inline bool PrintRatioTable(const MedianTableReporter& reporter, const std::vector<RatioRow>& rows)
{
    std::printf("%-20s %12s %12s %8s %8s\n", "", "ms", "baseline ms", "ratio", "target");
    bool ok = true;
    for (const RatioRow& r : rows) {
        if (!reporter.Has(r.op) || !reporter.Has(r.base))
            continue;
        const double a = reporter.Ms(r.op), b = reporter.Ms(r.base);
        const bool within = a / b <= r.target;
        ok = ok && within;
        std::printf(
            "%-20s %12.2f %12.2f %8.2f %5s%.1f  %s\n", r.label, a, b, a / b, "<= ", r.target, within ? "ok" : "OVER");
    }
    return ok;
}

// Takes an option "--name=value" of the program's own out of argv, before the
// benchmark library reads the rest.
inline bool TakeOption(int& argc, char** argv, const char* prefix, std::string& value)
{
    const size_t n = std::strlen(prefix);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix, n) == 0) {
            value = argv[i] + n;
            for (int j = i; j + 1 < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            return true;
        }
    }
    return false;
}

// The least work that saves bytes safely, the baseline of every safe save:
// write them into a new file beside path, sync it and rename it over path.
inline bool WriteSyncRename(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size() && ::fdatasync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok && ::rename(temporary.constData(), target.constData()) == 0;
}

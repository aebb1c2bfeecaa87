#pragma once
// What the benchmarks share: steady defaults and the "figure <name> <ratio>" lines.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Defaults that keep the figures steady (five interleaved repetitions); arguments given on the
// command line come later and win. False when an argument is not understood.
inline bool initializeBenchmarks(int argc, char** argv) {
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments{argv[0], repetitions, interleave};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    return !benchmark::ReportUnrecognizedArguments(count, arguments.data());
}

// Shows every run as usual and keeps the fastest repetition of each benchmark (CPU time).
class FigureReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that a log stays readable.
    FigureReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double time = run.GetAdjustedCPUTime();
            auto it = m_fastest.find(run.run_name.function_name);
            if (it == m_fastest.end())
                m_fastest.emplace(run.run_name.function_name, time);
            else
                it->second = std::min(it->second, time);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The fastest time of one benchmark in milliseconds, or -1 when it did not run.
    double fastestMs(const std::string& name) const {
        const auto it = m_fastest.find(name);
        return it == m_fastest.end() ? -1.0 : it->second;
    }

    // "figure <name> <ratio>" when both sides ran.
    void printFigure(const char* name, const std::string& measured,
                     const std::string& baseline) const {
        const auto a = m_fastest.find(measured);
        const auto b = m_fastest.find(baseline);
        if (a != m_fastest.end() && b != m_fastest.end() && b->second > 0)
            std::printf("figure %s %.2f\n", name, a->second / b->second);
    }

private:
    std::map<std::string, double> m_fastest;
};

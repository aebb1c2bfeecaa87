#pragma once
// What the benchmarks share: steady defaults and the "figure <name> <ratio>" lines.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
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

// Shows every run as usual and keeps the fastest repetition of each benchmark: its CPU time, or
// its wall-clock time where part of the work is done by another process (a database server),
// whose time the CPU time of this one leaves out.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    enum class Clock { Cpu, Wall };

    // Colours only on a terminal, so that a log stays readable.
    explicit FigureReporter(Clock clock = Clock::Cpu)
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular), m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double time =
                m_clock == Clock::Wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
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
    Clock m_clock;
    std::map<std::string, double> m_fastest;
};

// Runs every benchmark asked for, reporting to `reporter`, and flushes the console output so that
// the figure lines printed afterwards follow it.
// Times `load()`, which reads a whole list; each iteration must give `expected` rows.
template <typename Load> void timeListLoad(benchmark::State& state, size_t expected, Load load) {
    for (auto _ : state) {
        auto rows = load();
        if (rows.size() != expected)
            state.SkipWithError("wrong number of rows");
        benchmark::DoNotOptimize(rows);
    }
}

inline void runBenchmarks(FigureReporter& reporter) {
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::fflush(stdout);
}

// The whole main of a benchmark program on one fixture: makes the fixture, points `global` at it,
// runs every benchmark and then lets `figures` print the program's figure lines.
template <class Fixture, class Figures>
int benchmarkMain(int argc, char** argv, Fixture*& global, Figures figures) {
    if (!initializeBenchmarks(argc, argv))
        return 2;
    Fixture fixture;
    global = &fixture;
    FigureReporter reporter;
    runBenchmarks(reporter);
    figures(reporter);
    return 0;
}

// The hand-written baseline of the money figures: one statement run per iteration, its second
// column added up. `bind` sets the statement's parameters before each run.
template <typename Bind>
void runSummingQuery(benchmark::State& state, sqlite3* db, const char* sql, Bind bind) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    for (auto _ : state) {
        double total = 0;
        bind(statement);
        while (sqlite3_step(statement) == SQLITE_ROW)
            total += sqlite3_column_double(statement, 1);
        sqlite3_reset(statement);
        benchmark::DoNotOptimize(total);
    }
    sqlite3_finalize(statement);
}

// The full unrestricted search through the window object, against a plain integer loop of the same
// search order as the floor. Prints the ratio of the fastest runs of the two as its last line.

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

#include "known_stars.h"
#include "window/form1.h"

namespace {

using hexorin::testing::kFullRunPasses;
using hexorin::testing::kFullRunSolutions;

class SilentPlatform final : public hexorin::Platform {
public:
    void showMessage(const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void processEvents() override { ++passes; }
    void endProgram() override {}

    long long passes = 0;
};

void checkFullRun(benchmark::State& state, long long passes, int solutions) {
    if (passes != kFullRunPasses || solutions != kFullRunSolutions)
        state.SkipWithError(("wrong result: " + std::to_string(solutions) + " solutions in " +
                             std::to_string(passes) + " passes")
                                .c_str());
}

void fullSearchThroughWindow(benchmark::State& state) {
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop's variable only counts the runs.
    for (auto _ : state) {
        SilentPlatform platform;
        hexorin::Form1 form(platform);
        form.Form_Load();
        form.Check1.setValue(hexorin::CheckBox::unticked);
        form.Check2.setValue(hexorin::CheckBox::unticked);
        form.cmdSucher_Click();
        checkFullRun(state, platform.passes, form.SolutionCount);
        benchmark::DoNotOptimize(form.txtErgebnisse.text().data());
    }
}

// The same passes on plain integers: no controls, no texts, no events.
struct IntegerSearch {
    std::array<int, 13> placed{};
    std::array<int, 13> shown{};
    std::array<bool, 13> free{};
    long long passes = 0;
    int solutions = 0;

    static constexpr std::array<std::array<int, 4>, 13> lines{{{},
                                                               {},
                                                               {},
                                                               {},
                                                               {1, 2, 3, 4},
                                                               {},
                                                               {},
                                                               {4, 5, 6, 7},
                                                               {},
                                                               {1, 7, 8, 9},
                                                               {},
                                                               {3, 5, 10, 11},
                                                               {6, 8, 11, 12}}};

    [[nodiscard]] bool lineHolds(int field) const {
        const auto& line = lines[static_cast<std::size_t>(field)];
        if (line[0] == 0)
            return true;
        int sum = 0;
        for (const int f : line)
            sum += shown[static_cast<std::size_t>(f)];
        return sum == 26;
    }

    void run() {
        free.fill(true);
        int field = 1;
        int number = 0;
        while (field != 0) {
            ++passes;
            const auto at = [](int i) { return static_cast<std::size_t>(i); };
            free[at(placed[at(field)])] = true;
            if (++number > 12) {
                shown[at(field)] = 0;
                placed[at(field)] = 0;
                if (--field > 0)
                    number = placed[at(field)];
                continue;
            }
            shown[at(field)] = number;
            if (!free[at(number)] || !lineHolds(field))
                continue;
            free[at(number)] = false;
            placed[at(field)] = number;
            if (++field <= 12) {
                number = 0;
                continue;
            }
            ++solutions;
            field = 12;
        }
    }
};

void integerFloor(benchmark::State& state) {
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop's variable only counts the runs.
    for (auto _ : state) {
        IntegerSearch search;
        search.run();
        checkFullRun(state, search.passes, search.solutions);
        benchmark::DoNotOptimize(search.placed.data());
    }
}

// On a machine shared with other work single runs vary by a fifth; the fastest of several is
// what the code itself costs.
constexpr int kRepetitions = 7;
double fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

BENCHMARK(fullSearchThroughWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ComputeStatistics("min", fastest)
    ->DisplayAggregatesOnly();
BENCHMARK(integerFloor)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ComputeStatistics("min", fastest)
    ->DisplayAggregatesOnly();

// Keeps each benchmark's fastest time per run so the ratio can be printed at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min")
                seconds[run.run_name.function_name] = run.GetAdjustedRealTime() / 1e3;
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto window = reporter.seconds.find("fullSearchThroughWindow");
    const auto floor = reporter.seconds.find("integerFloor");
    if (window != reporter.seconds.end() && floor != reporter.seconds.end())
        std::printf("full run: %.3f s through Form1, %.4f s integer floor; ratio %.1f\n",
                    window->second, floor->second, window->second / floor->second);
    benchmark::Shutdown();
    return 0;
}

// The full unrestricted search in the real window, on whatever platform Qt is given: as the
// program shows it (the widgets catch up once per display frame), alternating with as many bare
// turns of the event loop with the window shown, the least any run that turns the loop once a pass
// can take, the fastest of three rounds of each kept; then once syncing and repainting the whole
// window after every pass, as a window bound to its painter would. Prints the times and ratios in
// its last two lines. For comparison it also repaints only the changed widgets after every pass.
//
// Repainting every pass takes milliseconds a pass, hours for the full run, so by default it is
// measured over the first kDefaultRepaintPasses passes and scaled to the full run; the argument
// "all" runs it in full, a number measures that many passes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/resource.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "known_stars.h"
#include "window/qt/application.h"
#include "window/qt/main_window.h"

namespace {

using hexorin::testing::kFullRunPasses;
using hexorin::testing::kFullRunSolutions;
constexpr long long kDefaultRepaintPasses = 50'000;
constexpr int kRounds = 3;

enum class Painting : std::uint8_t { PerFrame, ChangedEveryPass, EveryPass };

// Wall time, and the processor time of this process: on a machine shared with other work the
// second says how much of the first was this program's own.
struct Timing {
    double seconds = 0;
    double processorSeconds = 0;
};

class Stopwatch {
public:
    Stopwatch() { wall_.start(); }
    [[nodiscard]] Timing elapsed() const {
        return {static_cast<double>(wall_.nsecsElapsed()) / 1e9,
                static_cast<double>(std::clock() - processor_) / CLOCKS_PER_SEC};
    }

private:
    QElapsedTimer wall_;
    std::clock_t processor_ = std::clock();
};

struct Run {
    double seconds = 0;
    double processorSeconds = 0;
    long long passes = 0;
    bool exhausted = false; // the full result, also on the screen
};

// A fresh window, shown, both check boxes unticked, Start clicked; the search runs until it is
// exhausted or, with a pass limit, interrupted after that many passes. The time ends once the last
// state has been painted.
Run runSearch(Painting painting, std::optional<long long> passLimit) {
    const auto window = std::make_unique<hexorin::MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        std::fprintf(stderr, "the window was not exposed\n");
    hexorin::Form1& form = window->form();
    form.Check1.setValue(hexorin::CheckBox::unticked);
    form.Check2.setValue(hexorin::CheckBox::unticked);
    window->syncView();
    QCoreApplication::processEvents();

    Run run;
    window->setTurnObserver([&] {
        ++run.passes;
        if (painting != Painting::PerFrame)
            window->syncView();
        if (painting == Painting::ChangedEveryPass)
            QCoreApplication::sendPostedEvents(window.get(), QEvent::UpdateRequest);
        if (painting == Painting::EveryPass)
            window->repaint();
        if (run.passes == passLimit)
            form.Command1_Click();
    });
    auto* const start = window->findChild<QPushButton*>(QStringLiteral("cmdSucher"));
    const Stopwatch stopwatch;
    start->click();
    QCoreApplication::processEvents();
    const Timing timing = stopwatch.elapsed();
    run.seconds = timing.seconds;
    run.processorSeconds = timing.processorSeconds;
    window->setTurnObserver({});

    const auto* const counter = window->findChild<QLineEdit*>(QStringLiteral("Text2"));
    const auto* const list = window->findChild<QPlainTextEdit*>(QStringLiteral("txtErgebnisse"));
    run.exhausted = form.CurField == 0 && form.SolutionCount == kFullRunSolutions &&
                    run.passes == kFullRunPasses &&
                    counter->text() == QString::number(kFullRunSolutions) &&
                    list->document()->blockCount() == kFullRunSolutions + 1;
    return run;
}

// As many turns of the event loop as the full run has passes, with nothing else to do.
Timing bareTurns() {
    const auto window = std::make_unique<hexorin::MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        std::fprintf(stderr, "the window was not exposed\n");
    QCoreApplication::processEvents();
    const Stopwatch stopwatch;
    for (long long turn = 0; turn < kFullRunPasses; ++turn)
        QCoreApplication::processEvents();
    return stopwatch.elapsed();
}

// No limit for "all"; otherwise the passes given, kDefaultRepaintPasses without a usable number.
std::optional<long long> repaintPasses(int argc, char* argv[]) {
    if (argc >= 2 && std::string_view(argv[1]) == "all")
        return std::nullopt;
    const long long passes = argc >= 2 ? std::atoll(argv[1]) : 0;
    return passes > 0 && passes < kFullRunPasses ? passes : kDefaultRepaintPasses;
}

// The seconds of a full run, from the run itself or scaled up from its first passes; none if the
// run went wrong.
std::optional<double> fullRunSeconds(Painting painting, std::optional<long long> passLimit) {
    const Run run = runSearch(painting, passLimit);
    if (passLimit ? run.passes != *passLimit : !run.exhausted)
        return std::nullopt;
    return run.seconds * static_cast<double>(kFullRunPasses) / static_cast<double>(run.passes);
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // Linux counts in kilobytes
}

} // namespace

int main(int argc, char* argv[]) {
    hexorin::prepareEnvironment();
    QApplication application(argc, argv);
    hexorin::prepareApplication(application);
    const std::optional<long long> limit = repaintPasses(argc, argv);
    std::printf("platform: %s; event dispatcher: %s\n", qPrintable(QGuiApplication::platformName()),
                QCoreApplication::eventDispatcher()->metaObject()->className());

    // Alternating rounds, the fastest of each kind kept: on a machine shared with other work a
    // single run can lose a fifth to its neighbours.
    Run visible;
    Timing bare;
    for (int round = 1; round <= kRounds; ++round) {
        const Run run = runSearch(Painting::PerFrame, std::nullopt);
        if (!run.exhausted) {
            std::fprintf(stderr, "wrong result: %lld passes, expected %d solutions in %lld\n",
                         run.passes, kFullRunSolutions, kFullRunPasses);
            return 1;
        }
        const Timing turns = bareTurns();
        std::printf("round %d: visible full run %.2f s (%d solutions in %lld passes), bare "
                    "event-loop turns %.2f s\n",
                    round, run.seconds, kFullRunSolutions, run.passes, turns.seconds);
        std::fflush(stdout);
        if (round == 1 || run.seconds < visible.seconds)
            visible = run;
        if (round == 1 || turns.seconds < bare.seconds)
            bare = turns;
    }

    const std::optional<double> changed = fullRunSeconds(Painting::ChangedEveryPass, limit);
    const std::optional<double> everything =
        changed ? fullRunSeconds(Painting::EveryPass, limit) : std::nullopt;
    if (!everything) {
        std::fprintf(stderr, "repainting every pass: wrong result\n");
        return 1;
    }
    std::printf("repaint changed widgets every pass: %.0f s; ratio %.0f\n", *changed,
                *changed / visible.seconds);
    std::printf("peak resident memory: %.1f MB (ru_maxrss)\n", peakResidentMegabytes());
    if (limit)
        std::printf("repainting every pass measured over the first %lld passes, extrapolated to "
                    "the %lld passes of the full run\n",
                    *limit, kFullRunPasses);
    else
        std::printf("repainting every pass measured over the full run\n");
    std::printf("fastest of %d rounds each; processor time of this process in them: visible run "
                "%.2f s, bare turns %.2f s; ratio %.2f\n",
                kRounds, visible.processorSeconds, bare.processorSeconds,
                visible.processorSeconds / bare.processorSeconds);
    std::printf("bare event-loop turns: %.2f s; visible run / bare turns: %.2f\n", bare.seconds,
                visible.seconds / bare.seconds);
    std::printf(
        "visible full run: %.2f s (%.0f passes/s); repaint every pass: %.0f s; ratio %.0f\n",
        visible.seconds, static_cast<double>(visible.passes) / visible.seconds, *everything,
        *everything / visible.seconds);
    return 0;
}

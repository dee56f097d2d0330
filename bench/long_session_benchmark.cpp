// A long session in one window: full runs one after another, each started as a person would, with
// Start and Enter on the question the finished search asks, and the resident memory after the
// first 20 runs and after the last. What a run leaves behind shows as growth between the two.
// The argument is the number of runs (default 300).

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "known_stars.h"
#include "window/qt/main_window.h"
#include "window/qt/application.h"

namespace {

constexpr int kDefaultRuns = 300;
constexpr int kSettledRuns = 20;

// The resident set now, not its peak.
double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

} // namespace

int main(int argc, char* argv[]) {
    hexorin::prepareEnvironment();
    QApplication application(argc, argv);
    hexorin::prepareApplication(application);
    const int runs =
        argc >= 2 && std::atoi(argv[1]) > kSettledRuns ? std::atoi(argv[1]) : kDefaultRuns;

    hexorin::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "the window was not exposed\n");
    hexorin::Form1& form = window.form();
    form.Check1.setValue(hexorin::CheckBox::unticked);
    form.Check2.setValue(hexorin::CheckBox::unticked);
    window.syncView();
    auto* const start = window.findChild<QPushButton*>(QStringLiteral("cmdSucher"));

    // Enter on whatever box is open: after a finished search Start asks before it starts anew.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, &window, [] {
        if (QWidget* const box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    answer.start(10);

    double settled = 0;
    for (int run = 1; run <= runs; ++run) {
        start->click();
        QCoreApplication::processEvents();
        if (form.CurField != 0 || form.SolutionCount != hexorin::testing::kFullRunSolutions) {
            std::fprintf(stderr, "run %d ended with %d solutions\n", run, form.SolutionCount);
            return 1;
        }
        if (run == kSettledRuns)
            settled = residentMegabytes();
    }
    std::printf("long session: %d runs, RSS %.1f MB after %d, %.1f MB after %d\n", runs, settled,
                kSettledRuns, residentMegabytes(), runs);
    return 0;
}

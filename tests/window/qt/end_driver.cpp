// A test-only program: the real window, brought into one state by real mouse and key events and
// then ended in one way, both named on the command line:
//   hexorin_end_driver <state> <way>
// It ends through the program's own path (the return of the application's event loop) and
// prints the passes the search has run when the end is requested and when the program exits, so
// a test can tell that no pass ran in between.

#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "window/qt/main_window.h"
#include "window/qt/application.h"

namespace hexorin {
namespace {

constexpr long long kPassesBeforeTheEnd = 300;
// Turns of the event loop the script waits after an end request before it takes it as refused.
constexpr int kTurnsToRefuse = 5;

// Where the search stands. Every pass moves the cursor or changes the placement, and within one
// run the search never comes back to an earlier place, so a change is a pass.
std::string searchPlace(const Form1& form) {
    std::string place = std::to_string(form.CurField) + ':' + std::to_string(form.CurNumber);
    for (int field = 1; field <= 12; ++field)
        place += ',' + std::to_string(form.Placed(field));
    return place;
}

// Everything a pass or a handler of the window may change, to compare at the end request and at
// the exit.
std::string boardText(const Form1& form) {
    std::string board = searchPlace(form) + "|" + std::to_string(form.SolutionCount) + "|" +
                        std::to_string(form.Check1.value()) + std::to_string(form.Check2.value()) +
                        "|" + form.Text2.text() + "|" +
                        std::to_string(form.txtErgebnisse.text().size()) + "|";
    for (int field = 1; field <= 12; ++field)
        board += form.txtFeld(field).text() + ',' + form.txtStein(field).text() + ',' +
                 form.txtIn(field).text() + ';';
    return board;
}

// Looks at the search each time the event loop wakes up, which it does at least once in every
// turn the search gives it.
class PassCounter {
public:
    explicit PassCounter(const Form1& form)
        : form_(form)
        , last_(searchPlace(form)) {
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                         QAbstractEventDispatcher::instance(), [this] { look(); });
    }
    long long passes() {
        look();
        return passes_;
    }

private:
    void look() {
        std::string now = searchPlace(form_);
        if (now == last_)
            return;
        ++passes_;
        last_ = std::move(now);
    }

    const Form1& form_;
    std::string last_;
    long long passes_ = 0;
};

// One step of a scenario: an action, taken once its condition holds.
struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

// Runs the steps in order from a timer, so they also run inside the search's turns of the event
// loop and inside the event loops of its message boxes.
class Script {
public:
    explicit Script(std::vector<Step> steps)
        : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
        timer_.start(0);
    }

private:
    void poll() {
        if (next_ == steps_.size()) {
            timer_.stop();
            return;
        }
        Step& step = steps_[next_];
        if (!step.ready())
            return;
        ++next_;
        step.act();
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
};

QMessageBox* openBox() {
    auto* const box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box != nullptr && box->isVisible() ? box : nullptr;
}

class Driver {
public:
    Driver(std::string_view state, std::string_view way)
        : counter_(window_.form()) {
        window_.show();
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [this] {
            std::printf("exit: passes=%lld board=%s\n", counter_.passes(),
                        boardText(form()).c_str());
            std::fflush(stdout);
        });
        if (auto script = steps(state, way))
            script_.emplace(std::move(*script));
    }

    [[nodiscard]] bool valid() const { return script_.has_value(); }

private:
    Form1& form() { return window_.form(); }

    void click(const char* name) {
        QTest::mouseClick(window_.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

    // From its own timer: the click returns only when the search has left its loop.
    void start() {
        QTimer::singleShot(0, &window_, [this] {
            click("cmdSucher");
            ++startsReturned_;
        });
    }

    // Through the window, as the mouse would: a modal box keeps the click from the menu bar.
    void chooseBeenden() {
        QMenuBar* const bar = window_.menuBar();
        QAction* const action = window_.findChild<QAction*>(QStringLiteral("cmdEnde"));
        const QPoint at = bar->mapTo(&window_, bar->actionGeometry(action).center());
        QTest::mouseClick(window_.windowHandle(), Qt::LeftButton, {}, at);
    }

    std::function<void()> way(std::string_view name) {
        const std::map<std::string_view, std::function<void()>> ways{
            {"beenden", [this] { chooseBeenden(); }},
            // What the platform delivers when the window is closed through its frame.
            {"close", [this] { window_.windowHandle()->close(); }},
            // The toolkit's own end of the application, as on a session end.
            {"quit", [] { QApplication::quit(); }},
        };
        const auto found = ways.find(name);
        return found == ways.end() ? std::function<void()>() : found->second;
    }

    // Prints what the window is doing, then requests the end.
    void request(const std::function<void()>& end) {
        const QMessageBox* const box = openBox();
        std::printf("end request: passes=%lld search=%d box=%s board=%s\n", counter_.passes(),
                    form().searchRunning() ? 1 : 0,
                    box == nullptr ? "none" : qPrintable(box->text()), boardText(form()).c_str());
        std::fflush(stdout);
        end();
    }

    // A request that a modal box keeps from the window is taken back: the box is answered with
    // Escape and the request made again, within the same pass.
    std::vector<Step> ending(const std::function<void()>& end) {
        return {
            act([this, end] { request(end); }),
            {[this] { return ++turnsSinceRequest_ >= kTurnsToRefuse; },
             [this, end] {
                 QMessageBox* const box = openBox();
                 if (form().programEnding() || box == nullptr)
                     return;
                 std::printf("refused while the box is open\n");
                 QTest::keyClick(box, Qt::Key_Escape);
                 QTimer::singleShot(0, &window_, [this, end] { request(end); });
             }},
        };
    }

    static std::function<bool()> always() {
        return [] { return true; };
    }
    std::function<bool()> startsReturned(int count) {
        return [this, count] { return startsReturned_ >= count; };
    }
    std::function<bool()> passesRun() {
        return [this] { return counter_.passes() >= kPassesBeforeTheEnd; };
    }
    std::function<bool()> boxOpen() {
        return [] { return openBox() != nullptr; };
    }
    Step act(std::function<void()> action) { return {always(), std::move(action)}; }
    Step clickOn(const char* name) {
        return act([this, name] { click(name); });
    }

    // The state the window is brought into before the end; the window opens with both check
    // boxes ticked.
    std::optional<std::vector<Step>> before(std::string_view state) {
        using Steps = std::vector<Step>;
        const Step run = act([this] { start(); });
        const std::map<std::string_view, Steps> states{
            {"idle", {}},
            {"running", {clickOn("Check1"), clickOn("Check2"), run, {passesRun(), [] {}}}},
            {"solution", {clickOn("Check2"), run, {startsReturned(1), [] {}}}},
            {"interrupted",
             {clickOn("Check1"),
              clickOn("Check2"),
              run,
              {passesRun(), [this] { click("Command1"); }},
              {startsReturned(1), [] {}}}},
            {"question", {run, {boxOpen(), [] {}}}},
            // Start on an exhausted board shows "Neue Suche, Angangswerte gesetzt".
            {"message",
             {clickOn("cmdKeiner(0)"),
              clickOn("Check2"),
              run,
              {startsReturned(1), [this] { start(); }},
              {boxOpen(), [] {}}}},
        };
        const auto found = states.find(state);
        if (found == states.end())
            return std::nullopt;
        return found->second;
    }

    std::optional<std::vector<Step>> steps(std::string_view state, std::string_view wayName) {
        auto script = before(state);
        const std::function<void()> end = way(wayName);
        if (!script || !end)
            return std::nullopt;
        for (Step& step : ending(end))
            script->push_back(std::move(step));
        return script;
    }

    MainWindow window_;
    PassCounter counter_;
    int startsReturned_ = 0;
    int turnsSinceRequest_ = 0;
    std::optional<Script> script_;
};

} // namespace
} // namespace hexorin

int main(int argc, char* argv[]) {
    hexorin::prepareEnvironment();
    QApplication application(argc, argv);
    hexorin::prepareApplication(application);
    if (argc != 3) {
        std::fprintf(stderr, "usage: hexorin_end_driver <state> <way>\n");
        return 2;
    }
    const hexorin::Driver driver(argv[1], argv[2]);
    if (!driver.valid()) {
        std::fprintf(stderr, "unknown state or way: %s %s\n", argv[1], argv[2]);
        return 2;
    }
    return QApplication::exec();
}

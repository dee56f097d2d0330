#include "window/main_window.h"

#include <array>
#include <memory>

#include <QCloseEvent>
#include <QMenuBar>

#include "window/qt_control_widgets.h"
#include "window/qt_units.h"

namespace hexorin {
namespace {

// Top-level entries of the menu bar: a click runs the command at once, there is no drop-down.
struct MenuEntry {
    const char* name;
    const char* caption;
    void (Form1::*click)();
};
constexpr std::array<MenuEntry, 2> kMenu{{
    {"cmdNeustart", "Startwerte", &Form1::cmdNeustart_Click},
    {"cmdEnde", "Beenden", &Form1::cmdEnde_Click},
}};

QString focusName(const layout::FocusRun& run, int index) {
    const QString control = toQString(run.control);
    if (index == layout::kNoIndex)
        return control;
    return QStringLiteral("%1(%2)").arg(control).arg(index);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
    platform_.setView(this, [this] { syncView(); });
    setWindowTitle(toQString(layout::kProgramName));
    setWindowIcon(makeWindowIcon());
    createMenu();
    auto* const client = new ClientArea(this);
    setCentralWidget(client);
    onMouseMove(client, handler(&Form1::Form_MouseMove));
    createControls(client);
    setFocusOrder();
    form_.Form_Load();
    syncView();
    resize(sizeHint());
}

// The widgets go before the form: while Qt takes them down, no signal of theirs may reach a
// handler that uses it.
MainWindow::~MainWindow() {
    const std::unique_ptr<QWidget> client(takeCentralWidget());
}

void MainWindow::syncView() {
    syncing_ = true;
    for (Binding& binding : bindings_) {
        const std::uint64_t revision = binding.control->revision();
        if (revision == binding.mirrored)
            continue;
        binding.mirrored = revision;
        binding.apply();
    }
    syncing_ = false;
}

// The window has no handler for closing: a close request ends the program like "Beenden", also
// while a search runs.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (!form_.programEnding())
        form_.closeRequested();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto found = moveHandlers_.constFind(watched);
        if (found != moveHandlers_.cend())
            dispatch(found.value());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::createMenu() {
    QMenuBar* const bar = menuBar();
    bar->setNativeMenuBar(false);
    for (const MenuEntry& entry : kMenu) {
        QAction* const action = bar->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QString::fromUtf8(entry.name));
        onClick(action, &QAction::triggered, handler(entry.click));
    }
}

void MainWindow::setFocusOrder() {
    std::vector<QWidget*> chain;
    for (const layout::FocusRun& run : layout::kFocusOrder) {
        const int step = run.to < run.from ? -1 : 1;
        for (int index = run.from;; index += step) {
            chain.push_back(findChild<QWidget*>(focusName(run, index)));
            if (index == run.to)
                break;
        }
    }
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    chain.front()->setFocus();
}

MainWindow::Handler MainWindow::handler(void (Form1::*method)()) {
    return [this, method] { (form_.*method)(); };
}

MainWindow::Handler MainWindow::handler(void (Form1::*method)(int), int index) {
    return [this, method, index] { (form_.*method)(index); };
}

// The move stops at the control: the frame or the window beneath must not write its own text.
void MainWindow::onMouseMove(QWidget* widget, const Handler& handler) {
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    moveHandlers_.insert(widget, handler);
}

// A handler that returns to the event loop is shown at once; one that ran inside the search's
// turn of the event loop is shown with the search's next frame.
void MainWindow::dispatch(const Handler& handler) {
    if (form_.programEnding())
        return;
    const bool insideSearch = form_.searchRunning();
    handler();
    if (!insideSearch && !form_.programEnding())
        syncView();
}

} // namespace hexorin

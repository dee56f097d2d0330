// The window on Qt: menu, focus order, accessible names, and the routing of events to Form1.

#include "window/qt/main_window.h"

#include <algorithm>
#include <array>
#include <memory>

#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QWindow>

#include "window/qt/desktop_look.h"
#include "window/qt/text_boxes.h"
#include "window/qt/units.h"
#include "window/qt/widgets.h"

namespace hexorin {
namespace {

// Top-level entries of the menu bar: a click runs the command at once, there is no drop-down.
struct MenuEntry {
    ControlId control;
    const char* caption;
    void (Form1::*click)();
};
constexpr std::array<MenuEntry, 2> kMenu{{
    {ControlId::cmdNeustart, "Startwerte", &Form1::cmdNeustart_Click},
    {ControlId::cmdEnde, "Beenden", &Form1::cmdEnde_Click},
}};

// Input with which the user starts to edit what a widget shows. Edits are carried over to the
// controls' current texts whatever the widget showed; catching up first only lets the user see
// and place the caret in the current text.
constexpr std::array kEditingInput{QEvent::KeyPress,         QEvent::InputMethod,
                                   QEvent::MouseButtonPress, QEvent::MouseButtonDblClick,
                                   QEvent::ContextMenu,      QEvent::Drop};

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
    platform_.setWindow(this);
    setWindowTitle(toQString(layout::kProgramName));
    setWindowIcon(makeWindowIcon());
    installTextBoxAccessibility();
    installNoticeAccessibility();
    followDesktopLook();
    createMenu();
    auto* const client = new ClientArea(this);
    auto* const view = new ClientView(client, this);
    setCentralWidget(view);
    made(client, ControlId::Form1);
    onMouseMove(client, handler(&Form1::Form_MouseMove));
    // A window larger than the client area shows the view's surface around it.
    onMouseMove(view->viewport(), handler(&Form1::Form_MouseMove));
    createControls(client);
    view->takeWheels();
    setFocusOrder();
    createNotices();
    form_.Form_Load();
    mirror_.now();
    resize(sizeHint());
}

// The widgets go before the form: while Qt takes them down, no signal of theirs may reach a
// handler that uses it.
MainWindow::~MainWindow() {
    const std::unique_ptr<QWidget> view(takeCentralWidget());
}

void MainWindow::setTurnObserver(std::function<void()> observer) {
    platform_.setTurnObserver(std::move(observer));
}

// The window has no handler for closing: a close request ends the program like "Beenden", also
// while a search runs.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (!form_.programEnding())
        form_.closeRequested();
    event->accept();
}

// On a screen with less free room than the window wants, the window takes what there is and its
// client area scrolls; the whole frame, title bar included, stays inside the free room. A window
// manager tells the frame only once the window is up, so the fit is made again when it does.
void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        fitToScreen();
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        windowHandle() != nullptr && windowHandle()->frameMargins() != fittedFrame_)
        fitToScreen();
    return handled;
}

void MainWindow::fitToScreen() {
    if (screen() == nullptr || windowHandle() == nullptr ||
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QMargins frame = windowHandle()->frameMargins();
    fittedFrame_ = frame;
    const QSize wanted = sizeHint();
    const QRect room = screen()->availableGeometry();
    const QPoint at = frameGeometry().topLeft();
    const layout::Rect client =
        layout::framedFit({wanted.width(), wanted.height()},
                          {frame.left(), frame.top(), frame.right(), frame.bottom()},
                          {room.x(), room.y(), room.width(), room.height()}, {at.x(), at.y()},
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    // Placed only where it has to move: elsewhere the window manager places it.
    if (QPoint(client.left, client.top) != geometry().topLeft())
        move(client.left - frame.left(), client.top - frame.top());
    resize(client.width, client.height);
}

// High contrast raises the texts the layout draws in grey or red on grey; the surface they stand on
// may change with the desktop's light or dark choice.
void MainWindow::followDesktopLook() {
    const DesktopLook* const look = DesktopLook::of(QCoreApplication::instance());
    if (look == nullptr)
        return;
    highContrast_ = look->appearance().highContrast;
    connect(look, &DesktopLook::changed, this, [this, look] {
        highContrast_ = look->appearance().highContrast;
        for (const auto& raise : raisedTexts_)
            raise();
    });
}

void MainWindow::showTextColor(QWidget* widget, QPalette::ColorRole text, QPalette::ColorRole back,
                               Color color) {
    setColor(widget, text,
             highContrast_ ? readableOn(fromQColor(widget->palette().color(back)), color) : color);
}

// What the search and the commands say reaches a screen reader as a notification, after the
// boxes it changed have caught up.
void MainWindow::createNotices() {
    mirror_.speakThrough(this);
    mirror_.tellProgress([this] { return toQString(form_.progressAnnouncement()); });
    mirror_.bind(form_.announcement, [this, heard = form_.announcement.said()]() mutable {
        const Announcement& announcement = form_.announcement;
        for (; heard < announcement.said(); ++heard)
            if (const std::string* const sentence = announcement.sentence(heard))
                mirror_.say(toQString(*sentence));
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (compositions_.drops(watched, event))
        return true;
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        mirror_.focusMoves(watched);
    if (std::ranges::find(kEditingInput, event->type()) != kEditingInput.end() &&
        !mirror_.applying())
        mirror_.now();
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
    describe(bar, ControlId::menu);
    for (const MenuEntry& entry : kMenu) {
        QAction* const action = bar->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(widgetName(entry.control));
        onClick(action, &QAction::triggered, handler(entry.click));
    }
}

void MainWindow::setFocusOrder() {
    std::vector<QWidget*> chain;
    for (const layout::FocusRun& run : layout::kFocusOrder) {
        const int step = run.to < run.from ? -1 : 1;
        for (int index = run.from;; index += step) {
            chain.push_back(widgetNamed(widgetName(run.control, index)));
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
        mirror_.now();
}

// The widget's name, its accessible name and description, and its place for the focus chain.
void MainWindow::made(QWidget* widget, ControlId control, int index) {
    const QString name = widgetName(control, index);
    widget->setObjectName(name);
    made_.insert(name, widget);
    describe(widget, control, index);
}

void MainWindow::describe(QWidget* widget, ControlId control, int index) const {
    widget->setAccessibleName(toQString(hexorin::accessibleName(control, index)));
    if (explainedByHelpLine(control, index))
        widget->setAccessibleDescription(toQString(form_.helpText(control, index)));
}

QWidget* MainWindow::widgetNamed(const QString& name) const {
    QWidget* const widget = made_.value(name);
    if (widget == nullptr)
        qFatal("no widget was made for %s", qUtf8Printable(name));
    return widget;
}

} // namespace hexorin

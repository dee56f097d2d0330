// The platform services on Qt: message boxes, a turn of the event loop, the end of the program.

#include "window/qt/platform_services.h"

#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#ifdef HEXORIN_HAS_XCB
#include <xcb/xcb.h>
#endif

#include "window/layout.h"
#include "window/qt/units.h"
#include "window/qt/view_mirror.h"

namespace hexorin {
namespace {

// Text-only buttons, and a title bar with a close box only: a box can be neither minimised nor
// maximised.
void plainBox(QMessageBox& box) {
    for (const QList<QAbstractButton*> buttons = box.buttons();
         QAbstractButton* const button : buttons)
        button->setIcon(QIcon());
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
}

// False once another program has destroyed the widget's window under it. Only X11 lets one.
bool windowExists(const QWidget& widget) {
#ifdef HEXORIN_HAS_XCB
    const auto* const x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || widget.windowHandle() == nullptr)
        return true;
    xcb_connection_t* const connection = x11->connection();
    xcb_generic_error_t* error = nullptr;
    std::free(xcb_get_window_attributes_reply(
        connection,
        xcb_get_window_attributes(connection, static_cast<xcb_window_t>(widget.winId())), &error));
    const bool gone = error != nullptr;
    std::free(error);
    return !gone;
#else
    static_cast<void>(widget);
    return true;
#endif
}

// Centres a shown box on its window: the box's inside on the window's, both framed alike by the
// window manager. Qt guesses the frames instead, and where the window manager draws no side
// borders (KWin's Breeze) its guess puts the box 10 px left and 40 px above the middle.
void centreOnWindow(QWidget& box) {
    const QWidget* const window = box.parentWidget();
    if (window == nullptr || box.windowHandle() == nullptr)
        return;
    box.windowHandle()->setPosition(window->geometry().center() -
                                    QPoint(box.width() / 2, box.height() / 2));
}

// A box whose window disappears without an answer counts as closed with `unanswered`; Qt alone
// would wait for it, and keep the main window blocked, for good.
int runBox(QMessageBox& box, QMessageBox::StandardButton unanswered) {
    constexpr int kWatchMilliseconds = 250;
    QTimer::singleShot(0, &box, [&box] { centreOnWindow(box); });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &box, [&box, unanswered] {
        if (box.isVisible() && !windowExists(box))
            box.done(unanswered);
    });
    watch.start(kWatchMilliseconds);
    const int answer = box.exec();
    // Each box's buttons get a palette of their own, and the style keeps their pictures under
    // that palette's key, which no later box asks for: a long session would pile them up.
    QPixmapCache::clear();
    return answer;
}

} // namespace

// glibc keeps freed memory for reuse; other C libraries are left to themselves.
void returnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void QtPlatform::setTurnObserver(std::function<void()> observer) {
    turnObserver_ = std::move(observer);
}

// The buttons get their German texts here, so they read right even without Qt's translations.
void QtPlatform::showMessage(const std::string& text) {
    mirror_.now();
    QMessageBox box(QMessageBox::NoIcon, toQString(layout::kProgramName), toQString(text),
                    QMessageBox::Ok, window_);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setDefaultButton(QMessageBox::Ok);
    plainBox(box);
    runBox(box, QMessageBox::Ok);
}

bool QtPlatform::askYesNo(const std::string& text, const std::string& title) {
    mirror_.now();
    QMessageBox box(QMessageBox::Question, toQString(title), toQString(text),
                    QMessageBox::Yes | QMessageBox::No, window_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nein"));
    // Named, not left to the platform theme: GNOME's lays out "Nein | Ja" and focuses the first.
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    plainBox(box);
    return runBox(box, QMessageBox::No) == QMessageBox::Yes;
}

void QtPlatform::processEvents() {
    QCoreApplication::processEvents();
    mirror_.soon();
    if (turnObserver_)
        turnObserver_();
}

// exit() leaves every running event loop, also when the end comes from inside the search's turn
// of the event loop or from a nested loop; the search itself stops on the form's ending flag.
void QtPlatform::endProgram() {
    if (window_ != nullptr)
        window_->hide();
    QCoreApplication::exit(0);
}

} // namespace hexorin

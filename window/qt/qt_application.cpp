// The application object and the environment it starts in.

#include "window/qt/qt_application.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>

#include "window/qt/qt_control_widgets.h"

namespace hexorin {
namespace {

// The bus a user session offers at its standard place, where there is no address to say so.
bool userBusExists() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

// Qt's own fatal error in its place aborts with a hint to reinstall, which helps nobody.
void reportMissingDisplay(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("hexorin: no display to open the window on (DISPLAY or WAYLAND_DISPLAY is not "
                   "set, or no display server answers there); start Hexorin in a desktop "
                   "session, or under xvfb-run.\n",
                   stderr);
        std::_Exit(1);
    }
    // The platform's warnings only lead up to that line.
    if (QLatin1String(context.category).startsWith(QLatin1String("qt.qpa")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

void prepareEnvironment() {
    // Qt's own event dispatcher instead of GLib's: the search turns the event loop once a pass,
    // and a GLib turn costs about a third more. Nothing the window uses needs the GLib main loop;
    // QT_NO_GLIB set to anything, even empty, is the user's choice.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    // Without a session bus, D-Bus would start one of its own that outlives the program. The
    // accessibility bus is still found through the display where a screen reader runs.
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") && !userBusExists())
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

void prepareApplication(QApplication& application) {
    // Lets Wayland desktops match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.hexorin.Hexorin"));
    auto* const style = new WindowStyle;
    QApplication::setStyle(style); // the application owns it
    QApplication::setPalette(style->standardPalette());
    auto* const translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
    prepareEnvironment();
    const QtMessageHandler previous = qInstallMessageHandler(&reportMissingDisplay);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    prepareApplication(*application);
    return application;
}

} // namespace hexorin

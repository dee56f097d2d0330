#include "window/qt_application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>
#include <QtGlobal>

namespace hexorin {

void prepareEnvironment() {
    // Qt's own event dispatcher instead of GLib's: the search turns the event loop once a pass,
    // and a GLib turn costs about twice as much. Nothing the window uses needs the GLib main loop;
    // QT_NO_GLIB set to anything, even empty, is the user's choice.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

void prepareApplication(QApplication& application) {
    // Lets Wayland desktops match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.hexorin.Hexorin"));
    if (QStyle* const fusion = QApplication::setStyle(QStringLiteral("Fusion")))
        QApplication::setPalette(fusion->standardPalette());
    auto* const translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

} // namespace hexorin

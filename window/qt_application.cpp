// The Qt application's style, palette and German translations.

#include "window/qt_application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>

namespace hexorin {

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

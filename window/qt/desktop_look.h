#pragma once

// What the desktop says of how programs should look, light or dark and high contrast, and the
// palette the window takes from it.

#include <cstdint>
#include <optional>

#include <QDBusConnection>
#include <QObject>
#include <QPalette>
#include <QString>

class QDBusVariant;

namespace hexorin {

enum class ColorScheme : std::uint8_t { NoPreference, Dark, Light };

struct Appearance {
    ColorScheme scheme = ColorScheme::NoPreference;
    bool highContrast = false;

    friend bool operator==(Appearance, Appearance) = default;
};

// Fusion's own colours in light or dark, the ones the window's dark look was made on.
QPalette schemePalette(ColorScheme scheme);

// The platform theme's palette where it is already as light or as dark as the desktop asks, else
// the scheme's own: GNOME's Dark style reaches no platform theme Qt loads there, KDE's colour
// scheme does.
QPalette paletteFor(ColorScheme scheme, const QPalette& platform);

// A GTK theme named for high contrast (GNOME's HighContrast and HighContrastInverse).
bool highContrastTheme(const QString& gtkTheme);

// The desktop's settings as the freedesktop appearance portal tells them (GNOME and KDE both run
// it; GNOME's also passes on its own settings), read at start and followed while the program runs:
// it sets the application's palette and says when the look has changed. Where no portal answers,
// the look is the platform theme's.
class DesktopLook final : public QObject {
    Q_OBJECT

public:
    DesktopLook(const QDBusConnection& bus, QObject* parent);

    [[nodiscard]] Appearance appearance() const { return appearance_; }
    // The look of the running application, if it has one.
    static const DesktopLook* of(const QObject* application);

Q_SIGNALS:
    void changed();

private Q_SLOTS:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void take(const QString& group, const QString& key, const QVariant& value);
    void apply();

    QDBusConnection bus_;
    unsigned portalScheme_ = 0;
    // Where the portal has no contrast setting (Debian 12), GNOME's own switch or theme decides.
    std::optional<unsigned> portalContrast_;
    bool gnomeHighContrast_ = false;
    QString gtkTheme_;
    Appearance appearance_;
};

} // namespace hexorin

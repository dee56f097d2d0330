// The desktop's light or dark choice and its high contrast, through the appearance portal.

#include "window/qt/desktop_look.h"

#include <array>
#include <utility>

#include <QApplication>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStyle>
#include <QStyleHints>

namespace hexorin {
namespace {

constexpr QLatin1String kPortalService("org.freedesktop.portal.Desktop");
constexpr QLatin1String kPortalPath("/org/freedesktop/portal/desktop");
constexpr QLatin1String kSettings("org.freedesktop.portal.Settings");
constexpr QLatin1String kAppearance("org.freedesktop.appearance");
constexpr QLatin1String kGnomeInterface("org.gnome.desktop.interface");
constexpr QLatin1String kColorScheme("color-scheme");
constexpr QLatin1String kContrast("contrast");
constexpr QLatin1String kGtkTheme("gtk-theme");
constexpr QLatin1String kGnomeAccessibility("org.gnome.desktop.a11y.interface");
constexpr QLatin1String kGnomeHighContrast("high-contrast");

// The portal's values: color-scheme 1 prefers dark, 2 light; contrast 1 asks for high contrast.
constexpr unsigned kPrefersDark = 1;
constexpr unsigned kPrefersLight = 2;
constexpr unsigned kHighContrast = 1;
// A portal that is installed but has no backend to start can keep the first call waiting.
constexpr int kFirstAnswerMilliseconds = 1000;

// The portal's Read wraps the value in one variant more than it says.
QVariant unwrapped(QVariant value) {
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

bool darkPalette(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() <
           palette.color(QPalette::WindowText).lightness();
}

} // namespace

QPalette schemePalette(ColorScheme scheme) {
    const bool dark = scheme == ColorScheme::Dark;
    const QColor surface = dark ? QColor(50, 50, 50) : QColor(239, 239, 239);
    const QColor text = dark ? QColor(240, 240, 240) : QColor(Qt::black);
    const QColor base = dark ? surface.darker(140) : QColor(Qt::white);
    const QColor mid = surface.darker(130);
    QPalette palette(text, surface, surface.lighter(150), surface.darker(150), mid, text, Qt::white,
                     base, surface);
    palette.setColor(QPalette::Midlight, mid.lighter(110));
    palette.setColor(QPalette::Shadow, surface.darker(150).darker(135));
    palette.setColor(QPalette::AlternateBase, dark ? surface : surface.lighter(103));
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::HighlightedText, dark ? text : QColor(Qt::white));
    palette.setColor(QPalette::Link, dark ? QColor(90, 170, 230) : QColor(0, 0, 255));
    palette.setColor(QPalette::ToolTipBase, dark ? surface : QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, text);
    QColor placeholder = text;
    placeholder.setAlpha(128);
    palette.setColor(QPalette::PlaceholderText, placeholder);
    const QColor disabled = dark ? QColor(130, 130, 130) : QColor(190, 190, 190);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Base, surface);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    return palette;
}

QPalette paletteFor(ColorScheme scheme, const QPalette& platform) {
    if (scheme == ColorScheme::NoPreference ||
        darkPalette(platform) == (scheme == ColorScheme::Dark))
        return platform;
    return schemePalette(scheme);
}

bool highContrastTheme(const QString& gtkTheme) {
    return gtkTheme.section(QLatin1Char(':'), 0, 0)
        .contains(QStringLiteral("HighContrast"), Qt::CaseInsensitive);
}

DesktopLook::DesktopLook(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , bus_(bus)
    , gtkTheme_(qEnvironmentVariable("GTK_THEME")) {
    setObjectName(QStringLiteral("DesktopLook"));
    constexpr std::array<std::pair<QLatin1String, QLatin1String>, 4> kSettingsRead{
        {{kAppearance, kColorScheme},
         {kAppearance, kContrast},
         {kGnomeAccessibility, kGnomeHighContrast},
         {kGnomeInterface, kGtkTheme}}};
    if (bus_.isConnected()) {
        for (const auto& [group, key] : kSettingsRead) {
            QDBusMessage read = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                               kSettings, QStringLiteral("Read"));
            read << group << key;
            const QDBusMessage reply = bus_.call(read, QDBus::Block, kFirstAnswerMilliseconds);
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                take(group, key, reply.arguments().constFirst());
            else if (reply.errorName() != QStringLiteral("org.freedesktop.portal.Error.NotFound"))
                break; // no portal: the rest would not answer either
        }
        bus_.connect(kPortalService, kPortalPath, kSettings, QStringLiteral("SettingChanged"), this,
                     SLOT(settingChanged(QString, QString, QDBusVariant)));
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // From Qt 6.5 the style's own palette follows the platform theme's scheme, which may take the
    // portal's change after this object has: the palette is chosen again when it has.
    connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
            [this] { apply(); });
#endif
    apply();
}

const DesktopLook* DesktopLook::of(const QObject* application) {
    return application == nullptr
               ? nullptr
               : application->findChild<DesktopLook*>(QString(), Qt::FindDirectChildrenOnly);
}

void DesktopLook::settingChanged(const QString& group, const QString& key,
                                 const QDBusVariant& value) {
    take(group, key, value.variant());
    apply();
}

void DesktopLook::take(const QString& group, const QString& key, const QVariant& value) {
    const QVariant plain = unwrapped(value);
    if (group == kAppearance && key == kColorScheme)
        portalScheme_ = plain.toUInt();
    else if (group == kAppearance && key == kContrast)
        portalContrast_ = plain.toUInt();
    else if (group == kGnomeAccessibility && key == kGnomeHighContrast)
        gnomeHighContrast_ = plain.toBool();
    else if (group == kGnomeInterface && key == kGtkTheme &&
             qEnvironmentVariable("GTK_THEME").isEmpty())
        gtkTheme_ = plain.toString();
}

void DesktopLook::apply() {
    const Appearance wanted{portalScheme_ == kPrefersDark    ? ColorScheme::Dark
                            : portalScheme_ == kPrefersLight ? ColorScheme::Light
                                                             : ColorScheme::NoPreference,
                            portalContrast_ ? *portalContrast_ == kHighContrast
                                            : gnomeHighContrast_ || highContrastTheme(gtkTheme_)};
    const QPalette palette = paletteFor(wanted.scheme, QApplication::style()->standardPalette());
    if (palette != QApplication::palette())
        QApplication::setPalette(palette);
    if (wanted == appearance_)
        return;
    appearance_ = wanted;
    Q_EMIT changed();
}

} // namespace hexorin

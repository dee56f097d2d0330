// The application object and the environment it starts in.

#include "window/qt/application.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>
#include <QPluginLoader>
#include <QProcessEnvironment>
#include <QScreen>
#include <QStyle>
#include <QTranslator>
#include <QVersionNumber>

#include "window/qt/desktop_look.h"
#include "window/qt/style.h"
#include "window/qt/widgets.h"

namespace hexorin {
namespace {

constexpr std::string_view kHelp =
    "Aufruf: hexorin [Qt-Optionen]\n"
    "Löst den magischen Sechsstern durch Backtracking und zeigt dabei jeden Schritt.\n"
    "\n"
    "  -h, --help      diese Hilfe zeigen\n"
    "  -v, --version   die Version zeigen\n"
    "\n"
    "Qt-Optionen wie -platform NAME, -style NAME, -display ANZEIGE oder -reverse gelten wie bei\n"
    "jedem Qt-Programm. Andere Argumente weist Hexorin ab (Status 2).\n";
constexpr std::string_view kVersion = "hexorin " HEXORIN_VERSION "\n";

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kTerminalOptions{{
    {"-h", kHelp},
    {"--help", kHelp},
    {"-v", kVersion},
    {"--version", kVersion},
}};

// Debian's packages of the platform plugins that do not come with Qt's GUI library, by the start
// of the plugin's name.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kPluginPackages{{
    {"wayland", "qt6-wayland"},
    {"vnc", "qt6-qpa-plugins"},
}};

// Qt paints through its raster engine, which has no 8-bit formats: on such a screen the window
// comes up black and the first click crashes inside Qt. 15 bits (RGB555) it paints.
constexpr int kLeastScreenDepth = 15;

[[noreturn]] void endWith(int status, const std::string& line) {
    std::fprintf(stderr, "hexorin: %s\n", line.c_str());
    std::exit(status);
}

// --help and --version answer before the application exists, so they need no display.
void answerTerminalOptions(std::span<char* const> arguments) {
    for (const std::string_view argument : arguments)
        for (const auto& [option, answer] : kTerminalOptions)
            if (argument == option) {
                std::fwrite(answer.data(), 1, answer.size(), stdout);
                std::exit(0);
            }
}

// What the application was asked for and what Qt said while it was being made. Qt's message
// handler is a plain function, so the notes outlive the calls; only the thread that makes the
// application writes them.
struct PlatformNotes {
    QString requested; // the platforms named by -platform or QT_QPA_PLATFORM, if any
    // Qt's other messages, shown once the window can go up: where it cannot, one line says why.
    QStringList heldBack;
};

PlatformNotes& platformNotes() {
    static PlatformNotes notes;
    return notes;
}

// The platforms asked for, as Qt reads them: -platform before QT_QPA_PLATFORM. Empty for Qt's
// own choice.
QString requestedPlatforms(std::span<char* const> arguments) {
    for (std::size_t at = 0; at + 1 < arguments.size(); ++at)
        if (const std::string_view option = arguments[at];
            option == "-platform" || option == "--platform")
            return QString::fromLocal8Bit(arguments[at + 1]);
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

// The keys of the platform plugins Qt can load, read from the plugins' own metadata.
QStringList installedPlatforms() {
    QStringList folders = QCoreApplication::libraryPaths();
    for (QString& folder : folders)
        folder += QStringLiteral("/platforms");
    folders += qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    QStringList keys;
    for (const QString& folder : std::as_const(folders))
        for (const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
             const QFileInfo& file : files) {
            const QJsonArray pluginKeys = QPluginLoader(file.filePath())
                                              .metaData()
                                              .value(QStringLiteral("MetaData"))
                                              .toObject()
                                              .value(QStringLiteral("Keys"))
                                              .toArray();
            for (const auto& key : pluginKeys)
                if (!keys.contains(key.toString(), Qt::CaseInsensitive))
                    keys << key.toString();
        }
    return keys;
}

// The first platform asked for whose plugin is missing, where none of those asked for is there:
// then Qt had nothing to open. Otherwise a plugin loaded and found no display.
std::optional<QString> missingPlatform(const QString& requested, const QStringList& installed) {
    std::optional<QString> missing;
    for (const QStringList platforms = requested.split(QLatin1Char(';'), Qt::SkipEmptyParts);
         const QString& platform : platforms) {
        const QString name = platform.section(QLatin1Char(':'), 0, 0);
        if (installed.contains(name, Qt::CaseInsensitive))
            return std::nullopt;
        if (!missing)
            missing = name;
    }
    return missing;
}

std::string missingPluginLine(const QString& plugin, const QStringList& installed) {
    const std::string name = plugin.toStdString();
    for (const auto& [prefix, package] : kPluginPackages)
        if (name.starts_with(prefix))
            return "Qt's platform plugin \"" + name + "\" is not installed; install the package " +
                   std::string(package) + ", or choose another platform, e.g. QT_QPA_PLATFORM=xcb.";
    return "Qt has no platform plugin \"" + name + "\"" +
           (installed.isEmpty()
                ? std::string()
                : " (installed: " + installed.join(QStringLiteral(", ")).toStdString() + ")") +
           "; choose another one with QT_QPA_PLATFORM.";
}

std::string noDisplayLine() {
    return "no display to open the window on (DISPLAY or WAYLAND_DISPLAY is not set, or no "
           "display server answers there); start Hexorin in a desktop session, or under xvfb-run.";
}

// Qt's own fatal error in its place aborts with a hint to reinstall, which helps nobody.
void reportPlatformFailure(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtFatalMsg) {
        const QStringList installed = installedPlatforms();
        const std::optional<QString> missing =
            missingPlatform(platformNotes().requested, installed);
        std::fprintf(stderr, "hexorin: %s\n",
                     (missing ? missingPluginLine(*missing, installed) : noDisplayLine()).c_str());
        std::_Exit(1);
    }
    // The platform's warnings only lead up to that line.
    if (QLatin1String(context.category).startsWith(QLatin1String("qt.qpa")))
        return;
    platformNotes().heldBack << qFormatLogMessage(type, context, message);
}

struct Refusal {
    int status;
    std::string line;
};

// Qt has taken its own options out of the arguments; what is left is not Hexorin's either.
std::optional<Refusal> refusal(std::span<char* const> leftArguments) {
    if (!leftArguments.empty())
        return Refusal{2, "unknown argument \"" + std::string(leftArguments.front()) +
                              "\"; hexorin --help lists what it takes."};
    const QScreen* const screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return Refusal{1, noDisplayLine()};
    if (screen->depth() < kLeastScreenDepth)
        return Refusal{1, "the display has " + std::to_string(screen->depth()) +
                              " bits per pixel, too few for Qt to paint the window; start it "
                              "with 24 (Xvfb: -screen 0 1024x768x24)."};
    return std::nullopt;
}

// The bus a user session offers at its standard place, where there is no address to say so.
bool userBusExists() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
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
    QGuiApplication::setDesktopFileName(QStringLiteral(HEXORIN_APP_ID));
    auto* const style = new WindowStyle;
    QApplication::setStyle(style); // the application owns it
    QApplication::setPalette(style->standardPalette());
    new DesktopLook(QDBusConnection::sessionBus(), &application); // the application owns it
    auto* const translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

bool throughXWayland(const QProcessEnvironment& environment, std::span<char* const> arguments,
                     const QVersionNumber& qt) {
    constexpr std::array<std::string_view, 2> kPlatformOption{"-platform", "--platform"};
    const bool chosen =
        !environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty() ||
        std::ranges::any_of(arguments, [&kPlatformOption](std::string_view argument) {
            return std::ranges::any_of(kPlatformOption, [argument](std::string_view option) {
                return argument == option || argument.starts_with(std::string(option) + '=');
            });
        });
    const bool gnome = environment.value(QStringLiteral("XDG_CURRENT_DESKTOP"))
                           .split(QLatin1Char(':'))
                           .contains(QStringLiteral("GNOME"), Qt::CaseInsensitive);
    const bool wayland =
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QStringLiteral("wayland") ||
        !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    return !chosen && gnome && wayland && !environment.value(QStringLiteral("DISPLAY")).isEmpty() &&
           qt < QVersionNumber(6, 8);
}

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
    // The program's own arguments, after its name.
    const auto arguments = [&argc, argv] {
        return argc < 1 ? std::span<char* const>()
                        : std::span<char* const>(argv, static_cast<std::size_t>(argc)).subspan(1);
    };
    answerTerminalOptions(arguments());
    prepareEnvironment();
    if (throughXWayland(QProcessEnvironment::systemEnvironment(), arguments(),
                        QLibraryInfo::version()))
        qputenv("QT_QPA_PLATFORM", "xcb");
    platformNotes().requested = requestedPlatforms(arguments());
    const QtMessageHandler previous = qInstallMessageHandler(&reportPlatformFailure);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    if (const std::optional<Refusal> refused = refusal(arguments())) {
        application.reset();
        endWith(refused->status, refused->line);
    }
    for (const QStringList messages = std::exchange(platformNotes().heldBack, {});
         const QString& message : messages)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    prepareApplication(*application);
    return application;
}

} // namespace hexorin

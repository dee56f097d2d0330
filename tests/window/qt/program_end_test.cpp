// Every way the program can end, with the real window in a process of its own: the end driver
// brings the window into a state with real mouse events, requests the end in one way and prints
// the passes run at the request and at the exit.

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVersionNumber>

#include "window/qt/application.h"

namespace hexorin {
namespace {

// Generous: the end itself takes a fraction of a second, the rest is starting the process.
constexpr int kFinishMilliseconds = 5000;

QProcessEnvironment offscreen() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

struct Ending {
    const char* state;
    const char* way;
    bool searchRunning; // at the end request
    const char* box;    // the box open at the end request
    bool passesRun;     // the search has run passes before the end request
    bool refused;       // the box keeps the first request from the window
};

void PrintTo(const Ending& row, std::ostream* out) {
    *out << row.state << ' ' << row.way;
}

// The last line of the output that starts with the prefix, without the prefix.
QString lastLine(const QString& output, const QString& prefix) {
    const QStringList lines = output.split(QLatin1Char('\n'));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        if (line->startsWith(prefix))
            return line->mid(prefix.size());
    return {};
}

std::string field(const QString& line, const QString& name) {
    // Anything after the name's "=" up to the next " name=" or the end.
    static const QRegularExpression pairs(QStringLiteral("(?:^| )(\\w+)=(.*?)(?= \\w+=|$)"));
    for (auto match = pairs.globalMatch(line); match.hasNext();)
        if (const QRegularExpressionMatch pair = match.next(); pair.captured(1) == name)
            return pair.captured(2).toStdString();
    return {};
}

class EndInAChildProcess : public ::testing::TestWithParam<Ending> {};

TEST_P(EndInAChildProcess, EndsWithStatusZeroAndNoFurtherPass) {
    const Ending& row = GetParam();
    QProcess driver;
    driver.setProcessEnvironment(offscreen());
    driver.start(QStringLiteral(HEXORIN_END_DRIVER),
                 {QString::fromLatin1(row.state), QString::fromLatin1(row.way)});
    ASSERT_TRUE(driver.waitForStarted());
    const bool finished = driver.waitForFinished(kFinishMilliseconds);
    if (!finished) {
        driver.kill();
        driver.waitForFinished();
    }
    const QString output = QString::fromUtf8(driver.readAllStandardOutput());
    SCOPED_TRACE("output:\n" + output.toStdString() + "errors:\n" +
                 QString::fromUtf8(driver.readAllStandardError()).toStdString());
    ASSERT_TRUE(finished);
    EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(driver.exitCode(), 0);

    const QString request = lastLine(output, QStringLiteral("end request: "));
    const QString exit = lastLine(output, QStringLiteral("exit: "));
    ASSERT_FALSE(request.isEmpty());
    ASSERT_FALSE(exit.isEmpty());
    EXPECT_EQ(field(request, QStringLiteral("search")), row.searchRunning ? "1" : "0");
    EXPECT_EQ(field(request, QStringLiteral("box")), row.box);
    EXPECT_EQ(std::stoll(field(request, QStringLiteral("passes"))) > 0, row.passesRun);
    EXPECT_EQ(output.contains(QStringLiteral("refused while the box is open")), row.refused);
    // No pass and no handler ran after the request.
    EXPECT_EQ(field(exit, QStringLiteral("passes")), field(request, QStringLiteral("passes")));
    EXPECT_EQ(field(exit, QStringLiteral("board")), field(request, QStringLiteral("board")));
}

constexpr const char* kQuestion = "Jede Schleife zeigen ?";
constexpr const char* kNewSearch = "Neue Suche, Angangswerte gesetzt";

// beenden: the menu entry, clicked through the window; close: the window closed through its
// frame; quit: the toolkit ends the application, as on a session end.
INSTANTIATE_TEST_SUITE_P(
    Ways, EndInAChildProcess,
    ::testing::Values(Ending{"idle", "beenden", false, "none", false, false},
                      Ending{"idle", "close", false, "none", false, false},
                      Ending{"idle", "quit", false, "none", false, false},
                      Ending{"running", "beenden", true, "none", true, false},
                      Ending{"running", "close", true, "none", true, false},
                      Ending{"running", "quit", true, "none", true, false},
                      Ending{"solution", "beenden", false, "none", true, false},
                      Ending{"solution", "close", false, "none", true, false},
                      Ending{"interrupted", "beenden", false, "none", true, false},
                      Ending{"interrupted", "close", false, "none", true, false},
                      Ending{"question", "beenden", true, "none", false, true},
                      Ending{"question", "close", true, kQuestion, false, false},
                      Ending{"question", "quit", true, kQuestion, false, false},
                      Ending{"message", "beenden", true, "none", true, true},
                      Ending{"message", "close", false, kNewSearch, true, false},
                      Ending{"message", "quit", false, kNewSearch, true, false}),
    [](const auto& ending) {
        return std::string(ending.param.state) + "_" + std::string(ending.param.way);
    });

// The program itself, without a user: it opens its window and waits, it does not end by itself.
TEST(ProgramWithoutAUser, OpensAndWaitsForItsUser) {
    QProcess program;
    program.setProcessEnvironment(offscreen());
    program.start(QStringLiteral(HEXORIN_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_FALSE(program.waitForFinished(1000)) << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished();
}

// What the program answers on the terminal, before any window: the options it takes, and one line
// and status 1 where it cannot show its window. Qt alone aborts there, or comes up black on an
// 8-bit screen and crashes at the first click.
struct TerminalRow {
    const char* name;
    QStringList wrapper; // runs the program, such as xvfb-run; empty: started directly
    QStringList arguments;
    // Over an environment without a display on X11; a null value removes the variable.
    std::vector<std::pair<const char*, const char*>> environment;
    int status;
    QString out;    // what standard output starts with
    QString errors; // what the one line on standard error starts with; empty: nothing there
};

void PrintTo(const TerminalRow& row, std::ostream* out) {
    *out << row.name;
}

bool waylandPluginInstalled() {
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms/libqwayland-generic.so"));
}

class ProgramOnTheTerminal : public ::testing::TestWithParam<TerminalRow> {};

TEST_P(ProgramOnTheTerminal, AnswersInLinesOfItsOwnAndEnds) {
    const TerminalRow& row = GetParam();
    QStringList command = row.wrapper;
    if (!command.isEmpty() && QStandardPaths::findExecutable(command.front()).isEmpty())
        GTEST_SKIP() << "no " << command.front().toStdString();
    command << QStringLiteral(HEXORIN_PROGRAM) << row.arguments;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // As the tests on a real X server do (tests/window/qt/CMakeLists.txt); the program ends at
    // once.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) +
                           QStringLiteral(":fast_unwind_on_malloc=0"));
    for (const auto& [name, value] : row.environment)
        value == nullptr
            ? environment.remove(QString::fromLatin1(name))
            : environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    if (environment.value(QStringLiteral("QT_QPA_PLATFORM")) == QStringLiteral("wayland") &&
        waylandPluginInstalled())
        GTEST_SKIP() << "Qt's Wayland plugin is installed here";
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(command.front(), command.mid(1));
    const bool finished = program.waitForFinished(kFinishMilliseconds * 2);
    if (!finished) {
        program.kill();
        program.waitForFinished();
    }
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    SCOPED_TRACE("output:\n" + out.toStdString() + "errors:\n" + errors.toStdString());
    ASSERT_TRUE(finished) << "the program did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), row.status);
    EXPECT_TRUE(out.startsWith(row.out));
    EXPECT_EQ(out.isEmpty(), row.out.isEmpty());
    EXPECT_TRUE(errors.startsWith(row.errors));
    EXPECT_EQ(errors.count(QLatin1Char('\n')), row.errors.isEmpty() ? 0 : 1);
}

const QString kNoDisplay = QStringLiteral("hexorin: no display");
const QString kHelp = QStringLiteral("Aufruf: hexorin [Qt-Optionen]\n");
const QString kVersion = QStringLiteral("hexorin " HEXORIN_VERSION "\n");
const QStringList kEightBitScreen{QStringLiteral("xvfb-run"), QStringLiteral("-a"),
                                  QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x8")};

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ProgramOnTheTerminal,
    ::testing::Values(
        TerminalRow{"DisplayUnset", {}, {}, {}, 1, {}, kNoDisplay},
        TerminalRow{"DisplayEmpty", {}, {}, {{"DISPLAY", ""}}, 1, {}, kNoDisplay},
        TerminalRow{"NoServerOnTheDisplay", {}, {}, {{"DISPLAY", ":97"}}, 1, {}, kNoDisplay},
        TerminalRow{"Help", {}, words("--help"), {}, 0, kHelp, {}},
        TerminalRow{"ShortHelp", {}, words("-h"), {}, 0, kHelp, {}},
        TerminalRow{"Version", {}, words("--version"), {}, 0, kVersion, {}},
        TerminalRow{
            "VersionAfterAQtOption", {}, words("-platform offscreen -v"), {}, 0, kVersion, {}},
        TerminalRow{"UnknownArgument",
                    {},
                    words("--hlep"),
                    {{"QT_QPA_PLATFORM", "offscreen"}},
                    2,
                    {},
                    QStringLiteral("hexorin: unknown argument \"--hlep\"")},
        // Qt takes -platform for itself: the platform it names is missing, not the argument.
        TerminalRow{"QtOptionNamingAMissingPlatform",
                    {},
                    words("-platform nosuchplatform"),
                    {},
                    1,
                    {},
                    QStringLiteral("hexorin: Qt has no platform plugin \"nosuchplatform\" "
                                   "(installed: ")},
        TerminalRow{"WaylandWithoutItsPlugin",
                    {},
                    {},
                    {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}},
                    1,
                    {},
                    QStringLiteral("hexorin: Qt's platform plugin \"wayland\" is not installed; "
                                   "install the package qt6-wayland")},
        TerminalRow{"EightBitScreen",
                    kEightBitScreen,
                    {},
                    {},
                    1,
                    {},
                    QStringLiteral("hexorin: the display has 8 bits per pixel")}),
    [](const auto& row) { return std::string(row.param.name); });

// GNOME on Wayland goes through XWayland where Qt is older than 6.8, unless the user chose.
TEST(ProgramOnWayland, GoesThroughXWaylandOnGnomeBeforeQt68) {
    struct Row {
        const char* desktop;
        const char* session;
        const char* display;
        const char* chosen; // QT_QPA_PLATFORM
        const char* argument;
        QVersionNumber qt;
        bool xwayland;
    };
    const QVersionNumber debian12(6, 4, 2), debian13(6, 8, 2);
    const std::vector<Row> rows{
        {"GNOME", "wayland", ":0", "", "", debian12, true},
        {"ubuntu:GNOME", "wayland", ":0", "", "", debian12, true},
        {"GNOME", "wayland", ":0", "", "", debian13, false},
        {"GNOME", "wayland", ":0", "wayland", "", debian12, false},
        {"GNOME", "wayland", ":0", "", "-platform", debian12, false},
        {"GNOME", "wayland", ":0", "", "--platform=wayland", debian12, false},
        {"GNOME", "wayland", "", "", "", debian12, false}, // no XWayland to go through
        {"GNOME", "x11", ":0", "", "", debian12, false},
        {"KDE", "wayland", ":0", "", "", debian12, false},
    };
    for (const Row& row : rows) {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QString::fromLatin1(row.desktop));
        environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QString::fromLatin1(row.session));
        environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(row.display));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(row.chosen));
        std::string argument = row.argument;
        std::vector<char*> arguments;
        if (!argument.empty())
            arguments.push_back(argument.data());
        EXPECT_EQ(throughXWayland(environment, arguments, row.qt), row.xwayland)
            << row.desktop << ' ' << row.session << " '" << row.display << "' '" << row.chosen
            << "' '" << row.argument << "' " << row.qt.toString().toStdString();
    }
}

// The processes whose environment holds the text, as a child inherits it.
int processesWith(const QByteArray& text) {
    int found = 0;
    for (const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
         const QString& process : processes) {
        QFile environment(QStringLiteral("/proc/%1/environ").arg(process));
        if (process.toInt() > 0 && environment.open(QIODevice::ReadOnly) &&
            environment.readAll().contains(text))
            ++found;
    }
    return found;
}

// On a desktop without a session bus, D-Bus would start a bus of its own for the program.
TEST(ProgramOnX11, LeavesNothingRunningWithoutASessionBus) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "needs an X server";
    const QTemporaryDir runtime;
    const QByteArray mark =
        "HEXORIN_TEST_MARK=" + QByteArray::number(QCoreApplication::applicationPid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QString::fromLatin1(mark.split('=').front()),
                       QString::fromLatin1(mark.split('=').back()));
    QProcess driver;
    driver.setProcessEnvironment(environment);
    driver.start(QStringLiteral(HEXORIN_END_DRIVER),
                 {QStringLiteral("running"), QStringLiteral("beenden")});
    ASSERT_TRUE(driver.waitForFinished(kFinishMilliseconds));
    EXPECT_EQ(driver.exitCode(), 0) << driver.readAllStandardError().toStdString();
    EXPECT_EQ(processesWith(mark), 0);
}

} // namespace
} // namespace hexorin

// Every way the program can end, with the real window in a process of its own: the end driver
// brings the window into a state with real mouse events, requests the end in one way and prints
// the passes run at the request and at the exit.

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include <QProcess>
#include <QRegularExpression>

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
    const QRegularExpression pattern(QStringLiteral("(?:^| )%1=(.*?)(?= \\w+=|$)").arg(name));
    return pattern.match(line).captured(1).toStdString();
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

} // namespace
} // namespace hexorin

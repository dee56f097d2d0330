// Hostile text pasted into every kind of text box of the real window: the control then holds what
// the box shows, the view keeps it, and a search started afterwards runs and stops on the
// interrupt with the same results as the window object given the same text.

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <malloc.h>
#include <ostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "board_invariants.h"
#include "scripted_platform.h"
#include "window/qt/main_window.h"

namespace hexorin {
namespace {

// Stops a search that finds no solution; the first solution comes at pass 546.
constexpr long long kStopAfterPasses = 1'500;

// One box of each kind, and how to reach its control.
struct BoxKind {
    const char* name;
    TextBox& (*control)(Form1&);
};
const std::vector<BoxKind> kBoxKinds{
    {"txtFeld(3)", [](Form1& f) -> TextBox& { return f.txtFeld(3); }},
    {"txtStein(5)", [](Form1& f) -> TextBox& { return f.txtStein(5); }},
    {"txtIn(7)", [](Form1& f) -> TextBox& { return f.txtIn(7); }},
    {"txtS(6)", [](Form1& f) -> TextBox& { return f.txtS(6); }},
    {"Text2", [](Form1& f) -> TextBox& { return f.Text2; }},
    {"txtHilfe", [](Form1& f) -> TextBox& { return f.txtHilfe; }},
    {"txtErgebnisse", [](Form1& f) -> TextBox& { return f.txtErgebnisse; }},
};

// The shared hostile texts, and bytes that are no UTF-8 taken as Latin-1, and a lone surrogate.
std::vector<QString> hostileTexts() {
    std::vector<QString> texts;
    for (const std::string& text : testing::hostileTexts())
        texts.push_back(QString::fromUtf8(text));
    texts.push_back(QString::fromLatin1("\xff\xfe\x80"));
    texts.push_back(QString(QChar(0xD800)) + QStringLiteral("7"));
    return texts;
}

struct Paste {
    const BoxKind* box;
    QString text;
};

void PrintTo(const Paste& paste, std::ostream* out) {
    *out << paste.box->name << " <- \"" << paste.text.left(16).toStdString()
         << (paste.text.size() > 16 ? "...\"" : "\"") << " (" << paste.text.size() << " chars)";
}

std::vector<Paste> allPastes() {
    std::vector<Paste> pastes;
    for (const BoxKind& box : kBoxKinds)
        for (const QString& text : hostileTexts())
            pastes.push_back({&box, text});
    return pastes;
}

// Replaces what the box holds, as the user does with Ctrl+A and Ctrl+V.
void paste(QWidget* box, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

QString shownText(const QWidget* box) {
    if (const auto* const line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    return qobject_cast<const QPlainTextEdit*>(box)->toPlainText();
}

// The list keeps Windows line ends.
std::string heldText(const QWidget* box) {
    QString text = shownText(box);
    if (qobject_cast<const QPlainTextEdit*>(box) != nullptr)
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

// Runs a search from the window until the first solution or kStopAfterPasses turns of the event
// loop, then presses the interrupt button. Returns the turns the search gave the event loop.
long long searchUntilInterrupted(MainWindow& window) {
    long long turns = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        if (!window.form().searchRunning())
            return;
        if (++turns >= kStopAfterPasses || window.form().SolutionCount >= 1) {
            watch.stop();
            QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Command1")),
                              Qt::LeftButton);
        }
    });
    watch.start(0);
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("cmdSucher")), Qt::LeftButton);
    return turns;
}

void untickBoth(MainWindow& window) {
    for (const char* check : {"Check1", "Check2"})
        QTest::mouseClick(window.findChild<QCheckBox*>(QString::fromLatin1(check)), Qt::LeftButton);
}

class HostileText : public ::testing::TestWithParam<Paste> {};

TEST_P(HostileText, IsHeldAsShownAndTheSearchGoesOn) {
    const Paste& row = GetParam();
    MainWindow window;
    window.show();
    untickBoth(window);
    QWidget* const box = window.findChild<QWidget*>(QString::fromLatin1(row.box->name));
    ASSERT_NE(box, nullptr);

    paste(box, row.text);
    TextBox& control = row.box->control(window.form());
    const QString shown = shownText(box);
    EXPECT_EQ(control.text(), heldText(box));
    window.syncView();
    EXPECT_EQ(shownText(box), shown); // the view does not undo the paste

    // The window object, given the same text, is the reference for the search.
    testing::ScriptedPlatform platform;
    Form1 reference(platform);
    reference.Form_Load();
    reference.Check1.setValue(CheckBox::unticked);
    reference.Check2.setValue(CheckBox::unticked);
    row.box->control(reference).setText(control.text());
    platform.onPass = [&](long long pass) {
        if (pass >= kStopAfterPasses || reference.SolutionCount >= 1)
            reference.Command1_Click();
    };
    reference.cmdSucher_Click();

    const long long turns = searchUntilInterrupted(window);
    const Form1& form = window.form();
    EXPECT_FALSE(form.searchRunning());
    EXPECT_EQ(form.StopFlag, 1); // left by the interrupt
    testing::expectCursorOnAField(form);
    EXPECT_GT(turns, 0);
    EXPECT_EQ(form.SolutionCount, reference.SolutionCount);
    EXPECT_EQ(form.txtErgebnisse.text(), reference.txtErgebnisse.text());
    EXPECT_EQ(form.Text2.text(), reference.Text2.text());
    window.syncView();
    EXPECT_EQ(heldText(box), control.text());
}

// Named after the box and the text's place in the list: txtStein5_3.
INSTANTIATE_TEST_SUITE_P(EveryBoxKind, HostileText, ::testing::ValuesIn(allPastes()),
                         [](const auto& paste) {
                             std::string box = paste.param.box->name;
                             std::erase_if(box, [](char c) { return c == '(' || c == ')'; });
                             return box + "_" + std::to_string(paste.index % hostileTexts().size());
                         });

bool undoAvailable(const QWidget* box) {
    if (const auto* const line = qobject_cast<const QLineEdit*>(box))
        return line->isUndoAvailable();
    return qobject_cast<const QPlainTextEdit*>(box)->document()->isUndoAvailable();
}

// Bytes the heap has handed out, large blocks included; a sanitizer's heap reports none.
std::size_t heapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

// Pasting the same long text over all of it reads as no change at all, yet each paste adds the
// whole text twice to the undo history, and a document keeps every text it ever held: the history
// and those texts are let go of now and then.
TEST(HostileText, SamePasteOverAndOverKeepsTheUndoHistoryBounded) {
    MainWindow window;
    window.show();
    const QString list = QStringLiteral(" 1, 2,11,12, 3, 5, 6,10, 9, 8, 4, 7\n").repeated(1'000);
    // A line edit keeps 24 bytes a character of its history.
    const std::array<std::pair<const BoxKind*, QString>, 2> rows{
        {{&kBoxKinds.front(), list.left(4'000)}, {&kBoxKinds.back(), list}}};
    for (const auto& [kind, text] : rows) {
        QWidget* const box = window.findChild<QWidget*>(QString::fromLatin1(kind->name));
        int forgotten = 0;
        const std::size_t heapBefore = heapInUse();
        for (int turn = 0; turn < 200; ++turn) { // 200 copies of either history would be 14 MB
            paste(box, text);
            QCoreApplication::processEvents();
            forgotten += undoAvailable(box) ? 0 : 1;
        }
        EXPECT_GE(forgotten, 2) << kind->name;
        EXPECT_LT(heapInUse(), heapBefore + (std::size_t{8} << 20)) << kind->name;
        EXPECT_EQ(heldText(box), kind->control(window.form()).text()) << kind->name;
    }
}

// A window with both check boxes unticked, and the milliseconds a search of as many turns of the
// event loop took in it.
struct TimedSearch {
    long long turns;
    qint64 milliseconds;
};

TimedSearch timedSearch(MainWindow& window, long long turns) {
    long long counted = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        if (window.form().searchRunning() && ++counted == turns)
            QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Command1")),
                              Qt::LeftButton);
    });
    watch.start(0);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("cmdSucher")), Qt::LeftButton);
    return {counted, clock.elapsed()};
}

// The list only grows at its end while the search runs, so a huge text the user pasted costs
// once per solution shown, not once per pass.
TEST(HostileTextInTheList, TenMegabytePasteLeavesTheSearchGoing) {
    constexpr long long kTurns = 20'000; // about 50 solutions
    const QString line = QStringLiteral("äöü 1e999 nan -0 12abc 1,5 ") + QString(40, u'9') + '\n';
    const QString pasted = line.repeated(10'000'000 / line.toUtf8().size() + 1);

    MainWindow clean;
    clean.show();
    untickBoth(clean);
    const TimedSearch withoutPaste = timedSearch(clean, kTurns);

    MainWindow window;
    window.show();
    untickBoth(window);
    auto* const list = window.findChild<QPlainTextEdit*>(QStringLiteral("txtErgebnisse"));
    QElapsedTimer clock;
    clock.start();
    paste(list, pasted);
    const qint64 pasteMilliseconds = clock.elapsed();
    const std::string held = window.form().txtErgebnisse.text();
    ASSERT_GE(held.size(), 10'000'000U);
    EXPECT_EQ(held, heldText(list));

    const TimedSearch withPaste = timedSearch(window, kTurns);
    const Form1& form = window.form();
    EXPECT_EQ(withPaste.turns, kTurns);
    EXPECT_EQ(form.StopFlag, 1);
    EXPECT_FALSE(form.searchRunning());
    EXPECT_EQ(form.SolutionCount, clean.form().SolutionCount);
    EXPECT_GT(form.SolutionCount, 0);
    // The solutions follow the pasted text, and the list widget shows them.
    EXPECT_EQ(form.txtErgebnisse.text(), held + clean.form().txtErgebnisse.text());
    window.syncView();
    EXPECT_EQ(form.txtErgebnisse.text(), heldText(list));
    std::printf("10 MB list: paste %lld ms; %lld turns of the search %lld ms with it, %lld ms "
                "without; %d solutions shown\n",
                static_cast<long long>(pasteMilliseconds), kTurns,
                static_cast<long long>(withPaste.milliseconds),
                static_cast<long long>(withoutPaste.milliseconds), form.SolutionCount);
}

} // namespace
} // namespace hexorin

// The real window while the search runs at full speed: input that arrives during a pass is handled
// in the next pass, exactly as on a window that would repaint every pass, and once the search has
// stopped the widgets show what the controls hold. The widgets catch up only once per frame, so
// these tests also check that nothing is lost between frames.

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include "form_fixture.h"
#include "window/qt/main_window.h"
#include "window/qt/units.h"

namespace hexorin {
namespace {

using testing::kFirstSolutionPass;
using testing::snapshot;

QString displayed(const std::string& controlText) {
    return QString::fromStdString(controlText)
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

template <typename T = QWidget> T* widgetOf(const MainWindow& window, const QString& name) {
    T* const found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

void expectBoxShows(const MainWindow& window, const QString& name, const TextBox& box) {
    const auto* const widget = widgetOf<QLineEdit>(window, name);
    EXPECT_EQ(widget->text().toStdString(), box.text()) << name.toStdString();
    EXPECT_EQ(widget->palette().color(QPalette::Base), toQColor(box.backColor()))
        << name.toStdString();
    EXPECT_EQ(widget->palette().color(QPalette::Text), toQColor(box.foreColor()))
        << name.toStdString();
}

template <typename Array> void expectBoxesShow(const MainWindow& window, const Array& boxes) {
    for (int i = Array::first; i <= Array::last; ++i)
        expectBoxShows(window, controlName(boxes.name(), i), boxes(i));
}

// Everything the search or a handler may have changed, read from the widgets.
void expectWidgetsShowControls(const MainWindow& window) {
    const Form1& form = window.form();
    expectBoxShows(window, QStringLiteral("txtHilfe"), form.txtHilfe);
    expectBoxShows(window, QStringLiteral("Text2"), form.Text2);
    expectBoxesShow(window, form.txtFeld);
    expectBoxesShow(window, form.txtS);
    expectBoxesShow(window, form.txtStein);
    expectBoxesShow(window, form.txtIn);
    for (int i = 0; i <= 143; ++i)
        EXPECT_EQ(widgetOf(window, controlName(form.lblErlaubt.name(), i))
                      ->palette()
                      .color(QPalette::Window),
                  toQColor(form.lblErlaubt(i).backColor()))
            << i;
    EXPECT_EQ(widgetOf<QCheckBox>(window, QStringLiteral("Check1"))->isChecked(),
              form.Check1.value() == CheckBox::ticked);
    EXPECT_EQ(widgetOf(window, QStringLiteral("shape1"))->x(), pixels(form.shape1.left()));
    EXPECT_EQ(widgetOf<QPlainTextEdit>(window, QStringLiteral("txtErgebnisse"))->toPlainText(),
              displayed(form.txtErgebnisse.text()));
}

// What the user does, as the platform would deliver it: queued, handled in a later turn of the
// event loop.
enum class Input : std::uint8_t { Move, Click, TypeX };

void post(QWidget* target, QPoint at, QEvent::Type type, Qt::MouseButton button) {
    const QPointF local(at);
    auto event = std::make_unique<QMouseEvent>(type, local, QPointF(target->mapToGlobal(at)),
                                               button, button, Qt::NoModifier);
    QCoreApplication::postEvent(target, event.release());
}

// A control's widget by its name, or the menu bar at a menu entry's place.
void postInput(const MainWindow& window, const QString& name, Input input) {
    QWidget* target = window.findChild<QWidget*>(name);
    QPoint at = target != nullptr ? target->rect().center() : QPoint();
    if (QAction* const entry = window.findChild<QAction*>(name)) {
        target = window.menuBar();
        at = window.menuBar()->actionGeometry(entry).center();
    }
    ASSERT_NE(target, nullptr) << name.toStdString();
    switch (input) {
    case Input::Move:
        return post(target, at, QEvent::MouseMove, Qt::NoButton);
    case Input::Click:
        post(target, at, QEvent::MouseButtonPress, Qt::LeftButton);
        return post(target, at, QEvent::MouseButtonRelease, Qt::LeftButton);
    case Input::TypeX: {
        auto key = std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier,
                                               QStringLiteral("x"));
        return QCoreApplication::postEvent(target, key.release());
    }
    }
}

struct EventRow {
    const char* name;
    const char* target; // object name of the widget or menu entry
    Input input;
    long long pass;             // posted in this pass, so handled in the next
    void (*handler)(Form1&);    // what the input does to the window object
    bool (*done)(const Form1&); // true once the input has taken effect
};

void PrintTo(const EventRow& row, std::ostream* out) {
    *out << row.name;
}

const std::string kInterruptHelp = "Unterbrechen";
constexpr long long kLatePass = 600;       // after the first solution, before the second
constexpr long long kInterruptPass = 3000; // ends every run that has not stopped before

// The x went after what the box held, not into an older text of it.
bool typedAfterText(const std::string& text) {
    return text.size() > 1 && text.ends_with('x');
}

// Typing arrives right after the pass that found the first solution: the widgets have not yet
// shown it.
const std::vector<EventRow> kEventRows{
    {"PressTheInterruptButton", "Command1", Input::Click, kLatePass,
     [](Form1& f) { f.Command1_Click(); }, [](const Form1& f) { return f.StopFlag == 1; }},
    {"MoveOverTheInterruptButton", "Command1", Input::Move, kLatePass,
     [](Form1& f) { f.Command1_MouseMove(); },
     [](const Form1& f) { return f.txtHilfe.text() == kInterruptHelp; }},
    {"MoveOverTheGrid", "lblErlaubt(140)", Input::Move, kLatePass,
     [](Form1& f) { f.lblErlaubt_MouseMove(140); },
     [](const Form1& f) { return f.txtHilfe.text().find("Feld 12") != std::string::npos; }},
    {"ClickAGridLabel", "lblErlaubt(143)", Input::Click, kLatePass,
     [](Form1& f) { f.lblErlaubt_Click(143); },
     [](const Form1& f) { return f.lblErlaubt(143).tag() == "0"; }},
    {"ForbidAWholeField", "cmdKeiner(11)", Input::Click, kLatePass,
     [](Form1& f) { f.cmdKeiner_Click(11); },
     [](const Form1& f) { return f.lblErlaubt(132).tag() == "0"; }},
    {"TickStopAtSolution", "Check1", Input::Click, kLatePass,
     [](Form1& f) { f.Check1.setValue(CheckBox::ticked); },
     [](const Form1& f) { return f.Check1.value() == CheckBox::ticked; }},
    {"ChooseStartwerte", "cmdNeustart", Input::Click, kLatePass,
     [](Form1& f) { f.cmdNeustart_Click(); }, [](const Form1& f) { return f.SolutionCount == 0; }},
    {"TypeIntoTheList", "txtErgebnisse", Input::TypeX, kFirstSolutionPass,
     [](Form1& f) { f.txtErgebnisse.setText(f.txtErgebnisse.text() + "x"); },
     [](const Form1& f) { return typedAfterText(f.txtErgebnisse.text()); }},
    {"TypeIntoASumBox", "txtS(6)", Input::TypeX, kFirstSolutionPass,
     [](Form1& f) { f.txtS(6).setText(f.txtS(6).text() + "x"); },
     [](const Form1& f) { return typedAfterText(f.txtS(6).text()); }},
};

// Shown, with a search that neither stops at solutions nor asks before each pass.
void showForAFullRun(MainWindow& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.form().Check1.setValue(CheckBox::unticked);
    window.form().Check2.setValue(CheckBox::unticked);
}

class EventsDuringASearchTest : public ::testing::TestWithParam<EventRow> {};

TEST_P(EventsDuringASearchTest, TakeEffectInTheNextPassAndShowOnceStopped) {
    const EventRow& row = GetParam();
    MainWindow window;
    showForAFullRun(window);
    Form1& form = window.form();
    window.syncView();

    long long passes = 0;
    long long takenAt = 0; // the pass by whose end the input had taken effect
    bool doneBefore = true;
    window.setTurnObserver([&] {
        ++passes;
        if (passes == row.pass) {
            doneBefore = row.done(form);
            postInput(window, QString::fromLatin1(row.target), row.input);
        } else if (passes > row.pass && takenAt == 0 && row.done(form)) {
            takenAt = passes;
        }
        if (passes == kInterruptPass)
            postInput(window, QStringLiteral("Command1"), Input::Click);
    });
    QTest::mouseClick(widgetOf(window, QStringLiteral("cmdSucher")), Qt::LeftButton);
    window.setTurnObserver({});
    EXPECT_FALSE(form.searchRunning());
    EXPECT_FALSE(doneBefore);
    EXPECT_EQ(takenAt, row.pass + 1);

    // The same search on the window object alone, each handler called in the next pass.
    testing::ScriptedPlatform platform;
    Form1 straight(platform);
    straight.Form_Load();
    straight.Check1.setValue(CheckBox::unticked);
    straight.Check2.setValue(CheckBox::unticked);
    platform.onPass = [&](long long pass) {
        if (pass == row.pass + 1)
            row.handler(straight);
        if (pass == kInterruptPass + 1)
            straight.Command1_Click();
    };
    straight.cmdSucher_Click();
    EXPECT_EQ(passes, platform.passes);
    EXPECT_EQ(snapshot(form), snapshot(straight));
    expectWidgetsShowControls(window);
}

INSTANTIATE_TEST_SUITE_P(Inputs, EventsDuringASearchTest, ::testing::ValuesIn(kEventRows),
                         [](const auto& param) { return std::string(param.param.name); });

struct ListRow {
    const char* name;
    QString typed; // typed into the list before Start
    int solutions; // the run is interrupted once this many are found
};

void PrintTo(const ListRow& row, std::ostream* out) {
    *out << row.name;
}

class SolutionListTest : public ::testing::TestWithParam<ListRow> {};

// The list only ever grows at its end: the widget must never be handed its whole text again.
TEST_P(SolutionListTest, WidgetReceivesOnlyTheAppendedLines) {
    const ListRow& row = GetParam();
    MainWindow window;
    showForAFullRun(window);
    Form1& form = window.form();
    auto* const list = widgetOf<QPlainTextEdit>(window, QStringLiteral("txtErgebnisse"));
    for (const QChar key : row.typed)
        key == QLatin1Char('\n') ? QTest::keyClick(list, Qt::Key_Return)
                                 : QTest::keyClicks(list, QString(key));
    window.syncView();
    QTextDocument* const document = list->document();
    const int typedBlocks = document->blockCount() - 1;

    int changes = 0;
    // The connection goes with `watching`, before the locals the lambda uses, which clazy does not
    // see through the address: clazy:excludeall=lambda-in-connect
    const QObject watching;
    QObject::connect(document, &QTextDocument::contentsChange, &watching,
                     [&](int position, int removed, int added) {
                         ++changes;
                         EXPECT_EQ(removed, 0) << "change " << changes;
                         EXPECT_EQ(position, document->characterCount() - 1 - added)
                             << "change " << changes;
                         EXPECT_EQ(document->blockCount(), typedBlocks + form.SolutionCount + 1);
                         EXPECT_EQ(document->toPlainText(), displayed(form.txtErgebnisse.text()));
                     });
    window.setTurnObserver([&] {
        if (form.SolutionCount >= row.solutions)
            form.Command1_Click();
    });
    QTest::mouseClick(widgetOf(window, QStringLiteral("cmdSucher")), Qt::LeftButton);
    window.setTurnObserver({});
    EXPECT_EQ(form.SolutionCount, row.solutions);
    EXPECT_GT(changes, 0);
    EXPECT_LE(changes, row.solutions); // at most once per frame, never more than once a line
    EXPECT_EQ(document->blockCount(), typedBlocks + row.solutions + 1);
    EXPECT_EQ(list->toPlainText(), displayed(form.txtErgebnisse.text()));
}

INSTANTIATE_TEST_SUITE_P(Lists, SolutionListTest,
                         ::testing::Values(ListRow{"Empty", {}, 120},
                                           ListRow{"AfterTypedLines", "Notiz\nzwei", 40}),
                         [](const auto& param) { return std::string(param.param.name); });

// Some input methods commit a composition twice when the focus leaves its box mid-way: once into
// that box, and once more, a moment later, into the box that has the focus by then. The second
// never lands; a composition begun in the new box does.
TEST(InputMethodTest, CompositionStaysInItsOwnBox) {
    const auto input = [](QWidget* box, const QString& preedit, const QString& commit) {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QCoreApplication::sendEvent(box, &event);
    };
    for (const bool committedInPlace : {true, false}) {
        MainWindow window;
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        Form1& form = window.form();
        form.txtFeld(1).setText("12");
        form.txtFeld(2).setText("34");
        window.syncView();
        auto* const left = window.findChild<QLineEdit*>(controlName("txtFeld", 1));
        auto* const entered = window.findChild<QLineEdit*>(controlName("txtFeld", 2));
        left->setFocus(Qt::MouseFocusReason);
        input(left, QStringLiteral("가"), {});
        if (committedInPlace)
            input(left, {}, QStringLiteral("가"));
        entered->setFocus(Qt::MouseFocusReason);
        input(entered, {}, QStringLiteral("가"));
        EXPECT_EQ(form.txtFeld(1).text(), committedInPlace ? "12가" : "12");
        EXPECT_EQ(form.txtFeld(2).text(), "34");
        input(entered, QStringLiteral("가"), {});
        input(entered, {}, QStringLiteral("가"));
        EXPECT_EQ(form.txtFeld(2).text(), "34가");
    }
}

// Edits through every way a box can be edited, during a full run at full speed, while the widgets
// are up to a frame behind. Blanks in a box change no value, and the list's edits only add marks,
// so with the marks taken out the list must be byte for byte that of an untouched run.
constexpr QChar kListMark = QLatin1Char('#');
constexpr long long kHoldPasses = 3'000;
constexpr long long kHoldEvery = 25'000;

QWidget* mouseTarget(QWidget* box) {
    auto* const list = qobject_cast<QPlainTextEdit*>(box);
    return list != nullptr ? list->viewport() : box;
}

QString markFor(const QWidget* box) {
    return qobject_cast<const QPlainTextEdit*>(box) != nullptr ? QString(kListMark)
                                                               : QStringLiteral(" ");
}

// The primary selection is pasted when the middle button comes up, passes after it went down.
void pressMiddle(QWidget* box) {
    QTest::mousePress(mouseTarget(box), Qt::MiddleButton);
}
void releaseMiddle(QWidget* box) {
    QGuiApplication::clipboard()->setText(markFor(box), QClipboard::Selection);
    QTest::mouseRelease(mouseTarget(box), Qt::MiddleButton);
}
// With nobody owning the selection, as after the program that made it has ended.
void releaseMiddleOverNothing(QWidget* box) {
    QGuiApplication::clipboard()->clear(QClipboard::Selection);
    QTest::mouseRelease(mouseTarget(box), Qt::MiddleButton);
}
void paste(QWidget* box) {
    QGuiApplication::clipboard()->setText(markFor(box));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}
void drop(QWidget* box) {
    QMimeData data;
    data.setText(markFor(box));
    const QPointF at = mouseTarget(box)->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    for (QEvent* const event : std::initializer_list<QEvent*>{&enter, &move, &dropped})
        QCoreApplication::sendEvent(mouseTarget(box), event);
}
void commitFromInputMethod(QWidget* box) {
    QInputMethodEvent commit;
    commit.setCommitString(markFor(box));
    QCoreApplication::sendEvent(box, &commit);
}
void insertAsScreenReader(QWidget* box) {
    QAccessible::queryAccessibleInterface(box)->editableTextInterface()->insertText(0,
                                                                                    markFor(box));
}
// Built on the text the reader read, which may be a frame behind the box.
void setWholeTextAsScreenReader(QWidget* box) {
    QAccessibleInterface* const reader = QAccessible::queryAccessibleInterface(box);
    reader->setText(QAccessible::Value, reader->text(QAccessible::Value) + markFor(box));
}
void undoAtTheEnd(QWidget* box) {
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    for (int undo = 0; undo < 4; ++undo)
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
}

struct TimedEdit {
    long long pass;
    QString box;
    void (*edit)(QWidget*);
};

std::vector<TimedEdit> editsOfAFullRun(bool withSelection) {
    std::vector<TimedEdit> edits{
        {300'000, controlName("txtFeld", 12), &paste},
        {400'000, QStringLiteral("txtErgebnisse"), &drop},
        {450'000, controlName("txtStein", 4), &drop},
        {500'000, controlName("txtStein", 12), &commitFromInputMethod},
        {600'000, controlName("txtFeld", 1), &insertAsScreenReader},
        {630'000, QStringLiteral("txtErgebnisse"), &setWholeTextAsScreenReader},
        {650'000, QStringLiteral("txtErgebnisse"), &paste},
        {700'000, QStringLiteral("txtErgebnisse"), &undoAtTheEnd},
        {800'000, QStringLiteral("txtErgebnisse"), &commitFromInputMethod},
    };
    for (long long hold = 0; withSelection && hold * kHoldEvery < testing::kFullRunPasses; ++hold) {
        const int field = static_cast<int>(hold % 12) + 1;
        const QString box = hold % 4 == 3   ? QStringLiteral("txtErgebnisse")
                            : hold % 4 == 1 ? controlName("txtStein", field)
                                            : controlName("txtFeld", field);
        edits.push_back({hold * kHoldEvery + 1, box, &pressMiddle});
        edits.push_back({hold * kHoldEvery + 1 + kHoldPasses, box,
                         hold % 8 == 7 ? &releaseMiddleOverNothing : &releaseMiddle});
    }
    // Fields behind the cursor, which the search reads back, while their widgets lag behind.
    for (long long pass = 1'000; pass < testing::kFullRunPasses; pass += 997)
        edits.push_back({pass, controlName("txtFeld", static_cast<int>(8 + pass % 4)),
                         &setWholeTextAsScreenReader});
    std::ranges::sort(edits, {}, &TimedEdit::pass);
    return edits;
}

// Any box that opens is a failure here; closing it keeps the run going.
void closeBoxes(int& opened) {
    if (QWidget* const box = QApplication::activeModalWidget()) {
        ++opened;
        box->close();
    }
}

TEST(EditsDuringAFullRun, ChangeNoSolution) {
    const bool withSelection = QGuiApplication::clipboard()->supportsSelection();
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Unticked as a screen reader would: through the boxes' toggle action.
    for (const QString& name : {QStringLiteral("Check1"), QStringLiteral("Check2")})
        QAccessible::queryAccessibleInterface(widgetOf(window, name))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
    int boxesOpened = 0;
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, &boxWatch, [&] { closeBoxes(boxesOpened); });
    boxWatch.start(50);

    const std::vector<TimedEdit> edits = editsOfAFullRun(withSelection);
    auto next = edits.begin();
    long long passes = 0;
    window.setTurnObserver([&] {
        for (++passes; next != edits.end() && next->pass == passes; ++next)
            next->edit(widgetOf(window, next->box));
    });
    QTest::mouseClick(widgetOf(window, QStringLiteral("cmdSucher")), Qt::LeftButton);
    window.setTurnObserver({});

    testing::ScriptedPlatform platform;
    Form1 untouched(platform);
    untouched.Form_Load();
    untouched.Check1.setValue(CheckBox::unticked);
    untouched.Check2.setValue(CheckBox::unticked);
    untouched.cmdSucher_Click();

    const Form1& form = window.form();
    std::string list = form.txtErgebnisse.text();
    std::erase(list, kListMark.toLatin1());
    EXPECT_EQ(boxesOpened, 0);
    EXPECT_EQ(next, edits.end());
    EXPECT_EQ(passes, testing::kFullRunPasses);
    EXPECT_EQ(form.Text2.text(), plainNumberText(testing::kFullRunSolutions));
    EXPECT_TRUE(list == untouched.txtErgebnisse.text()) << "the list is not an untouched run's";
    EXPECT_TRUE(testing::sameSolutions(testing::solutionsIn(list),
                                       testing::enumerateStars(testing::allAllowed())));
    window.syncView();
    expectWidgetsShowControls(window);
}

} // namespace
} // namespace hexorin

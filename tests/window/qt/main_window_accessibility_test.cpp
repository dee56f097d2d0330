// What a screen reader and a keyboard user get from the real window: a German name for every
// control, the control's help-line text as its description, and a Tab chain of exactly the
// controls of the focus order.

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

#include "window/qt/main_window.h"

namespace hexorin {
namespace {

class MainWindowAccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget* widget(const QString& name) {
        QWidget* const found = window.findChild<QWidget*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    // What a screen reader reads, through Qt's accessibility interface of the widget.
    static std::string spoken(QObject* object, QAccessible::Text text) {
        QAccessibleInterface* const accessible = QAccessible::queryAccessibleInterface(object);
        return accessible == nullptr ? "<none>" : accessible->text(text).toStdString();
    }
    // Onto the menu bar, which has no handler, then onto the control; returns the help line.
    std::string helpLineOver(const QString& name, QPoint at) {
        window.form().txtHilfe.setText("-");
        window.syncView();
        QTest::mouseMove(window.menuBar(), QPoint(400, 5));
        QWidget* const target = widget(name);
        QTest::mouseMove(target, at.isNull() ? target->rect().center() : at);
        return window.findChild<QLineEdit*>(QStringLiteral("txtHilfe"))->text().toStdString();
    }
    // Every widget that stands for a control: "Text2", "txtFeld(3)", not Qt's inner widgets.
    std::vector<QWidget*> controlWidgets() {
        static const QRegularExpression kControlName(QStringLiteral("^[A-Za-z]\\w*(\\(\\d+\\))?$"));
        std::vector<QWidget*> controls;
        for (const QList<QWidget*> children = window.findChildren<QWidget*>();
             QWidget* const child : children)
            if (kControlName.match(child->objectName()).hasMatch() &&
                !child->objectName().startsWith(QStringLiteral("qt_")))
                controls.push_back(child);
        return controls;
    }

    MainWindow window;
};

TEST_F(MainWindowAccessibilityTest, ControlsReadTheirNameAndTheirHelpLine) {
    struct Row {
        const char* control;
        const char* name;
        bool describedByHelp; // false: no help text, so no description
        QPoint at{};          // where the pointer rests, if not the middle
    };
    const std::vector<Row> rows{
        {"txtFeld(3)", "Feld 3", true},
        {"txtFeld(12)", "Feld 12", true},
        {"lblNr(0)", "Feldnummer 1", true},
        {"txtS(0)", "Summe Dreieck an Feld 10", true},
        {"txtS(3)", "Summe Dreieck an Feld 1", true},
        {"txtS(6)", "Summe inneres Sechseck", true},
        {"txtS(7)", "Summe äußeres Sechseck", true},
        {"txtStein(4)", "Zahlenvorrat 4", true},
        {"txtIn(7)", "Feld 7 (Zeile)", true},
        {"lblErlaubt(0)", "Zahl 1 in Feld 1", true},
        {"lblErlaubt(16)", "Zahl 5 in Feld 2", true},
        {"lblErlaubt(143)", "Zahl 12 in Feld 12", true},
        {"Label2(11)", "Feld 12 (erlaubte Zahlen)", true},
        {"cmdAlle(2)", "Alle Zahlen für Feld 3 erlauben", true},
        {"cmdKeiner(11)", "Alle Zahlen für Feld 12 verbieten", true},
        {"txtErgebnisse", "Lösungen", true},
        {"Text2", "Anzahl der Lösungen", true},
        {"Check1", "Einzellösung", true},
        {"Check2", "Einzelschritt", true},
        {"cmdSucher", "Start", true},
        {"Command1", "Unterbrechen", true},
        {"Form1", "Fensterfläche", true, {345, 300}},
        {"Frame3", "Stern", true, {5, 5}},
        {"txtHilfe", "Hilfezeile", false},
        {"shape1", "Markierung über dem aktuellen Feld", false},
        {"Frame1", "Zeile der gesetzten Zahlen", false, {200, 10}},
        {"Frame2", "Zahlenvorrat", false, {5, 5}},
    };
    for (const Row& row : rows) {
        const QString control = QString::fromLatin1(row.control);
        QWidget* const target = widget(control);
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(spoken(target, QAccessible::Name), row.name) << row.control;
        const std::string description = spoken(target, QAccessible::Description);
        const std::string helpLine = helpLineOver(control, row.at);
        if (row.describedByHelp) {
            EXPECT_NE(helpLine, "-") << row.control;
            EXPECT_EQ(description, helpLine) << row.control;
        } else {
            EXPECT_EQ(helpLine, "-") << row.control;
            EXPECT_EQ(description, "") << row.control;
        }
    }
}

TEST_F(MainWindowAccessibilityTest, MenuIsNamedAndItsEntriesReadTheirCaptions) {
    QMenuBar* const bar = window.menuBar();
    EXPECT_EQ(spoken(bar, QAccessible::Name), "Menü");
    EXPECT_EQ(spoken(bar, QAccessible::Description), "");
    QAccessibleInterface* const accessible = QAccessible::queryAccessibleInterface(bar);
    ASSERT_NE(accessible, nullptr);
    ASSERT_EQ(accessible->childCount(), 2);
    const std::vector<std::string> captions{"Startwerte", "Beenden"};
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface* const entry = accessible->child(i);
        EXPECT_EQ(entry->text(QAccessible::Name).toStdString(),
                  captions[static_cast<std::size_t>(i)]);
        EXPECT_EQ(entry->text(QAccessible::Description).toStdString(), "");
    }
}

// Every control, the hidden ones too, and no two alike: a name alone must tell them apart.
TEST_F(MainWindowAccessibilityTest, EveryControlHasItsOwnName) {
    const std::vector<QWidget*> controls = controlWidgets();
    EXPECT_EQ(controls.size(), 250U); // 3 frames, the client area and 246 controls
    std::set<std::string> names;
    for (QWidget* const control : controls) {
        const std::string name = control->accessibleName().toStdString();
        EXPECT_FALSE(name.empty()) << control->objectName().toStdString();
        EXPECT_TRUE(names.insert(name).second)
            << control->objectName().toStdString() << ": " << name;
    }
}

TEST_F(MainWindowAccessibilityTest, TabReachesTheFocusOrderAndNothingElse) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const QList<QLabel*> labels = window.findChildren<QLabel*>(); QLabel* const label : labels)
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();

    std::set<QWidget*> tabbable;
    for (const QList<QWidget*> children = window.findChildren<QWidget*>();
         QWidget* const child : children)
        if (child->isVisible() && child->isEnabled() && (child->focusPolicy() & Qt::TabFocus))
            tabbable.insert(child);

    QWidget* const first = widget(QStringLiteral("txtIn(12)"));
    ASSERT_EQ(QApplication::focusWidget(), first);
    std::set<QWidget*> visited{first};
    int steps = 0;
    for (; steps < 300; ++steps) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* const now = QApplication::focusWidget();
        ASSERT_NE(now, nullptr);
        if (now == first)
            break;
        EXPECT_EQ(qobject_cast<QLabel*>(now), nullptr) << now->objectName().toStdString();
        EXPECT_TRUE(visited.insert(now).second) << now->objectName().toStdString();
    }
    // 12 row boxes, the counter, 12 pool boxes, 12 fields, 8 sums, 24 row buttons, 2 check boxes,
    // Start, interrupt, help line, marker and list.
    EXPECT_EQ(steps + 1, 76);
    EXPECT_EQ(visited, tabbable);
}

TEST_F(MainWindowAccessibilityTest, SpaceWorksTheFocusedButtonOrCheckBox) {
    struct Row {
        const char* control;
        std::string tags;   // of lblErlaubt(0) to lblErlaubt(11) afterwards
        int stopAtSolution; // Check1 afterwards
    };
    const std::vector<Row> rows{
        {"cmdKeiner(0)", "000000000000", 1},
        {"Check1", "000000000000", 0},
        {"cmdAlle(0)", "111111111111", 0},
        {"Check1", "111111111111", 1},
    };
    for (const Row& row : rows) {
        QWidget* const target = widget(QString::fromLatin1(row.control));
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key_Space);
        std::string tags;
        for (int i = 0; i <= 11; ++i)
            tags += window.form().lblErlaubt(i).tag();
        EXPECT_EQ(tags, row.tags) << row.control;
        EXPECT_EQ(window.form().Check1.value(), row.stopAtSolution) << row.control;
    }
}

// A search may flip a tag on every pass. What a screen reader reads, and is told of when it
// changes, moves only when the view catches up, at most once a frame.
TEST_F(MainWindowAccessibilityTest, GridStateFollowsTheTagsWhenTheViewSyncs) {
    const auto checked = [this](int index) {
        return QAccessible::queryAccessibleInterface(
                   widget(QStringLiteral("lblErlaubt(%1)").arg(index)))
            ->state()
            .checked;
    };
    Form1& form = window.form();
    form.lblErlaubt_Click(16);
    form.lblErlaubt_Click(16);
    form.lblErlaubt_Click(17);
    form.cmdKeiner_Click(11);
    EXPECT_TRUE(checked(16) && checked(17) && checked(132) && checked(143));
    window.syncView();
    EXPECT_TRUE(checked(16));
    EXPECT_FALSE(checked(17) || checked(132) || checked(143));
}

} // namespace
} // namespace hexorin

// The grid numbers as check boxes to a screen reader, and the arrow keys through the grid.

#include "window/qt/qt_grid_access.h"

#include <algorithm>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

namespace hexorin {
namespace {

class GridNumberAccessible final : public QAccessibleWidget {
public:
    explicit GridNumberAccessible(GridNumberLabel* label)
        : QAccessibleWidget(label, QAccessible::CheckBox) {}

    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = true;
        state.checkable = true;
        state.checked = label()->allowed();
        return state;
    }
    // Toggle first: a screen reader's default action is the first.
    [[nodiscard]] QStringList actionNames() const override {
        return {toggleAction(), setFocusAction()};
    }
    void doAction(const QString& action) override {
        if (action == toggleAction())
            label()->click();
        else
            QAccessibleWidget::doAction(action);
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString& action) const override {
        if (action == toggleAction())
            return {QStringLiteral("Space")};
        return {};
    }

private:
    [[nodiscard]] GridNumberLabel* label() const { return static_cast<GridNumberLabel*>(widget()); }
};

QAccessibleInterface* gridNumberAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(GridNumberLabel::staticMetaObject.className()))
        return nullptr;
    auto* const label = qobject_cast<GridNumberLabel*>(object);
    return label == nullptr ? nullptr : new GridNumberAccessible(label);
}

struct ArrowMove {
    Qt::Key key;
    int rows;
    int columns;
};
constexpr std::array<ArrowMove, 4> kArrowMoves{{
    {Qt::Key_Left, 0, -1},
    {Qt::Key_Right, 0, 1},
    {Qt::Key_Up, -1, 0},
    {Qt::Key_Down, 1, 0},
}};

bool takesTabFocus(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->isVisible() &&
           widget->isEnabled();
}

} // namespace

GridNumberLabel::GridNumberLabel(QWidget* parent)
    : ClickLabel(parent) {
    QAccessible::installFactory(&gridNumberAccessible); // installs it once however often called
}

void GridNumberLabel::showAllowed(bool allowed) {
    if (allowed == allowed_)
        return;
    allowed_ = allowed;
    if (!QAccessible::isActive())
        return;
    QAccessible::State checked;
    checked.checked = true;
    QAccessibleStateChangeEvent event(this, checked);
    QAccessible::updateAccessibility(&event);
}

// A frame in the text colour, which reads on either back colour; the right neighbour covers the
// label's last pixel column.
void GridNumberLabel::paintEvent(QPaintEvent* event) {
    ClickLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(1, 1, -3, -2));
}

void GridKeyboard::add(QWidget* widget, int row, int column) {
    cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = widget;
    places_.insert(widget, {row, column});
    widget->installEventFilter(this);
}

QWidget* GridKeyboard::at(int row, int column) const {
    return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

bool GridKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto place = places_.constFind(watched);
    return place != places_.cend() && keyPressed(place.value(), *static_cast<QKeyEvent*>(event));
}

bool GridKeyboard::keyPressed(Cell cell, const QKeyEvent& key) {
    const bool onNumber = cell.column < kAllowAllColumn;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (onNumber && (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)) {
        leaveGrid(cell.row, key.key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        return true;
    }
    if (modifiers != Qt::NoModifier)
        return false;
    if (onNumber && key.key() == Qt::Key_Space) {
        if (!key.isAutoRepeat())
            static_cast<GridNumberLabel*>(at(cell.row, cell.column))->click();
        return true;
    }
    const auto move = std::ranges::find(kArrowMoves, key.key(), &ArrowMove::key);
    if (move == kArrowMoves.end())
        return false;
    const int row = std::clamp(cell.row + move->rows, 0, static_cast<int>(cells_.size()) - 1);
    const int column = std::clamp(cell.column + move->columns, 0, kForbidAllColumn);
    at(row, column)->setFocus(Qt::OtherFocusReason);
    return true;
}

// Walks the focus chain from the row's allow-all button, as Qt's own Tab handling does.
void GridKeyboard::leaveGrid(int row, bool forward) {
    QWidget* const from = at(row, kAllowAllColumn);
    QWidget* next = from;
    do {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    } while (next != from && !takesTabFocus(next));
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

} // namespace hexorin

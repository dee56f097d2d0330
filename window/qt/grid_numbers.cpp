// The grid numbers, and the arrow keys through the grid.

#include "window/qt/grid_numbers.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace hexorin {
namespace {

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

GridNumberBox::GridNumberBox(QWidget* parent)
    : QCheckBox(parent) {
    setFocusPolicy(Qt::NoFocus);
    setChecked(true);
}

// The label's back colour and its caption centred on it. The focus frame is drawn in the text
// colour, which reads on either back colour; the right neighbour covers the last pixel column.
void GridNumberBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    style()->drawItemText(&painter, rect(), Qt::AlignCenter, palette(), isEnabled(), text(),
                          QPalette::WindowText);
    if (!hasFocus())
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(1, 1, -3, -2));
}

bool GridNumberBox::hitButton(const QPoint& position) const {
    return rect().contains(position);
}

void GridNumberBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
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

#pragma once

// The allowed-number grid for keyboard and screen-reader users: each number reads as a check box
// that is checked while the number is allowed, and the arrow keys move through the grid from its
// row buttons.

#include <array>

#include <QHash>
#include <QObject>

#include "window/qt/qt_control_widgets.h"

class QKeyEvent;

namespace hexorin {

// A number of the grid. Its toggle action is a click, so it runs what a click runs. It takes the
// focus only from the arrow keys (GridKeyboard), never from Tab or the mouse, and draws it.
class GridNumberLabel final : public ClickLabel {
    Q_OBJECT

public:
    explicit GridNumberLabel(QWidget* parent);

    [[nodiscard]] bool allowed() const { return allowed_; }
    // The view calls this when it catches up with the label's tag, so a screen reader hears of a
    // change at most once a frame however often a search flips the tag.
    void showAllowed(bool allowed);
    void click() { Q_EMIT clicked(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool allowed_ = true;
};

// Arrow keys move between the grid's numbers and row buttons, Space toggles the focused number,
// and Tab or Shift+Tab leave a number as they would leave its row's allow-all button, so the
// numbers stay out of the Tab chain.
class GridKeyboard final : public QObject {
    Q_OBJECT

public:
    static constexpr int kAllowAllColumn = 12;
    static constexpr int kForbidAllColumn = 13;

    using QObject::QObject;
    // Column 0 to 11: the numbers; then the allow-all and the forbid-all button.
    void add(QWidget* widget, int row, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Cell {
        int row = 0;
        int column = 0;
    };

    [[nodiscard]] QWidget* at(int row, int column) const;
    bool keyPressed(Cell cell, const QKeyEvent& key);
    void leaveGrid(int row, bool forward);

    std::array<std::array<QWidget*, kForbidAllColumn + 1>, 12> cells_{};
    QHash<const QObject*, Cell> places_;
};

} // namespace hexorin

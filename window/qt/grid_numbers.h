#pragma once

// The allowed-number grid for keyboard and screen-reader users: each number is a check box that
// is checked while the number is allowed, and the arrow keys move through the grid from its row
// buttons.

#include <array>

#include <QCheckBox>
#include <QHash>
#include <QObject>

class QKeyEvent;

namespace hexorin {

// A number of the grid: a check box to Qt, checked while the number is allowed, so Qt gives it
// its role, state, toggle action, Space and announcements; painted as the layout's label. A click
// runs the label's handler and leaves the box as it is, for only the tag decides whether it is
// checked. It takes the focus only from the arrow keys (GridKeyboard), never from Tab or the
// mouse, and draws it.
class GridNumberBox final : public QCheckBox {
    Q_OBJECT

public:
    explicit GridNumberBox(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    [[nodiscard]] bool hitButton(const QPoint& position) const override;
    void nextCheckState() override {}
    // The second press of a double click is not a click.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// Arrow keys move between the grid's numbers and row buttons, and Tab or Shift+Tab leave a number
// as they would leave its row's allow-all button, so the numbers stay out of the Tab chain.
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

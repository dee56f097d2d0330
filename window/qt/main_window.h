#pragma once

// MainWindow: the Qt view of the window object.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QHash>
#include <QMainWindow>

#include "window/form1.h"
#include "window/layout.h"
#include "window/qt/qt_pictures.h"
#include "window/qt/qt_platform.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace hexorin {

class ClickLabel;
class PictureButton;

// The program's window on Qt. Form1 holds every control's state; the widgets mirror it and pass
// the user's clicks, mouse moves and typing back to it.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    Form1& form() { return form_; }
    const Form1& form() const { return form_; }

    // Brings the widgets of the controls that changed since the last call up to date.
    void syncView();
    // Called after each turn of the event loop that the search takes, so once a pass: for a
    // benchmark or a test that counts or watches the passes. The program sets none.
    void setTurnObserver(std::function<void()> observer);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = std::function<void()>;

    // A widget showing one control, and the control's revision it shows.
    struct Binding {
        const Control* control;
        std::uint64_t mirrored;
        std::function<void()> apply;
        std::string shown; // a text box's text as its widget shows it
    };

    struct BoxStyle {
        layout::Font font;
        Qt::Alignment alignment;
        bool framed;
    };

    void createMenu();
    void createControls(QWidget* client);
    void createStar(QWidget* client);
    void createPoolAndRow(QWidget* client);
    void createGrid(QWidget* client);
    void createRightSide(QWidget* client);
    void setFocusOrder();

    QLineEdit* addTextBox(TextBox& box, const QString& name, QWidget* parent,
                          const layout::Rect& place, const BoxStyle& style);
    QPlainTextEdit* addSolutionList(TextBox& box, const QString& name, QWidget* parent,
                                    const layout::Rect& place);
    template <typename LabelWidget = ClickLabel>
    LabelWidget* addLabel(Label& label, const QString& name, QWidget* parent,
                          const layout::Rect& place, Qt::Alignment alignment, bool paintsBack);
    PictureButton* addButton(CommandButton& button, const QString& name, QWidget* parent,
                             const layout::Rect& place, Picture picture);
    QCheckBox* addCheckBox(CheckBox& box, const QString& name, QWidget* parent,
                           const layout::Rect& place);

    std::size_t bind(const Control& control, std::function<void()> apply);
    // The user changed the control through its widget: the widget already shows it.
    void markMirrored(std::size_t binding);
    void takeEdit(std::size_t binding, TextBox& box, std::string edited);

    Handler handler(void (Form1::*method)());
    Handler handler(void (Form1::*method)(int), int index);
    template <typename Sender, typename Signal>
    void onClick(Sender* sender, Signal signal, Handler handler);
    void onMouseMove(QWidget* widget, const Handler& handler);
    void dispatch(const Handler& handler);

    QtPlatform platform_;
    Form1 form_{platform_};
    std::vector<Binding> bindings_;
    QHash<const QObject*, Handler> moveHandlers_;
    QStyle* boxStyle_ = nullptr; // the framed text boxes' style, owned by the window
    bool syncing_ = false;
};

template <typename Sender, typename Signal>
void MainWindow::onClick(Sender* sender, Signal signal, Handler handler) {
    connect(sender, signal, this, [this, handler = std::move(handler)] { dispatch(handler); });
}

} // namespace hexorin

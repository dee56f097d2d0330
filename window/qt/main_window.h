#pragma once

// MainWindow: the Qt view of the window object.

#include <functional>
#include <vector>

#include <QHash>
#include <QMainWindow>

#include "window/form1.h"
#include "window/layout.h"
#include "window/qt/pictures.h"
#include "window/qt/platform_services.h"
#include "window/qt/text_boxes.h"
#include "window/qt/view_mirror.h"

class QCheckBox;
class QLabel;
class QFrame;

namespace hexorin {

class BoxEdit;
class PictureButton;
class SolutionList;

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
    void syncView() { mirror_.now(); }
    // Called after each turn of the event loop that the search takes, so once a pass: for a
    // benchmark or a test that counts or watches the passes. The program sets none.
    void setTurnObserver(std::function<void()> observer);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = std::function<void()>;

    struct BoxStyle {
        layout::Font font;
        Qt::Alignment alignment;
        bool framed;
        bool raisedForContrast = false; // its text reads on its back where the desktop asks
    };

    void fitToScreen();
    void followDesktopLook();
    void showTextColor(QWidget* widget, QPalette::ColorRole text, QPalette::ColorRole back,
                       Color color);
    void createMenu();
    void createControls(QWidget* client);
    void createStar(QWidget* client);
    void createPoolAndRow(QWidget* client);
    void createGrid(QWidget* client);
    void createRightSide(QWidget* client);
    void setFocusOrder();
    void createNotices();

    // Each widget is made here, named after its control, told to screen readers and kept for the
    // focus chain.
    // A control array's element is named by the array and its index.
    struct Name {
        ControlId control;
        int index = kNoIndex;
    };
    BoxEdit* addTextBox(TextBox& box, Name name, QWidget* parent, layout::Rect place,
                        const BoxStyle& style);
    SolutionList* addSolutionList(TextBox& box, Name name, QWidget* parent, layout::Rect place);
    QLabel* addLabel(Label& label, Name name, QWidget* parent, layout::Rect place,
                     Qt::Alignment alignment);
    QWidget* addGridNumber(int index, QWidget* parent);
    PictureButton* addButton(CommandButton& button, Name name, QWidget* parent, layout::Rect place,
                             Picture picture);
    QCheckBox* addCheckBox(CheckBox& box, Name name, QWidget* parent, layout::Rect place);
    QFrame* addFrame(QWidget* parent, ControlId control, layout::Rect place);
    void made(QWidget* widget, ControlId control, int index = kNoIndex);
    void describe(QWidget* widget, ControlId control, int index = kNoIndex) const;
    [[nodiscard]] QWidget* widgetNamed(const QString& name) const;

    Handler handler(void (Form1::*method)());
    Handler handler(void (Form1::*method)(int), int index);
    template <typename Sender, typename Signal>
    void onClick(Sender* sender, Signal signal, Handler handler);
    void onMouseMove(QWidget* widget, const Handler& handler);
    void dispatch(const Handler& handler);

    ViewMirror mirror_;
    QtPlatform platform_{mirror_};
    Form1 form_{platform_};
    QHash<QString, QWidget*> made_;
    QHash<const QObject*, Handler> moveHandlers_;
    CompositionGuard compositions_;
    QMargins fittedFrame_; // the frame the window was last fitted with
    bool highContrast_ = false;
    // Set the text colours that high contrast raises, again when the desktop's look changes.
    std::vector<std::function<void()>> raisedTexts_;
};

template <typename Sender, typename Signal>
void MainWindow::onClick(Sender* sender, Signal signal, Handler handler) {
    connect(sender, signal, this, [this, handler = std::move(handler)] { dispatch(handler); });
}

} // namespace hexorin

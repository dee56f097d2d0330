#pragma once

// The text boxes: what each widget shows of its control, and every way the user's edits reach the
// control, by keys, mouse, input method or a screen reader.

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "window/controls.h"
#include "window/edit_rebase.h"
#include "window/qt/view_mirror.h"

namespace hexorin {

// One text box's widget and its control. The widget may be a frame behind the control, so an edit
// is taken as a change of the text the widget showed and made again on the control's current
// text (rebaseEdit); the widget's own new text never becomes the control's.
class TextMirror {
public:
    TextMirror(TextBox& box, ViewMirror& mirror, QObject* widget, std::size_t undoBudget)
        : box_(box)
        , mirror_(mirror)
        , widget_(widget)
        , undoBudget_(undoBudget) {}
    TextMirror(const TextMirror&) = delete;
    TextMirror& operator=(const TextMirror&) = delete;
    virtual ~TextMirror() = default;

    // The widget's text, as the user and a screen reader see it.
    [[nodiscard]] virtual QString widgetText() const = 0;
    // Shows the control in the widget: the view's binding of the box, and only it, calls this.
    virtual void catchUp() = 0;

    // A screen reader's edit of the widget's text, in its positions: at `position`, `removed`
    // characters give way to `inserted`. Positions outside the text are moved to its ends. False
    // when the edit could not be made.
    bool takeReaderEdit(int position, int removed, const QString& inserted);
    // A screen reader's new text for the whole box. The reader built it on a text it read a
    // moment before, which the widget may since have replaced: a text that only adds to or only
    // takes from one shown in the last moments (the least, where several fit) is that edit, made
    // on the control's text now; any other is a new value.
    bool takeReaderText(const QString& text);
    [[nodiscard]] bool readOnly() const { return !box_.visible(); }

protected:
    // The widget's new text after an edit by keys, mouse or input method.
    void takeWidgetEdit(const QString& edited);
    // What an edit of the widget added to its undo history, in characters; a change that reads
    // the same (all selected, the same text pasted) still adds to it.
    void chargeUndo(std::size_t characters);
    [[nodiscard]] virtual std::string toControl(const QString& text) const = 0;
    // Lets go of the widget's undo history.
    virtual void forgetUndo() = 0;

    // Keeps the widget's text before a change, for a reader that read it.
    void remember();
    // Of the texts shown lately, the one a reader most likely built `edited` on.
    [[nodiscard]] std::string textReadBefore(const std::string& edited) const;
    // A reader's change from `read` to `edited`, made on the control's text now.
    bool applyReaderEdit(std::string_view read, const std::string& edited);

    // Has the view bring the widget up to the control at once.
    void catchUpNow() { mirror_.now(box_); }

    TextBox& box_;
    ViewMirror& mirror_;
    std::string shown_;       // the widget's text, as the control would hold it
    bool catchingUp_ = false; // the widget's changes are the view's own

private:
    struct Earlier {
        std::string text;
        std::chrono::steady_clock::time_point replaced;
    };

    QObject* widget_;
    std::array<Earlier, 8> earlier_; // the texts shown before, the newest at next_ - 1
    std::size_t next_ = 0;
    std::size_t undoBudget_;
    std::size_t undoneCharacters_ = 0; // changed since the undo history last started afresh
};

// A single-line box.
class BoxEdit final : public QLineEdit, public TextMirror {
    Q_OBJECT

public:
    BoxEdit(TextBox& box, ViewMirror& mirror, QWidget* parent);

    [[nodiscard]] QString widgetText() const override { return text(); }
    void catchUp() override;

protected:
    [[nodiscard]] std::string toControl(const QString& text) const override {
        return text.toStdString();
    }
    void forgetUndo() override;
};

// The solution list: plain text in, whatever way it comes. The list keeps Windows line ends; the
// widget shows plain line breaks.
class SolutionList final : public QPlainTextEdit, public TextMirror {
    Q_OBJECT

public:
    SolutionList(TextBox& box, ViewMirror& mirror, QWidget* parent);

    [[nodiscard]] QString widgetText() const override { return toPlainText(); }
    void catchUp() override;

protected:
    void insertFromMimeData(const QMimeData* source) override;
    [[nodiscard]] std::string toControl(const QString& text) const override;
    void forgetUndo() override;

private:
    void showText(const std::string& text);
};

// An input method's composition belongs to the box it was begun in. Where the focus leaves a box
// mid-composition, some input methods commit it twice: once into that box, and once more, a
// moment later, into whichever box has the focus by then. The second commit is dropped.
class CompositionGuard {
public:
    // True when the event, on its way to `box`, is to be dropped.
    bool drops(QObject* box, QEvent* event);

private:
    struct Commit {
        QPointer<QObject> box;
        QString text;
        QElapsedTimer at;
    };

    QHash<const QObject*, QString> composing_;
    Commit lastComposed_; // the last composition committed, and where
    Commit orphan_;       // what a box that lost the focus was composing
};

// Makes the text boxes' accessibility go through their mirrors.
void installTextBoxAccessibility();

} // namespace hexorin

// The text boxes' widgets, how they catch up with their controls, and how edits by keys, mouse,
// input method and screen reader reach the controls.

#include "window/qt/text_boxes.h"

#include <algorithm>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "window/qt/platform_services.h"
#include "window/qt/units.h"
#include "window/qt/widgets.h"

namespace hexorin {
namespace {

// How much changed text a box's undo history may hold before it starts afresh: a line edit keeps
// a step per character, the list a copy of each change.
constexpr std::size_t kLineUndoCharacters = std::size_t{1} << 16;
constexpr std::size_t kListUndoCharacters = std::size_t{1} << 20;

QString toDisplayText(std::string_view text) {
    return toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string toControlText(QString text) {
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

// True when the widget shows the text so that it reads back byte for byte: the search's lines do.
bool readsBackAsIs(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        else if (c < ' ' || c > '~')
            return false;
    }
    return true;
}

bool splitsCharacter(const QString& text, int position) {
    return position > 0 && position < text.size() && text.at(position).isLowSurrogate() &&
           text.at(position - 1).isHighSurrogate();
}

// A screen reader's view of a text box: the text the widget shows, and edits that go through the
// box's mirror onto the control, never into the widget behind it.
class TextBoxAccessible final : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface {
public:
    TextBoxAccessible(QWidget* widget, TextMirror& mirror)
        : QAccessibleWidget(widget, QAccessible::EditableText)
        , mirror_(mirror)
        , line_(qobject_cast<QLineEdit*>(widget))
        , list_(qobject_cast<QPlainTextEdit*>(widget)) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !mirror_.readOnly();
        state.readOnly = mirror_.readOnly();
        state.selectableText = true;
        state.multiLine = list_ != nullptr;
        return state;
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? mirror_.widgetText() : QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind != QAccessible::Value) {
            QAccessibleWidget::setText(kind, text);
            return;
        }
        mirror_.takeReaderText(text);
    }

    // Reading.
    [[nodiscard]] QString text(int start, int end) const override {
        const QString all = mirror_.widgetText();
        start = std::clamp(start, 0, static_cast<int>(all.size()));
        end = std::clamp(end < 0 ? static_cast<int>(all.size()) : end, start,
                         static_cast<int>(all.size()));
        return all.mid(start, end - start);
    }
    [[nodiscard]] int characterCount() const override {
        return static_cast<int>(mirror_.widgetText().size());
    }
    [[nodiscard]] int cursorPosition() const override {
        return line_ != nullptr ? line_->cursorPosition() : list_->textCursor().position();
    }
    void setCursorPosition(int position) override {
        position = std::clamp(position, 0, characterCount());
        if (line_ != nullptr) {
            line_->setCursorPosition(position);
            return;
        }
        QTextCursor cursor = list_->textCursor();
        cursor.setPosition(position);
        list_->setTextCursor(cursor);
    }
    [[nodiscard]] int selectionCount() const override {
        return (line_ != nullptr ? line_->hasSelectedText() : list_->textCursor().hasSelection())
                   ? 1
                   : 0;
    }
    void selection(int index, int* start, int* end) const override {
        *start = 0;
        *end = 0;
        if (index != 0 || selectionCount() == 0)
            return;
        if (line_ != nullptr) {
            *start = line_->selectionStart();
            *end = *start + static_cast<int>(line_->selectedText().size());
        } else {
            *start = list_->textCursor().selectionStart();
            *end = list_->textCursor().selectionEnd();
        }
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index != 0)
            return;
        if (line_ != nullptr) {
            line_->deselect();
            return;
        }
        QTextCursor cursor = list_->textCursor();
        cursor.clearSelection();
        list_->setTextCursor(cursor);
    }
    void setSelection(int index, int start, int end) override {
        if (index != 0)
            return;
        const int count = characterCount();
        start = std::clamp(start, 0, count);
        end = std::clamp(end, 0, count);
        if (line_ != nullptr) {
            line_->setSelection(start, end - start);
            return;
        }
        QTextCursor cursor = list_->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        list_->setTextCursor(cursor);
    }
    [[nodiscard]] QRect characterRect(int offset) const override {
        const QString all = mirror_.widgetText();
        if (offset < 0 || offset >= all.size())
            return {};
        const QFontMetrics metrics = widget()->fontMetrics();
        const int width = metrics.horizontalAdvance(all.mid(offset, 1));
        if (list_ != nullptr) {
            QTextCursor cursor(list_->document());
            cursor.setPosition(offset);
            const QRect caret = list_->cursorRect(cursor);
            return {list_->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height())};
        }
        const QRect contents = lineContents();
        const int textWidth = metrics.horizontalAdvance(all);
        int left = contents.left();
        if (line_->alignment() & Qt::AlignHCenter)
            left += std::max(0, (contents.width() - textWidth) / 2);
        else if (line_->alignment() & Qt::AlignRight)
            left += std::max(0, contents.width() - textWidth);
        const QPoint at(left + metrics.horizontalAdvance(all.left(offset)),
                        contents.top() + (contents.height() - metrics.height()) / 2);
        return {line_->mapToGlobal(at), QSize(width, metrics.height())};
    }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
        if (line_ != nullptr)
            return line_->cursorPositionAt(line_->mapFromGlobal(point));
        return list_->cursorForPosition(list_->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int /*start*/, int /*end*/) override {}
    [[nodiscard]] QString attributes(int /*offset*/, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Editing.
    void deleteText(int start, int end) override {
        mirror_.takeReaderEdit(start, end - start, QString());
    }
    void insertText(int offset, const QString& text) override {
        mirror_.takeReaderEdit(offset, 0, typedPart(text));
    }
    void replaceText(int start, int end, const QString& text) override {
        mirror_.takeReaderEdit(start, end - start, typedPart(text));
    }

private:
    // The bus's insertion is cut or padded to the length the reader named; what it padded with
    // was never typed, and no text of a box holds a null or a control character.
    static QString typedPart(const QString& text) {
        const auto typed = std::ranges::find_if(text, [](QChar c) {
            return c.category() == QChar::Other_Control && c != QLatin1Char('\n') &&
                   c != QLatin1Char('\t');
        });
        return text.left(typed - text.begin());
    }
    [[nodiscard]] QRect lineContents() const {
        QStyleOptionFrame option;
        option.initFrom(line_);
        option.lineWidth = line_->hasFrame() ? 1 : 0;
        const QRect contents =
            line_->style()->subElementRect(QStyle::SE_LineEditContents, &option, line_);
        return contents.marginsRemoved(line_->textMargins());
    }

    TextMirror& mirror_;
    QLineEdit* line_;
    QPlainTextEdit* list_;
};

QAccessibleInterface* textBoxAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(BoxEdit::staticMetaObject.className()))
        if (auto* const box = qobject_cast<BoxEdit*>(object))
            return new TextBoxAccessible(box, *box);
    if (className == QLatin1String(SolutionList::staticMetaObject.className()))
        if (auto* const list = qobject_cast<SolutionList*>(object))
            return new TextBoxAccessible(list, *list);
    return nullptr;
}

} // namespace

bool TextMirror::takeReaderEdit(int position, int removed, const QString& inserted) {
    if (readOnly())
        return false;
    const QString text = widgetText();
    const int size = static_cast<int>(text.size());
    position = std::clamp(position, 0, size);
    removed = std::clamp(removed, 0, size - position);
    if (splitsCharacter(text, position) || splitsCharacter(text, position + removed))
        return false;
    if (position == 0 && removed == size)
        return takeReaderText(inserted);
    // Taken as the change it makes to the text the reader was shown, as keys are.
    return applyReaderEdit(toControl(text),
                           toControl(QString(text).replace(position, removed, inserted)));
}

bool TextMirror::takeReaderText(const QString& text) {
    if (readOnly())
        return false;
    const std::string edited = toControl(text);
    return applyReaderEdit(textReadBefore(edited), edited);
}

// Newest first, the text the new one only adds to or only takes from, by the fewest characters;
// failing that, what is shown, so the new text is a new value.
std::string TextMirror::textReadBefore(const std::string& edited) const {
    constexpr std::chrono::seconds kReaderLag{1};
    const std::string current = toControl(widgetText());
    std::string_view read = current;
    std::size_t least = std::string::npos;
    const auto consider = [&](std::string_view before) {
        const Splice splice = spliceBetween(before, edited);
        const std::size_t size = splice.removed + splice.inserted.size();
        if ((splice.removed == 0) != splice.inserted.empty() && size < least) {
            least = size;
            read = before;
        }
    };
    consider(current);
    const auto recently = std::chrono::steady_clock::now() - kReaderLag;
    for (std::size_t age = 1; age <= earlier_.size(); ++age) {
        const Earlier& before = earlier_[(next_ + earlier_.size() - age) % earlier_.size()];
        if (before.replaced < recently)
            break;
        consider(before.text);
    }
    return std::string(read);
}

bool TextMirror::applyReaderEdit(std::string_view read, const std::string& edited) {
    const std::optional<std::string> rebased = rebaseEdit(read, edited, box_.text());
    if (!rebased)
        return false;
    box_.setText(*rebased);
    catchUpNow();
    return true;
}

void TextMirror::remember() {
    earlier_[next_] = {shown_, std::chrono::steady_clock::now()};
    next_ = (next_ + 1) % earlier_.size();
}

void TextMirror::takeWidgetEdit(const QString& text) {
    std::string edited = toControl(text);
    const Splice edit = spliceBetween(shown_, edited);
    if (const std::optional<std::string> rebased = rebaseEdit(shown_, edit, box_.text()))
        box_.setText(*rebased);
    remember();
    shown_ = std::move(edited);
    // Neither the widget nor its undo history can be changed from inside its own change signal.
    if (box_.text() != shown_)
        QMetaObject::invokeMethod(
            widget_, [this] { catchUpNow(); }, Qt::QueuedConnection);
}

void TextMirror::chargeUndo(std::size_t characters) {
    undoneCharacters_ += characters;
    if (undoneCharacters_ > undoBudget_) {
        undoneCharacters_ = 0;
        QMetaObject::invokeMethod(
            widget_, [this] { forgetUndo(); }, Qt::QueuedConnection);
    }
}

BoxEdit::BoxEdit(TextBox& box, ViewMirror& mirror, QWidget* parent)
    : QLineEdit(parent)
    , TextMirror(box, mirror, this, kLineUndoCharacters) {
    // Every change that is not the view's own: typing, pasting, dropping, undo, an input method.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (catchingUp_)
            return;
        // A line edit tells no more of an edit than its new text: at most all of the old text
        // gave way to all of the new.
        chargeUndo(static_cast<std::size_t>(text.size()) + shown_.size());
        takeWidgetEdit(text);
    });
}

void BoxEdit::catchUp() {
    catchingUp_ = true;
    // Compared with what the widget shows as the control would hold it: a text that does not
    // read back as it was typed (a lone surrogate) stays as the user sees it.
    if (box_.text() != shown_) {
        setText(toQString(box_.text()));
        remember();
        shown_ = text().toStdString();
    }
    setColor(this, QPalette::Base, box_.backColor());
    setColor(this, QPalette::Text, box_.foreColor());
    moveLeft(this, box_.left());
    showIf(this, box_.visible());
    catchingUp_ = false;
}

// Setting the text anew is the only way to empty a line edit's history; the caret stays.
void BoxEdit::forgetUndo() {
    const int caret = cursorPosition();
    catchingUp_ = true;
    setText(text());
    setCursorPosition(caret);
    catchingUp_ = false;
}

SolutionList::SolutionList(TextBox& box, ViewMirror& mirror, QWidget* parent)
    : QPlainTextEdit(parent)
    , TextMirror(box, mirror, this, kListUndoCharacters) {
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!catchingUp_)
            chargeUndo(static_cast<std::size_t>(removed) + static_cast<std::size_t>(added));
    });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!catchingUp_)
            takeWidgetEdit(toPlainText());
    });
}

// The search only ever appends to the list: then only the new lines go to the widget, and past
// its undo history, which holds the user's own edits alone.
void SolutionList::catchUp() {
    catchingUp_ = true;
    const std::string& text = box_.text();
    if (text != shown_)
        showText(text);
    setColor(this, QPalette::Base, box_.backColor());
    setColor(this, QPalette::Text, box_.foreColor());
    catchingUp_ = false;
}

void SolutionList::showText(const std::string& text) {
    remember();
    QTextDocument* const list = document();
    if (text.starts_with(shown_) && !shown_.ends_with('\r')) {
        const std::string_view tail = std::string_view(text).substr(shown_.size());
        list->setUndoRedoEnabled(false);
        QTextCursor end(list);
        end.movePosition(QTextCursor::End);
        end.insertText(toDisplayText(tail));
        list->setUndoRedoEnabled(true);
        if (readsBackAsIs(tail)) {
            shown_.append(tail);
            return;
        }
    } else {
        setPlainText(toDisplayText(text));
        if (readsBackAsIs(text)) {
            shown_ = text;
            return;
        }
    }
    shown_ = toControlText(toPlainText());
}

// Qt's own insertion crashes on a middle click under X11 when nobody owns the primary selection.
void SolutionList::insertFromMimeData(const QMimeData* source) {
    if (source != nullptr && source->hasText())
        textCursor().insertText(source->text());
}

std::string SolutionList::toControl(const QString& text) const {
    return toControlText(text);
}

// A document keeps every text its history held, even once the history is cleared: only a text set
// anew lets go of them. The caret and the scrolled place stay.
void SolutionList::forgetUndo() {
    const int caret = textCursor().position();
    const int scrolled = verticalScrollBar()->value();
    catchingUp_ = true;
    setPlainText(toPlainText());
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(caret, document()->characterCount() - 1));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(scrolled);
    catchingUp_ = false;
    returnFreedMemory(); // the history held at least a megabyte of text
}

namespace {

// How long after the focus left its box an input method may still send its composition.
constexpr qint64 kLateCommitMilliseconds = 1000;
// How long before the focus leaves a box its composition counts as committed by the leaving.
constexpr qint64 kLeavingCommitMilliseconds = 100;

bool within(QElapsedTimer timer, qint64 milliseconds) {
    return timer.isValid() && timer.elapsed() < milliseconds;
}

} // namespace

bool CompositionGuard::drops(QObject* box, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        QString text = composing_.take(box);
        if (text.isEmpty() && lastComposed_.box == box &&
            within(lastComposed_.at, kLeavingCommitMilliseconds))
            text = lastComposed_.text;
        if (!text.isEmpty()) {
            orphan_ = {box, text, {}};
            orphan_.at.start();
        }
        return false;
    }
    if (event->type() != QEvent::InputMethod)
        return false;
    const auto* const input = static_cast<QInputMethodEvent*>(event);
    const bool composing = composing_.contains(box);
    if (!composing && orphan_.box != box && input->preeditString().isEmpty() &&
        !input->commitString().isEmpty() && input->commitString() == orphan_.text &&
        within(orphan_.at, kLateCommitMilliseconds)) {
        orphan_ = {};
        return true;
    }
    if (composing && !input->commitString().isEmpty()) {
        lastComposed_ = {box, input->commitString(), {}};
        lastComposed_.at.start();
    }
    if (input->preeditString().isEmpty())
        composing_.remove(box);
    else
        composing_.insert(box, input->preeditString());
    return false;
}

void installTextBoxAccessibility() {
    QAccessible::installFactory(&textBoxAccessible); // installs it once however often called
}

} // namespace hexorin

// The window's controls: one widget per control of Form1, where the layout puts it, and the
// bindings that keep each widget showing its control.

#include <algorithm>
#include <cmath>
#include <optional>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include "window/edit_rebase.h"
#include "window/qt/main_window.h"
#include "window/qt/qt_control_widgets.h"
#include "window/qt/qt_grid_access.h"
#include "window/qt/qt_units.h"

namespace hexorin {
namespace {

using namespace layout;

constexpr std::uint64_t kNeverMirrored = ~std::uint64_t{0};

// Liberation Sans stands in for MS Sans Serif, which the layout was drawn with.
QFont fontFor(Font font) {
    QFont result(QStringLiteral("Liberation Sans"));
    result.setStyleHint(QFont::SansSerif);
    result.setPointSizeF(font.points > 0 ? font.points : kWindowFont.points);
    result.setBold(font.bold);
    return result;
}

template <typename Array> QString nameOf(const Array& array, int index) {
    return controlName(array.name(), index);
}

Rect square(Point at, int size) {
    return {at.x, at.y, size, size};
}

void setColor(QWidget* widget, QPalette::ColorRole role, Color color) {
    const QColor wanted = toQColor(color);
    if (widget->palette().color(role) == wanted)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, wanted);
    widget->setPalette(palette);
}

// Relative luminance and contrast ratio as the WCAG define them.
double luminance(Color color) {
    const auto linear = [](std::uint8_t channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

double contrast(Color first, Color second) {
    const double one = luminance(first);
    const double other = luminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

// A label's own text colour, unless it cannot be read on the label's back colour (black on the
// dark blue of a forbidden number): then black or white, whichever reads better.
Color legibleText(Color text, Color back) {
    constexpr double kReadable = 4.5;
    if (contrast(text, back) >= kReadable)
        return text;
    return contrast(kWhite, back) > contrast(kBlack, back) ? kWhite : kBlack;
}

void moveLeft(QWidget* widget, int twips) {
    const int x = pixels(twips);
    if (widget->x() != x)
        widget->move(x, widget->y());
}

void showIf(QWidget* widget, bool visible) {
    if (widget->isHidden() == visible)
        widget->setVisible(visible);
}

QFrame* addFrame(QWidget* parent, const QString& name, const Rect& place) {
    auto* const frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setGeometry(pixels(place));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAttribute(Qt::WA_NoMousePropagation);
    // Filled with the window's own colour, so a frame stops repaints of the boxes it holds
    // from reaching the window beneath.
    frame->setAutoFillBackground(true);
    return frame;
}

// The list keeps Windows line ends; the widget shows plain line breaks.
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

// The search only ever appends to the list: then only the new lines go to the widget, and past
// its undo history, which holds the user's own edits alone.
void showList(QPlainTextEdit& widget, const std::string& text, std::string& shown) {
    QTextDocument* const document = widget.document();
    if (text.starts_with(shown) && !shown.ends_with('\r')) {
        const std::string_view tail = std::string_view(text).substr(shown.size());
        document->setUndoRedoEnabled(false);
        QTextCursor end(document);
        end.movePosition(QTextCursor::End);
        end.insertText(toDisplayText(tail));
        document->setUndoRedoEnabled(true);
        if (readsBackAsIs(tail)) {
            shown.append(tail);
            return;
        }
    } else {
        widget.setPlainText(toDisplayText(text));
        if (readsBackAsIs(text)) {
            shown = text;
            return;
        }
    }
    shown = toControlText(widget.toPlainText());
}

} // namespace

void MainWindow::createControls(QWidget* client) {
    client->setFont(fontFor(kWindowFont));
    boxStyle_ = new CachedFrameStyle(client->style()->name());
    boxStyle_->setParent(this);
    createStar(client);
    createPoolAndRow(client);
    createGrid(client);
    createRightSide(client);
}

void MainWindow::createStar(QWidget* client) {
    auto* const frame = new StarFrame(client);
    onMouseMove(frame, handler(&Form1::Frame3_MouseMove));
    const BoxStyle fieldStyle{kFieldFont, Qt::AlignCenter, true};
    for (int field = 1; field <= 12; ++field) {
        QLineEdit* const box = addTextBox(form_.txtFeld(field), nameOf(form_.txtFeld, field), frame,
                                          square(starPlace(field).field, kFieldSize), fieldStyle);
        onMouseMove(box, handler(&Form1::txtFeld_MouseMove, field));
    }
    for (int index = 0; index <= 11; ++index) {
        ClickLabel* const label = addLabel(
            form_.lblNr(index), nameOf(form_.lblNr, index), frame,
            square(starPlace(index + 1).numberLabel, kNumberLabelSize), Qt::AlignCenter, false);
        onMouseMove(label, handler(&Form1::lblNr_MouseMove, index));
    }
    // The sum boxes are display boxes written on the star; they have no border.
    for (int index = 0; index <= 7; ++index) {
        const Point at = sumBox(index);
        QLineEdit* const box = addTextBox(form_.txtS(index), nameOf(form_.txtS, index), frame,
                                          {at.x, at.y, kSumBoxWidth, kSumBoxHeight},
                                          {kSumFont, Qt::AlignCenter, false});
        onMouseMove(box, handler(&Form1::txtS_MouseMove, index));
    }
    // Created, never shown, never in the focus chain.
    addTextBox(form_.txtFeld(0), nameOf(form_.txtFeld, 0), frame, kSentinelField, fieldStyle)
        ->setFocusPolicy(Qt::NoFocus);
    addTextBox(form_.txtStein(0), nameOf(form_.txtStein, 0), frame, kHiddenPoolBox,
               {kHiddenPoolFont, Qt::AlignCenter, true})
        ->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::createPoolAndRow(QWidget* client) {
    QFrame* const pool = addFrame(client, QStringLiteral("Frame2"), kPoolFrame);
    for (int number = 1; number <= 12; ++number) {
        QLineEdit* const box =
            addTextBox(form_.txtStein(number), nameOf(form_.txtStein, number), pool,
                       poolBox(number), {kPoolFont, Qt::AlignCenter, true});
        onMouseMove(box, handler(&Form1::txtStein_MouseMove, number));
    }
    QFrame* const row = addFrame(client, QStringLiteral("Frame1"), kRowFrame);
    for (int field = 1; field <= 12; ++field) {
        QLineEdit* const box = addTextBox(form_.txtIn(field), nameOf(form_.txtIn, field), row,
                                          rowBox(field), {kWindowFont, Qt::AlignCenter, true});
        onMouseMove(box, handler(&Form1::txtIn_MouseMove, field));
    }
    // The marker has no handlers: moves and clicks on it do nothing.
    addButton(form_.shape1, QStringLiteral("shape1"), row, kMarker, &paintDownArrow)
        ->setAttribute(Qt::WA_NoMousePropagation);
}

void MainWindow::createGrid(QWidget* client) {
    for (int row = 0; row <= 11; ++row) {
        ClickLabel* const caption =
            addLabel(form_.Label2(row), nameOf(form_.Label2, row), client, gridRowCaption(row),
                     Qt::AlignLeft | Qt::AlignVCenter, false);
        onMouseMove(caption, handler(&Form1::Label2_MouseMove, row));
    }
    auto* const keyboard = new GridKeyboard(client);
    for (int index = 0; index <= 143; ++index) {
        Label& control = form_.lblErlaubt(index);
        auto* const label =
            addLabel<GridNumberLabel>(control, nameOf(form_.lblErlaubt, index), client,
                                      gridLabel(index), Qt::AlignCenter, true);
        onMouseMove(label, handler(&Form1::lblErlaubt_MouseMove, index));
        onClick(label, &ClickLabel::clicked, handler(&Form1::lblErlaubt_Click, index));
        // Allowed as the search reads the tag.
        bind(control, [label, &control] { label->showAllowed(tagAllows(control.tag())); });
        keyboard->add(label, fieldOfGridLabel(index) - 1, numberOfGridLabel(index) - 1);
    }
    for (int row = 0; row <= 11; ++row) {
        PictureButton* const allowAll = addButton(form_.cmdAlle(row), nameOf(form_.cmdAlle, row),
                                                  client, allowAllButton(row), nullptr);
        onMouseMove(allowAll, handler(&Form1::cmdAlle_MouseMove, row));
        onClick(allowAll, &QPushButton::clicked, handler(&Form1::cmdAlle_Click, row));
        PictureButton* const forbidAll =
            addButton(form_.cmdKeiner(row), nameOf(form_.cmdKeiner, row), client,
                      forbidAllButton(row), nullptr);
        onMouseMove(forbidAll, handler(&Form1::cmdKeiner_MouseMove, row));
        onClick(forbidAll, &QPushButton::clicked, handler(&Form1::cmdKeiner_Click, row));
        keyboard->add(allowAll, row, GridKeyboard::kAllowAllColumn);
        keyboard->add(forbidAll, row, GridKeyboard::kForbidAllColumn);
    }
}

void MainWindow::createRightSide(QWidget* client) {
    QScrollBar* const listBar =
        addSolutionList(form_.txtErgebnisse, QStringLiteral("txtErgebnisse"), client, kSolutionList)
            ->verticalScrollBar();
    auto* const thumbStyle = new ShortThumbStyle(listBar->style()->name());
    thumbStyle->setParent(listBar);
    listBar->setStyle(thumbStyle);
    onMouseMove(addTextBox(form_.Text2, QStringLiteral("Text2"), client, kCounter,
                           {kCounterFont, Qt::AlignCenter, true}),
                handler(&Form1::Text2_MouseMove));
    onMouseMove(addCheckBox(form_.Check1, QStringLiteral("Check1"), client, kStopAtSolution),
                handler(&Form1::Check1_MouseMove));
    onMouseMove(addCheckBox(form_.Check2, QStringLiteral("Check2"), client, kSingleStep),
                handler(&Form1::Check2_MouseMove));
    PictureButton* const start = addButton(form_.cmdSucher, QStringLiteral("cmdSucher"), client,
                                           kStartButton, &paintStartSign);
    onMouseMove(start, handler(&Form1::cmdSucher_MouseMove));
    onClick(start, &QPushButton::clicked, handler(&Form1::cmdSucher_Click));
    PictureButton* const interrupt = addButton(form_.Command1, QStringLiteral("Command1"), client,
                                               kInterruptButton, &paintStopSign);
    onMouseMove(interrupt, handler(&Form1::Command1_MouseMove));
    onClick(interrupt, &QPushButton::clicked, handler(&Form1::Command1_Click));
    // The help line has no handler of its own: moving over it keeps its text.
    addTextBox(form_.txtHilfe, QStringLiteral("txtHilfe"), client, kHelpLine,
               {kWindowFont, Qt::AlignCenter, true})
        ->setAttribute(Qt::WA_NoMousePropagation);
}

QLineEdit* MainWindow::addTextBox(TextBox& box, const QString& name, QWidget* parent,
                                  const Rect& place, const BoxStyle& style) {
    auto* const widget = new QLineEdit(parent);
    widget->setObjectName(name);
    widget->setGeometry(pixels(place));
    widget->setFont(fontFor(style.font));
    widget->setAlignment(style.alignment);
    widget->setFrame(style.framed);
    if (style.framed)
        widget->setStyle(boxStyle_);
    widget->installEventFilter(this);
    const std::size_t binding = bindings_.size();
    bind(box, [this, widget, &box, binding] {
        const QString text = toQString(box.text());
        if (widget->text() != text) {
            widget->setText(text);
            bindings_[binding].shown = widget->text().toStdString();
        }
        setColor(widget, QPalette::Base, box.backColor());
        setColor(widget, QPalette::Text, box.foreColor());
        moveLeft(widget, box.left());
        showIf(widget, box.visible());
    });
    // Every change that is not the view's own: typing, pasting, dropping, undo, an input method,
    // a screen reader.
    connect(widget, &QLineEdit::textChanged, this, [this, &box, binding](const QString& text) {
        if (!syncing_)
            takeEdit(binding, box, text.toStdString());
    });
    return widget;
}

QPlainTextEdit* MainWindow::addSolutionList(TextBox& box, const QString& name, QWidget* parent,
                                            const Rect& place) {
    auto* const widget = new SolutionList(parent);
    widget->setObjectName(name);
    widget->setGeometry(pixels(place));
    widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget->setTabChangesFocus(true);
    const std::size_t binding = bindings_.size();
    bind(box, [this, widget, &box, binding] {
        std::string& shown = bindings_[binding].shown;
        if (box.text() != shown)
            showList(*widget, box.text(), shown);
        setColor(widget, QPalette::Base, box.backColor());
        setColor(widget, QPalette::Text, box.foreColor());
    });
    connect(widget, &QPlainTextEdit::textChanged, this, [this, widget, &box, binding] {
        if (!syncing_)
            takeEdit(binding, box, toControlText(widget->toPlainText()));
    });
    const Handler moved = handler(&Form1::txtErgebnisse_MouseMove);
    onMouseMove(widget, moved);
    onMouseMove(widget->viewport(), moved);
    onMouseMove(widget->verticalScrollBar(), moved);
    return widget;
}

template <typename LabelWidget>
LabelWidget* MainWindow::addLabel(Label& label, const QString& name, QWidget* parent,
                                  const Rect& place, Qt::Alignment alignment, bool paintsBack) {
    auto* const widget = new LabelWidget(parent);
    widget->setObjectName(name);
    widget->setGeometry(pixels(place));
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(alignment);
    // A label without a back colour of its own shows its container through.
    widget->setPaintsBack(paintsBack);
    bind(label, [widget, &label, paintsBack] {
        const QString caption = toQString(label.caption());
        if (widget->text() != caption)
            widget->setText(caption);
        if (paintsBack) {
            setColor(widget, QPalette::WindowText,
                     legibleText(label.foreColor(), label.backColor()));
            setColor(widget, QPalette::Window, label.backColor());
        } else {
            setColor(widget, QPalette::WindowText, label.foreColor());
        }
    });
    return widget;
}

PictureButton* MainWindow::addButton(CommandButton& button, const QString& name, QWidget* parent,
                                     const Rect& place, Picture picture) {
    auto* const widget = new PictureButton(picture, parent);
    widget->setObjectName(name);
    widget->setGeometry(pixels(place));
    bind(button, [widget, &button] {
        const QString caption = toQString(button.caption());
        if (widget->text() != caption)
            widget->setText(caption);
        setColor(widget, QPalette::Button, button.backColor());
        moveLeft(widget, button.left());
    });
    return widget;
}

QCheckBox* MainWindow::addCheckBox(CheckBox& box, const QString& name, QWidget* parent,
                                   const Rect& place) {
    auto* const widget = new QCheckBox(parent);
    widget->setObjectName(name);
    widget->setGeometry(pixels(place));
    auto* const style = new CompactCheckBoxStyle;
    style->setParent(widget);
    widget->setStyle(style);
    const std::size_t binding = bind(box, [widget, &box] {
        const QString caption = toQString(box.caption());
        if (widget->text() != caption)
            widget->setText(caption);
        widget->setChecked(box.value() == CheckBox::ticked);
    });
    // toggled, not clicked: a screen reader's toggle action changes the box without a click.
    connect(widget, &QCheckBox::toggled, this, [this, &box, binding](bool checked) {
        if (syncing_)
            return;
        const bool current = bindings_[binding].mirrored == box.revision();
        box.setValue(checked ? CheckBox::ticked : CheckBox::unticked);
        if (current)
            markMirrored(binding);
    });
    return widget;
}

std::size_t MainWindow::bind(const Control& control, std::function<void()> apply) {
    bindings_.push_back({&control, kNeverMirrored, std::move(apply), {}});
    return bindings_.size() - 1;
}

void MainWindow::markMirrored(std::size_t binding) {
    bindings_[binding].mirrored = bindings_[binding].control->revision();
}

// The widget's new text is the user's edit of what it showed, which may be a frame older than
// the control: only the edit goes into the control.
void MainWindow::takeEdit(std::size_t index, TextBox& box, std::string edited) {
    Binding& binding = bindings_[index];
    const bool current = binding.mirrored == box.revision();
    if (const std::optional<std::string> rebased = rebaseEdit(binding.shown, edited, box.text()))
        box.setText(*rebased);
    binding.shown = std::move(edited);
    if (current && box.text() == binding.shown) {
        markMirrored(index);
        return;
    }
    // The widget shows the edit on an older text, or an edit that could not be kept.
    binding.mirrored = kNeverMirrored;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!form_.programEnding())
                syncView();
        },
        Qt::QueuedConnection);
}

} // namespace hexorin

// The window's layout: one widget per control of Form1, where the layout puts it, and the
// bindings that keep each widget showing its control.

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>

#include "window/qt/grid_numbers.h"
#include "window/qt/main_window.h"
#include "window/qt/text_boxes.h"
#include "window/qt/units.h"
#include "window/qt/widgets.h"

namespace hexorin {
namespace {

using namespace layout;

// Liberation Sans stands in for MS Sans Serif, which the layout was drawn with.
QFont fontFor(Font font) {
    QFont result(QStringLiteral("Liberation Sans"));
    result.setStyleHint(QFont::SansSerif);
    result.setPointSizeF(font.points > 0 ? font.points : kWindowFont.points);
    result.setBold(font.bold);
    return result;
}

Rect square(Point at, int size) {
    return {at.x, at.y, size, size};
}

// The caption of a label or button as its control holds it.
void showCaption(auto* widget, const std::string& caption) {
    const QString text = toQString(caption);
    if (widget->text() != text)
        widget->setText(text);
}

} // namespace

void MainWindow::createControls(QWidget* client) {
    client->setFont(fontFor(kWindowFont));
    createStar(client);
    createPoolAndRow(client);
    createGrid(client);
    createRightSide(client);
}

void MainWindow::createStar(QWidget* client) {
    auto* const frame = new StarFrame(client);
    made(frame, ControlId::Frame3);
    onMouseMove(frame, handler(&Form1::Frame3_MouseMove));
    const BoxStyle fieldStyle{kFieldFont, Qt::AlignCenter, true};
    for (int field = 1; field <= 12; ++field) {
        BoxEdit* const box = addTextBox(form_.txtFeld(field), {ControlId::txtFeld, field}, frame,
                                        square(starPlace(field).field, kFieldSize), fieldStyle);
        onMouseMove(box, handler(&Form1::txtFeld_MouseMove, field));
    }
    for (int index = 0; index <= 11; ++index) {
        QLabel* const label =
            addLabel(form_.lblNr(index), {ControlId::lblNr, index}, frame,
                     square(starPlace(index + 1).numberLabel, kNumberLabelSize), Qt::AlignCenter);
        onMouseMove(label, handler(&Form1::lblNr_MouseMove, index));
    }
    // The sum boxes are display boxes written on the star; they have no border.
    for (int index = 0; index <= 7; ++index) {
        const Point at = sumBox(index);
        BoxEdit* const box = addTextBox(form_.txtS(index), {ControlId::txtS, index}, frame,
                                        {at.x, at.y, kSumBoxWidth, kSumBoxHeight},
                                        {kSumFont, Qt::AlignCenter, false, true});
        onMouseMove(box, handler(&Form1::txtS_MouseMove, index));
    }
    // Created, never shown, never in the focus chain.
    addTextBox(form_.txtFeld(0), {ControlId::txtFeld, 0}, frame, kSentinelField, fieldStyle)
        ->setFocusPolicy(Qt::NoFocus);
    addTextBox(form_.txtStein(0), {ControlId::txtStein, 0}, frame, kHiddenPoolBox,
               {kHiddenPoolFont, Qt::AlignCenter, true})
        ->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::createPoolAndRow(QWidget* client) {
    QFrame* const pool = addFrame(client, ControlId::Frame2, kPoolFrame);
    for (int number = 1; number <= 12; ++number) {
        BoxEdit* const box = addTextBox(form_.txtStein(number), {ControlId::txtStein, number}, pool,
                                        poolBox(number), {kPoolFont, Qt::AlignCenter, true});
        onMouseMove(box, handler(&Form1::txtStein_MouseMove, number));
    }
    QFrame* const row = addFrame(client, ControlId::Frame1, kRowFrame);
    for (int field = 1; field <= 12; ++field) {
        BoxEdit* const box = addTextBox(form_.txtIn(field), {ControlId::txtIn, field}, row,
                                        rowBox(field), {kWindowFont, Qt::AlignCenter, true});
        onMouseMove(box, handler(&Form1::txtIn_MouseMove, field));
    }
    // The marker has no handlers: moves and clicks on it do nothing.
    PictureButton* const marker =
        addButton(form_.shape1, {ControlId::shape1}, row, kMarker, &paintDownArrow);
    marker->setAttribute(Qt::WA_NoMousePropagation);
    mirror_.rewrittenBySearch(marker);
}

void MainWindow::createGrid(QWidget* client) {
    for (int row = 0; row <= 11; ++row) {
        QLabel* const caption = addLabel(form_.Label2(row), {ControlId::Label2, row}, client,
                                         gridRowCaption(row), Qt::AlignLeft | Qt::AlignVCenter);
        onMouseMove(caption, handler(&Form1::Label2_MouseMove, row));
    }
    auto* const keyboard = new GridKeyboard(client);
    for (int index = 0; index <= 143; ++index)
        keyboard->add(addGridNumber(index, client), fieldOfGridLabel(index) - 1,
                      numberOfGridLabel(index) - 1);
    for (int row = 0; row <= 11; ++row) {
        PictureButton* const allowAll = addButton(form_.cmdAlle(row), {ControlId::cmdAlle, row},
                                                  client, allowAllButton(row), nullptr);
        onMouseMove(allowAll, handler(&Form1::cmdAlle_MouseMove, row));
        onClick(allowAll, &QPushButton::clicked, handler(&Form1::cmdAlle_Click, row));
        PictureButton* const forbidAll =
            addButton(form_.cmdKeiner(row), {ControlId::cmdKeiner, row}, client,
                      forbidAllButton(row), nullptr);
        onMouseMove(forbidAll, handler(&Form1::cmdKeiner_MouseMove, row));
        onClick(forbidAll, &QPushButton::clicked, handler(&Form1::cmdKeiner_Click, row));
        keyboard->add(allowAll, row, GridKeyboard::kAllowAllColumn);
        keyboard->add(forbidAll, row, GridKeyboard::kForbidAllColumn);
    }
}

void MainWindow::createRightSide(QWidget* client) {
    SolutionList* const list =
        addSolutionList(form_.txtErgebnisse, {ControlId::txtErgebnisse}, client, kSolutionList);
    mirror_.rewrittenBySearch(list->verticalScrollBar());
    BoxEdit* const counter = addTextBox(form_.Text2, {ControlId::Text2}, client, kCounter,
                                        {kCounterFont, Qt::AlignCenter, true});
    onMouseMove(counter, handler(&Form1::Text2_MouseMove));
    onMouseMove(addCheckBox(form_.Check1, {ControlId::Check1}, client, kStopAtSolution),
                handler(&Form1::Check1_MouseMove));
    onMouseMove(addCheckBox(form_.Check2, {ControlId::Check2}, client, kSingleStep),
                handler(&Form1::Check2_MouseMove));
    PictureButton* const start =
        addButton(form_.cmdSucher, {ControlId::cmdSucher}, client, kStartButton, &paintStartSign);
    onMouseMove(start, handler(&Form1::cmdSucher_MouseMove));
    onClick(start, &QPushButton::clicked, handler(&Form1::cmdSucher_Click));
    PictureButton* const interrupt =
        addButton(form_.Command1, {ControlId::Command1}, client, kInterruptButton, &paintStopSign);
    onMouseMove(interrupt, handler(&Form1::Command1_MouseMove));
    onClick(interrupt, &QPushButton::clicked, handler(&Form1::Command1_Click));
    // The help line has no handler of its own: moving over it keeps its text. Only the user's
    // mouse writes it, so it is never held back from a screen reader.
    addTextBox(form_.txtHilfe, {ControlId::txtHilfe}, client, kHelpLine,
               {kWindowFont, Qt::AlignCenter, true})
        ->setAttribute(Qt::WA_NoMousePropagation);
}

QFrame* MainWindow::addFrame(QWidget* parent, ControlId control, Rect place) {
    auto* const frame = new QFrame(parent);
    made(frame, control);
    frame->setGeometry(pixels(place));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAttribute(Qt::WA_NoMousePropagation);
    // Filled with the window's own colour, so a frame stops repaints of the boxes it holds
    // from reaching the window beneath.
    frame->setAutoFillBackground(true);
    return frame;
}

BoxEdit* MainWindow::addTextBox(TextBox& box, Name name, QWidget* parent, Rect place,
                                const BoxStyle& style) {
    auto* const widget = new BoxEdit(box, mirror_, parent);
    made(widget, name.control, name.index);
    widget->setGeometry(pixels(place));
    widget->setFont(fontFor(style.font));
    widget->setAlignment(style.alignment);
    widget->setFrame(style.framed);
    widget->installEventFilter(this);
    if (style.raisedForContrast) {
        const auto raise = [this, widget, &box] {
            showTextColor(widget, QPalette::Text, QPalette::Base, box.foreColor());
        };
        mirror_.bind(box, [widget, raise] {
            widget->catchUp();
            raise();
        });
        raisedTexts_.push_back(raise);
    } else {
        mirror_.bind(box, [widget] { widget->catchUp(); });
    }
    if (&box != &form_.txtHilfe)
        mirror_.rewrittenBySearch(widget);
    return widget;
}

SolutionList* MainWindow::addSolutionList(TextBox& box, Name name, QWidget* parent, Rect place) {
    auto* const widget = new SolutionList(box, mirror_, parent);
    made(widget, name.control, name.index);
    widget->setGeometry(pixels(place));
    widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget->setTabChangesFocus(true);
    mirror_.bind(box, [widget] { widget->catchUp(); });
    mirror_.rewrittenBySearch(widget);
    const Handler moved = handler(&Form1::txtErgebnisse_MouseMove);
    onMouseMove(widget, moved);
    onMouseMove(widget->viewport(), moved);
    onMouseMove(widget->verticalScrollBar(), moved);
    return widget;
}

// A label without a back colour of its own shows its container through.
QLabel* MainWindow::addLabel(Label& label, Name name, QWidget* parent, Rect place,
                             Qt::Alignment alignment) {
    auto* const widget = new QLabel(parent);
    made(widget, name.control, name.index);
    widget->setGeometry(pixels(place));
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(alignment);
    const auto raise = [this, widget, &label] {
        showTextColor(widget, QPalette::WindowText, QPalette::Window, label.foreColor());
    };
    mirror_.bind(label, [widget, &label, raise] {
        showCaption(widget, label.caption());
        raise();
    });
    raisedTexts_.push_back(raise);
    return widget;
}

// Checked as the search reads the tag; drawn in the label's colours.
QWidget* MainWindow::addGridNumber(int index, QWidget* parent) {
    Label& label = form_.lblErlaubt(index);
    auto* const widget = new GridNumberBox(parent);
    made(widget, ControlId::lblErlaubt, index);
    widget->setGeometry(pixels(gridLabel(index)));
    mirror_.bind(label, [widget, &label] {
        showCaption(widget, label.caption());
        // Black on the dark blue of a forbidden number could not be read.
        setColor(widget, QPalette::WindowText, legibleOn(label.backColor(), label.foreColor()));
        setColor(widget, QPalette::Window, label.backColor());
        widget->setChecked(tagAllows(label.tag()));
    });
    onMouseMove(widget, handler(&Form1::lblErlaubt_MouseMove, index));
    onClick(widget, &QAbstractButton::clicked, handler(&Form1::lblErlaubt_Click, index));
    // A screen reader's toggle action flips the box without a click; the tag decides all the same.
    connect(widget, &QAbstractButton::toggled, this, [this, index] {
        if (!mirror_.applying())
            dispatch(handler(&Form1::lblErlaubt_Click, index));
    });
    return widget;
}

PictureButton* MainWindow::addButton(CommandButton& button, Name name, QWidget* parent, Rect place,
                                     Picture picture) {
    auto* const widget = new PictureButton(picture, parent);
    made(widget, name.control, name.index);
    widget->setGeometry(pixels(place));
    mirror_.bind(button, [widget, &button] {
        showCaption(widget, button.caption());
        setColor(widget, QPalette::Button, button.backColor());
        // The layout gives a button no text colour; a dark desktop's would be light on white.
        setColor(widget, QPalette::ButtonText, legibleOn(button.backColor(), kBlack));
        moveLeft(widget, button.left());
    });
    return widget;
}

QCheckBox* MainWindow::addCheckBox(CheckBox& box, Name name, QWidget* parent, Rect place) {
    auto* const widget = new WholeCheckBox(parent);
    made(widget, name.control, name.index);
    widget->setGeometry(pixels(place));
    mirror_.bind(box, [widget, &box] {
        showCaption(widget, box.caption());
        widget->setChecked(box.value() == CheckBox::ticked);
    });
    // toggled, not clicked: a screen reader's toggle action changes the box without a click, and
    // may meet a widget a frame behind. The toggle is made on the control's value, which the
    // widget then shows, and goes the way of every other event: not after the end, and shown at
    // once outside a search.
    connect(widget, &QCheckBox::toggled, this, [this, &box] {
        if (!mirror_.applying())
            dispatch([&box] {
                box.setValue(box.value() == CheckBox::ticked ? CheckBox::unticked
                                                             : CheckBox::ticked);
            });
    });
    return widget;
}

} // namespace hexorin

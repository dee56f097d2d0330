// The small widgets of the window's controls: picture button, clickable label, star frame, and
// the program's style.

#include "window/qt/qt_control_widgets.h"

#include <cmath>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionFocusRect>
#include <QStyleOptionMenuItem>
#include <QWheelEvent>
#include <qdrawutil.h>

#include "window/layout.h"
#include "window/qt/qt_units.h"

namespace hexorin {
namespace {

constexpr int kBevel = 2;

// A drawing kept to be copied: transparent around what `draw` paints, at the given whole scale.
template <typename Draw> QPixmap drawnOnce(QSize size, int scale, Draw draw) {
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    return pixmap;
}

} // namespace

PictureButton::PictureButton(Picture picture, QWidget* parent)
    : QPushButton(parent)
    , picture_(picture) {
    setAutoDefault(false);
}

void PictureButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect bounds = rect();
    painter.fillRect(bounds, palette().color(QPalette::Button));
    qDrawWinButton(&painter, bounds, palette(), isDown());

    // A pressed button's content moves down and right by a pixel, as on a real key.
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint();
    QRect content = bounds.adjusted(kBevel + 1, kBevel + 1, -kBevel - 1, -kBevel - 1);
    content.translate(shift);
    if (!text().isEmpty()) {
        const int captionHeight = fontMetrics().height();
        const QRect caption(content.left(), content.bottom() + 1 - captionHeight, content.width(),
                            captionHeight);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(caption, Qt::AlignCenter, text());
        content.setBottom(caption.top() - 1);
    }
    if (picture_ != nullptr && !content.isEmpty())
        picture_(painter, QRectF(content));

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = bounds.adjusted(kBevel + 1, kBevel + 1, -kBevel - 1, -kBevel - 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = false;
    event->accept();
}

bool WholeCheckBox::hitButton(const QPoint& at) const {
    return rect().contains(at);
}

StarFrame::StarFrame(QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("Frame3"));
    setGeometry(pixels(layout::kStarFrame));
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, toQColor(layout::kFrameGrey));
    setPalette(grey);
    setAutoFillBackground(true);
}

// The boxes on the star repaint the frame beneath them in every frame of a running search, so the
// lines are drawn once per size and scale and then only copied. At a fractional scale a copy would
// not land on whole pixels; there they are drawn each time.
void StarFrame::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const int scale = qRound(devicePixelRatioF());
    if (scale != devicePixelRatioF()) {
        drawLines(painter);
        return;
    }
    if (lines_.isNull() || lines_.devicePixelRatio() != scale ||
        lines_.deviceIndependentSize() != QSizeF(size()))
        lines_ = drawnOnce(size(), scale, &StarFrame::drawLines);
    painter.drawPixmap(0, 0, lines_);
}

void StarFrame::drawLines(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    for (const layout::StarLine& line : layout::kStarLines) {
        // An odd width is centred on a pixel's middle, so straight lines cover whole pixels.
        const qreal centre = line.widthPixels % 2 == 1 ? 0.5 : 0.0;
        painter.setPen(QPen(toQColor(line.color), line.widthPixels, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(pixels(line.from.x) + centre, pixels(line.from.y) + centre),
                         QPointF(pixels(line.to.x) + centre, pixels(line.to.y) + centre));
    }
}

WindowStyle::WindowStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int WindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
    // The check boxes' captions are wider in Liberation Sans than in the font the layout was drawn
    // with, and would lose their last letter: a classic 13-pixel box, the caption closer to it.
    case PM_CheckBoxLabelSpacing:
        return 2;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return 13; // Check2 is only 13 pixels high
    // Fusion's shortest thumb is longer than the track of the list's scroll bar, three lines high:
    // it would fill the track and could be neither seen moving nor dragged.
    case PM_ScrollBarSliderMin:
        return 8; // of a 21-pixel track, 13 pixels to move in
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element != PE_IndicatorCheckBox)
        return;
    const QPalette& palette = option->palette;
    const Color edge = edgeOn(fromQColor(palette.color(QPalette::Window)),
                              fromQColor(palette.color(QPalette::WindowText)));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(toQColor(edge));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

// Menu bar entries that run at once have no drop-down to open, and Fusion highlights only an
// entry whose drop-down is open: this highlights the entry under the pointer or chosen after Alt.
void WindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    if (element == CE_MenuBarItem && (option->state & State_Selected)) {
        if (const auto* const item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            QStyleOptionMenuItem open = *item;
            open.state |= State_Sunken;
            QProxyStyle::drawControl(element, &open, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

// The scroll bar's track is plain, its thumb a solid block that stands out from it.
void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar)
        return;
    const QPalette& palette = option->palette;
    const QColor track = palette.color(QPalette::Button);
    painter->fillRect(subControlRect(control, option, SC_ScrollBarGroove, widget), track);
    const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget);
    if (option->state & State_Enabled && !thumb.isEmpty())
        painter->fillRect(
            thumb.adjusted(1, 1, -1, -1),
            toQColor(edgeOn(fromQColor(track), fromQColor(palette.color(QPalette::ButtonText)))));
}

void setColor(QWidget* widget, QPalette::ColorRole role, Color color) {
    const QColor wanted = toQColor(color);
    if (widget->palette().color(role) == wanted)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, wanted);
    widget->setPalette(palette);
}

// At a fractional scale the edges of the place a widget leaves lie inside device pixels, which a
// desktop may leave unrepainted (GNOME on Wayland at 150 % kept a pale column where the marker had
// stood): the old and new places are repainted with a pixel to spare.
void moveLeft(QWidget* widget, int twips) {
    const int x = pixels(twips);
    if (widget->x() == x)
        return;
    const QRect before = widget->geometry();
    widget->move(x, widget->y());
    const qreal scale = widget->devicePixelRatioF();
    if (QWidget* const parent = widget->parentWidget();
        parent != nullptr && scale != std::floor(scale))
        parent->update(before.united(widget->geometry()).adjusted(-1, -1, 1, 1));
}

void showIf(QWidget* widget, bool visible) {
    if (widget->isHidden() == visible)
        widget->setVisible(visible);
}

ClientArea::ClientArea(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
}

QSize ClientArea::sizeHint() const {
    return {pixels(layout::kClientWidth), pixels(layout::kClientHeight)};
}

ClientView::ClientView(ClientArea* client, QWidget* parent)
    : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus); // not a control: Tab passes it by
    setWidget(client);
    // The view fills the surface beneath already.
    client->setAutoFillBackground(false);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*old*/, QWidget* now) {
        if (now != nullptr && widget()->isAncestorOf(now))
            ensureWidgetVisible(now);
    });
}

// QScrollArea's own hint is capped at a size smaller than the client area.
QSize ClientView::sizeHint() const {
    return widget()->sizeHint();
}

void ClientView::takeWheels() {
    widget()->installEventFilter(this);
    for (QWidget* const control : widget()->findChildren<QWidget*>())
        control->installEventFilter(this);
}

// Except over a control that scrolls itself, the solution list.
bool ClientView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QScrollArea::eventFilter(watched, event);
    for (auto* control = qobject_cast<QWidget*>(watched); control != nullptr && control != widget();
         control = control->parentWidget())
        if (qobject_cast<QAbstractScrollArea*>(control) != nullptr)
            return QScrollArea::eventFilter(watched, event);
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
}

} // namespace hexorin

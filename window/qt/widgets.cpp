// The small widgets of the window's controls: picture button, whole check box, star frame, client
// area and its view.

#include "window/qt/widgets.h"

#include <cmath>

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <qdrawutil.h>

#include "window/layout.h"
#include "window/qt/units.h"

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
    for (const QList<QWidget*> controls = widget()->findChildren<QWidget*>();
         QWidget* const control : controls)
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

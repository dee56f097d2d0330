// The small widgets of the window's controls: picture button, clickable label, star frame, and
// their styles.

#include "window/qt/qt_control_widgets.h"

#include <algorithm>
#include <cmath>

#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionMenuItem>
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

// Filled here rather than by Qt's auto-fill: Qt keeps opaque widgets in a region that it gathers
// anew whenever any widget of the window changes colour or place, as the star's boxes do in every
// frame of a search, and 144 opaque grid labels made that a large part of each repaint.
void ClickLabel::paintEvent(QPaintEvent* event) {
    if (paintsBack_)
        QPainter(this).fillRect(rect(), palette().color(QPalette::Window));
    QLabel::paintEvent(event);
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

// Qt's own insertion crashes on a middle click under X11 when nobody owns the primary selection.
void SolutionList::insertFromMimeData(const QMimeData* source) {
    if (source != nullptr && source->hasText())
        textCursor().insertText(source->text());
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
    if (scale != devicePixelRatioF())
        return drawLines(painter);
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

int CompactCheckBoxStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                      const QWidget* widget) const {
    switch (metric) {
    case PM_CheckBoxLabelSpacing:
        return 2;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return 13; // Check2 is only 13 pixels high
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

ShortThumbStyle::ShortThumbStyle(const QString& baseStyle)
    : QProxyStyle(baseStyle) {}

int ShortThumbStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (metric == PM_ScrollBarSliderMin)
        return 8; // of a 21-pixel track, 13 pixels to move in
    return QProxyStyle::pixelMetric(metric, option, widget);
}

MenuBarStyle::MenuBarStyle(const QString& baseStyle)
    : QProxyStyle(baseStyle) {}

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element == CE_MenuBarItem && (option->state & State_Selected)) {
        const auto* const item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item != nullptr) {
            QStyleOptionMenuItem open = *item;
            open.state |= State_Sunken;
            QProxyStyle::drawControl(element, &open, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

CachedFrameStyle::CachedFrameStyle(const QString& baseStyle)
    : QProxyStyle(baseStyle)
    , caches_(this->baseStyle()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) ==
              0) {}

void CachedFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    const auto* const frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    const qreal ratio = painter->device()->devicePixelRatio();
    const int scale = qRound(ratio);
    const QTransform& transform = painter->transform();
    const bool copies = caches_ && element == PE_FrameLineEdit && frame != nullptr &&
                        scale == ratio && transform.type() <= QTransform::TxTranslate &&
                        transform.dx() == std::round(transform.dx()) &&
                        transform.dy() == std::round(transform.dy());
    if (!copies)
        return QProxyStyle::drawPrimitive(element, option, painter, widget);
    painter->drawPixmap(option->rect.topLeft(), frameFor(*frame, scale, widget));
}

const QPixmap& CachedFrameStyle::frameFor(const QStyleOptionFrame& option, int scale,
                                          const QWidget* widget) const {
    Look look{option.rect.size(),
              scale,
              static_cast<int>(option.state.toInt()),
              option.lineWidth,
              option.midLineWidth,
              static_cast<int>(option.features.toInt()),
              option.direction,
              {}};
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        look.colors[static_cast<std::size_t>(role)] =
            option.palette.color(static_cast<QPalette::ColorRole>(role)).rgba();
    const auto cached = std::ranges::find(frames_, look, &Frame::look);
    if (cached != frames_.end())
        return cached->pixmap;

    // The search colours its boxes with a handful of colours; anything beyond is a change of
    // theme, after which the old looks are of no use.
    constexpr std::size_t kMostLooks = 64;
    if (frames_.size() == kMostLooks)
        frames_.clear();
    QStyleOptionFrame atOrigin = option;
    atOrigin.rect.moveTo(0, 0);
    frames_.push_back({look, drawnOnce(option.rect.size(), scale, [&](QPainter& painter) {
                           QProxyStyle::drawPrimitive(PE_FrameLineEdit, &atOrigin, &painter,
                                                      widget);
                       })});
    return frames_.back().pixmap;
}

ClientArea::ClientArea(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
}

QSize ClientArea::sizeHint() const {
    return {pixels(layout::kClientWidth), pixels(layout::kClientHeight)};
}

} // namespace hexorin

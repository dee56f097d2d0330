// The window's four pictures, drawn with QPainter.

#include "window/qt/pictures.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "window/icon.h"
#include "window/qt/units.h"

namespace hexorin {
namespace {

const QColor kDiscBlue{0, 0, 255};
const QColor kDarkBlue{0, 0, 128};
const QColor kSignYellow{255, 214, 0};
const QColor kStopRed{214, 0, 0};
const QColor kStopRim{96, 0, 0};

class PainterState {
public:
    explicit PainterState(QPainter& painter)
        : painter_(painter) {
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing);
    }
    PainterState(const PainterState&) = delete;
    PainterState& operator=(const PainterState&) = delete;
    ~PainterState() { painter_.restore(); }

private:
    QPainter& painter_;
};

// The largest rectangle of the given width-to-height ratio centred in the area.
QRectF fitted(const QRectF& area, qreal aspect) {
    QSizeF size = area.size();
    if (size.width() > size.height() * aspect)
        size.setWidth(size.height() * aspect);
    else
        size.setHeight(size.width() / aspect);
    QRectF box(QPointF(), size);
    box.moveCenter(area.center());
    return box;
}

// Points given in the unit square, placed in the box.
QPolygonF inBox(const QRectF& box, std::initializer_list<QPointF> unitPoints) {
    QPolygonF polygon;
    for (const QPointF& point : unitPoints)
        polygon << QPointF(box.left() + point.x() * box.width(),
                           box.top() + point.y() * box.height());
    return polygon;
}

// Outlines are drawn in pixels, so they stay one weight whatever the box's proportions.
void fillPolygon(QPainter& painter, const QPolygonF& polygon, const QColor& fill,
                 const QColor& outline, qreal outlineWidth) {
    painter.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(fill);
    painter.drawPolygon(polygon);
}

// A regular octagon with flat top and bottom, scaled about the box's centre.
QPolygonF octagon(const QRectF& box, qreal scale) {
    constexpr double pi = std::numbers::pi;
    const double radius = 0.5 / std::cos(pi / 8) * scale;
    QPolygonF polygon;
    for (int corner = 0; corner < 8; ++corner) {
        const double angle = pi / 8 + corner * pi / 4;
        polygon << QPointF(box.center().x() + radius * box.width() * std::cos(angle),
                           box.center().y() + radius * box.height() * std::sin(angle));
    }
    return polygon;
}

void paintCentredText(QPainter& painter, const QRectF& box, const QString& text, qreal widthShare,
                      const QColor& color) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    const qreal scale = box.width() * widthShare / bounds.width();
    QTransform transform;
    transform.translate(box.center().x(), box.center().y());
    transform.scale(scale, scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    painter.fillPath(transform.map(path), color);
}

// Scales with the picture but never drops below a pixel.
qreal outlineFor(const QRectF& box) {
    return std::max(1.0, box.width() / 24);
}

class PictureIconEngine final : public QIconEngine {
public:
    explicit PictureIconEngine(Picture picture)
        : picture_(picture) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/,
               QIcon::State /*state*/) override {
        picture_(*painter, QRectF(rect));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

    // Any size can be drawn; these are the ones window managers ask for.
    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return {{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }

    // Without this the icon counts as null, and a window given a null icon shows none.
    bool isNull() override { return false; }

    // QIcon takes ownership of the copy.
    QIconEngine* clone() const override { return new PictureIconEngine(picture_); }

private:
    Picture picture_;
};

} // namespace

void paintWindowIcon(QPainter& painter, const QRectF& area) {
    const PainterState state(painter);
    const QRectF box = fitted(area, 1);
    const qreal rim = std::max(1.0, box.width() * icon::kRimWidth);
    painter.setPen(QPen(toQColor(icon::kRim), rim));
    painter.setBrush(toQColor(icon::kDisc));
    painter.drawEllipse(box.adjusted(rim / 2, rim / 2, -rim / 2, -rim / 2));
    QPainterPath cross;
    cross.setFillRule(Qt::WindingFill);
    for (const icon::UnitRect& bar : icon::kCrossBars)
        cross.addRect(box.left() + bar.left * box.width(), box.top() + bar.top * box.height(),
                      bar.width * box.width(), bar.height * box.height());
    painter.fillPath(cross.simplified(), toQColor(icon::kCross));
}

void paintStartSign(QPainter& painter, const QRectF& area) {
    const PainterState state(painter);
    const QRectF box = fitted(area, 1);
    const qreal outline = outlineFor(box) * 1.5;
    const QRectF inner = box.adjusted(outline / 2, outline / 2, -outline / 2, -outline / 2);
    fillPolygon(painter, inBox(inner, {{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}}), kSignYellow,
                Qt::black, outline);
    fillPolygon(painter,
                inBox(box, {{0.5, 0.2},
                            {0.69, 0.43},
                            {0.565, 0.43},
                            {0.565, 0.78},
                            {0.435, 0.78},
                            {0.435, 0.43},
                            {0.31, 0.43}}),
                Qt::black, Qt::black, 0.5);
}

void paintStopSign(QPainter& painter, const QRectF& area) {
    const PainterState state(painter);
    const QRectF box = fitted(area, 1);
    const qreal outline = outlineFor(box);
    const QRectF inner = box.adjusted(outline / 2, outline / 2, -outline / 2, -outline / 2);
    fillPolygon(painter, octagon(inner, 1), Qt::white, kStopRim, outline);
    fillPolygon(painter, octagon(inner, 0.86), kStopRed, kStopRed, 0.5);
    paintCentredText(painter, inner, QStringLiteral("STOP"), 0.62, Qt::white);
}

void paintDownArrow(QPainter& painter, const QRectF& area) {
    const PainterState state(painter);
    const QRectF box = fitted(area, 0.6);
    const qreal outline = outlineFor(box);
    const QRectF inner = box.adjusted(outline / 2, outline / 2, -outline / 2, -outline / 2);
    fillPolygon(
        painter,
        inBox(inner, {{0.3, 0}, {0.7, 0}, {0.7, 0.5}, {1, 0.5}, {0.5, 1}, {0, 0.5}, {0.3, 0.5}}),
        kDiscBlue, kDarkBlue, outline);
}

QIcon makeWindowIcon() {
    return QIcon(new PictureIconEngine(&paintWindowIcon));
}

} // namespace hexorin

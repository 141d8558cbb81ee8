#include "ui/qt_canvas.h"

#include "graphics/pen.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

namespace qx::ui {

namespace {
// QPainter misbehaves far outside the device; points beyond this many pixels
// are pulled in, which keeps their direction for any visible part of a line.
constexpr qreal kFar = 1.0e6;

qreal clampPixel(Real v)
{
    if (!(v == v))
        return -kFar;
    return static_cast<qreal>(std::clamp<Real>(v, -kFar, kFar));
}

constexpr Qt::PenStyle kPenStyles[5] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                        Qt::DashDotDotLine};
constexpr Qt::BrushStyle kHatches[7] = {Qt::SolidPattern,  Qt::HorPattern,   Qt::VerPattern,
                                        Qt::FDiagPattern,  Qt::BDiagPattern, Qt::CrossPattern,
                                        Qt::DiagCrossPattern};
} // namespace

QImage wrapImage(Image& image)
{
    return QImage(reinterpret_cast<uchar*>(image.pixels.data()), image.width, image.height,
                  static_cast<qsizetype>(image.width) * 4, QImage::Format_RGBX8888);
}

QImage wrapImage(const Image& image)
{
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                  static_cast<qsizetype>(image.width) * 4, QImage::Format_RGBX8888);
}

QColor toQColor(Rgb c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

QtCanvas::QtCanvas(Image& target, const View& view, const Palette& palette, qreal pixelRatio)
    : Canvas(view, palette), image_(wrapImage(target)), p_(&painter_)
{
    if (pixelRatio != 1) { // fonts are sized by the image's resolution, 96 per inch at 1
        image_.setDotsPerMeterX(qRound(3780 * pixelRatio));
        image_.setDotsPerMeterY(qRound(3780 * pixelRatio));
    }
    painter_.begin(&image_);
    p_->setRenderHint(QPainter::Antialiasing, false);
}

QtCanvas::QtCanvas(QPainter& painter, const View& view, const Palette& palette)
    : Canvas(view, palette), p_(&painter), logicalFonts_(true)
{
}

QPointF QtCanvas::map(WorldPoint p) const
{
    return {clampPixel(view().xToPixelF(p.x)), clampPixel(view().yToPixelF(p.y))};
}

QPen QtCanvas::qpen(const Pen& pen) const
{
    QPen q(toQColor(colour(pen.colour)));
    q.setWidth(std::max<int>(1, pen.width));
    q.setStyle(kPenStyles[penStyle(pen)]);
    q.setCapStyle(Qt::FlatCap);
    return q;
}

QBrush QtCanvas::brush(std::optional<int> fill, int hatch) const
{
    if (!fill)
        return Qt::NoBrush;
    const int h = (hatch >= 0 && hatch <= 6) ? hatch : 0;
    return QBrush(toQColor(colour(*fill)), kHatches[h]);
}

void QtCanvas::drawSegment(WorldPoint a, WorldPoint b, const Pen& pen)
{
    if (!clipToInnerFrame(view(), a, b))
        return;
    p_->setPen(qpen(pen));
    p_->drawLine(map(a), map(b));
}

void QtCanvas::drawPolyline(std::span<const WorldPoint> points, const Pen& pen)
{
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const WorldPoint& p : points)
        poly << map(p);
    p_->setPen(qpen(pen));
    p_->drawPolyline(poly);
}

void QtCanvas::fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline,
                           int hatch)
{
    QPolygonF poly;
    for (const WorldPoint& p : points)
        poly << map(p);
    p_->setPen(qpen(outline));
    p_->setBrush(brush(fill, hatch));
    p_->drawPolygon(poly);
    p_->setBrush(Qt::NoBrush);
}

void QtCanvas::drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int radiusX,
                        int radiusY)
{
    const QRectF r = QRectF(map(a), map(b)).normalized();
    p_->setPen(qpen(outline));
    p_->setBrush(brush(fill));
    if (radiusX > 0 || radiusY > 0)
        p_->drawRoundedRect(r, radiusX, radiusY);
    else
        p_->drawRect(r);
    p_->setBrush(Qt::NoBrush);
}

void QtCanvas::drawMark(WorldPoint p, MarkKind kind, int size, int colourIndex)
{
    const QPointF c = map(p);
    const qreal s = std::max(1, size);
    p_->setPen(QPen(toQColor(colour(colourIndex)), 1));
    p_->setBrush(Qt::NoBrush);
    if (kind == MarkKind::Cross) {
        p_->drawLine(c + QPointF(-s, 0), c + QPointF(s, 0));
        p_->drawLine(c + QPointF(0, -s), c + QPointF(0, s));
    } else {
        p_->drawRect(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s));
    }
}

QString screenText(const std::string& text, const TextStyle& style)
{
    return QString::fromStdU16String(labelUtf16(text, style));
}

void QtCanvas::drawText(WorldPoint anchor, const std::string& text, const TextStyle& style)
{
    QFont font(QString::fromStdString(style.face));
    if (logicalFonts_) // a scaled painter (the printer): points at 96 pixels per inch
        font.setPixelSize(std::max(1, style.size * 4 / 3));
    else
        font.setPointSize(std::max(1, style.size));
    font.setWeight(style.weight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(style.italic);
    p_->save();
    p_->setFont(font);
    p_->translate(map(anchor) + QPointF(style.offsetX, style.offsetY));
    p_->rotate(-style.angleTenths / 10.0);
    const QString s = screenText(text, style);
    // The anchor is the top-left corner of the text box. Glyphs go through a
    // path: the glyph cache does not draw into this image format.
    const QFontMetricsF metrics(font);
    const QPointF baseline(0, metrics.ascent());
    if (style.opaque)
        p_->fillRect(metrics.boundingRect(s).translated(baseline), toQColor(colour(0)));
    QPainterPath path;
    path.addText(baseline, font, s);
    p_->setRenderHint(QPainter::Antialiasing, true);
    p_->fillPath(path, toQColor(colour(style.colour)));
    p_->restore();
}

void QtCanvas::drawDotList(std::span<const WorldPoint> points, std::optional<int> fill,
                           std::optional<int> outline, int size)
{
    const qreal r = std::max(1, size) / 2.0;
    p_->setPen(outline ? QPen(toQColor(colour(*outline)), 1) : QPen(Qt::NoPen));
    p_->setBrush(brush(fill));
    for (const WorldPoint& p : points) {
        const QPointF c = map(p);
        if (size <= 1)
            p_->fillRect(QRectF(c.x(), c.y(), 1, 1), toQColor(colour(fill.value_or(outline.value_or(0)))));
        else
            p_->drawEllipse(c, r, r);
    }
    p_->setBrush(Qt::NoBrush);
}

} // namespace qx::ui

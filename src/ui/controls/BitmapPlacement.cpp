// Placement and composition of a styled bitmap.
#include "ui/controls/BitmapPlacement.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

// Offset of a bitmap `extent` long inside an area `area` long; alignment only ever moves a
// bitmap that is smaller than its area.
int AlignOffset(int area, int extent, quint32 flags, quint32 start, quint32 centre, quint32 end)
{
    if (flags & start)
        return 0;
    if (flags & centre)
        return area > extent ? (area - extent) / 2 : 0;
    if (flags & end)
        return area > extent ? area - extent : 0;
    return 0;
}

// The part of the painter's device that drawing can reach, in the painter's own coordinates;
// none when the painter has no device or its transformation cannot be undone. The device
// transformation leads to the pixels of the paint engine's device, which for a widget is the
// backing store or the image it is rendered into: its pixel ratio and the widget's offset in it
// are part of that transformation, and the widget's own size, counted in logical pixels, is not
// the measure to undo it on.
std::optional<QRect> VisibleArea(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    bool invertible = false;
    const QTransform toLogical = painter.deviceTransform().inverted(&invertible);
    if (!device || !invertible)
        return std::nullopt;
    QRectF area = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (painter.hasClipping())
        area &= painter.clipBoundingRect();
    // A transformation that shrinks a lot would take the area past what int holds.
    constexpr qreal kHalfRange = std::numeric_limits<int>::max() / 2;
    return (area & QRectF(-kHalfRange, -kHalfRange, 2 * kHalfRange, 2 * kHalfRange)).toAlignedRect();
}

} // namespace

std::vector<BitmapDrawStep> PlaceBitmap(int x, int y, int cx, int cy, QSize bitmap, quint32 flags,
                                        const std::optional<QRect>& visible)
{
    std::vector<BitmapDrawStep> steps;
    const int width = bitmap.width();
    const int height = bitmap.height();
    if (cx == 0 || cy == 0 || width <= 0 || height <= 0)
        return steps;
    if (cx < 0)
        cx = width;
    if (cy < 0)
        cy = height;
    // Edges are computed wider than int, and an area whose end (one past its last pixel, as
    // QRect computes it) int cannot hold draws nothing: no device has pixels there.
    const qint64 right = qint64(x) + cx;
    const qint64 bottom = qint64(y) + cy;
    if (right > std::numeric_limits<int>::max() || bottom > std::numeric_limits<int>::max())
        return steps;

    const bool stretch = (flags & BMX_STRETCH) != 0;
    const bool tile = (flags & BMX_TILE) != 0;
    // The part of the bitmap that is drawn: never more than the area, never shrunk.
    const QSize cut(std::min(cx, width), std::min(cy, height));
    if (!tile) {
        int dx = x;
        int dy = y;
        if (!stretch) {
            dx += AlignOffset(cx, width, flags, BMX_LEFT, BMX_HCENTER, BMX_RIGHT);
            dy += AlignOffset(cy, height, flags, BMX_TOP, BMX_VCENTER, BMX_BOTTOM);
        }
        steps.push_back({QRect(QPoint(dx, dy), stretch ? QSize(cx, cy) : cut), cut});
        return steps;
    }

    // Tiles run left to right, then top to bottom; the last column and row are shortened. Only
    // the columns and rows that reach into `visible` are listed, so a small bitmap over a large
    // area costs what shows.
    qint64 firstColumn = 0;
    qint64 lastColumn = (cx - 1) / width;
    qint64 firstRow = 0;
    qint64 lastRow = (cy - 1) / height;
    if (visible) {
        if (visible->isEmpty() || visible->right() < x || visible->bottom() < y ||
            visible->left() >= right || visible->top() >= bottom)
            return steps;
        firstColumn = std::max<qint64>(0, (qint64(visible->left()) - x) / width);
        lastColumn = std::min<qint64>(lastColumn, (qint64(visible->right()) - x) / width);
        firstRow = std::max<qint64>(0, (qint64(visible->top()) - y) / height);
        lastRow = std::min<qint64>(lastRow, (qint64(visible->bottom()) - y) / height);
    }
    // With BMX_STRETCH the first copy covers the whole area, stretched, and every tile after
    // it is scaled from the same cut: whole tiles come out one to one over it, the shortened
    // last column and row squeezed.
    if (stretch)
        steps.push_back({QRect(QPoint(x, y), QSize(cx, cy)), cut});
    for (qint64 row = firstRow; row <= lastRow; ++row) {
        const qint64 dy = y + row * height;
        for (qint64 column = firstColumn; column <= lastColumn; ++column) {
            if (stretch && row == 0 && column == 0)
                continue;
            const qint64 dx = x + column * width;
            const QSize size(int(std::min<qint64>(width, right - dx)), int(std::min<qint64>(height, bottom - dy)));
            steps.push_back({QRect(QPoint(int(dx), int(dy)), size), stretch ? cut : size});
        }
    }
    return steps;
}

QImage MaskedSource(const QImage& bitmap, QSize size, bool transparent, COLORREF crTransparent)
{
    QImage masked = bitmap.copy(QRect(QPoint(0, 0), size)).convertToFormat(QImage::Format_ARGB32);
    if (!transparent)
        return masked;
    const QRgb key = ToQRgb(crTransparent) & RGB_MASK;
    for (int row = 0; row < masked.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
        for (int column = 0; column < masked.width(); ++column) {
            if ((line[column] & RGB_MASK) == key)
                line[column] = 0;
        }
    }
    return masked;
}

void DrawStyledBitmap(QPainter& painter, const QImage& bitmap, int x, int y, int cx, int cy,
                      quint32 flags, COLORREF crTransparent, COLORREF crBackground, const QImage* fine)
{
    // The painter's own scale, which also holds the screen's when a widget paints.
    const bool useFine = fine && !fine->isNull() && fine->size() == bitmap.size() * 2 &&
                         painter.deviceTransform().m11() > 1.0;
    const std::vector<BitmapDrawStep> steps = PlaceBitmap(x, y, cx, cy, bitmap.size(), flags, VisibleArea(painter));
    if (steps.empty())
        return;
    // The mask is made once at the largest source size and serves every tile.
    QSize sourceSize;
    for (const BitmapDrawStep& step : steps)
        sourceSize = sourceSize.expandedTo(step.source);
    const QImage source = MaskedSource(bitmap, sourceSize, IsTransparentMode(flags), crTransparent);
    QImage fineSource;
    if (useFine) {
        fineSource = MaskedSource(*fine, sourceSize * 2, IsTransparentMode(flags), crTransparent);
        fineSource.setDevicePixelRatio(2.0);
    }

    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const BitmapDrawStep& step : steps) {
        if (flags & BMX_FILLBACK)
            painter.fillRect(step.dest, ToQColor(crBackground));
        if (step.Scaled()) {
            // Nearest-pixel scaling keeps every pixel either the bitmap's own or left out.
            painter.drawImage(step.dest.topLeft(),
                              source.copy(QRect(QPoint(0, 0), step.source))
                                  .scaled(step.dest.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
        } else if (useFine) {
            // Smoothed, as a screen of other than twice the pixels scales the finer picture.
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(step.dest.topLeft(), fineSource, QRect(QPoint(0, 0), step.dest.size() * 2));
        } else {
            painter.drawImage(step.dest.topLeft(), source, QRect(QPoint(0, 0), step.dest.size()));
        }
    }
    painter.restore();
}

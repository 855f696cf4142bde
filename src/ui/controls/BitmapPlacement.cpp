// Placement and composition of a styled bitmap.
#include "ui/controls/BitmapPlacement.h"

#include <QPainter>

#include <algorithm>

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

} // namespace

std::vector<BitmapDrawStep> PlaceBitmap(int x, int y, int cx, int cy, QSize bitmap, quint32 flags)
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

    const bool stretch = (flags & BMX_STRETCH) != 0;
    const bool tile = (flags & BMX_TILE) != 0;
    int dx = x;
    int dy = y;
    if (!stretch && !tile) {
        dx += AlignOffset(cx, width, flags, BMX_LEFT, BMX_HCENTER, BMX_RIGHT);
        dy += AlignOffset(cy, height, flags, BMX_TOP, BMX_VCENTER, BMX_BOTTOM);
    }
    const QSize source(std::min(cx, width), std::min(cy, height));
    steps.push_back({QRect(QPoint(dx, dy), stretch ? QSize(cx, cy) : source), source});
    if (!tile)
        return steps;

    // Tiles run left to right, then top to bottom; the last column and row are shortened.
    const int right = x + cx;
    const int bottom = y + cy;
    for (;;) {
        dx += width;
        if (dx >= right) {
            dx = x;
            dy += height;
            if (dy >= bottom)
                break;
        }
        const QSize size(dx + width > right ? right - dx : width, dy + height > bottom ? bottom - dy : height);
        steps.push_back({QRect(QPoint(dx, dy), size), size});
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
                      quint32 flags, COLORREF crTransparent, COLORREF crBackground)
{
    const std::vector<BitmapDrawStep> steps = PlaceBitmap(x, y, cx, cy, bitmap.size(), flags);
    if (steps.empty())
        return;
    // The mask is made once at the source size and serves every tile.
    const QImage source = MaskedSource(bitmap, steps.front().source, IsTransparentMode(flags), crTransparent);

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
        } else {
            painter.drawImage(step.dest.topLeft(), source, QRect(QPoint(0, 0), step.dest.size()));
        }
    }
    painter.restore();
}

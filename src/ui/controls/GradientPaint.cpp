// Gradient slicing and bar painting.
#include "ui/controls/GradientPaint.h"

#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cstdlib>

std::vector<GradientSlice> GradientSlices(int left, int right, COLORREF crLeft, COLORREF crRight)
{
    const int dRed = RedOf(crRight) - RedOf(crLeft);
    const int dGreen = GreenOf(crRight) - GreenOf(crLeft);
    const int dBlue = BlueOf(crRight) - BlueOf(crLeft);
    const int count = std::max({std::abs(dRed), std::abs(dGreen), std::abs(dBlue)});

    std::vector<GradientSlice> slices;
    if (count == 0)
        return slices;
    slices.reserve(size_t(count));

    const double width = double(std::abs(right - left)) / count;
    const double incRed = double(dRed) / count;
    const double incGreen = double(dGreen) / count;
    const double incBlue = double(dBlue) / count;
    for (int i = 1; i <= count; ++i) {
        GradientSlice slice;
        slice.x0 = int(left + (i - 1) * width);
        slice.x1 = int(left + i * width);
        if (slice.x0 < left || slice.x1 > right)
            break;
        slice.color = ColorRef(int(RedOf(crLeft) + (i - 1) * incRed),
                               int(GreenOf(crLeft) + (i - 1) * incGreen),
                               int(BlueOf(crLeft) + (i - 1) * incBlue));
        slices.push_back(slice);
    }
    return slices;
}

int GradientBarPixel(int position, int maximum, int width)
{
    if (maximum <= 0)
        return 0;
    // Clamped before the conversion: a head beyond a lowered maximum must not overflow int.
    const double x = double(position) / maximum * width;
    return int(std::clamp(x, 0.0, double(width)));
}

void PaintGradientBar(QPainter& painter, const QRect& client, const GradientBarPicture& picture)
{
    const int width = client.right() + 1;
    const int top = client.top();
    const int height = client.height();
    const QColor background = ToQColor(picture.crBackground);

    // A scale of no length maps nowhere: the control shows only its background.
    if (picture.maximum <= 0) {
        painter.fillRect(QRect(0, top, width, height), background);
        return;
    }

    const int xHead = GradientBarPixel(picture.head, picture.maximum, width);
    const int xTail = GradientBarPixel(picture.tail, picture.maximum, width);
    const int barLeft = picture.downwards ? xHead : xTail;
    const int barRight = picture.downwards ? xTail : xHead;

    for (const GradientSlice& slice :
         GradientSlices(barLeft, barRight, picture.crLeftEnd, picture.crRightEnd)) {
        if (slice.x1 > slice.x0)
            painter.fillRect(QRect(slice.x0, top, slice.x1 - slice.x0, height), ToQColor(slice.color));
    }
    if (barLeft > 0)
        painter.fillRect(QRect(0, top, barLeft, height), background);
    if (width > barRight)
        painter.fillRect(QRect(barRight, top, width - barRight, height), background);
}

// Pure painting of the gradient progress bar: the slices of a colour gradient and the picture
// of the whole bar for one set of positions, so both can be checked on a QImage.
#pragma once

#include "ui/controls/Colors.h"

#include <vector>

class QPainter;
class QRect;

// One solid column of a gradient, x0 inclusive, x1 exclusive; may be empty.
struct GradientSlice {
    int x0 = 0;
    int x1 = 0;
    COLORREF color = 0;
};

// The slices from `left` to `right`: as many as the largest component difference between
// the two colours (none when they are equal); the first has the left colour exactly, the last
// stops one increment short of the right colour. Edges and colours are truncated toward zero.
std::vector<GradientSlice> GradientSlices(int left, int right, COLORREF crLeft, COLORREF crRight);

// What one paint of the bar needs, read in one go from the control.
struct GradientBarPicture {
    int head = 0;
    int tail = 0;
    int maximum = 0;
    bool downwards = false;
    COLORREF crBackground = 0;
    COLORREF crLeftEnd = 0;
    COLORREF crRightEnd = 0;
};

// Pixel column of a scale position in a control `width` wide, kept inside the control.
// A scale without length (maximum 0 or less) has no positions: the result is 0.
int GradientBarPixel(int position, int maximum, int width);

// Paints the bar into `client` (left edge 0): the gradient between tail and head, the
// background colour left and right of it. With no scale only the background is painted.
void PaintGradientBar(QPainter& painter, const QRect& client, const GradientBarPicture& picture);

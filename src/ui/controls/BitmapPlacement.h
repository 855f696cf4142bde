// Pure drawing of a styled bitmap: the draw flags, where each copy of the bitmap lands
// (alignment, cutting, stretching, tiling) and how its pixels combine with the destination.
#pragma once

#include "ui/controls/Colors.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

class QPainter;

// Draw flags; all other bits are ignored.
constexpr quint32 BMX_TRANSPARENT = 0x00000100; // pixels of the transparent colour are left out
constexpr quint32 BMX_FILLBACK = 0x00000200;    // as transparent, over a fill of the background colour
constexpr quint32 BMX_STRETCH = 0x00100000;     // enlarge to the requested size; alignment ignored
constexpr quint32 BMX_TILE = 0x00200000;        // repeat over the requested area; alignment ignored
// BMX_TILE with BMX_STRETCH: the first copy is stretched over the whole area, then the tiles
// are drawn over it from the same cut of the bitmap, so whole tiles come out one to one and
// the shortened last column and row are squeezed; the stretched copy shows only in the first
// tile's place and through the transparent pixels of the others.
constexpr quint32 BMX_LEFT = 0x01000000;        // of two flags of one axis, the first listed wins
constexpr quint32 BMX_HCENTER = 0x02000000;
constexpr quint32 BMX_RIGHT = 0x04000000;
constexpr quint32 BMX_TOP = 0x10000000;
constexpr quint32 BMX_VCENTER = 0x20000000;
constexpr quint32 BMX_BOTTOM = 0x40000000;

// One copy of the bitmap: the top-left `source` part of the bitmap goes to `dest`, scaled when
// the sizes differ.
struct BitmapDrawStep {
    QRect dest;
    QSize source;
    bool Scaled() const { return dest.size() != source; }
};

// Where a bitmap of `bitmap` size lands when drawn into (x, y, cx, cy) with `flags`; a negative
// cx or cy stands for the bitmap's own width or height. Empty when nothing is drawn, also when
// the area reaches past the int range. A bitmap larger than the area is cut to its top-left
// part, never shrunk. Tiles that miss `visible` are left out; without it every tile is listed.
std::vector<BitmapDrawStep> PlaceBitmap(int x, int y, int cx, int cy, QSize bitmap, quint32 flags,
                                        const std::optional<QRect>& visible = std::nullopt);

// Whether `flags` leave out the pixels of the transparent colour.
constexpr bool IsTransparentMode(quint32 flags)
{
    return (flags & (BMX_TRANSPARENT | BMX_FILLBACK)) != 0;
}

// The top-left `size` of `bitmap` as ARGB, fully transparent exactly where a pixel has the
// colour `crTransparent` (when `transparent`), opaque everywhere else.
QImage MaskedSource(const QImage& bitmap, QSize size, bool transparent, COLORREF crTransparent);

// Draws `bitmap` into (x, y, cx, cy) of `painter`: the placement above, each step filled with
// the background colour first under BMX_FILLBACK, the transparent colour left out in either
// transparent mode, every other pixel copied. On a painter of more than one device pixel per
// pixel, steps drawn one to one take their pixels from `fine`, when given: the same picture at
// twice the size.
void DrawStyledBitmap(QPainter& painter, const QImage& bitmap, int x, int y, int cx, int cy,
                      quint32 flags, COLORREF crTransparent, COLORREF crBackground,
                      const QImage* fine = nullptr);

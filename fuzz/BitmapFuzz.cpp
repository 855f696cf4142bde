// Bitmap bytes and bitmap drawing: the colour-table reader on any header and table, and the
// placement (alignment, cutting, stretching, tiling) with any area, bitmap size and flags,
// drawn for real when the numbers are small enough to paint.
#include "FuzzInput.h"

#include "ui/controls/BitmapPlacement.h"
#include "ui/controls/BitmapResources.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr int kMaxPaletteEntries = 256;
constexpr int kInfoHeaderSize = 40;
// A canvas and a bitmap this small keep one drawing well under a millisecond.
constexpr int kCanvasSize = 48;
constexpr int kMaxDrawnBitmap = 16;
constexpr int kMaxVisible = 64;

// Whether two rectangles share a pixel, edges taken in 64 bits: QRect's own test computes
// left - 1 and so takes a rectangle whose left or top is INT_MIN for one with no pixels.
bool Overlaps(const QRect& a, const QRect& b)
{
    return qint64(a.left()) < qint64(b.left()) + b.width() && qint64(b.left()) < qint64(a.left()) + a.width() &&
           qint64(a.top()) < qint64(b.top()) + b.height() && qint64(b.top()) < qint64(a.top()) + a.height();
}

void ReadPalette(const QByteArray& dib)
{
    QVector<QRgb> palette{qRgb(1, 2, 3)};
    const DibPaletteResult result = PaletteFromDib(dib, palette);
    const int bitCount = DibBitCount(dib);
    FUZZ_CHECK((bitCount < 0) == (dib.size() < kInfoHeaderSize));
    switch (result) {
    case DibPaletteResult::Built:
        FUZZ_CHECK(bitCount >= 0 && bitCount <= 8);
        FUZZ_CHECK(!palette.isEmpty() && palette.size() <= kMaxPaletteEntries);
        FUZZ_CHECK(kInfoHeaderSize + 4 * palette.size() <= dib.size());
        break;
    case DibPaletteResult::NotNeeded:
        FUZZ_CHECK(bitCount > 8 && palette.isEmpty());
        break;
    case DibPaletteResult::Malformed:
        FUZZ_CHECK(palette.isEmpty());
        break;
    }
}

void Place(CFuzzInput& input)
{
    const int x = input.I32();
    const int y = input.I32();
    const int cx = input.I32();
    const int cy = input.I32();
    const QSize bitmap(input.I32(), input.I32());
    const quint32 flags = input.U32();
    // What a painter shows is never larger than a screen; here a small window anywhere that Qt
    // can hold (its right edge is left + width - 1).
    const int visibleWidth = input.Range(0, kMaxVisible);
    const int visibleHeight = input.Range(0, kMaxVisible);
    const QPoint corner(input.Range(std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max() - kMaxVisible),
                        input.Range(std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max() - kMaxVisible));
    const QRect visible(corner, QSize(visibleWidth, visibleHeight));
    const bool tile = (flags & BMX_TILE) != 0;
    const bool stretch = (flags & BMX_STRETCH) != 0;

    const std::vector<BitmapDrawStep> steps =
        PlaceBitmap(x, y, cx, cy, bitmap, flags, tile || input.Bool() ? std::optional<QRect>(visible) : std::nullopt);
    FUZZ_CHECK(tile || steps.size() <= 1);
    FUZZ_CHECK(steps.size() <= size_t(kMaxVisible + 2) * size_t(kMaxVisible + 2));
    for (const BitmapDrawStep& step : steps) {
        // Never more of the bitmap than it has, and never an edge int cannot hold.
        FUZZ_CHECK(step.source.width() > 0 && step.source.height() > 0);
        FUZZ_CHECK(step.source.width() <= bitmap.width() && step.source.height() <= bitmap.height());
        FUZZ_CHECK(qint64(step.dest.left()) + step.dest.width() <= std::numeric_limits<int>::max());
        FUZZ_CHECK(qint64(step.dest.top()) + step.dest.height() <= std::numeric_limits<int>::max());
        // Tiles reach into what shows; only a stretch scales them.
        if (tile)
            FUZZ_CHECK(Overlaps(step.dest, visible) && (stretch || !step.Scaled()));
    }
}

void Draw(CFuzzInput& input)
{
    const int width = input.Range(1, kMaxDrawnBitmap);
    const int height = input.Range(1, kMaxDrawnBitmap);
    QImage bitmap(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column)
            bitmap.setPixel(column, row, qRgb(input.Byte(), input.Byte(), input.Byte()) | 0xFF000000u);
    }
    const int x = input.Range(-kCanvasSize, kCanvasSize);
    const int y = input.Range(-kCanvasSize, kCanvasSize);
    const int cx = input.Range(-1, kCanvasSize);
    const int cy = input.Range(-1, kCanvasSize);
    const quint32 flags = input.U32();
    const COLORREF transparent = input.U32() & 0xFFFFFF;
    const COLORREF background = input.U32() & 0xFFFFFF;

    QImage canvas(kCanvasSize, kCanvasSize, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    DrawStyledBitmap(painter, bitmap, x, y, cx, cy, flags, transparent, background);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    switch (input.Byte() % 3) {
    case 0:
        ReadPalette(input.Rest());
        break;
    case 1:
        Place(input);
        break;
    default:
        Draw(input);
        break;
    }
    return 0;
}

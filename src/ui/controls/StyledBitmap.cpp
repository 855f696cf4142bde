// Loading and drawing of a styled bitmap.
#include "ui/controls/StyledBitmap.h"

#include "ui/controls/BitmapResources.h"

#include <QPainter>

namespace {
constexpr int kMaxPaletteBitCount = 8;
}

CStyledBitmap::CStyledBitmap(quint32 drawFlags, COLORREF crTransparent, COLORREF crBackground)
    : m_crTransparent(crTransparent)
    , m_crBackground(crBackground)
    , m_dwDrawFlags(drawFlags)
{
}

bool CStyledBitmap::LoadFromResource(uint id)
{
    DetachBitmap();
    QByteArray dib;
    if (!LoadBitmapResourceBytes(id, dib))
        return false;
    QImage image = LoadBitmapResourceImage(id);
    if (image.isNull())
        return false;
    // Pixels are compared with the transparent colour one by one: keep them in one 32-bit form.
    m_image = image.convertToFormat(QImage::Format_RGB32);
    const QImage fine = LoadBitmapResourceImage(id, 2.0);
    m_fine = fine.devicePixelRatio() > 1.0 ? fine.convertToFormat(QImage::Format_RGB32) : QImage();
    m_nBitCount = DibBitCount(dib);
    if (m_nBitCount <= kMaxPaletteBitCount)
        CreatePaletteFromResource(id);
    else
        m_palette.clear(); // an earlier bitmap's palette does not belong to this one
    return true;
}

bool CStyledBitmap::CreatePaletteFromResource(uint id)
{
    m_palette.clear();
    QByteArray dib;
    if (!LoadBitmapResourceBytes(id, dib))
        return false;
    // A table cut short leaves the bitmap without a palette; drawing does not need one.
    PaletteFromDib(dib, m_palette);
    return true;
}

void CStyledBitmap::DetachBitmap()
{
    m_image = QImage();
    m_fine = QImage();
    m_nBitCount = 0;
}

void CStyledBitmap::Draw(QPainter* painter, int x, int y, int cx, int cy) const
{
    if (!painter || !HasBitmap())
        return;
    DrawStyledBitmap(*painter, m_image, x, y, cx, cy, m_dwDrawFlags, m_crTransparent, m_crBackground, &m_fine);
}

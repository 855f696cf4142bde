// A bitmap from the program's resources with its own palette and drawing attributes (draw
// flags, transparent colour, background colour); draws itself aligned, stretched or tiled.
#pragma once

#include "ui/controls/BitmapPlacement.h"
#include "ui/controls/Colors.h"

#include <QImage>
#include <QRgb>
#include <QVector>

class QPainter;

class CStyledBitmap {
public:
    CStyledBitmap(quint32 drawFlags = 0, COLORREF crTransparent = RGB(255, 255, 255),
                  COLORREF crBackground = RGB(0, 0, 0));

    // Loads bitmap resource `id`, replacing any earlier bitmap; a bitmap of 8 bits per pixel or
    // fewer gets the palette of its own colour table, any other none. False when it is missing.
    bool LoadFromResource(uint id);
    // The palette from resource `id`'s colour table; false when the resource is missing.
    bool CreatePaletteFromResource(uint id);
    // Forgets the bitmap; attributes and palette stay.
    void DetachBitmap();

    // None of the setters redraws anything.
    void SetDrawFlags(quint32 flags) { m_dwDrawFlags = flags; }
    void SetTransparentColor(COLORREF cr) { m_crTransparent = cr; }
    void SetBackgroundColor(COLORREF cr) { m_crBackground = cr; }
    quint32 DrawFlags() const { return m_dwDrawFlags; }
    COLORREF TransparentColor() const { return m_crTransparent; }
    COLORREF BackgroundColor() const { return m_crBackground; }

    bool HasBitmap() const { return !m_image.isNull(); }
    const QImage& Image() const { return m_image; }
    int BitCount() const { return m_nBitCount; }
    bool HasPalette() const { return !m_palette.isEmpty(); }
    const QVector<QRgb>& Palette() const { return m_palette; }

    // Draws into (x, y, cx, cy); a negative cx or cy stands for the bitmap's own size. Nothing
    // is drawn without a painter or a bitmap, or with a zero cx or cy.
    void Draw(QPainter* painter, int x, int y, int cx, int cy) const;

private:
    QImage m_image;
    QImage m_fine; // the same picture at twice the size, for scaled screens; may be null
    int m_nBitCount = 0;
    QVector<QRgb> m_palette;
    COLORREF m_crTransparent;
    COLORREF m_crBackground;
    quint32 m_dwDrawFlags;
};

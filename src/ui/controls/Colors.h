// Colour values as the controls store them (0x00BBGGRR) and their conversion to Qt colours;
// the default control colours come from the application palette's button colours.
#pragma once

#include <QColor>
#include <QtGlobal>

using COLORREF = quint32;

constexpr COLORREF ColorRef(int r, int g, int b)
{
    return COLORREF(quint8(r)) | (COLORREF(quint8(g)) << 8) | (COLORREF(quint8(b)) << 16);
}
constexpr int RedOf(COLORREF cr) { return int(cr & 0xFF); }
constexpr int GreenOf(COLORREF cr) { return int((cr >> 8) & 0xFF); }
constexpr int BlueOf(COLORREF cr) { return int((cr >> 16) & 0xFF); }

// A Windows build may already have the macro; it means the same.
#ifndef RGB
constexpr COLORREF RGB(int r, int g, int b) { return ColorRef(r, g, b); }
#endif

QColor ToQColor(COLORREF cr);
COLORREF FromQColor(const QColor& color);
// 0xFFRRGGBB, the pixel value of an opaque colour in a 32-bit QImage.
QRgb ToQRgb(COLORREF cr);
COLORREF FromQRgb(QRgb rgb);

// The button-face and button-text colours of the application palette, read at each call.
COLORREF SysColorBtnFace();
COLORREF SysColorBtnText();

// The program's pictures in its Qt resources, addressed by resource number, and the reading of
// a bitmap's own colour table into a palette.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QRgb>
#include <QString>
#include <QVector>

enum BitmapResourceId : uint {
    IDB_BANNER = 147, // the radio's front panel, 410 x 140, 24 bits
    IDB_RADIO = 148,  // the radio, 200 x 100, 24 bits
    IDB_LOGO = 149,   // "Firm Utility" black on white, 205 x 37, 16 colours
};
constexpr uint IDR_MAINFRAME = 128; // the application icon

// ":/bitmaps/<id>.bmp"
QString BitmapResourcePath(uint id);

// The bitmap as the program keeps it: the BMP file less its 14-byte file header, so it starts
// with the 40-byte information header. False when there is no such resource or it is no BMP.
bool LoadBitmapResourceBytes(uint id, QByteArray& dib);

// The picture of bitmap `id`; a null image when it is missing. For a screen of more than one
// device pixel per pixel (`devicePixelRatio` above 1) the picture drawn at twice the size, when
// there is one, marked as such: it covers the same area as the plain one, in finer pixels.
QImage LoadBitmapResourceImage(uint id, qreal devicePixelRatio = 1.0);

// The window icon at every size the resources hold.
QIcon AppIcon();

// Bits per pixel from a bitmap's information header; -1 when the header is incomplete.
int DibBitCount(const QByteArray& dib);

enum class DibPaletteResult {
    Built,     // `palette` holds the bitmap's colour table
    NotNeeded, // more than 8 bits per pixel: no palette
    Malformed, // header or colour table cut short: no palette
};

// The palette of a bitmap of 8 bits per pixel or fewer from the colour table at byte 40,
// whatever the header's size field says: biClrUsed entries, or 2 to the power of the bit count
// when that is 0, at most 256. A table shorter than that yields no palette.
DibPaletteResult PaletteFromDib(const QByteArray& dib, QVector<QRgb>& palette);

// Access to the program's pictures and bitmap colour tables.
#include "ui/controls/BitmapResources.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int kFileHeaderSize = 14;  // BITMAPFILEHEADER, which a bitmap resource does not have
constexpr int kInfoHeaderSize = 40;  // BITMAPINFOHEADER, where the colour table starts
constexpr int kBitCountOffset = 14;  // biBitCount within the information header
constexpr int kClrUsedOffset = 32;   // biClrUsed
constexpr int kMaxPaletteEntries = 256;

const char* const kIconSizes[] = {"16", "32", "48", "256"};

} // namespace

QString BitmapResourcePath(uint id)
{
    return QStringLiteral(":/bitmaps/%1.bmp").arg(id);
}

bool LoadBitmapResourceBytes(uint id, QByteArray& dib)
{
    QFile file(BitmapResourcePath(id));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || !bytes.startsWith("BM"))
        return false;
    dib = bytes.mid(kFileHeaderSize);
    return true;
}

QImage LoadBitmapResourceImage(uint id, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        QImage fine(QStringLiteral(":/bitmaps/%1@2x.bmp").arg(id), "BMP");
        if (!fine.isNull()) {
            fine.setDevicePixelRatio(2.0);
            return fine;
        }
    }
    return QImage(BitmapResourcePath(id), "BMP");
}

QIcon AppIcon()
{
    QIcon icon;
    for (const char* size : kIconSizes)
        icon.addFile(QStringLiteral(":/icons/zerlind-firm-utility-%1.png").arg(QLatin1String(size)));
    return icon;
}

int DibBitCount(const QByteArray& dib)
{
    if (dib.size() < kInfoHeaderSize)
        return -1;
    return qFromLittleEndian<quint16>(dib.constData() + kBitCountOffset);
}

DibPaletteResult PaletteFromDib(const QByteArray& dib, QVector<QRgb>& palette)
{
    palette.clear();
    const int bitCount = DibBitCount(dib);
    if (bitCount < 0)
        return DibPaletteResult::Malformed;
    const quint32 clrUsed = qFromLittleEndian<quint32>(dib.constData() + kClrUsedOffset);
    int entries = kMaxPaletteEntries;
    if (clrUsed != 0 && clrUsed < quint32(kMaxPaletteEntries))
        entries = int(clrUsed);
    else if (clrUsed == 0 && bitCount < 8)
        entries = 1 << bitCount;
    if (bitCount > 8)
        return DibPaletteResult::NotNeeded;
    if (dib.size() < kInfoHeaderSize + 4 * entries)
        return DibPaletteResult::Malformed;

    palette.reserve(entries);
    const auto* table = reinterpret_cast<const uchar*>(dib.constData()) + kInfoHeaderSize;
    for (int i = 0; i < entries; ++i) {
        const uchar* quad = table + 4 * i; // blue, green, red, reserved
        palette.push_back(qRgb(quad[2], quad[1], quad[0]));
    }
    return DibPaletteResult::Built;
}

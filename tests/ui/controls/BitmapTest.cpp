#include "ui/controls/BitmapExCtrl.h"
#include "ui/controls/BitmapPlacement.h"
#include "ui/controls/BitmapResources.h"
#include "ui/controls/StyledBitmap.h"

#include "common/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QXmlStreamReader>
#include <QtEndian>
#include <gtest/gtest.h>

#include <limits>

namespace {

const QSize kLogo(205, 37);

std::vector<int> Widths(const std::vector<BitmapDrawStep>& steps, int row)
{
    std::vector<int> widths;
    for (const auto& step : steps)
        if (step.dest.y() == row)
            widths.push_back(step.dest.width());
    return widths;
}

std::vector<int> Heights(const std::vector<BitmapDrawStep>& steps, int column)
{
    std::vector<int> heights;
    for (const auto& step : steps)
        if (step.dest.x() == column)
            heights.push_back(step.dest.height());
    return heights;
}

TEST(BitmapPlacement, AlignsWithPrecedenceAndCutsInsteadOfShrinking)
{
    auto steps = PlaceBitmap(0, 0, 210, 40, kLogo, BMX_HCENTER | BMX_VCENTER);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].dest, QRect(2, 1, 205, 37));
    EXPECT_FALSE(steps[0].Scaled());

    steps = PlaceBitmap(0, 0, 100, 20, kLogo, BMX_HCENTER | BMX_VCENTER);
    EXPECT_EQ(steps[0].dest, QRect(0, 0, 100, 20));
    EXPECT_EQ(steps[0].source, QSize(100, 20));

    EXPECT_EQ(PlaceBitmap(10, 20, 300, 50, kLogo, BMX_RIGHT | BMX_BOTTOM)[0].dest, QRect(105, 33, 205, 37));
    EXPECT_EQ(PlaceBitmap(0, 0, 300, 50, kLogo, BMX_LEFT | BMX_RIGHT)[0].dest.x(), 0);
    EXPECT_EQ(PlaceBitmap(0, 0, 300, 50, kLogo, BMX_HCENTER | BMX_RIGHT)[0].dest.x(), 47);
    EXPECT_EQ(PlaceBitmap(0, 0, 300, 50, kLogo, BMX_TOP | BMX_VCENTER | BMX_BOTTOM)[0].dest.y(), 0);
    EXPECT_EQ(PlaceBitmap(5, 6, 300, 50, kLogo, 0)[0].dest, QRect(5, 6, 205, 37));
}

TEST(BitmapPlacement, NegativeSizeMeansTheBitmapsOwnAndZeroDrawsNothing)
{
    EXPECT_EQ(PlaceBitmap(224, 9, -1, -1, kLogo, BMX_HCENTER | BMX_VCENTER)[0].dest, QRect(224, 9, 205, 37));
    EXPECT_TRUE(PlaceBitmap(0, 0, 0, 37, kLogo, 0).empty());
    EXPECT_TRUE(PlaceBitmap(0, 0, 205, 0, kLogo, 0).empty());
    EXPECT_TRUE(PlaceBitmap(0, 0, 205, 37, QSize(), 0).empty());
}

TEST(BitmapPlacement, StretchScalesOnlyWhereTheAreaIsLarger)
{
    const auto steps = PlaceBitmap(0, 0, 410, 20, kLogo, BMX_STRETCH | BMX_HCENTER);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].source, QSize(205, 20));
    EXPECT_EQ(steps[0].dest, QRect(0, 0, 410, 20));
    EXPECT_TRUE(steps[0].Scaled());
    EXPECT_FALSE(PlaceBitmap(3, 4, 205, 37, kLogo, BMX_STRETCH)[0].Scaled());
}

TEST(BitmapPlacement, TilesShortenTheLastColumnAndRow)
{
    const auto steps = PlaceBitmap(10, 5, 500, 100, kLogo, BMX_TILE | BMX_RIGHT);
    ASSERT_EQ(steps.size(), 9u);
    EXPECT_EQ(Widths(steps, 5), (std::vector<int>{205, 205, 90}));
    EXPECT_EQ(Widths(steps, 79), (std::vector<int>{205, 205, 90}));
    EXPECT_EQ(Heights(steps, 10), (std::vector<int>{37, 37, 26}));
    EXPECT_EQ(Heights(steps, 420), (std::vector<int>{37, 37, 26}));
    EXPECT_EQ(steps.back().dest, QRect(420, 79, 90, 26));
    for (const auto& step : steps)
        EXPECT_FALSE(step.Scaled());
    // An area narrower than the bitmap: one cut column.
    EXPECT_EQ(Heights(PlaceBitmap(0, 0, 100, 80, kLogo, BMX_TILE), 0), (std::vector<int>{37, 37, 6}));

    // With a stretch the first copy covers the area and the tiles after it come from the same
    // cut: whole ones unscaled, the shortened ones squeezed.
    const auto stretched = PlaceBitmap(10, 5, 500, 100, kLogo, BMX_TILE | BMX_STRETCH);
    ASSERT_EQ(stretched.size(), 9u);
    EXPECT_EQ(stretched.front().dest, QRect(10, 5, 500, 100));
    EXPECT_TRUE(stretched.front().Scaled());
    EXPECT_EQ(stretched[1].dest, QRect(215, 5, 205, 37));
    EXPECT_FALSE(stretched[1].Scaled());
    EXPECT_EQ(stretched.back().dest, QRect(420, 79, 90, 26));
    EXPECT_EQ(stretched.back().source, kLogo);
    EXPECT_FALSE(PlaceBitmap(0, 0, 205, 37, kLogo, BMX_TILE | BMX_STRETCH).front().Scaled());
}

TEST(BitmapPlacement, FarAreasAndHugeTilingsStayBounded)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    // An area whose far edge int cannot hold draws nothing instead of overflowing.
    EXPECT_TRUE(PlaceBitmap(kMax - 100, 0, 1000, 10, kLogo, BMX_STRETCH).empty());
    EXPECT_TRUE(PlaceBitmap(0, kMax, -1, -1, kLogo, 0).empty());
    EXPECT_TRUE(PlaceBitmap(kMax - 204, 0, -1, -1, kLogo, 0).empty());
    EXPECT_EQ(PlaceBitmap(kMax - 205, 0, -1, -1, kLogo, 0).size(), 1u);

    // A one-pixel bitmap tiled over the largest area lists only the tiles that show.
    const auto steps = PlaceBitmap(0, 0, kMax, kMax, QSize(1, 1), BMX_TILE, QRect(10, 20, 3, 2));
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps.front().dest, QRect(10, 20, 1, 1));
    EXPECT_EQ(steps.back().dest, QRect(12, 21, 1, 1));
    EXPECT_TRUE(PlaceBitmap(50, 50, 100, 100, kLogo, BMX_TILE, QRect(0, 0, 50, 50)).empty());
    // Past the area's end but within the bitmap's first column: nothing shows.
    EXPECT_TRUE(PlaceBitmap(0, 0, 10, 10, kLogo, BMX_TILE, QRect(50, 0, 5, 5)).empty());
    // The last column keeps its shortening when only it shows.
    const auto last = PlaceBitmap(10, 5, 500, 100, kLogo, BMX_TILE, QRect(500, 0, 100, 10));
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last.front().dest, QRect(420, 5, 90, 37));
}

// A row of four pixels: white, one step off white, red, white.
QImage SampleRow()
{
    QImage image(4, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    image.setPixel(1, 0, qRgb(254, 255, 255));
    image.setPixel(2, 0, qRgb(255, 0, 0));
    image.setPixel(3, 0, qRgb(255, 255, 255));
    return image;
}

QImage Draw(const QImage& bitmap, QSize canvas, QRect area, quint32 flags, QRgb underneath = qRgb(0, 0, 255))
{
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(underneath);
    QPainter painter(&image);
    DrawStyledBitmap(painter, bitmap, area.x(), area.y(), area.width(), area.height(), flags,
                     RGB(255, 255, 255), RGB(0, 128, 0));
    return image;
}

TEST(BitmapComposition, OnlyTheExactTransparentColourIsLeftOut)
{
    const QImage bitmap = SampleRow();
    const QRect area(1, 0, 4, 1);

    QImage out = Draw(bitmap, QSize(6, 1), area, 0);
    EXPECT_EQ(out.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(0, 0), qRgb(0, 0, 255));

    out = Draw(bitmap, QSize(6, 1), area, BMX_TRANSPARENT);
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(2, 0), qRgb(254, 255, 255));
    EXPECT_EQ(out.pixel(3, 0), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(4, 0), qRgb(0, 0, 255));

    // The fill covers the drawn rectangle only.
    out = Draw(bitmap, QSize(6, 1), area, BMX_FILLBACK);
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 128, 0));
    EXPECT_EQ(out.pixel(2, 0), qRgb(254, 255, 255));
    EXPECT_EQ(out.pixel(4, 0), qRgb(0, 128, 0));
    EXPECT_EQ(out.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(5, 0), qRgb(0, 0, 255));
}

TEST(BitmapComposition, TilingTheLargestAreaDrawsWhatTheCanvasShows)
{
    // Once a tile list over the whole area: millions of millions of steps for a 6 x 1 canvas.
    const QImage bitmap = SampleRow();
    constexpr int kMax = std::numeric_limits<int>::max();
    const QImage out = Draw(bitmap, QSize(6, 1), QRect(-2, 0, kMax, kMax), BMX_TILE);
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(3, 0), qRgb(254, 255, 255));
    EXPECT_EQ(out.pixel(4, 0), qRgb(255, 0, 0));
}

TEST(BitmapComposition, StretchedAndTiledCopiesKeepTheTransparency)
{
    const QImage bitmap = SampleRow();
    QImage out = Draw(bitmap, QSize(8, 2), QRect(0, 0, 8, 2), BMX_STRETCH | BMX_TRANSPARENT);
    // Doubled both ways; every copy of a white pixel is left out.
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(out.pixel(1, y), qRgb(0, 0, 255));
        EXPECT_EQ(out.pixel(3, y), qRgb(254, 255, 255));
        EXPECT_EQ(out.pixel(5, y), qRgb(255, 0, 0));
        EXPECT_EQ(out.pixel(6, y), qRgb(0, 0, 255));
    }

    out = Draw(bitmap, QSize(10, 3), QRect(0, 0, 10, 3), BMX_TILE | BMX_TRANSPARENT);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 10; ++x) {
            const QRgb src = bitmap.pixel(x % 4, 0);
            EXPECT_EQ(out.pixel(x, y), src == qRgb(255, 255, 255) ? qRgb(0, 0, 255) : src) << x << "," << y;
        }
    }
}

QByteArray MakeDib(quint16 bitCount, quint32 clrUsed, int tableEntries)
{
    QByteArray dib(40 + 4 * tableEntries, '\0');
    qToLittleEndian<quint32>(40, dib.data());
    qToLittleEndian<quint16>(bitCount, dib.data() + 14);
    qToLittleEndian<quint32>(clrUsed, dib.data() + 32);
    for (int i = 0; i < tableEntries; ++i) {
        dib[40 + 4 * i] = char(i);          // blue
        dib[40 + 4 * i + 2] = char(255 - i); // red
    }
    return dib;
}

TEST(BitmapPalette, EntryCountsFollowTheHeader)
{
    QVector<QRgb> palette;
    EXPECT_EQ(PaletteFromDib(MakeDib(4, 16, 16), palette), DibPaletteResult::Built);
    EXPECT_EQ(palette.size(), 16);
    EXPECT_EQ(palette[3], qRgb(252, 0, 3));
    EXPECT_EQ(PaletteFromDib(MakeDib(4, 0, 16), palette), DibPaletteResult::Built);
    EXPECT_EQ(palette.size(), 16);
    EXPECT_EQ(PaletteFromDib(MakeDib(4, 5, 16), palette), DibPaletteResult::Built);
    EXPECT_EQ(palette.size(), 5);
    EXPECT_EQ(PaletteFromDib(MakeDib(24, 0, 0), palette), DibPaletteResult::NotNeeded);
    EXPECT_TRUE(palette.isEmpty());
    EXPECT_EQ(PaletteFromDib(MakeDib(8, 300, 256), palette), DibPaletteResult::Built);
    EXPECT_EQ(palette.size(), 256);
    // A table cut short is never read past its end.
    EXPECT_EQ(PaletteFromDib(MakeDib(8, 0, 100), palette), DibPaletteResult::Malformed);
    EXPECT_TRUE(palette.isEmpty());
    EXPECT_EQ(PaletteFromDib(QByteArray(20, '\0'), palette), DibPaletteResult::Malformed);
}

TEST(BitmapResources, ThePicturesHaveTheirSizesAndDepths)
{
    const struct { uint id; QSize size; int bits; } expected[] = {
        {IDB_BANNER, {410, 140}, 24}, {IDB_RADIO, {200, 100}, 24}, {IDB_LOGO, {205, 37}, 4}};
    for (const auto& picture : expected) {
        QByteArray dib;
        ASSERT_TRUE(LoadBitmapResourceBytes(picture.id, dib)) << picture.id;
        EXPECT_EQ(DibBitCount(dib), picture.bits) << picture.id;
        EXPECT_EQ(LoadBitmapResourceImage(picture.id).size(), picture.size) << picture.id;
    }

    // The lettering: black on a background of exact white, the transparent colour.
    const QImage logo = LoadBitmapResourceImage(IDB_LOGO).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(logo.pixel(0, 0), qRgb(255, 255, 255));
    int black = 0;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            black += logo.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_GT(black, 500);

    EXPECT_TRUE(LoadBitmapResourceImage(150).isNull());
    const QIcon icon = AppIcon();
    EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));

    QFile svg(QStringLiteral(ZFU_SOURCE_DIR "/resources/icons/zerlind-firm-utility.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    int elements = 0;
    while (!xml.atEnd())
        elements += xml.readNext() == QXmlStreamReader::StartElement;
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(elements, 10);
}

TEST(StyledBitmap, LoadsItsPictureWithThePaletteOfItsColourTable)
{
    CStyledBitmap logo;
    ASSERT_TRUE(logo.LoadFromResource(IDB_LOGO));
    EXPECT_EQ(logo.Image().size(), kLogo);
    ASSERT_EQ(logo.Palette().size(), 16);
    EXPECT_TRUE(logo.Palette().contains(qRgb(255, 255, 255)));
    EXPECT_TRUE(logo.Palette().contains(qRgb(0, 0, 0)));

    // A true-colour bitmap loaded into the same object does not keep that palette.
    ASSERT_TRUE(logo.LoadFromResource(IDB_BANNER));
    EXPECT_FALSE(logo.HasPalette());

    CStyledBitmap missing;
    EXPECT_FALSE(missing.LoadFromResource(4711));
    EXPECT_FALSE(missing.HasBitmap());
    QImage untouched(8, 8, QImage::Format_RGB32);
    untouched.fill(Qt::blue);
    QPainter painter(&untouched);
    missing.Draw(&painter, 0, 0, 8, 8);
    missing.Draw(nullptr, 0, 0, 8, 8);
    painter.end();
    EXPECT_EQ(untouched.pixel(3, 3), qRgb(0, 0, 255));
}

TEST(BitmapExCtrl, SettersAndLoadsKeepEverySlotInStep)
{
    CBitmapExCtrl control;
    EXPECT_EQ(control.SlotCount(), 0);
    ASSERT_TRUE(control.LoadBitmapResource(IDB_LOGO, 2));
    ASSERT_EQ(control.SlotCount(), 3);
    EXPECT_EQ(control.Slot(0), nullptr);
    EXPECT_EQ(control.Slot(1), nullptr);
    ASSERT_NE(control.Slot(2), nullptr);
    EXPECT_EQ(control.Slot(2)->BackgroundColor(), control.BackgroundColor());

    control.SetDrawFlags(BMX_HCENTER | BMX_VCENTER | BMX_FILLBACK);
    control.SetTransparentColor(RGB(1, 2, 3));
    control.SetBackgroundColor(RGB(9, 8, 7));
    EXPECT_EQ(control.Slot(2)->DrawFlags(), BMX_HCENTER | BMX_VCENTER | BMX_FILLBACK);
    EXPECT_EQ(control.Slot(2)->TransparentColor(), RGB(1, 2, 3));
    EXPECT_EQ(control.Slot(2)->BackgroundColor(), RGB(9, 8, 7));
    EXPECT_EQ(control.BackgroundBrush().color(), QColor(9, 8, 7));

    // A slot left empty by the growth can be loaded later and takes the current attributes.
    ASSERT_TRUE(control.LoadBitmapResource(IDB_LOGO, 0));
    EXPECT_EQ(control.Slot(0)->TransparentColor(), RGB(1, 2, 3));
    EXPECT_EQ(control.Slot(0)->DrawFlags(), BMX_HCENTER | BMX_VCENTER | BMX_FILLBACK);
    EXPECT_FALSE(control.LoadBitmapResource(IDB_LOGO, -1));
    EXPECT_FALSE(control.LoadBitmapResource(4711, 1));
    EXPECT_EQ(control.SlotCount(), 3);
}

// A parent painted solid red with the control at (10, 5), 210 x 40, showing the lettering.
struct ParentWithLogo {
    QWidget parent;
    CBitmapExCtrl* control = new CBitmapExCtrl(&parent);

    explicit ParentWithLogo(quint32 flags, int slot = 0)
    {
        parent.resize(240, 60);
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(255, 0, 0));
        parent.setPalette(pal);
        parent.setAutoFillBackground(true);
        control->setGeometry(10, 5, 210, 40);
        control->LoadBitmapResource(IDB_LOGO, slot);
        control->SetDrawFlags(flags | BMX_HCENTER | BMX_VCENTER);
        control->SetTransparentColor(RGB(255, 255, 255));
    }
    QImage Shot() { return parent.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// The pixel of the parent that shows lettering pixel (x, y): the bitmap lands at (2, 1).
QPoint Behind(int x, int y)
{
    return QPoint(10 + 2 + x, 5 + 1 + y);
}

TEST(BitmapExCtrl, PaintsTheLetteringOverTheParentOrItsOwnBackground)
{
    const QImage logo = LoadBitmapResourceImage(IDB_LOGO).convertToFormat(QImage::Format_RGB32);
    QPoint ink;
    for (int i = 0; i < logo.width() * logo.height() && ink.isNull(); ++i)
        if (logo.pixel(i % logo.width(), i / logo.width()) == qRgb(0, 0, 0))
            ink = QPoint(i % logo.width(), i / logo.width());
    ASSERT_FALSE(ink.isNull());

    {
        ParentWithLogo view(BMX_TRANSPARENT);
        const QImage shot = view.Shot();
        EXPECT_EQ(shot.pixel(Behind(ink.x(), ink.y())), qRgb(0, 0, 0));
        EXPECT_EQ(shot.pixel(Behind(0, 0)), qRgb(255, 0, 0)); // white is left out
        EXPECT_EQ(shot.pixel(11, 6), qRgb(255, 0, 0));        // margin: the parent
    }
    {
        ParentWithLogo view(BMX_FILLBACK);
        view.control->SetBackgroundColor(RGB(10, 20, 30));
        const QImage shot = view.Shot();
        EXPECT_EQ(shot.pixel(Behind(ink.x(), ink.y())), qRgb(0, 0, 0));
        EXPECT_EQ(shot.pixel(Behind(0, 0)), qRgb(10, 20, 30));
        EXPECT_EQ(shot.pixel(11, 6), qRgb(10, 20, 30));
    }
    {
        // Opaque: white is drawn, the uncovered margin is not painted by the control.
        ParentWithLogo view(0);
        const QImage shot = view.Shot();
        EXPECT_EQ(shot.pixel(Behind(0, 0)), qRgb(255, 255, 255));
        EXPECT_EQ(shot.pixel(11, 6), qRgb(255, 0, 0));
    }
    {
        // Only slot 0 is painted: a control loaded into slot 2 shows only its background.
        ParentWithLogo view(BMX_FILLBACK, 2);
        view.control->SetBackgroundColor(RGB(10, 20, 30));
        const QImage shot = view.Shot();
        EXPECT_EQ(shot.pixel(Behind(ink.x(), ink.y())), qRgb(10, 20, 30));
    }
}

// The control tiling the logo over 500 x 100 at (10, 5) of a red parent, rendered at a pixel
// ratio: every pixel of the control shows the logo pixel of its tile, up to the far corner.
class BitmapExCtrlPixelRatio : public ::testing::TestWithParam<qreal> {};

// At twice the pixels, the tiles are the picture drawn at twice the size.
TEST_P(BitmapExCtrlPixelRatio, TilesCoverTheWholeControl)
{
    const qreal ratio = GetParam();
    const QImage logo = LoadBitmapResourceImage(IDB_LOGO).convertToFormat(QImage::Format_RGB32);
    const QImage fine = LoadBitmapResourceImage(IDB_LOGO, 2.0).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(fine.size(), logo.size() * 2);
    QWidget parent;
    parent.resize(520, 110);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(255, 0, 0));
    parent.setPalette(pal);
    parent.setAutoFillBackground(true);
    auto* control = new CBitmapExCtrl(&parent);
    control->setGeometry(10, 5, 500, 100);
    control->LoadBitmapResource(IDB_LOGO, 0);
    control->SetDrawFlags(BMX_TILE);

    QImage shot(parent.size() * ratio, QImage::Format_RGB32);
    shot.setDevicePixelRatio(ratio);
    parent.render(&shot);

    int wrong = 0;
    QPoint firstWrong;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 500; ++x) {
            const QPoint device((QPointF(10 + x, 5 + y) * ratio).toPoint());
            const int u = x % logo.width(), v = y % logo.height();
            const QRgb expected = ratio > 1 ? fine.pixel(2 * u, 2 * v) : logo.pixel(u, v);
            if (shot.pixel(device) != expected && wrong++ == 0)
                firstWrong = QPoint(x, y);
        }
    }
    EXPECT_EQ(wrong, 0) << "first at " << firstWrong.x() << "," << firstWrong.y();
}

INSTANTIATE_TEST_SUITE_P(Ratios, BitmapExCtrlPixelRatio, ::testing::Values(1.0, 2.0));

TEST(BitmapExCtrl, FollowsTheSystemButtonFaceColour)
{
    const QPalette original = QApplication::palette();
    CBitmapExCtrl control;
    control.LoadBitmapResource(IDB_LOGO, 0);
    control.show();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return control.isVisible(); }));

    QPalette changed = original;
    changed.setColor(QPalette::Button, QColor(12, 34, 56));
    QApplication::setPalette(changed);
    const bool followed = TestSupport::WaitUntil([&] { return control.BackgroundColor() == RGB(12, 34, 56); }, 2000);
    QApplication::setPalette(original);

    EXPECT_TRUE(followed);
    EXPECT_EQ(control.Slot(0)->BackgroundColor(), RGB(12, 34, 56));
    EXPECT_EQ(control.BackgroundBrush().color(), QColor(12, 34, 56));
}

} // namespace

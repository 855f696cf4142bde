#include "ui/controls/GradientBarCtrl.h"
#include "ui/controls/GradientPaint.h"

#include "common/TestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <thread>

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);

QImage Render(const GradientBarPicture& picture, int width, int height = 6, QRgb underneath = qRgb(255, 0, 255))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(underneath);
    QPainter painter(&image);
    PaintGradientBar(painter, image.rect(), picture);
    return image;
}

bool Near(QRgb pixel, COLORREF cr, int tolerance)
{
    return std::abs(qRed(pixel) - RedOf(cr)) <= tolerance && std::abs(qGreen(pixel) - GreenOf(cr)) <= tolerance
        && std::abs(qBlue(pixel) - BlueOf(cr)) <= tolerance;
}

void Configure(CGradientBarCtrl& bar, int maximum, int segment, int step, COLORREF crBar)
{
    bar.Reset();
    bar.SetMaximum(maximum);
    bar.SetSegment(segment);
    bar.SetStep(step);
    bar.SetColors(kFace, crBar);
}

TEST(GradientSlices, CountIsTheLargestColourDifferenceWhateverTheWidth)
{
    for (int width : {50, 212, 2000}) {
        const auto slices = GradientSlices(10, 10 + width, kFace, kNavy);
        ASSERT_EQ(slices.size(), 212u) << width;
        EXPECT_EQ(slices.front().color, kFace);
        EXPECT_EQ(slices.front().x0, 10);
        // One increment short of navy: 212 - 211, 208 - 211 * 208 / 212, 200 - 211 * 72 / 212.
        EXPECT_EQ(slices.back().color, RGB(1, 0, 128));
        EXPECT_EQ(slices.back().x1, 10 + width);
        for (size_t i = 1; i < slices.size(); ++i)
            EXPECT_EQ(slices[i].x0, slices[i - 1].x1);
    }
    EXPECT_TRUE(GradientSlices(0, 100, kRed, kRed).empty());
    // Upward fade from a darker left colour: the colours climb and truncate toward zero.
    const auto up = GradientSlices(0, 3, RGB(0, 0, 0), RGB(3, 1, 0));
    ASSERT_EQ(up.size(), 3u);
    EXPECT_EQ(up[1].color, RGB(1, 0, 0));
    EXPECT_EQ(up[2].color, RGB(2, 0, 0));
}

TEST(GradientBar, TransferOfThreeHundredBlocksFillsFromTheLeft)
{
    CGradientBarCtrl bar;
    Configure(bar, 300, 300, 10, kNavy);
    for (int i = 0; i < 5; ++i)
        bar.StepIt();
    EXPECT_EQ(bar.Head(), 50);
    EXPECT_EQ(bar.Tail(), 0);

    // 1272 pixels: the bar covers the left sixth, 212 pixels, one per slice.
    const QImage image = Render(bar.Picture(), 1272);
    EXPECT_EQ(image.pixel(0, 3), ToQRgb(kFace));
    EXPECT_EQ(image.pixel(1, 3), qRgb(211, 207, 199));
    EXPECT_EQ(image.pixel(211, 3), qRgb(1, 0, 128));
    EXPECT_EQ(image.pixel(212, 3), ToQRgb(bar.BackgroundColor()));
    EXPECT_EQ(image.pixel(1271, 0), ToQRgb(bar.BackgroundColor()));

    // The tail never moves before the head reaches 300; it follows in that same step.
    for (int i = 5; i < 28; ++i) {
        bar.StepIt();
        EXPECT_EQ(bar.Tail(), 0) << i;
    }
    EXPECT_EQ(bar.StepIt(), 290);
    EXPECT_EQ(bar.Tail(), 0);
    EXPECT_EQ(bar.StepIt(), 300);
    EXPECT_EQ(bar.Tail(), 10);
    // The step after the last block only marks the end.
    EXPECT_EQ(bar.StepIt(), 300);
    EXPECT_EQ(bar.Tail(), 10);
    EXPECT_TRUE(bar.AtEnd());
}

TEST(GradientBar, BusySweepGrowsTravelsRunsInAndReverses)
{
    CGradientBarCtrl bar;
    Configure(bar, 200, 20, 1, kRed);
    for (int i = 0; i < 19; ++i)
        bar.StepIt();
    EXPECT_EQ(bar.Head(), 19);
    EXPECT_EQ(bar.Tail(), 0);
    EXPECT_EQ(bar.StepIt(), 20);
    EXPECT_EQ(bar.Tail(), 1);
    while (bar.Head() < 200) {
        bar.StepIt();
        ASSERT_EQ(bar.Head() - bar.Tail(), 19);
    }
    EXPECT_FALSE(bar.AtEnd());
    EXPECT_EQ(bar.StepIt(), 200); // the pause step
    EXPECT_TRUE(bar.AtEnd());
    EXPECT_EQ(bar.Tail(), 181);
    while (bar.Tail() < 200)
        EXPECT_EQ(bar.StepIt(), 200);
    EXPECT_EQ(bar.LeftEndColor(), kFace);

    EXPECT_EQ(bar.StepIt(), 199);
    EXPECT_EQ(bar.Tail(), 200);
    EXPECT_TRUE(bar.Downwards());
    EXPECT_FALSE(bar.AtEnd());
    EXPECT_EQ(bar.LeftEndColor(), kRed);
    EXPECT_EQ(bar.RightEndColor(), kFace);
    while (bar.Head() > 181) {
        bar.StepIt();
        EXPECT_EQ(bar.Tail(), 200) << bar.Head();
    }
    EXPECT_EQ(bar.StepIt(), 180);
    EXPECT_EQ(bar.Tail(), 199);

    // Downwards the head is the bar's left end and shows the bar colour.
    const QImage image = Render(bar.Picture(), 200);
    // 19 pixels for 208 slices: most slices are too narrow to fill a pixel.
    EXPECT_TRUE(Near(image.pixel(180, 0), kRed, 16));
    EXPECT_TRUE(Near(image.pixel(198, 0), kFace, 16));
    EXPECT_EQ(image.pixel(179, 0), ToQRgb(bar.BackgroundColor()));
    EXPECT_EQ(image.pixel(199, 0), ToQRgb(bar.BackgroundColor()));

    // Down at 0 the sweep turns back up with the colours in upward order.
    int guard = 0;
    while (bar.Downwards() && ++guard < 1000)
        bar.StepIt();
    EXPECT_EQ(bar.Head(), 1);
    EXPECT_EQ(bar.Tail(), 0);
    EXPECT_EQ(bar.LeftEndColor(), kFace);
    EXPECT_EQ(bar.RightEndColor(), kRed);
}

TEST(GradientBar, ResetFromAnyPhaseShowsOnlyTheBackgroundInUpwardColours)
{
    CGradientBarCtrl bar;
    Configure(bar, 200, 20, 1, kRed);
    for (int i = 0; i < 250; ++i) // past the reversal
        bar.StepIt();
    ASSERT_TRUE(bar.Downwards());
    bar.Reset();
    EXPECT_EQ(bar.Head(), 0);
    EXPECT_EQ(bar.Tail(), 0);
    EXPECT_FALSE(bar.Downwards());
    EXPECT_FALSE(bar.AtEnd());
    EXPECT_EQ(bar.LeftEndColor(), kFace);
    EXPECT_EQ(bar.RightEndColor(), kRed);
    EXPECT_EQ(Render(bar.Picture(), 100), Render(GradientBarPicture{0, 0, 1, false, bar.BackgroundColor(), 0, 0}, 100));
}

TEST(GradientBar, MaximumOfZeroShowsOnlyTheBackground)
{
    CGradientBarCtrl bar;
    Configure(bar, 0, 0, 10, kNavy); // a firmware file shorter than one block
    for (int i = 0; i < 4; ++i)
        bar.StepIt();
    const QImage image = Render(bar.Picture(), 50);
    for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixel(x, 0), ToQRgb(bar.BackgroundColor())) << x;
}

TEST(GradientBar, ExtremeSettingsStayOnTheScale)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    CGradientBarCtrl bar;
    Configure(bar, kMax, kMax, kMax, kNavy);
    EXPECT_EQ(bar.StepIt(), kMax);
    EXPECT_EQ(bar.Tail(), kMax);
    bar.StepIt(); // the pause step
    EXPECT_EQ(bar.StepIt(), 0); // reversed a whole scale down
    EXPECT_TRUE(bar.Downwards());

    // A head far beyond a lowered maximum paints the bar to the right edge, not nowhere.
    const QImage image = Render(GradientBarPicture{kMax, 0, 1, false, RGB(1, 2, 3), kFace, kNavy}, 100);
    EXPECT_NE(image.pixel(99, 0), qRgb(1, 2, 3));
    EXPECT_NE(image.pixel(0, 0), qRgb(1, 2, 3));
}

TEST(GradientBar, EqualColoursLeaveTheBarAreaUnpainted)
{
    GradientBarPicture picture{50, 10, 100, false, RGB(1, 2, 3), kRed, kRed};
    const QImage image = Render(picture, 100, 4, qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(9, 0), qRgb(1, 2, 3));
    EXPECT_EQ(image.pixel(10, 0), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(49, 0), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(50, 0), qRgb(1, 2, 3));
}

TEST(GradientBar, ControlPaintsItsOwnPicture)
{
    CGradientBarCtrl bar;
    bar.resize(300, 8);
    Configure(bar, 300, 300, 10, kNavy);
    for (int i = 0; i < 10; ++i)
        bar.StepIt();
    const QImage shot = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot, Render(bar.Picture(), 300, 8));
}

// One thread steps the bar the way the wait animation does while this thread paints it.
TEST(GradientBar, WorkerStepsWhileTheWindowPaints)
{
    constexpr int kSteps = 100000;
    CGradientBarCtrl bar;
    bar.resize(200, 10);
    Configure(bar, 200, 20, 1, kRed);
    bar.show();

    // The worker steps half way, waits for a paint that began after that, then steps on: the
    // window paints while the bar is mid-run for certain, however the threads are scheduled.
    std::atomic<int> paints{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < kSteps / 2; ++i)
            bar.StepIt();
        const int before = paints.load();
        while (paints.load() < before + 2) // the next paint may have begun before the half
            std::this_thread::yield();
        for (int i = kSteps / 2; i < kSteps; ++i)
            bar.StepIt();
        done = true;
    });
    while (!done) {
        bar.repaint();
        QCoreApplication::processEvents();
        ++paints;
    }
    worker.join();

    CGradientBarCtrl reference;
    Configure(reference, 200, 20, 1, kRed);
    for (int i = 0; i < kSteps; ++i)
        reference.StepIt();
    EXPECT_EQ(bar.Head(), reference.Head());
    EXPECT_EQ(bar.Tail(), reference.Tail());
    EXPECT_EQ(bar.Downwards(), reference.Downwards());
    EXPECT_EQ(bar.LeftEndColor(), reference.LeftEndColor());

    // The last request still reaches the window: the settled state gets painted.
    QCoreApplication::processEvents();
    const QImage shot = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot, Render(bar.Picture(), 200, 10));
}

} // namespace

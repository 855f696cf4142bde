#include "base/MessageCatalog.h"
#include "ui/notices/DialogUnits.h"
#include "ui/notices/NoticeLayout.h"

#include <QApplication>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <limits>

// Readable failures: left, top, width, height.
void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}
void PrintTo(const QSize& s, std::ostream* os)
{
    *os << "QSize(" << s.width() << ", " << s.height() << ")";
}

namespace {

// A confirmation-like dialog: measured control 452 wide, two buttons and the question line.
NoticeLayoutInput ConfirmationInput(int growth)
{
    NoticeLayoutInput in;
    in.formattingWidth = 452;
    in.referenceWidth = 452 + growth;
    in.dialog = QRect(100, 50, 476, 240);
    in.measured = QRect(12, 75, 452, 72);
    in.shifted = {QRect(135, 180, 88, 23), QRect(252, 180, 88, 23), QRect(12, 145, 452, 20)};
    return in;
}

TEST(NoticeLayout, ConfirmationWorkedValues)
{
    struct Case {
        int growth;
        int moved;
    };
    // g/2 + 8 with the half kept and then dropped: 28, 11.5 -> 11, 4.5 -> 4.
    for (const Case c : {Case{40, 28}, Case{7, 11}, Case{-7, 4}, Case{0, 8}}) {
        const NoticeLayoutInput in = ConfirmationInput(c.growth);
        const NoticeLayoutResult out = ComputeNoticeLayout(NoticePlans::ConfirmationJapanese, in);
        SCOPED_TRACE(c.growth);
        EXPECT_EQ(out.dialogSize, QSize(476 + c.growth + 15, 240));
        EXPECT_EQ(out.measured, QRect(12, 75, 452 + c.growth, 72));
        ASSERT_EQ(out.shifted.size(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(out.shifted[i], in.shifted[i].translated(c.moved, 0)) << i;
        EXPECT_TRUE(out.followers.isEmpty());
    }
}

TEST(NoticeLayout, EnglishCompletionNarrowsAndMovesOkHalfTheShrink)
{
    NoticeLayoutInput in;
    in.formattingWidth = 581;
    in.referenceWidth = 561; // g = -20
    in.dialog = QRect(0, 0, 613, 199);
    in.measured = QRect(12, 11, 581, 102);
    in.shifted = {QRect(261, 164, 88, 23)};
    const NoticeLayoutResult out = ComputeNoticeLayout(NoticePlans::CompletionEnglish, in);
    EXPECT_EQ(out.dialogSize, QSize(613 - 20 + 15, 199));
    EXPECT_EQ(out.measured.width(), 561);
    EXPECT_EQ(out.shifted[0], QRect(251, 164, 88, 23));

    // Exactly fitting line: the dialog still gains M, the button stays (S = 0).
    in.referenceWidth = 581;
    const NoticeLayoutResult same = ComputeNoticeLayout(NoticePlans::CompletionEnglish, in);
    EXPECT_EQ(same.dialogSize.width(), 613 + 15);
    EXPECT_EQ(same.shifted[0], in.shifted[0]);
}

TEST(NoticeLayout, EdgesAreTruncatedTowardZeroEachOnItsOwn)
{
    EXPECT_EQ(ShiftedEdge(12, -57, 8), -8);   // -8.5 -> -8, not -9
    EXPECT_EQ(ShiftedEdge(464, -57, 8), 443); // 443.5 -> 443
    EXPECT_EQ(ShiftedEdge(100, -7, 0), 96);   // 96.5 -> 96

    // So a control straddling zero keeps its left edge half a pixel further right.
    NoticeLayoutInput in = ConfirmationInput(-57);
    const NoticeLayoutResult out = ComputeNoticeLayout(NoticePlans::ConfirmationJapanese, in);
    EXPECT_EQ(out.shifted[2].left(), -8);
    EXPECT_EQ(out.shifted[2].left() + out.shifted[2].width(), 443);
}

TEST(NoticeLayout, ExtremeMeasurementsAreHeldToTheWidgetLimit)
{
    // Widths and corners at the ends of the int range once overflowed the sums; the results now
    // stop at Qt's widget size limit and keep their ordering.
    constexpr int kLimit = (1 << 24) - 1;
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    NoticeLayoutInput in;
    in.referenceWidth = kMax;
    in.formattingWidth = kMin;
    in.secondReferenceWidth = kMin;
    in.secondFormattingWidth = kMax;
    in.dialog = QRect(QPoint(kMin, kMin), QPoint(kMax, kMax));
    in.measured = QRect(QPoint(kMax, 0), QPoint(kMax, 10));
    in.secondMeasured = QRect(QPoint(0, 0), QPoint(kMax, 10));
    in.followers = {QRect(QPoint(kMin, 0), QPoint(kMin, 0)), QRect(12, 267, 481, 59)};
    in.shifted = {QRect(QPoint(kMax, 0), QPoint(kMax, 0)), QRect(QPoint(0, 0), QPoint(kMax, 0)),
                  QRect(152, 406, 88, 23)};
    const NoticeLayoutResult out = ComputeNoticeLayout(NoticePlans::CautionJapanese, in);

    EXPECT_EQ(out.dialogSize, QSize(kLimit, kLimit));
    EXPECT_EQ(out.measured.topLeft(), QPoint(kMax, 0));
    EXPECT_EQ(out.measured.right(), kLimit - 1);
    EXPECT_EQ(out.secondMeasured.right(), -kLimit - 1);
    for (const QRect& follower : out.followers)
        EXPECT_EQ(follower.right(), kLimit - 1);
    for (const QRect& shifted : out.shifted) {
        EXPECT_EQ(shifted.left(), kLimit);
        EXPECT_EQ(shifted.right(), kLimit - 1);
    }
    EXPECT_EQ(ShiftedEdge(kMax, kMax, kMax), kLimit);
    EXPECT_EQ(ShiftedEdge(kMin, kMin, kMin), -kLimit);
}

TEST(NoticeLayout, CautionFollowersEndAtMeasuredEdgeAndHeadingGrowsAlone)
{
    NoticeLayoutInput in;
    in.formattingWidth = 492;
    in.referenceWidth = 429; // g = -63
    in.secondFormattingWidth = 466;
    in.secondReferenceWidth = 404; // g2 = -62
    in.dialog = QRect(200, 100, 506, 442);
    in.measured = QRect(12, 228, 492, 39);
    in.secondMeasured = QRect(12, 215, 466, 20);
    in.followers = {QRect(12, 267, 481, 59), QRect(12, 314, 476, 42)};
    in.shifted = {QRect(152, 406, 88, 23), QRect(259, 406, 88, 23), QRect(12, 358, 480, 20)};
    const NoticeLayoutResult out = ComputeNoticeLayout(NoticePlans::CautionJapanese, in);

    EXPECT_EQ(out.dialogSize, QSize(506 - 63 + 10, 442));
    EXPECT_EQ(out.measured, QRect(12, 228, 429, 39));
    EXPECT_EQ(out.secondMeasured, QRect(12, 215, 404, 20));
    ASSERT_EQ(out.followers.size(), 2);
    for (const QRect& follower : out.followers) {
        EXPECT_EQ(follower.left(), 12);
        EXPECT_EQ(follower.left() + follower.width(), 12 + 429);
    }
    EXPECT_EQ(out.followers[1].top(), 314);
    // -31.5 + 5 = -26.5: the heading's growth plays no part.
    EXPECT_EQ(out.shifted[0], QRect(125, 406, 88, 23)); // 125.5 -> 125
    EXPECT_EQ(out.shifted[1], QRect(232, 406, 88, 23));
    EXPECT_EQ(out.shifted[2].left(), -14); // -14.5 -> -14
    EXPECT_EQ(out.shifted[2].left() + out.shifted[2].width(), 465); // 465.5 -> 465
}

TEST(NoticeLayout, ReferenceLinesAreTheWidestLinesOfTheirTexts)
{
    struct Case {
        const char* referenceLine;
        quint16 textId;
        quint16 language;
    };
    const Case cases[] = {
        {NoticePlans::CautionJapanese.referenceLine, IDS_CAUTION_RISK, LanguageJapanese},
        {NoticePlans::CautionJapanese.secondReferenceLine, IDS_CAUTION_HEADING, LanguageJapanese},
        {NoticePlans::ConfirmationJapanese.referenceLine, IDS_CONFIRM_LATER, LanguageJapanese},
        {NoticePlans::CompletionEnglish.referenceLine, IDS_COMPLETE_TEXT, LanguageEnglishUs},
        {NoticePlans::CompletionJapanese.referenceLine, IDS_COMPLETE_TEXT, LanguageJapanese},
    };
    QFont font = QApplication::font();
    font.setPointSize(8);
    const QFontMetrics metrics(font);
    for (const Case& c : cases) {
        const QString reference = QString::fromUtf8(c.referenceLine);
        SCOPED_TRACE(reference.toStdString());
        QStringList lines = LoadText(c.textId, c.language).split(QStringLiteral("\r\n"));
        for (QString& line : lines) // the heading's trailing ideographic spaces are not measured
            while (line.endsWith(QChar(0x3000)))
                line.chop(1);
        EXPECT_TRUE(lines.contains(reference));
        for (const QString& line : lines)
            EXPECT_GE(metrics.horizontalAdvance(reference), metrics.horizontalAdvance(line));
    }
}

TEST(DialogUnits, ConvertsByLetterAverageAndHeightWithRounding)
{
    QFont font = QApplication::font();
    font.setPointSize(8);
    const CDialogUnits units(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(units.BaseY(), metrics.height());
    ASSERT_GT(units.BaseX(), 0);
    // The base is the average letter width rounded to the nearest pixel.
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_LE(std::abs(units.BaseX() * 52 - letters), 26);

    EXPECT_EQ(units.ToPixelsX(4), units.BaseX());
    EXPECT_EQ(units.ToPixelsY(8), units.BaseY());
    EXPECT_EQ(units.ToPixelsX(0), 0);
    // Half a pixel rounds up, as the template conversion does: 7 * base / 4.
    const int sevenQuarters = 7 * units.BaseX();
    EXPECT_EQ(units.ToPixelsX(7), (sevenQuarters + 2) / 4);
    EXPECT_EQ(units.ToPixelsX(-7), -((sevenQuarters + 2) / 4));
    const QRect r = units.ToPixels(7, 132, 266, 12);
    EXPECT_EQ(r, QRect(units.ToPixelsX(7), units.ToPixelsY(132), units.ToPixelsX(266), units.ToPixelsY(12)));
}

} // namespace

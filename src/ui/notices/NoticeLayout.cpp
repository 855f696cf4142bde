// Notice-layout arithmetic and the table of its instances.
#include "ui/notices/NoticeLayout.h"

namespace NoticePlans {

// Each reference line is the longest line of the text its control shows in that language.
const NoticeLayoutPlan CautionJapanese{
    IDC_CAUTION_RISK,
    u8"予め、ホームページ，説明書に記載されている手順，注意事項を十分にお読み下さい。",
    10,
    5,
    {IDOK, IDCANCEL, IDC_CAUTION_QUESTION},
    {IDC_CAUTION_RESPONSIBILITY, IDC_CAUTION_SETTINGS_LOST},
    IDC_CAUTION_HEADING,
    // The heading without its five trailing ideographic spaces.
    u8"ZerlindのCPU、DSPのファームウェア（制御プログラム）の書換えを行います。",
};

const NoticeLayoutPlan ConfirmationJapanese{
    IDC_CONFIRM_LATER,
    u8"この際にも、通常の動作画面が現れるまでは、絶対に電源を切らないで下さい。",
    15,
    8,
    {IDOK, IDCANCEL, IDC_CONFIRM_QUESTION},
    {},
};

const NoticeLayoutPlan CompletionEnglish{
    IDC_COMPLETE_TEXT,
    "The sub CPU and/or DSP firmware update will start automatically depending on the updated "
    "contents,",
    15,
    0,
    {IDOK},
    {},
};

const NoticeLayoutPlan CompletionJapanese{
    IDC_COMPLETE_TEXT,
    u8"アップデート内容によっては、再度電源ON後、引き続きサブCPU，DSPのファームウェアの書換えを行います。",
    15,
    8,
    {IDOK},
    {},
};

} // namespace NoticePlans

namespace {

// No window or control is wider, or further out, than Qt's widget size limit. Results are held
// to it, so measurements from a broken font or screen can neither overflow nor ask the window
// system for an edge it cannot hold.
constexpr qint64 kCoordinateLimit = (qint64(1) << 24) - 1;

int Clamped(qint64 value)
{
    return int(qBound(-kCoordinateLimit, value, kCoordinateLimit));
}

// The width from the corners themselves: QRect's own width() is int arithmetic and overflows
// for corners far apart.
qint64 WidthOf(const QRect& rect)
{
    return qint64(rect.right()) - rect.left() + 1;
}

// `rect` with its left edge and its top and bottom kept and its right edge just before
// `rightExclusive`.
QRect EndingAt(const QRect& rect, qint64 rightExclusive)
{
    return QRect(rect.topLeft(), QPoint(Clamped(rightExclusive) - 1, rect.bottom()));
}

QRect WidenedBy(const QRect& rect, qint64 growth)
{
    return EndingAt(rect, rect.left() + WidthOf(rect) + growth);
}

QRect Shifted(const QRect& rect, qint64 growth, int shift)
{
    const int left = ShiftedEdge(rect.left(), growth, shift);
    const int right = ShiftedEdge(Clamped(rect.left() + WidthOf(rect)), growth, shift);
    return QRect(QPoint(left, rect.top()), QPoint(right - 1, rect.bottom()));
}

} // namespace

int ShiftedEdge(int edge, qint64 growth, int shift)
{
    // Every term is a multiple of one half, so the double is exact; the cast truncates.
    const double moved = edge + growth / 2.0 + shift;
    return int(qBound(double(-kCoordinateLimit), moved, double(kCoordinateLimit)));
}

NoticeLayoutResult ComputeNoticeLayout(const NoticeLayoutPlan& plan, const NoticeLayoutInput& in)
{
    NoticeLayoutResult out;
    const qint64 growth = qint64(in.referenceWidth) - in.formattingWidth;

    out.dialogSize = QSize(Clamped(WidthOf(in.dialog) + growth + plan.margin),
                           Clamped(qint64(in.dialog.bottom()) - in.dialog.top() + 1));
    out.measured = WidenedBy(in.measured, growth);

    if (plan.secondMeasuredId != 0)
        out.secondMeasured = WidenedBy(in.secondMeasured,
                                       qint64(in.secondReferenceWidth) - in.secondFormattingWidth);

    const qint64 newRight = qint64(out.measured.right()) + 1;
    for (const QRect& follower : in.followers)
        out.followers.append(EndingAt(follower, newRight));

    for (const QRect& shifted : in.shifted)
        out.shifted.append(Shifted(shifted, growth, plan.shift));
    return out;
}

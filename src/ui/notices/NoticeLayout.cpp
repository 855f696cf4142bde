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

int ShiftedEdge(int edge, int growth, int shift)
{
    // Every term is a multiple of one half, so the double is exact; the cast truncates.
    return static_cast<int>(edge + growth / 2.0 + shift);
}

namespace {

QRect WidenedBy(QRect rect, int growth)
{
    rect.setWidth(rect.width() + growth);
    return rect;
}

QRect EndingAt(QRect rect, int rightExclusive)
{
    rect.setWidth(rightExclusive - rect.left());
    return rect;
}

QRect Shifted(const QRect& rect, int growth, int shift)
{
    const int left = ShiftedEdge(rect.left(), growth, shift);
    const int right = ShiftedEdge(rect.left() + rect.width(), growth, shift);
    return QRect(left, rect.top(), right - left, rect.height());
}

} // namespace

NoticeLayoutResult ComputeNoticeLayout(const NoticeLayoutPlan& plan, const NoticeLayoutInput& in)
{
    NoticeLayoutResult out;
    const int growth = in.referenceWidth - in.formattingWidth;

    out.dialogSize = QSize(in.dialog.width() + growth + plan.margin, in.dialog.height());
    out.measured = WidenedBy(in.measured, growth);

    if (plan.secondMeasuredId != 0)
        out.secondMeasured =
            WidenedBy(in.secondMeasured, in.secondReferenceWidth - in.secondFormattingWidth);

    const int newRight = out.measured.left() + out.measured.width();
    for (const QRect& follower : in.followers)
        out.followers.append(EndingAt(follower, newRight));

    for (const QRect& shifted : in.shifted)
        out.shifted.append(Shifted(shifted, growth, plan.shift));
    return out;
}

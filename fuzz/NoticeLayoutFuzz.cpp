// The notice-layout arithmetic with any numbers: widths, dialog and control rectangles at any
// position and size, for each of the plans the notices use.
#include "FuzzInput.h"

#include "ui/notices/NoticeLayout.h"

#include <cstdint>

namespace {

const NoticeLayoutPlan* const kPlans[] = {
    &NoticePlans::CautionJapanese,
    &NoticePlans::ConfirmationJapanese,
    &NoticePlans::CompletionEnglish,
    &NoticePlans::CompletionJapanese,
};

// The rectangle between two corners, each coordinate anything; Qt stores the corners as given.
QRect AnyRect(CFuzzInput& input)
{
    const int left = input.I32();
    const int top = input.I32();
    const int right = input.I32();
    const int bottom = input.I32();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QVector<QRect> AnyRects(CFuzzInput& input, qsizetype count)
{
    QVector<QRect> rects;
    for (qsizetype i = 0; i < count; ++i)
        rects.append(AnyRect(input));
    return rects;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const NoticeLayoutPlan& plan = *kPlans[input.Byte() % std::size(kPlans)];

    NoticeLayoutInput in;
    in.referenceWidth = input.I32();
    in.formattingWidth = input.I32();
    in.secondReferenceWidth = input.I32();
    in.secondFormattingWidth = input.I32();
    in.dialog = AnyRect(input);
    in.measured = AnyRect(input);
    in.secondMeasured = AnyRect(input);
    in.followers = AnyRects(input, plan.followerIds.size());
    in.shifted = AnyRects(input, plan.shiftedIds.size());

    const NoticeLayoutResult out = ComputeNoticeLayout(plan, in);
    FUZZ_CHECK(out.followers.size() == plan.followerIds.size());
    FUZZ_CHECK(out.shifted.size() == plan.shiftedIds.size());
    // Only widths change: the measured control keeps its top-left corner.
    FUZZ_CHECK(out.measured.left() == in.measured.left() && out.measured.top() == in.measured.top());

    (void)ShiftedEdge(input.I32(), input.I32(), input.I32());
    return 0;
}

// The notice-layout arithmetic: how far a notice dialog and its controls move so that one
// reference line fits its control. Pure numbers and rectangles; the window side is CNoticeDialog.
#pragma once

#include <QRect>
#include <QSize>
#include <QVector>

// The two buttons; a Windows build may already have these from its own headers.
#ifndef IDOK
enum : int { IDOK = 1, IDCANCEL = 2 };
#endif

// Dialog-item identifiers of the notice texts.
enum NoticeItemId : int {
    IDC_CAUTION_HEADING = 1028,
    IDC_CAUTION_RISK = 1029,
    IDC_CAUTION_RESPONSIBILITY = 1030,
    IDC_CAUTION_SETTINGS_LOST = 1031,
    IDC_CAUTION_BACKUP = 1032,
    IDC_CAUTION_QUESTION = 1033,
    IDC_COMPLETE_TEXT = 1038,
    IDC_CONFIRM_FIRST = 1039,
    IDC_NOTICE_POWER = 1040, // the red line of both the confirmation and the completion
    IDC_CONFIRM_LATER = 1041,
    IDC_CONFIRM_QUESTION = 1042,
};

// One instance of the pass. `second*` describe the caution's heading, widened on its own.
struct NoticeLayoutPlan {
    int measuredId;
    const char* referenceLine; // UTF-8, one line
    int margin;                // M: added to the dialog's width on top of the growth
    int shift;                 // S: added to half the growth when shifting
    QVector<int> shiftedIds;   // moved right, in this order
    QVector<int> followerIds;  // right edge set to the measured control's new right edge
    int secondMeasuredId = 0;  // 0: none
    const char* secondReferenceLine = nullptr;
};

namespace NoticePlans {
extern const NoticeLayoutPlan CautionJapanese;
extern const NoticeLayoutPlan ConfirmationJapanese;
extern const NoticeLayoutPlan CompletionEnglish;
extern const NoticeLayoutPlan CompletionJapanese;
} // namespace NoticePlans

// Rectangles are in pixels; the dialog's in screen coordinates, the controls' in its client
// coordinates. Lists are parallel to the plan's id lists.
struct NoticeLayoutInput {
    int referenceWidth = 0;  // w
    int formattingWidth = 0; // f
    int secondReferenceWidth = 0;  // w2
    int secondFormattingWidth = 0; // f2
    QRect dialog;
    QRect measured;
    QRect secondMeasured;
    QVector<QRect> followers;
    QVector<QRect> shifted;
};

struct NoticeLayoutResult {
    QSize dialogSize; // the dialog keeps its top-left corner
    QRect measured;
    QRect secondMeasured;
    QVector<QRect> followers;
    QVector<QRect> shifted;
};

// Any numbers are safe: edges and sizes of the result are held to Qt's widget size limit.
NoticeLayoutResult ComputeNoticeLayout(const NoticeLayoutPlan& plan, const NoticeLayoutInput& in);

// One edge moved by half the growth plus S: the half is kept until the end and the fraction is
// then dropped toward zero (so an edge at -8.5 lands on -8, not -9).
int ShiftedEdge(int edge, qint64 growth, int shift);

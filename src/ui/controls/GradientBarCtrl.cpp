// The gradient progress bar's sweep and painting.
#include "ui/controls/GradientBarCtrl.h"

#include "ui/controls/GradientBarAccessible.h"

#include <QAccessible>
#include <QMetaObject>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

constexpr COLORREF kDefaultBarColor = ColorRef(0, 0, 128);

// One move of a position by `step` towards `maximum` (upwards) or 0, stopping at the end.
// Sums are taken wider than int, so no step size can overflow them.
int Advance(int position, int step, int maximum, bool downwards)
{
    const qint64 moved = downwards ? qint64(position) - step : qint64(position) + step;
    if (downwards)
        return moved > 0 ? int(moved) : 0;
    return moved < maximum ? int(moved) : maximum;
}

// The head's first position after a reversal, one step away from the end it leaves.
int StepAwayFrom(int end, int step, bool fromTop)
{
    const qint64 head = fromTop ? qint64(end) - step : qint64(end) + step;
    return int(std::clamp<qint64>(head, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

CGradientBarCtrl::CGradientBarCtrl(QWidget* parent)
    : QWidget(parent)
    , m_crBackground(SysColorBtnFace())
    , m_crBar(kDefaultBarColor)
    , m_crFade(SysColorBtnFace())
    , m_crRightEnd(kDefaultBarColor)
    , m_crLeftEnd(m_crFade.load())
{
    CGradientBarAccessible::Install();
}

void CGradientBarCtrl::SetColors(COLORREF crBack, COLORREF crBar)
{
    m_crFade = crBack;
    m_crLeftEnd = crBack;
    m_crBar = crBar;
    m_crRightEnd = crBar;
}

void CGradientBarCtrl::Reset()
{
    if (m_bDownwards) {
        m_crLeftEnd = m_crFade.load();
        m_crRightEnd = m_crBar.load();
    }
    m_bDownwards = false;
    m_nHead = 0;
    m_nTail = 0;
    m_bAtEnd = false;
    RequestRepaint();
}

int CGradientBarCtrl::StepIt()
{
    // One thread steps at a time, so working on copies and storing them back is safe.
    const int step = m_nStep;
    const int maximum = m_nMaximum;
    const int segment = m_nSegment;
    const bool downwards = m_bDownwards;
    bool atEnd = m_bAtEnd;
    int head = m_nHead;
    int tail = m_nTail;

    const int end = downwards ? 0 : maximum;
    const auto headBeforeEnd = [&] { return downwards ? head > 0 : head < maximum; };
    const auto tailBeforeEnd = [&] { return downwards ? tail > 0 : tail < maximum; };
    // The tail waits until the head is a segment away from its starting end.
    const auto advanceTail = [&] {
        const int travelled = downwards ? maximum - head : head;
        if (!atEnd && travelled < segment)
            return;
        tail = Advance(tail, step, maximum, downwards);
    };

    if (headBeforeEnd()) {
        head = Advance(head, step, maximum, downwards);
        advanceTail();
    } else if (!atEnd) {
        head = end;            // the pause step at the end: nothing moves
        atEnd = true;
    } else if (tailBeforeEnd()) {
        tail = Advance(tail, step, maximum, downwards);
    } else {
        // Reverse: the bar leaves the end it ran into, its colours swap sides.
        tail = end;
        head = StepAwayFrom(end, step, !downwards);
        atEnd = false;
        m_crLeftEnd = downwards ? m_crFade.load() : m_crBar.load();
        m_crRightEnd = downwards ? m_crBar.load() : m_crFade.load();
        m_bDownwards = !downwards;
    }

    m_nHead = head;
    m_nTail = tail;
    m_bAtEnd = atEnd;
    RequestRepaint();
    return head;
}

int CGradientBarCtrl::Percent() const
{
    const qint64 maximum = m_nMaximum;
    const qint64 head = m_nHead;
    if (maximum <= 0)
        return 0;
    return int(std::clamp<qint64>(head * 100 / maximum, 0, 100));
}

bool CGradientBarCtrl::Sweeping() const
{
    return m_nSegment < m_nMaximum && (m_nHead != 0 || m_nTail != 0 || m_bDownwards || m_bAtEnd);
}

GradientBarPicture CGradientBarCtrl::Picture() const
{
    GradientBarPicture picture;
    picture.head = m_nHead;
    picture.tail = m_nTail;
    picture.maximum = m_nMaximum;
    picture.downwards = m_bDownwards;
    picture.crBackground = m_crBackground;
    picture.crLeftEnd = m_crLeftEnd;
    picture.crRightEnd = m_crRightEnd;
    return picture;
}

void CGradientBarCtrl::RequestRepaint()
{
    if (m_bRepaintPending.exchange(true))
        return;
    // Invoked by name, so the queued call is built wholly inside Qt.
    std::lock_guard<std::mutex> lock(m_mutexRequest);
    QMetaObject::invokeMethod(this, "RepaintNow", Qt::QueuedConnection);
}

void CGradientBarCtrl::RepaintNow()
{
    {
        // The poster of this request has left its lock (see m_mutexRequest).
        std::lock_guard<std::mutex> lock(m_mutexRequest);
    }
    // Cleared before the update, so a step after this point posts a request of its own.
    m_bRepaintPending = false;
    update();
    const int percent = Sweeping() ? -2 : Percent();
    if (percent != m_nToldPercent && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, percent < 0 ? 0 : percent);
        QAccessible::updateAccessibility(&event);
    }
    m_nToldPercent = percent;
}

void CGradientBarCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintGradientBar(painter, rect(), Picture());
}

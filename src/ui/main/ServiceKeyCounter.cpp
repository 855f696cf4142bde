#include "ServiceKeyCounter.h"

CServiceKeyCounter::Action CServiceKeyCounter::KeyDown()
{
    // Saturates instead of wrapping, so the hidden state is final even after 2^32 presses.
    if (m_nCount < kHideAt)
        ++m_nCount;
    else
        return Action::None;
    if (m_nCount == kShowAt)
        return Action::ShowFileControls;
    if (m_nCount == kHideAt)
        return Action::HideFileControls;
    return Action::None;
}

CServiceKeyCounter& CServiceKeyCounter::Process()
{
    static CServiceKeyCounter counter;
    return counter;
}

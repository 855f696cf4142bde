// The service key (F11) counter: the file controls appear on its fourth key-down since the
// program started and go again on the seventh, for good.
#pragma once

class CServiceKeyCounter {
public:
    enum class Action {
        None,
        ShowFileControls,
        HideFileControls,
    };

    // Counts one key-down (auto-repeat included) and says what it does.
    Action KeyDown();
    unsigned Count() const { return m_nCount; }

    // The one counter of the process, shared by every window.
    static CServiceKeyCounter& Process();

private:
    static constexpr unsigned kShowAt = 4;
    static constexpr unsigned kHideAt = 7;

    unsigned m_nCount = 0;
};

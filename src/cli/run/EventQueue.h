// The queue between the radios' threads and the one writer: pushing never waits on output, and
// while the writer lags (a paused terminal, a slow pipe) a radio's progress events are folded
// into its latest one, so the queue holds a bounded number of events per radio.
#pragma once

#include "FleetEvent.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

class EventQueue {
public:
    explicit EventQueue(int radios);

    void Push(FleetEvent event);
    // Moves every queued event to `events`, waiting up to `waitMs` for the first one. False once
    // the queue is closed and empty: the writer is done.
    bool Take(std::deque<FleetEvent>& events, int waitMs);
    // No more events will come.
    void Close();

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<FleetEvent> m_events;
    qint64 m_firstSeq = 0;                 // sequence number of m_events.front()
    std::vector<qint64> m_pendingProgress; // per radio: the sequence number of its queued progress, or -1
    bool m_closed = false;
};

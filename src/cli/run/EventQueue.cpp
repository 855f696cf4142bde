#include "EventQueue.h"

#include <chrono>

EventQueue::EventQueue(int radios) : m_pendingProgress(size_t(qMax(radios, 0)), -1) {}

void EventQueue::Push(FleetEvent event)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const bool perRadio = event.radio >= 0 && size_t(event.radio) < m_pendingProgress.size();
        if (perRadio && event.kind == FleetEvent::Kind::Progress) {
            qint64& pending = m_pendingProgress[size_t(event.radio)];
            // Still waiting, with nothing of this radio behind it: the newer figure replaces it.
            if (pending >= m_firstSeq) {
                m_events[size_t(pending - m_firstSeq)] = std::move(event);
                return;
            }
            pending = m_firstSeq + qint64(m_events.size());
        } else if (perRadio) {
            // Progress queued before this event must stay before it.
            m_pendingProgress[size_t(event.radio)] = -1;
        }
        m_events.push_back(std::move(event));
    }
    m_ready.notify_one();
}

bool EventQueue::Take(std::deque<FleetEvent>& events, int waitMs)
{
    events.clear();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_ready.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !m_events.empty() || m_closed; });
    m_firstSeq += qint64(m_events.size());
    events.swap(m_events);
    m_events.clear();
    return !(m_closed && events.empty());
}

void EventQueue::Close()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_ready.notify_all();
}

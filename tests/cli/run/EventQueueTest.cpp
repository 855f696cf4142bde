// The queue between the radios' threads and the writer: a radio's progress folds into its latest
// figure while nobody takes, and every other event keeps its place.
#include "cli/run/EventQueue.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(EventQueue, ProgressFoldedInPlaceOrderKept)
{
    EventQueue queue(2);
    const auto push = [&](FleetEvent::Kind kind, int radio, quint64 bytes) {
        FleetEvent event;
        event.kind = kind;
        event.radio = radio;
        event.bytes = bytes;
        queue.Push(event);
    };
    // While nobody takes: radio 0's figures fold into one, but not across its status line.
    push(FleetEvent::Kind::Status, 0, 0);
    for (quint64 bytes = 1; bytes <= 1000; ++bytes) {
        push(FleetEvent::Kind::Progress, 0, bytes);
        push(FleetEvent::Kind::Progress, 1, bytes * 2);
    }
    push(FleetEvent::Kind::Status, 0, 0);
    push(FleetEvent::Kind::Progress, 0, 2000);
    push(FleetEvent::Kind::Result, 1, 0);
    std::deque<FleetEvent> events;
    ASSERT_TRUE(queue.Take(events, 0));
    QStringList seen;
    for (const FleetEvent& e : events)
        seen << QStringLiteral("%1:%2:%3").arg(int(e.kind)).arg(e.radio).arg(e.bytes);
    const auto S = [](FleetEvent::Kind kind, int radio, quint64 bytes) {
        return QStringLiteral("%1:%2:%3").arg(int(kind)).arg(radio).arg(bytes);
    };
    EXPECT_EQ(seen, QStringList({S(FleetEvent::Kind::Status, 0, 0), S(FleetEvent::Kind::Progress, 0, 1000),
                                 S(FleetEvent::Kind::Progress, 1, 2000), S(FleetEvent::Kind::Status, 0, 0),
                                 S(FleetEvent::Kind::Progress, 0, 2000), S(FleetEvent::Kind::Result, 1, 0)}));
    // Once taken, a figure is news again, also for radio 0, whose last one was taken unfolded.
    push(FleetEvent::Kind::Progress, 1, 3000);
    push(FleetEvent::Kind::Progress, 0, 2500);
    queue.Close();
    ASSERT_TRUE(queue.Take(events, 0));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events.front().bytes, 3000u);
    EXPECT_EQ(events.back().bytes, 2500u);
    EXPECT_FALSE(queue.Take(events, 0));
}

} // namespace

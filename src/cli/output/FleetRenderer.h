// One way of showing a run's event stream: text lines, JSON Lines, the progress block of a
// terminal. The writer thread hands every event to each renderer in turn.
#pragma once

#include "cli/run/FleetEvent.h"

class FleetRenderer {
public:
    virtual ~FleetRenderer() = default;
    virtual void Render(const FleetEvent& event) = 0;
    // Time passed without an event: what moves by itself (seconds, time left) may be redrawn.
    virtual void Tick() {}
};

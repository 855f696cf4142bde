// One way of showing a run's event stream: text lines, JSON Lines, the progress block of a
// terminal, and the files a run leaves. The writer thread hands every event to each renderer in turn.
#pragma once

#include "cli/run/FleetEvent.h"

class FleetRenderer {
public:
    virtual ~FleetRenderer() = default;
    virtual void Render(const FleetEvent& event) = 0;
    // Time passed without an event: what moves by itself (seconds, time left) may be redrawn.
    virtual void Tick() {}
    // What could not be written, "PATH: reason"; empty while all is well.
    virtual QString WriteError() const { return {}; }
};

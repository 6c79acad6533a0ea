#pragma once

namespace dotvane {

// Lets the window handle the events that are waiting, so its timers keep
// running while a network wait goes on.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessMessages() = 0;
};

}  // namespace dotvane

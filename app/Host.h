#pragma once

#include "base/EventPump.h"
#include "base/Notices.h"
#include "base/Timer.h"

#include <cstdint>
#include <memory>
#include <string>

namespace dotvane {

// What the program's logic needs from the place it runs in: messages and
// the status line, the event pump for network waits, the desktop's "open"
// of an address, and timers. Each shell provides the real one; tests use
// a recording host. Code below the window is handed only the narrow parts it
// needs (Notices, EventPump).
class Host : public Notices, public EventPump {
public:
    virtual void OpenUrl(const std::string& address) = 0;
    // A timer with the given period, enabled, without a handler yet.
    virtual std::unique_ptr<Timer> CreateTimer(int32_t interval) = 0;
};

}  // namespace dotvane

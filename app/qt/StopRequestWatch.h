#pragma once

#include "platform/StopRequests.h"

#include <functional>
#include <memory>

class QSocketNotifier;

namespace dotvane {

// Watches the system's requests to end the program on the Qt event loop,
// and calls `stop` when one came in: the work a signal asks for is done
// here, outside its handler. A request that came in before the watch began
// is seen as soon as the event loop runs.
class StopRequestWatch {
public:
    StopRequestWatch(platform::StopRequests& requests, std::function<void()> stop);
    ~StopRequestWatch();
    StopRequestWatch(const StopRequestWatch&) = delete;
    StopRequestWatch& operator=(const StopRequestWatch&) = delete;

private:
    platform::StopRequests& requests_;
    std::function<void()> stop_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace dotvane

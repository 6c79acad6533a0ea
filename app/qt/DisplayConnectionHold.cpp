#include "app/qt/DisplayConnectionHold.h"

#include <xcb/xcb.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

namespace dotvane {
namespace {

constexpr std::chrono::milliseconds kRetryPause{100};

bool Named(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

bool QtConnectsToX11(const std::function<const char*(const char*)>& lookup)
{
    if (!Named(lookup("DISPLAY"))) return false;
    const char* platform = lookup("QT_QPA_PLATFORM");
    if (Named(platform)) return std::string_view(platform).starts_with("xcb");
    return !Named(lookup("WAYLAND_DISPLAY"));
}

DisplayConnectionHold::DisplayConnectionHold(std::chrono::milliseconds patience,
                                             const std::function<bool()>& stopRequested)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const std::optional<xcb_connection_t*> made = Attempt(deadline, stopRequested);
        if (!made) {
            unanswered_ = std::chrono::steady_clock::now() >= deadline;
            return;
        }
        if (xcb_connection_has_error(*made) == 0) {
            connection_ = *made;
            return;
        }
        xcb_disconnect(*made);
        if (stopRequested() || std::chrono::steady_clock::now() + kRetryPause > deadline) return;
        std::this_thread::sleep_for(kRetryPause);
    }
}

std::optional<xcb_connection_t*> DisplayConnectionHold::Attempt(std::chrono::steady_clock::time_point deadline,
                                                                const std::function<bool()>& stopRequested)
{
    // xcb_connect waits for the server's answer as long as the server takes,
    // and a server that accepts and never answers would hold the program
    // for good: the attempt runs on a thread of its own, which is left to
    // itself when the time is up or a stop is requested.
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<xcb_connection_t*> made;
        bool abandoned = false;
    };
    const auto shared = std::make_shared<Shared>();
    std::thread([shared] {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        const std::lock_guard lock(shared->mutex);
        if (shared->abandoned) return xcb_disconnect(connection);
        shared->made = connection;
        shared->done.notify_one();
    }).detach();
    std::unique_lock lock(shared->mutex);
    const auto made = [&] { return shared->made.has_value(); };
    while (!shared->done.wait_for(lock, kRetryPause, made)) {
        if (stopRequested() || std::chrono::steady_clock::now() >= deadline) {
            shared->abandoned = true;
            return std::nullopt;
        }
    }
    return shared->made;
}

DisplayConnectionHold::~DisplayConnectionHold()
{
    if (connection_ != nullptr) xcb_disconnect(connection_);
}

}  // namespace dotvane

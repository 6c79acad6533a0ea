#include "app/qt/DisplayConnectionHold.h"

#include <xcb/xcb.h>

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
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection) == 0) {
            connection_ = connection;
            return;
        }
        xcb_disconnect(connection);
        if (stopRequested() || std::chrono::steady_clock::now() + kRetryPause > deadline) return;
        std::this_thread::sleep_for(kRetryPause);
    }
}

DisplayConnectionHold::~DisplayConnectionHold()
{
    if (connection_ != nullptr) xcb_disconnect(connection_);
}

}  // namespace dotvane

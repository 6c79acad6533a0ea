#pragma once

#include <chrono>
#include <functional>
#include <optional>

struct xcb_connection_t;

namespace dotvane {

// How long the program keeps trying an X server that does not let it
// connect before it lets Qt try, and give up, once more.
inline constexpr std::chrono::milliseconds kDisplayServerPatience{3000};

// Whether Qt is to connect to an X server: DISPLAY is set, and
// QT_QPA_PLATFORM names xcb, or names nothing while WAYLAND_DISPLAY does
// not name a Wayland display either. `lookup` gives a variable's value,
// nullptr when it is not set.
bool QtConnectsToX11(const std::function<const char*(const char*)>& lookup);

// A connection of the program's own to the X server that DISPLAY names,
// made before Qt makes its own and held while Qt does. An X server that
// has just lost its last client resets itself, and drops every connection
// that is still being set up meanwhile (Xvfb and Xorg do, unless started
// with -noreset); a server that is starting may not accept one yet. The
// hold tries again every 100 ms for a while, and while it holds its
// connection the server has a client and does not reset under Qt's. A
// server that takes the connection and never answers is given up on when
// the patience runs out, as one that refuses it.
class DisplayConnectionHold {
public:
    // Tries until a connection is made, `patience` has passed, or
    // `stopRequested` says to give up.
    DisplayConnectionHold(std::chrono::milliseconds patience, const std::function<bool()>& stopRequested);
    ~DisplayConnectionHold();
    DisplayConnectionHold(const DisplayConnectionHold&) = delete;
    DisplayConnectionHold& operator=(const DisplayConnectionHold&) = delete;

    bool Connected() const { return connection_ != nullptr; }
    // Whether the server took the last connection and did not answer it in
    // time: Qt, which would wait for its answer for good, is not to try.
    bool Unanswered() const { return unanswered_; }

private:
    // One try at a connection, given up at `deadline` or on a stop request
    // (nullopt); the connection may carry an error.
    static std::optional<xcb_connection_t*> Attempt(std::chrono::steady_clock::time_point deadline,
                                                    const std::function<bool()>& stopRequested);

    xcb_connection_t* connection_ = nullptr;
    bool unanswered_ = false;
};

}  // namespace dotvane

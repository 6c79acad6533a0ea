#pragma once

#include <QtGlobal>

#include <functional>

namespace dotvane {

// The line a program that is to show its window writes where no display
// server can be reached.
inline constexpr const char* kNoDisplayServer =
    "Dotvane: no display server can be reached (DISPLAY, WAYLAND_DISPLAY); use --headless to run without a window";

// Whether the environment names a place for windows: a display server in
// DISPLAY or WAYLAND_DISPLAY, or a Qt platform of its own choice in
// QT_QPA_PLATFORM (some need no server at all). `lookup` gives a
// variable's value, nullptr when it is not set.
bool DisplayServerNamed(const std::function<const char*(const char*)>& lookup);

// While it lives, Qt's giving up because its platform cannot start (no
// display server it can reach, access refused) ends the program with the
// line above and exit status 2, instead of an abort. Qt's other messages
// go on to the notice log's route (QtMessageRoute::Pass). It is meant for
// the making of the application object, where Qt reaches the display
// server first.
class EndWithoutDisplayServer {
public:
    EndWithoutDisplayServer();
    ~EndWithoutDisplayServer();
    EndWithoutDisplayServer(const EndWithoutDisplayServer&) = delete;
    EndWithoutDisplayServer& operator=(const EndWithoutDisplayServer&) = delete;

private:
    QtMessageHandler previous_;
};

}  // namespace dotvane

#pragma once

namespace dotvane {

// The two ways the program runs, each until it ends, giving its exit
// status. `program` is the name it was started by, for Qt.

// With its window, tray icon and virtual display. Where no display server
// can be reached it says so in one line and gives exit status 2.
int RunWithWindow(char* program);

// Without a window, on Qt's platform that draws into memory only, so no
// display server is needed; messages and status-line texts go to standard
// error.
int RunHeadless(char* program);

}  // namespace dotvane

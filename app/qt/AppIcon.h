#pragma once

#include <QIcon>

namespace dotvane {

// The picture of the tray icon and the window: a small yellow LCD.
QIcon DotvaneIcon();

}  // namespace dotvane

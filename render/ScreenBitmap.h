#pragma once

#include <string>

namespace dotvane {

// Sends a screen's bitmap to the selected controller once per showing: on
// the T6963C dithered by brightness into the graphic layer, on the KS0108
// from its fixed one-bit file. A file that cannot be read shows
// "Could not load or display bitmap " with its name.
void ShowScreenBitmap(const std::string& fileName);

}  // namespace dotvane

#pragma once

#include <string>

namespace dotvane {

// Draws the current screen's graphic elements in index order: bars and font
// texts through the selected controller (which also paints them into the
// virtual display), graphs into the virtual display alone.
void DrawGraphics();
void DrawGraphicElement(const std::string& descriptor);

}  // namespace dotvane

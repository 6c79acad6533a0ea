#include "render/Renderer.h"

#include <algorithm>

namespace dotvane {

Renderer::Renderer(RenderState state, Display& display, const VariableContext& variables, Notices& notices)
    : state_(state), display_(display), variables_(variables), notices_(notices)
{
}

const ScreenEntry& Renderer::CurrentEntry() const
{
    return state_.ScreenTable[static_cast<size_t>(std::clamp(state_.CurrentScreen, 0, ScreenCount - 1))];
}

}  // namespace dotvane

#include "render/RefreshCycle.h"

#include "render/Renderer.h"

#include "platform/RefreshTick.h"

#include <algorithm>

namespace dotvane {

SplitText SplitLine(std::string_view text, int columns)
{
    const size_t c = static_cast<size_t>(std::max(columns, 2));
    if (text.size() <= c - 1) return {text, {}, false};
    std::string_view tail = text.substr(c - 1);
    if (tail.size() >= c) tail = tail.substr(0, c - 2);
    return {text.substr(0, c - 1), tail, true};
}

void Renderer::ForgetShownText()
{
    for (std::string& row : state_.ShownText) row.clear();
}

void Renderer::RefreshScreen()
{
    const auto refreshing = refreshing_.Enter();
    if (!refreshing) return;
    // Every refresh is a tick of the sources, also one of a screen change.
    const platform::RefreshTick tick;

    const TMainSettings& settings = state_.MainSettings;
    if (state_.WindowShown) PrepareVirtualDisplay();

    RowTexts& LineText = state_.LineText;
    RowTexts& ShownText = state_.ShownText;
    const int rows = std::clamp(settings.LCD.TextRows, 0, kRowCount);
    const ScreenEntry& screen = CurrentEntry();
    ExpansionBudget budget(settings);
    for (int k = 0; k < rows; ++k) LineText[k] = ExpandLine(screen.Line[k], variables_, budget);
    // A screen over the caps is told once, not at every refresh.
    if (budget.Cut() && cutScreenTold_ != state_.CurrentScreen) {
        cutScreenTold_ = state_.CurrentScreen;
        notices_.SetStatusText(ExpansionBudget::CutNotice(state_.CurrentScreen));
    }

    for (int k = 0; k < rows; ++k) {
        if (LineText[k] == ShownText[k]) continue;
        const SplitText split = SplitLine(LineText[k], settings.LCD.TextColumns);
        display_.SetTextPosition(0, k);
        display_.WriteText(split.head);
        if (split.hasTail) {
            display_.SetTextPosition(1, k + 1);
            display_.WriteText(split.tail);
        }
    }
    for (int k = 0; k < rows; ++k) ShownText[k] = LineText[k];

    DrawIcons();
    DrawGraphics();

    if (state_.WindowShown) {
        DrawVirtualText();
        PresentVirtualDisplay();
    }
}

}  // namespace dotvane

#include "lcd/DisplayFactory.h"

#include "lcd/KS0108Driver.h"
#include "lcd/NoDisplay.h"
#include "lcd/T6963CDriver.h"

namespace dotvane {

DisplayKind DisplayKindOf(int32_t type)
{
    switch (type) {
    case 0:
        return DisplayKind::T6963C;
    case 1:
        return DisplayKind::KS0108;
    default:
        return DisplayKind::None;
    }
}

std::unique_ptr<Display> MakeDisplay(DisplayKind kind, ParallelPort& port, const TMainSettings& settings,
                                     Notices& notices)
{
    switch (kind) {
    case DisplayKind::T6963C:
        return std::make_unique<TT6963CDriver>(port, settings, notices);
    case DisplayKind::KS0108:
        return std::make_unique<TKS0108Driver>(port, settings);
    case DisplayKind::None:
        break;
    }
    return std::make_unique<NoDisplay>();
}

SelectedDisplay::SelectedDisplay(ParallelPort& port, const TMainSettings& settings, Notices& notices)
    : port_(port), settings_(settings), notices_(notices)
{
}

Display& SelectedDisplay::Of(DisplayKind kind) const
{
    std::unique_ptr<Display>& display = built_[static_cast<size_t>(kind)];
    if (!display) display = MakeDisplay(kind, port_, settings_, notices_);
    return *display;
}

}  // namespace dotvane

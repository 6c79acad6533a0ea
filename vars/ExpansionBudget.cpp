#include "vars/ExpansionBudget.h"

#include <algorithm>
#include <cstdint>

namespace dotvane {

ExpansionBudget::ExpansionBudget(const TMainSettings& settings)
{
    const auto rows = static_cast<uint64_t>(std::clamp(settings.LCD.TextRows, 2, kMaxTextRows));
    const auto columns = static_cast<uint64_t>(std::max(settings.LCD.TextColumns, 2));
    lineLimit_ = static_cast<size_t>(rows * columns);
}

bool ExpansionBudget::TakeVariable()
{
    if (variablesLeft_ == 0) return false;
    --variablesLeft_;
    return true;
}

std::string ExpansionBudget::CutNotice(int screen)
{
    return "Screen " + std::to_string(screen) + " is cut: its lines hold more than the display shows, or over " +
           std::to_string(kVariableLimit) + " variables";
}

}  // namespace dotvane

#pragma once

#include "config/Settings.h"
#include "vars/ExpansionBudget.h"
#include "vars/LiveValues.h"
#include "vars/PerfCounterSource.h"

#include <string>
#include <string_view>

namespace dotvane {

// What the variables show besides what they ask the system: the settings,
// the values the timers gather, the counter source of the NT build (none in
// the plain build) and what refreshes the sensor readings when they are
// shown (without it, they are shown as the mirror holds them). Read at every
// expansion.
struct VariableContext {
    const TMainSettings& MainSettings;
    const LiveValues& Values;
    PerfCounterSource* PerfCounters = nullptr;
    SensorRefresh* Sensors = nullptr;
};

// Replaces every "$name$" of a line template by the variable's value. A "$"
// without a later "$" stays; a value is never searched for references.
// Expansion stops where the text passes the budget's line limit, to which it
// is cut, or where the budget has no variable left; the budget is told when
// a variable of the template was left unexpanded.
std::string ExpandLine(std::string_view lineTemplate, const VariableContext& context, ExpansionBudget& budget);
// The same on a budget of its own, for the display of the context's settings.
std::string ExpandLine(std::string_view lineTemplate, const VariableContext& context);

// The value of one variable, by its bare name (case-sensitive). The families
// are tried in a fixed order; a name that none claims gives the empty text.
std::string ExpandVariable(std::string_view name, const VariableContext& context);

}  // namespace dotvane

// Any template must expand without a crash or a hang; the result can never
// hold more "$" than the template, since values are not expanded again and
// the families reachable here produce none, nor more text than the display
// has cells.
#include "config/Settings.h"
#include "vars/ExpandLine.h"
#include "vars/Format.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    dotvane::TMainSettings settings;
    settings.ExternalIP.Enable = size % 2 == 0;
    const dotvane::LiveValues values{};
    const dotvane::VariableContext context{settings, values};
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string expanded = dotvane::ExpandLine(line, context);
    if (std::count(expanded.begin(), expanded.end(), '$') > std::count(line.begin(), line.end(), '$')) std::abort();
    if (expanded.size() > dotvane::ExpansionBudget(settings).LineLimit()) std::abort();
    (void)dotvane::ReadWholeNumber(line);
    (void)dotvane::VariableArgument(line);
    return 0;
}

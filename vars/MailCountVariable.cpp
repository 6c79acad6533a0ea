#include "vars/MailCountVariable.h"

#include "vars/Format.h"

namespace dotvane {

std::string MailCountVariable(std::string_view name, const MailCounts& MailCount)
{
    const auto argument = VariableArgument(name);
    if (!argument) return {};
    const int32_t account = ReadWholeNumber(*argument);
    if (account < 0 || account >= static_cast<int32_t>(MailCount.size())) return {};
    return FormatSigned(MailCount[account]);
}

}  // namespace dotvane

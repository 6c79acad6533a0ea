#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// Messages waiting in each of the five mail accounts at its last check.
using MailCounts = std::array<int32_t, 5>;

// "mailcount(n)": the count of account n; empty for an account outside 0 … 4
// or a name without its ")".
std::string MailCountVariable(std::string_view name, const MailCounts& MailCount);

}  // namespace dotvane

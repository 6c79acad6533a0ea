#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// A POP3 reply is positive when its first blank-separated word contains
// "+OK".
bool IsPositiveReply(std::string_view line);

// The message count of a STAT reply ("+OK 5 2330"): its second word as a
// plain decimal integer, 0 when that word is missing or not one.
int32_t StatCount(std::string_view line);

// The reply line as an error text: the line without its line end.
std::string ReplyText(std::string_view line);

}  // namespace dotvane

#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dotvane {

// Helpers for the reply lines of the POP3 and HTTP clients. Lines arrive
// with their line end (CR LF or LF) still attached.

// The line without the CR and LF characters at its end.
std::string_view WithoutLineEnd(std::string_view line);

// Word `index` (0 for the first) of the line split at blanks, line end
// excluded; runs of blanks count as one separator and leading blanks are
// skipped. Empty when the line has fewer words.
std::string_view Word(std::string_view line, size_t index);

// A plain decimal integer: an optional sign and digits only, within the
// signed 32-bit range. Anything else gives 0.
int32_t PlainInteger(std::string_view word);

}  // namespace dotvane

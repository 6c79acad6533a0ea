#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dotvane {

// Value formatting shared by every variable family. Widths are minimums: a
// longer value is never cut.

std::string FormatSigned(int64_t value);
std::string FormatUnsigned(uint64_t value);
// The %g conversion with `precision` significant digits (0 or less means 6):
// fixed notation when the rounded value's exponent X is -4 <= X < precision,
// otherwise "1.2e+03"; trailing zeros and a bare decimal point are dropped.
// Independent of the process locale.
std::string FormatGeneral(double value, int precision);
// Right-aligned: blanks on the left up to `width` characters.
std::string PadLeft(std::string text, size_t width);
// Left-aligned: blanks on the right up to `width` characters.
std::string PadRight(std::string text, size_t width);
// Zero-filled: "0" on the left up to `width` characters.
std::string ZeroFill(std::string text, size_t width);

// The whole-number rule of C's atol: leading white space skipped, an optional
// sign, decimal digits up to the first other character; no digits give 0.
// Values beyond 32 bits saturate.
int32_t ReadWholeNumber(std::string_view text);

// The argument of a variable name such as "mbmtemp(3)": the text after the
// first "(" (from the start when there is none) up to the first ")" after it.
// Without that ")" there is no argument and the variable is empty.
std::optional<std::string_view> VariableArgument(std::string_view name);

}  // namespace dotvane

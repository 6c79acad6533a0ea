#pragma once

#include <string>
#include <string_view>

namespace dotvane {

// Replaces every "$name$" of a line template by the variable's value. A "$"
// without a later "$" stays; a value is never searched for references.
std::string ExpandLine(std::string_view lineTemplate);

// The value of one variable, by its bare name (case-sensitive). The families
// are tried in a fixed order; a name that none claims gives the empty text.
std::string ExpandVariable(std::string_view name);

}  // namespace dotvane

#pragma once

#include "config/Settings.h"
#include "vars/ExpandLine.h"
#include "vars/LiveValues.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace dotvane::test {

// The settings and gathered values the variables show, as the program holds
// them at start, and expansion in their context. Mixed into test fixtures,
// so test bodies read as the program's own code.
class Variables {
protected:
    std::string ExpandLine(std::string_view line) const { return dotvane::ExpandLine(line, context); }
    std::string ExpandVariable(std::string_view name) const { return dotvane::ExpandVariable(name, context); }

    TMainSettings MainSettings;
    LiveValues Values;
    VariableContext context{MainSettings, Values};
};

// A test fixture with the variables' context.
class VariablesTest : public ::testing::Test, protected Variables {};

}  // namespace dotvane::test

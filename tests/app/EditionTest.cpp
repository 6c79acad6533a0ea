#include "app/Edition.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

TEST(Edition, TestsRunAgainstTheNtBuild)
{
    EXPECT_TRUE(IsNtBuild());
    EXPECT_STREQ(ProgramCaption(), "Dotvane v. 0.3.2 pre13 NT");
}

}  // namespace
}  // namespace dotvane

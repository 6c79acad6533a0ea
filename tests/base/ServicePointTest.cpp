#include "base/ServicePoint.h"

#include <gtest/gtest.h>

#include <string>

namespace dotvane {
namespace {

class Greeter {
public:
    explicit Greeter(std::string word) : word_(std::move(word)) {}
    const std::string& Word() const { return word_; }

private:
    std::string word_;
};

Greeter& SystemGreeter()
{
    static Greeter system("system");
    return system;
}

using GreeterService = ServicePoint<Greeter, SystemGreeter>;

TEST(ServicePointTest, WithoutAReplacementTheSystemsOwnServes)
{
    EXPECT_EQ(&GreeterService::Current(), &SystemGreeter());
}

TEST(ServicePointTest, InstallGivesBackTheOneItReplaces)
{
    Greeter first("first"), second("second");
    EXPECT_EQ(GreeterService::Install(&first), nullptr);
    EXPECT_EQ(GreeterService::Current().Word(), "first");
    EXPECT_EQ(GreeterService::Install(&second), &first);
    EXPECT_EQ(GreeterService::Current().Word(), "second");
    EXPECT_EQ(GreeterService::Install(nullptr), &second);
    EXPECT_EQ(GreeterService::Current().Word(), "system");
}

TEST(ServicePointTest, ScopedInstallsNestAndEachPutsBackWhatWasThere)
{
    Greeter outer("outer"), inner("inner");
    {
        const GreeterService::Scoped outerScope(outer);
        EXPECT_EQ(GreeterService::Current().Word(), "outer");
        {
            const GreeterService::Scoped innerScope(inner);
            EXPECT_EQ(GreeterService::Current().Word(), "inner");
        }
        EXPECT_EQ(GreeterService::Current().Word(), "outer");
    }
    EXPECT_EQ(&GreeterService::Current(), &SystemGreeter());
}

// Another interface has an install point of its own.
Greeter& OtherSystemGreeter()
{
    static Greeter other("other system");
    return other;
}

TEST(ServicePointTest, EachServiceHasItsOwnInstallPoint)
{
    using OtherService = ServicePoint<Greeter, OtherSystemGreeter>;
    Greeter stand("stand-in");
    const GreeterService::Scoped installed(stand);
    EXPECT_EQ(OtherService::Current().Word(), "other system");
    EXPECT_EQ(GreeterService::Current().Word(), "stand-in");
}

}  // namespace
}  // namespace dotvane

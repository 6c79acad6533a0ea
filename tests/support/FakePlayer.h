#pragma once

#include "platform/Player.h"

#include <map>
#include <string>
#include <utility>

namespace dotvane::test {

// A player window that tests set up by hand. It installs itself for its
// lifetime; while `running` is false no window is found. Queries not listed
// in `replies` answer 0, as a real player does for commands it ignores.
class FakePlayer : public platform::Player {
    // Stands in for the system's own while it lives.
    platform::PlayerService::Scoped installed_{*this};

public:
    bool FindWindow() override
    {
        ++lookups;
        found = running;
        return found;
    }
    int32_t SendQuery(int32_t data, int32_t command) override
    {
        ++queries;
        if (!found) return 0;
        const auto it = replies.find({data, command});
        return it == replies.end() ? 0 : it->second;
    }
    std::string WindowText() override { return found ? windowText : std::string(); }

    void SetReply(int32_t data, int32_t command, int32_t reply) { replies[{data, command}] = reply; }

    bool running = true;
    std::string windowText;
    std::map<std::pair<int32_t, int32_t>, int32_t> replies;
    int lookups = 0;
    int queries = 0;

private:
    bool found = false;
};

}  // namespace dotvane::test

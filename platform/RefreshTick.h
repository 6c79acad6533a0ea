#pragma once

#include "platform/Player.h"

namespace dotvane::platform {

// One refresh tick of the system's sources, from construction to
// destruction: each file they take readings from is read at most once in
// it, and every variable and counter that asks again within the tick gets
// what that read found; the media player is asked once in it. A tick opened
// inside another is part of it. Outside a tick every query reads afresh.
class RefreshTick {
public:
    RefreshTick();
    ~RefreshTick();
    RefreshTick(const RefreshTick&) = delete;
    RefreshTick& operator=(const RefreshTick&) = delete;

private:
    // The player of the tick's start, told of its end as well.
    Player& player_;
};

}  // namespace dotvane::platform

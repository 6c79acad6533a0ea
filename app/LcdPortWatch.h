#pragma once

#include "lcd/ParallelPort.h"

#include <optional>
#include <string>

namespace dotvane {

// Follows the health of the LCD's port, asked at every refresh, and turns
// each change into one status-line text: when its device stops answering,
// naming the device and the error ("/dev/parport0: No such device; the LCD
// is not being updated"), and when it answers again. A device that keeps
// failing, with whatever error, is told only once.
class LcdPortWatch {
public:
    struct Change {
        std::string Text;
        // The device answers again: what was sent meanwhile was lost.
        bool Answering = false;
    };

    // The change since the last health given, if any.
    std::optional<Change> Check(const PortHealth& health);

private:
    bool failing_ = false;
    std::string device_;
};

}  // namespace dotvane

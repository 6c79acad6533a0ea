#include "app/LcdPortWatch.h"

#include <system_error>

namespace dotvane {
namespace {

std::string DeviceName(const std::string& device) { return device.empty() ? "The LCD's port" : device; }

}  // namespace

std::optional<LcdPortWatch::Change> LcdPortWatch::Check(const PortHealth& health)
{
    const bool failing = health.Error != 0;
    if (failing == failing_) return std::nullopt;
    failing_ = failing;
    if (failing) {
        device_ = DeviceName(health.Device);
        return Change{device_ + ": " + std::generic_category().message(health.Error) +
                          "; the LCD is not being updated",
                      false};
    }
    return Change{device_ + ": the LCD is being updated again", true};
}

}  // namespace dotvane

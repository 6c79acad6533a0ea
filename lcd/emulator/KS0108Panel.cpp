#include "lcd/emulator/KS0108Panel.h"

namespace dotvane::emulator {

void KS0108Panel::PinsChanged(const PortPins& pins)
{
    const bool enableHigh = pins.Pin1;
    const bool falling = enableHigh_ && !enableHigh;
    enableHigh_ = enableHigh;
    if (!falling) return;
    const bool instruction = !pins.Pin17;
    const uint8_t value = pins.DataIsInput ? 0xFF : pins.Data;
    if (pins.Pin14) Take(0, value, instruction);
    if (pins.Pin16) Take(1, value, instruction);
}

void KS0108Panel::Take(int controller, uint8_t value, bool instruction)
{
    if (observer_) observer_(controller, value, instruction);
    Half& half = halves_[static_cast<size_t>(controller)];
    if (!instruction) {
        ++half.DataWrites;
        uint8_t& cell = half.Memory[half.Page][half.Y];
        if (cell != value) ++revision_;
        cell = value;
        half.Y = static_cast<uint8_t>((half.Y + 1) & 0x3F);
        return;
    }
    ++half.Instructions;
    if ((value & 0xFE) == 0x3E) {
        half.DisplayOn = value & 0x01;
        ++revision_;
    } else if ((value & 0xC0) == 0x40) {
        half.Y = value & 0x3F;
    } else if ((value & 0xF8) == 0xB8) {
        half.Page = value & 0x07;
    } else if ((value & 0xC0) == 0xC0) {
        half.StartLine = value & 0x3F;
        ++revision_;
    }
}

Glass KS0108Panel::Render() const
{
    Glass glass(128, 64);
    for (int h = 0; h < 2; ++h) {
        const Half& half = halves_[static_cast<size_t>(h)];
        if (!half.DisplayOn) continue;
        for (int row = 0; row < 64; ++row) {
            const int line = (row + half.StartLine) % 64;
            for (int y = 0; y < 64; ++y) {
                const bool on = (half.Memory[static_cast<size_t>(line / 8)][static_cast<size_t>(y)] >> (line % 8)) & 1;
                glass.Set(h * 64 + y, row, on);
            }
        }
    }
    return glass;
}

}  // namespace dotvane::emulator

#pragma once

#include "lcd/emulator/Glass.h"
#include "lcd/emulator/PrinterPort.h"

#include <array>
#include <cstdint>
#include <functional>

namespace dotvane::emulator {

// A 128 × 64 module of two KS0108 column controllers on the printer port,
// modelled at its bus: E on pin 1, D/I on pin 17 (low = instruction), the
// left controller selected by pin 14 high, the right one by pin 16 high;
// R/W is tied to write. Each selected controller takes the data lines on
// the falling edge of E. Each half keeps its own display switch, Y address
// (advancing after every data write), page and start line; the glass shows
// the left half in columns 0 … 63 and the right half in 64 … 127.
class KS0108Panel : public Panel {
public:
    KS0108Panel() = default;

    // Told every byte a controller takes, before it acts on it: 0 for the
    // left controller, 1 for the right one, an instruction when
    // `instruction`, else display data.
    using ByteObserver = std::function<void(int controller, uint8_t value, bool instruction)>;
    void ObserveBytes(ByteObserver observer) { observer_ = std::move(observer); }

    void PinsChanged(const PortPins& pins) override;
    std::optional<uint8_t> DrivenData(const PortPins&) override { return std::nullopt; }

    Glass Render() const;
    // Changes whenever something that could change the glass happened.
    uint64_t Revision() const { return revision_; }

    struct Half {
        bool DisplayOn = false;
        uint8_t Y = 0;
        uint8_t Page = 0;
        uint8_t StartLine = 0;
        std::array<std::array<uint8_t, 64>, 8> Memory{};
        int Instructions = 0;
        int DataWrites = 0;
    };
    // 0 is the left half, 1 the right one.
    const Half& Controller(int index) const { return halves_[static_cast<size_t>(index)]; }

private:
    void Take(int controller, uint8_t value, bool instruction);

    std::array<Half, 2> halves_{};
    bool enableHigh_ = false;
    uint64_t revision_ = 0;
    ByteObserver observer_;
};

}  // namespace dotvane::emulator

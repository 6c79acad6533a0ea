#include "lcd/emulator/PrinterPort.h"

namespace dotvane::emulator {
namespace {
constexpr uint8_t kDirectionInput = 0x20;
constexpr uint8_t kModeMask = 0xE0;
constexpr uint8_t kModeBidirectional = 0x20;
}  // namespace

PortPins PrinterPort::Pins() const
{
    PortPins pins;
    pins.Data = data_;
    pins.DataIsInput = (control_ & kDirectionInput) && (extendedControl_ & kModeMask) == kModeBidirectional;
    pins.Pin1 = !(control_ & 0x01);
    pins.Pin14 = !(control_ & 0x02);
    pins.Pin16 = (control_ & 0x04) != 0;
    pins.Pin17 = !(control_ & 0x08);
    return pins;
}

void PrinterPort::Notify()
{
    if (panel_) panel_->PinsChanged(Pins());
}

void PrinterPort::Write(uint32_t port, uint8_t value)
{
    if (port == base_) {
        data_ = value;
        Notify();
    } else if (port == base_ + 2u) {
        control_ = value;
        Notify();
    } else if (port == base_ + 0x402u) {
        extendedControl_ = value;
        Notify();
    }
}

uint8_t PrinterPort::Read(uint32_t port)
{
    if (port == base_) {
        const PortPins pins = Pins();
        if (!pins.DataIsInput) return data_;
        // Lines that nothing drives float high.
        const std::optional<uint8_t> driven = panel_ ? panel_->DrivenData(pins) : std::nullopt;
        return driven.value_or(0xFF);
    }
    if (port == base_ + 1u) return 0x7F;  // the status lines are not modelled
    if (port == base_ + 2u) return control_;
    if (port == base_ + 0x402u) return extendedControl_;
    return 0xFF;
}

}  // namespace dotvane::emulator

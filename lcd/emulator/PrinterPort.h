#pragma once

#include <cstdint>
#include <optional>

namespace dotvane::emulator {

// The levels on the printer port's connector that a display module sees.
// The control outputs are given as pin levels (true = high): the port
// hardware inverts control bits 0, 1 and 3 on pins 1, 14 and 17.
struct PortPins {
    uint8_t Data = 0;           // pins 2–9 as driven by the port
    bool DataIsInput = false;   // the port has released the data lines
    bool Pin1 = true;           // Strobe, control bit 0 inverted
    bool Pin14 = true;          // Auto Feed, control bit 1 inverted
    bool Pin16 = false;         // Init, control bit 2
    bool Pin17 = true;          // Select In, control bit 3 inverted
};

// A module on the port: told every change of the pins, and asked what it
// drives onto the data lines when the port reads them as inputs.
class Panel {
public:
    virtual ~Panel() = default;
    virtual void PinsChanged(const PortPins& pins) = 0;
    // The byte the module drives onto the data lines, if it drives them.
    virtual std::optional<uint8_t> DrivenData(const PortPins& pins) = 0;
};

// An ECP-capable printer port at Base: the data register at Base, status
// at Base+1, control at Base+2 and the extended control register at
// Base+0x402. The data lines turn into inputs only when control bit 5 is set
// and the extended control register selects the bidirectional (PS/2) mode,
// as on the real port; in the standard mode the data register reads back
// what was written.
class PrinterPort {
public:
    explicit PrinterPort(uint16_t base, Panel* panel = nullptr) : base_(base), panel_(panel) {}

    void AttachPanel(Panel* panel) { panel_ = panel; }
    uint16_t Base() const { return base_; }

    // One byte written to or read from an I/O address. Addresses that are
    // not registers of this port are ignored and read as 0xFF.
    void Write(uint32_t port, uint8_t value);
    uint8_t Read(uint32_t port);

    PortPins Pins() const;
    uint8_t Control() const { return control_; }
    uint8_t ExtendedControl() const { return extendedControl_; }

private:
    void Notify();

    uint16_t base_;
    Panel* panel_;
    uint8_t data_ = 0;
    uint8_t control_ = 0;
    // Standard mode, FIFO empty: the value an ECP port powers up with.
    uint8_t extendedControl_ = 0x15;
};

}  // namespace dotvane::emulator

#pragma once

#include "FakePortLibrary.h"

#include "lcd/KS0108Driver.h"

#include <cstdint>
#include <vector>

namespace dotvane::test {

// A byte as the T6963C takes it: a command (C/D high) or data.
struct Byte {
    bool Command;
    uint8_t Value;
    bool operator==(const Byte&) const = default;
};
inline Byte D(uint8_t value) { return {false, value}; }
inline Byte C(uint8_t value) { return {true, value}; }

// Reads the T6963C's bytes back from a wiring A stream: each data register
// write is followed by the first control value of its transfer, 0x00 for
// data and 0x04 for a command.
inline std::vector<Byte> Decode(const RecordingPort& port, uint32_t base = 888)
{
    std::vector<Byte> bytes;
    for (size_t i = 0; i + 1 < port.Log.size(); ++i) {
        const RecordingPort::Access& a = port.Log[i];
        if (a.IsWrite && a.Port == base && port.Log[i + 1].Port == base + 2)
            bytes.push_back({port.Log[i + 1].Value == 0x04, static_cast<uint8_t>(a.Value)});
    }
    return bytes;
}

// One byte a KS0108 half takes on a falling edge of E: an instruction or
// data, for the half selected by the chip bits.
struct Taken {
    bool Instruction;
    uint8_t Chip;
    uint8_t Value;
    bool operator==(const Taken&) const = default;
};
inline Taken I(uint8_t chip, uint8_t value) { return {true, chip, value}; }
inline Taken W(uint8_t chip, uint8_t value) { return {false, chip, value}; }

inline std::vector<Taken> DecodeKS0108(const RecordingPort& port)
{
    std::vector<Taken> taken;
    uint32_t control = 0x01;
    uint32_t data = 0;
    for (const RecordingPort::Access& a : port.Log) {
        if (!a.IsWrite) continue;
        if (a.Port == 888) data = a.Value;
        if (a.Port != 890) continue;
        const bool falling = !(control & 0x01) && (a.Value & 0x01);
        control = a.Value;
        if (falling)
            taken.push_back({(control & 0x08) != 0, static_cast<uint8_t>(control & 0x06), static_cast<uint8_t>(data)});
    }
    return taken;
}

inline std::vector<uint8_t> DataBytes(const std::vector<Taken>& taken, uint8_t chip)
{
    std::vector<uint8_t> bytes;
    for (const Taken& t : taken)
        if (!t.Instruction && t.Chip == chip) bytes.push_back(t.Value);
    return bytes;
}

}  // namespace dotvane::test

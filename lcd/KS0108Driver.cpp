#include "lcd/KS0108Driver.h"

#include "lcd/BaseLetter.h"
#include "lcd/Font5x7.h"
#include "platform/HighResolutionClock.h"

#include <algorithm>

namespace dotvane {
namespace {

// Control bits: E low (bit 0 set, inverted on its pin), instruction (bit 3).
constexpr uint8_t kEnableLow = 0x01;
constexpr uint8_t kInstruction = 0x08;

constexpr uint8_t kDisplayOn = 0x3F;
constexpr uint8_t kSetAddress = 0x40;
constexpr uint8_t kSetPage = 0xB8;
constexpr uint8_t kStartLine = 0xC0;

constexpr uint8_t kCellWidth = 6;

}  // namespace

TKS0108Driver::TKS0108Driver(ParallelPort& port, const TMainSettings& settings) : port_(port), settings_(settings) {}

void TKS0108Driver::SetControl(uint8_t value) { port_.WriteRegisterWord(kBase, PortRegister::Control, value); }

void TKS0108Driver::SetData(uint8_t value) { port_.WriteRegisterWord(kBase, PortRegister::Data, value); }

void TKS0108Driver::DelayMicroseconds(int32_t n)
{
    auto& clock = platform::HighResolutionClockService::Current();
    int64_t ticksPerMicrosecond = 0;
    if (int64_t frequency = 0; clock.QueryFrequency(frequency)) ticksPerMicrosecond = frequency / 1'000'000;
    int64_t start = 0;
    if (!clock.QueryCounter(start)) return;
    const int64_t end = start + ticksPerMicrosecond * n;
    int64_t now = 0;
    do {
        if (!clock.QueryCounter(now)) return;
    } while (now < end);
}

void TKS0108Driver::Wait() { DelayMicroseconds(Delay); }

void TKS0108Driver::WriteInstruction(uint8_t code, uint8_t chip)
{
    Wait();
    SetControl(chip | kInstruction | kEnableLow);
    SetData(code);
    SetControl(chip | kInstruction);
    Wait();
    // The controller takes the byte on this falling edge of E.
    SetControl(chip | kInstruction | kEnableLow);
    SetData(0x00);
}

void TKS0108Driver::WriteData(const uint8_t* bytes, uint32_t count)
{
    for (uint32_t i = 0; i < count && Column <= 127; ++i) {
        const uint8_t chip = Column > 63 ? kRight : kLeft;
        Wait();
        SetControl(chip | kEnableLow);
        SetData(bytes[i]);
        SetControl(chip);
        Wait();
        SetControl(chip | kEnableLow);
        ++Column;
    }
}

void TKS0108Driver::SetColumn(uint8_t x)
{
    Column = x;
    if (x < 64) {
        // Data running past column 63 lands at the start of the right half.
        WriteInstruction(kSetAddress | x, kLeft);
        WriteInstruction(kSetAddress, kRight);
    } else {
        WriteInstruction(kSetAddress | 63, kLeft);
        WriteInstruction(kSetAddress | ((x - 64) & 0x3F), kRight);
    }
}

void TKS0108Driver::SetPage(uint8_t p)
{
    Wait();
    // Only the low three bits name a page: rows 8 … 15 of the refresh cycle
    // fall on pages 0 … 7 again, and no page value turns into another
    // instruction.
    const auto code = static_cast<uint8_t>(kSetPage | (p & 0x07));
    WriteInstruction(code, kLeft);
    WriteInstruction(code, kRight);
}

void TKS0108Driver::SetStartLine(uint8_t line)
{
    const auto code = static_cast<uint8_t>(kStartLine | (line & 0x3F));
    WriteInstruction(code, kLeft);
    WriteInstruction(code, kRight);
}

void TKS0108Driver::Clear()
{
    SetStartLine(0);
    const uint8_t blank = 0x00;
    for (uint8_t page = 0; page < 8; ++page) {
        SetPage(page);
        SetColumn(0);
        for (int x = 0; x < 128; ++x) WriteData(&blank, 1);
    }
}

void TKS0108Driver::InitController()
{
    WriteInstruction(kDisplayOn, kLeft);
    WriteInstruction(kDisplayOn, kRight);
    Clear();
}

std::optional<PortOpenFailure> TKS0108Driver::Open()
{
    Delay = std::clamp(settings_.KS0108.Delay, 0, kMaxDelay);
    const PortRange registers[] = {{kBase, 4}};
    std::optional<PortOpenFailure> failure = port_.OpenRegisters(settings_.Port.Device, registers);
    InitController();
    Clear();
    return failure;
}

void TKS0108Driver::Blank() { Clear(); }

void TKS0108Driver::Clear(bool) { Clear(); }

void TKS0108Driver::SetTextPosition(int32_t column, int32_t row)
{
    SetColumn(static_cast<uint8_t>(static_cast<uint32_t>(column) * kCellWidth));
    SetPage(static_cast<uint8_t>(row));
}

void TKS0108Driver::WriteText(std::string_view text)
{
    const uint8_t spacing = 0x00;
    for (const char c : text) {
        if (c == '\0') break;
        // A Latin-1 character draws as its base letter, and the no-break
        // space as a space.
        if (BaseLetter(static_cast<uint8_t>(c)) == ' ') {
            SetColumn(static_cast<uint8_t>(Column + kCellWidth));
            continue;
        }
        const auto glyph = Glyph(static_cast<uint8_t>(c));
        WriteData(glyph.data(), static_cast<uint32_t>(glyph.size()));
        WriteData(&spacing, 1);
    }
}

}  // namespace dotvane

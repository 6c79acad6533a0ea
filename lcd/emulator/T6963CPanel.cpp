#include "lcd/emulator/T6963CPanel.h"

#include "lcd/Font5x7.h"

#include <string_view>

namespace dotvane::emulator {
namespace {

constexpr uint8_t kStatusReady = 0x23;      // STA0, STA1 and STA5
constexpr uint8_t kStatusAutoWrite = 0x08;  // STA3

constexpr uint8_t kDisplayText = 0x04;
constexpr uint8_t kDisplayGraphic = 0x08;
constexpr uint8_t kDisplayCursor = 0x02;

// The letters and signs of the character generator ROM's codes 0x60 … 0x7F
// (Ç ü é â ä à å ç ê ë è ï î ì Ä Å É æ Æ ô ö ò û ù ÿ Ö Ü ¢ £ ¥ Pts ƒ), drawn
// with the glyph of their base letter: the built-in font has no accents.
constexpr std::string_view kRomBaseLetters = "CueaaaaceeeiiiAAEaAooouuyOUcLYPf";
static_assert(kRomBaseLetters.size() == 0x20);

}  // namespace

T6963CPanel::T6963CPanel(const Options& options) : options_(options), memory_(0x10000, 0)
{
    if (options_.FontWidth != 6) options_.FontWidth = 8;
}

T6963CPanel::Lines T6963CPanel::Decode(const PortPins& pins) const
{
    if (options_.WiringB) return {!pins.Pin1, false, !pins.Pin16, pins.Pin17};
    return {!pins.Pin1, !pins.Pin17, !pins.Pin14, pins.Pin16};
}

void T6963CPanel::PinsChanged(const PortPins& pins)
{
    const Lines lines = Decode(pins);
    if (lines.ChipEnableLow && lines.WriteLow) {
        // The controller samples the bus at the end of the write cycle.
        writing_ = true;
        writingCommand_ = lines.CommandHigh;
        writingData_ = pins.DataIsInput ? 0xFF : pins.Data;
    } else if (writing_) {
        writing_ = false;
        TakeByte(writingData_, writingCommand_);
    }
}

std::optional<uint8_t> T6963CPanel::DrivenData(const PortPins& pins)
{
    const Lines lines = Decode(pins);
    if (!lines.ChipEnableLow || !lines.ReadLow || lines.WriteLow) return std::nullopt;
    if (!lines.CommandHigh) return memory_[addressPointer_];
    ++statusReads_;
    if (busyLeft_ != 0) {
        if (busyLeft_ > 0) --busyLeft_;
        return 0x00;
    }
    return static_cast<uint8_t>(kStatusReady | (autoWrite_ ? kStatusAutoWrite : 0));
}

void T6963CPanel::TakeByte(uint8_t value, bool command)
{
    if (observer_) observer_(value, command);
    busyLeft_ = options_.BusyPolls < 0 ? -1 : options_.BusyPolls;
    if (command) {
        ++commands_;
        Execute(value);
        parameters_.clear();
    } else if (autoWrite_) {
        Store(addressPointer_++, value);
    } else {
        if (parameters_.size() == 2) parameters_.erase(parameters_.begin());
        parameters_.push_back(value);
    }
}

uint16_t T6963CPanel::Parameter() const
{
    uint16_t value = 0;
    if (!parameters_.empty()) value = parameters_[0];
    if (parameters_.size() > 1) value = static_cast<uint16_t>(value | parameters_[1] << 8);
    return value;
}

void T6963CPanel::Store(uint16_t address, uint8_t value)
{
    if (memory_[address] == value) return;
    memory_[address] = value;
    ++revision_;
}

void T6963CPanel::Execute(uint8_t command)
{
    const uint16_t parameter = Parameter();
    const auto low = static_cast<uint8_t>(parameter & 0xFF);
    if (command == 0x24) {
        addressPointer_ = parameter;
        return;
    }
    ++revision_;
    switch (command) {
    case 0x21:
        cursorX_ = low;
        cursorY_ = static_cast<uint8_t>(parameter >> 8);
        return;
    case 0x40: textHome_ = parameter; return;
    case 0x41: textArea_ = low; return;
    case 0x42: graphicHome_ = parameter; return;
    case 0x43: graphicArea_ = low; return;
    case 0xB0: autoWrite_ = true; return;
    case 0xB1: autoRead_ = true; return;
    case 0xB2:
    case 0xB3:
        autoWrite_ = false;
        autoRead_ = false;
        return;
    case 0xC0: Store(addressPointer_++, low); return;
    case 0xC1: ++addressPointer_; return;
    case 0xC2: Store(addressPointer_--, low); return;
    case 0xC3: --addressPointer_; return;
    case 0xC4: Store(addressPointer_, low); return;
    default: break;
    }
    switch (command & 0xF0) {
    case 0x80: mode_ = command; return;
    case 0x90: displayMode_ = command; return;
    case 0xA0:
        if (command < 0xA8) cursorLines_ = static_cast<uint8_t>((command & 0x07) + 1);
        return;
    case 0xF0: {
        const auto bit = static_cast<uint8_t>(1 << (command & 0x07));
        const uint8_t old = memory_[addressPointer_];
        Store(addressPointer_, static_cast<uint8_t>((command & 0x08) ? old | bit : old & ~bit));
        return;
    }
    default: return;
    }
}

bool T6963CPanel::TextPixel(int x, int y) const
{
    const int fw = options_.FontWidth;
    const auto address = static_cast<uint16_t>(textHome_ + (y / 8) * textArea_ + x / fw);
    const uint8_t code = memory_[address];
    const int column = x % fw;
    const int row = y % 8;
    // Codes from 0x80 on come from the character generator RAM, which is
    // not modelled; they show blank.
    if (code >= 0x80 || column >= 5 || row >= 7) return false;
    const char character = code < 0x60 ? static_cast<char>(code + 0x20) : kRomBaseLetters[code - 0x60];
    return (Glyph(static_cast<uint8_t>(character))[static_cast<size_t>(column)] >> row) & 1;
}

bool T6963CPanel::GraphicPixel(int x, int y) const
{
    const int fw = options_.FontWidth;
    const auto address = static_cast<uint16_t>(graphicHome_ + y * graphicArea_ + x / fw);
    return (memory_[address] >> (fw - 1 - x % fw)) & 1;
}

bool T6963CPanel::CursorPixel(int x, int y) const
{
    return x / options_.FontWidth == cursorX_ && y / 8 == cursorY_ && y % 8 >= 8 - cursorLines_;
}

Glass T6963CPanel::Render() const
{
    Glass glass(options_.Width, options_.Height);
    const bool text = displayMode_ & kDisplayText;
    const bool graphic = displayMode_ & kDisplayGraphic;
    const bool cursor = displayMode_ & kDisplayCursor;
    const int combine = mode_ & 0x07;
    for (int y = 0; y < glass.Height; ++y) {
        for (int x = 0; x < glass.Width; ++x) {
            const bool t = text && TextPixel(x, y);
            // In attribute mode the graphic area holds attributes, not pixels.
            const bool g = graphic && combine != 4 && GraphicPixel(x, y);
            bool on = false;
            if (text && graphic && combine == 1) on = t != g;
            else if (text && graphic && combine == 3) on = t && g;
            else on = t || g;
            if (cursor && (text || graphic) && CursorPixel(x, y)) on = true;
            glass.Set(x, y, on);
        }
    }
    return glass;
}

}  // namespace dotvane::emulator

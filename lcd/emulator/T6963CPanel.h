#pragma once

#include "lcd/emulator/Glass.h"
#include "lcd/emulator/PrinterPort.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace dotvane::emulator {

// A T6963C module on the printer port, modelled at its bus: /WR, /CE, C/D
// and /RD on the pins of wiring A (pins 1, 14, 16, 17) or wiring B (pins 1,
// 16, 17; /RD not connected). A byte is taken when a write cycle (/CE and
// /WR both low) ends; with C/D high it is a command, else a parameter or, in
// auto write mode, display data. The controller keeps 64 KiB of display
// memory, the address pointer, the text and graphic homes and areas, the
// mode and display mode and the cursor; the glass combines the text layer
// (the internal character generator draws the codes 0x00 … 0x5F as the
// characters 0x20 … 0x7F, and its accented letters 0x60 … 0x7F as their base
// letters) with the graphic layer.
class T6963CPanel : public Panel {
public:
    struct Options {
        int Width = 128;
        int Height = 64;
        int FontWidth = 8;     // the module's font select: 6 or 8
        bool WiringB = false;
        // Status reads that answer "busy" after each byte taken before the
        // controller reports ready again; negative: it never does.
        int BusyPolls = 0;
    };

    explicit T6963CPanel(const Options& options);

    // Told every byte the controller takes, before it acts on it: a command
    // when `command`, else a parameter or display data.
    using ByteObserver = std::function<void(uint8_t value, bool command)>;
    void ObserveBytes(ByteObserver observer) { observer_ = std::move(observer); }

    void PinsChanged(const PortPins& pins) override;
    std::optional<uint8_t> DrivenData(const PortPins& pins) override;

    Glass Render() const;
    // Changes whenever something that could change the glass happened.
    uint64_t Revision() const { return revision_; }

    // Controller state, for tests.
    uint16_t AddressPointer() const { return addressPointer_; }
    uint16_t TextHome() const { return textHome_; }
    uint16_t TextArea() const { return textArea_; }
    uint16_t GraphicHome() const { return graphicHome_; }
    uint16_t GraphicArea() const { return graphicArea_; }
    uint8_t Mode() const { return mode_; }
    uint8_t DisplayMode() const { return displayMode_; }
    bool AutoWrite() const { return autoWrite_; }
    uint8_t Memory(uint16_t address) const { return memory_[address]; }
    int CommandsTaken() const { return commands_; }
    int StatusReads() const { return statusReads_; }

private:
    struct Lines {
        bool WriteLow, ReadLow, ChipEnableLow, CommandHigh;
    };
    Lines Decode(const PortPins& pins) const;
    void TakeByte(uint8_t value, bool command);
    void Execute(uint8_t command);
    void Store(uint16_t address, uint8_t value);
    uint16_t Parameter() const;
    bool TextPixel(int x, int y) const;
    bool GraphicPixel(int x, int y) const;
    bool CursorPixel(int x, int y) const;

    Options options_;
    std::vector<uint8_t> memory_;
    std::vector<uint8_t> parameters_;
    uint16_t addressPointer_ = 0;
    uint16_t textHome_ = 0;
    uint16_t textArea_ = 0;
    uint16_t graphicHome_ = 0;
    uint16_t graphicArea_ = 0;
    uint8_t cursorX_ = 0;
    uint8_t cursorY_ = 0;
    uint8_t cursorLines_ = 1;
    uint8_t mode_ = 0x80;
    uint8_t displayMode_ = 0x90;  // display off after reset
    bool autoWrite_ = false;
    bool autoRead_ = false;

    bool writing_ = false;
    bool writingCommand_ = false;
    uint8_t writingData_ = 0;
    int busyLeft_ = 0;
    int commands_ = 0;
    int statusReads_ = 0;
    uint64_t revision_ = 0;
    ByteObserver observer_;
};

}  // namespace dotvane::emulator

#include "lcd/T6963CDriver.h"

#include "lcd/BaseLetter.h"
#include "platform/HighResolutionClock.h"

#include <algorithm>
#include <array>
#include <random>

namespace dotvane {
namespace {

struct Geometry {
    int32_t TextCells, GraphicBytes, GraphicHome, Columns, FontWidth;
};

constexpr std::array<Geometry, 7> kGeometries{{
    {320, 2560, 0x0200, 40, 6},
    {640, 5120, 0x0300, 40, 6},
    {160, 1280, 0x0200, 32, 8},
    {256, 2048, 0x0300, 16, 8},
    {336, 2731, 0x0300, 21, 6},
    {320, 2560, 0x0300, 20, 8},
    {480, 3840, 0x0300, 30, 8},
}};

// Control register sequences of one byte transfer. Wiring A puts /WR, /CE,
// C/D and /RD on bits 0, 1, 2 and 3; wiring B puts /WR, /CE and C/D on bits
// 0, 2 and 3 (the port inverts bits 0, 1 and 3 on their pins). In wiring B
// the data register is written after the first two control values.
struct Sequence {
    std::array<uint8_t, 5> Control;
    int DataAfter;  // how many control values precede the data write
};
constexpr Sequence kDataA{{0x00, 0x02, 0x03, 0x02, 0x00}, 0};
constexpr Sequence kCommandA{{0x04, 0x06, 0x07, 0x06, 0x00}, 0};
constexpr Sequence kDataB{{0x0C, 0x08, 0x09, 0x08, 0x0C}, 2};
constexpr Sequence kCommandB{{0x04, 0x00, 0x01, 0x00, 0x0C}, 2};

// The accented letters and signs of the internal character generator ROM,
// codes 0x60 … 0x7F in the order of the controller's character code table
// (the order of code page 437 from 0x80): Ç ü é â ä à å ç ê ë è ï î ì Ä Å
// É æ Æ ô ö ò û ù ÿ Ö Ü ¢ £ ¥ Pts ƒ, each as its Latin-1 byte; the last two
// have none and are 0.
constexpr std::array<uint8_t, 32> kRomLatin1{
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 0x00, 0x00,
};
constexpr uint8_t kRomLatin1First = 0x60;

// The character generator's code of a byte of text. Bytes 0x20 … 0x9F are
// the codes 0x00 … 0x7F; a Latin-1 character 160 … 255 is the ROM's own
// accented letter where it has one and its base letter otherwise; the
// control bytes below 0x20 show as a blank (code 0).
uint8_t CharacterCode(uint8_t byte)
{
    if (byte >= 0xA0) {
        const auto rom = std::find(kRomLatin1.begin(), kRomLatin1.end(), byte);
        if (rom != kRomLatin1.end()) return static_cast<uint8_t>(kRomLatin1First + (rom - kRomLatin1.begin()));
        byte = BaseLetter(byte);
    }
    return byte < 0x20 ? 0x00 : static_cast<uint8_t>(byte - 0x20);
}

// Status read with the wiring A lines: data lines to input, C/D high, /CE
// low, then /RD low as well.
constexpr uint8_t kStatusSelect = 0x26;
constexpr uint8_t kStatusRead = 0x2E;
constexpr uint8_t kIdle = 0x00;
constexpr uint8_t kReady = 0x03;  // STA0 and STA1

// How long one byte may wait for the controller before it goes out anyway.
constexpr int64_t kReadyBudgetMicroseconds = 10'000;

// Set Address Pointer, Set Data Auto Write, Auto Reset, Data Write and
// Increment ADP, from the controller's command set.
constexpr uint8_t kSetAddressPointer = 0x24;
constexpr uint8_t kSetDataAutoWrite = 0xB0;
constexpr uint8_t kAutoReset = 0xB2;
constexpr uint8_t kDataWriteIncrement = 0xC0;

// The counter value at which a budget of `microseconds` from now runs out;
// false when the counter cannot be read.
bool Deadline(int64_t microseconds, int64_t& deadline)
{
    auto& clock = platform::HighResolutionClockService::Current();
    int64_t frequency = 0;
    int64_t now = 0;
    if (!clock.QueryFrequency(frequency) || !clock.QueryCounter(now)) return false;
    deadline = now + frequency * microseconds / 1'000'000;
    return true;
}

bool Passed(int64_t deadline)
{
    int64_t now = 0;
    return !platform::HighResolutionClockService::Current().QueryCounter(now) || now >= deadline;
}

}  // namespace

TT6963CDriver::TT6963CDriver(ParallelPort& port, const TMainSettings& settings, Notices& notices)
    : port_(port), settings_(settings), notices_(notices)
{
}

void TT6963CDriver::SetGeometry()
{
    const int32_t size = settings_.T6963C.Size;
    const Geometry& g = kGeometries[(size >= 1 && size <= 7) ? size - 1 : 0];
    TextCells = g.TextCells;
    GraphicBytes = g.GraphicBytes;
    GraphicHome = g.GraphicHome;
    Columns = g.Columns;
    FontWidth = g.FontWidth;
}

bool TT6963CDriver::PollOnce()
{
    port_.WriteRegister(Base(), PortRegister::Control, kStatusSelect);
    port_.WriteRegister(Base(), PortRegister::Control, kStatusRead);
    const uint8_t status = port_.ReadRegister(Base(), PortRegister::Data);
    port_.WriteRegister(Base(), PortRegister::Control, kStatusSelect);
    return (status & kReady) == kReady;
}

void TT6963CDriver::WaitReady()
{
    const uint8_t mode = port_.ReadRegister(Base(), PortRegister::ExtendedControl);
    port_.WriteRegister(Base(), PortRegister::ExtendedControl, static_cast<uint8_t>((mode & 0x1F) | 0x20));

    bool ready = PollOnce();
    if (!ready && !notAnswering_) {
        int64_t deadline = 0;
        const bool timed = Deadline(kReadyBudgetMicroseconds, deadline);
        while (!ready && timed && !Passed(deadline)) ready = PollOnce();
        if (!ready) {
            notAnswering_ = true;
            notices_.SetStatusText("The T6963C display does not answer its busy check.");
        }
    }
    if (ready) notAnswering_ = false;
    port_.WriteRegister(Base(), PortRegister::Control, kIdle);
}

void TT6963CDriver::Transfer(uint8_t value, bool command)
{
    if (settings_.T6963C.CheckBusyFlag) WaitReady();
    const bool wiringA = settings_.T6963C.Wiring == 0;
    const Sequence& sequence = wiringA ? (command ? kCommandA : kDataA) : (command ? kCommandB : kDataB);
    for (int i = 0; i < static_cast<int>(sequence.Control.size()); ++i) {
        if (i == sequence.DataAfter) port_.WriteRegister(Base(), PortRegister::Data, value);
        port_.WriteRegister(Base(), PortRegister::Control, sequence.Control[i]);
    }
}

void TT6963CDriver::WriteData(uint8_t value) { Transfer(value, false); }

void TT6963CDriver::WriteCommand(uint8_t command) { Transfer(command, true); }

void TT6963CDriver::SendWord(uint32_t value, uint8_t command)
{
    WriteData(static_cast<uint8_t>(value & 0xFF));
    WriteData(static_cast<uint8_t>((value >> 8) & 0xFF));
    WriteCommand(command);
}

void TT6963CDriver::InitController()
{
    SendWord(0x0000, 0x40);                          // text home
    SendWord(static_cast<uint8_t>(Columns), 0x41);   // text area
    SendWord(static_cast<uint32_t>(GraphicHome), 0x42);
    SendWord(static_cast<uint8_t>(Columns), 0x43);   // graphic area
    WriteCommand(0x80);                              // OR mode, internal character generator
    WriteCommand(0xA7);                              // 8-line cursor
    SendWord(0x0000, 0x21);                          // cursor at the top left
    WriteCommand(0x9D);                              // graphic and text on, cursor off
}

std::optional<PortOpenFailure> TT6963CDriver::Open()
{
    SetGeometry();
    const uint16_t base = Base();
    const PortRange registers[] = {{base, 3}, {ParallelPort::Address(base, PortRegister::ExtendedControl), 1}};
    std::optional<PortOpenFailure> failure = port_.OpenRegisters(settings_.Port.Device, registers);
    InitController();
    ClearText();
    ClearGraphics();
    return failure;
}

void TT6963CDriver::Blank()
{
    ClearText();
    ClearGraphics();
}

void TT6963CDriver::Clear(bool keepBitmap)
{
    if (!keepBitmap) ClearGraphics();
    ClearText();
}

void TT6963CDriver::ClearText()
{
    SendWord(0x0000, kSetAddressPointer);
    for (int32_t i = 0; i < TextCells; ++i) {
        WriteData(0x00);
        WriteCommand(kDataWriteIncrement);
    }
}

void TT6963CDriver::ClearGraphics()
{
    SendWord(static_cast<uint32_t>(GraphicHome), kSetAddressPointer);
    for (int32_t i = 0; i < GraphicBytes; ++i) {
        WriteData(0x00);
        WriteCommand(kDataWriteIncrement);
    }
}

void TT6963CDriver::SetTextPosition(int32_t column, int32_t row)
{
    const uint32_t address = static_cast<uint32_t>(row) * static_cast<uint32_t>(Columns) +
                             static_cast<uint32_t>(column);
    SendWord(address, kSetAddressPointer);
}

void TT6963CDriver::WriteText(std::string_view text)
{
    for (const char c : text) {
        if (c == '\0') break;
        WriteData(CharacterCode(static_cast<uint8_t>(c)));
        WriteCommand(kDataWriteIncrement);
    }
}

void TT6963CDriver::ClearCells(int32_t column, int32_t row, int32_t count)
{
    SetTextPosition(column, row);
    for (int32_t i = 0; i < count; ++i) {
        WriteData(0x00);
        WriteCommand(kDataWriteIncrement);
    }
}

uint32_t TT6963CDriver::PixelAddress(int32_t x, int32_t y) const
{
    const int32_t width = FontWidth > 0 ? FontWidth : 1;
    return static_cast<uint32_t>(x / width) + static_cast<uint32_t>(y) * static_cast<uint32_t>(Columns) +
           static_cast<uint32_t>(GraphicHome);
}

void TT6963CDriver::SetPixel(int32_t x, int32_t y)
{
    SendWord(PixelAddress(x, y), kSetAddressPointer);
    const int32_t width = FontWidth > 0 ? FontWidth : 1;
    WriteCommand(static_cast<uint8_t>(0xF8 | ((width - 1 - x % width) & 0x07)));
}

void TT6963CDriver::ResetPixel(int32_t x, int32_t y)
{
    SendWord(PixelAddress(x, y), kSetAddressPointer);
    const int32_t width = FontWidth > 0 ? FontWidth : 1;
    WriteCommand(static_cast<uint8_t>(0xF0 | ((width - 1 - x % width) & 0x07)));
}

// Pictures on the T6963C's graphic layer: element images row by row, icons
// pixel by pixel, and the screen bitmap dithered by brightness.
namespace {

// The hardware pixel rule at a position that may lie far outside the
// picture, even outside the 32-bit range.
bool IsOn(const PixelImage& image, int64_t x, int64_t y)
{
    return x >= 0 && y >= 0 && x < image.Width() && y < image.Height() &&
           image.IsOn(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

// 0.6 R + 0.3 G + 0.1 B in single precision; black is 0, white 255.
float Brightness(TColor color)
{
    return static_cast<float>(0.6 * RedOf(color) + 0.3 * GreenOf(color) + 0.1 * BlueOf(color));
}

// A size less a cut, in 32-bit arithmetic that wraps round at the ends of
// the range (so a cut far below zero gives a negative count, not a fault).
int32_t Less(int32_t size, int32_t cut)
{
    return static_cast<int32_t>(static_cast<uint32_t>(size) - static_cast<uint32_t>(cut));
}

}  // namespace

void TT6963CDriver::WriteImageRows(const PixelImage& image, int32_t x, int32_t y, int32_t cutLeft, int32_t cutTop,
                                   int32_t rows, int32_t bytesPerRow)
{
    const int32_t fw = FontWidth;
    if (fw <= 0 || Columns <= 0) return;  // the display was never opened as a T6963C
    // Rows on the lines of the graphic area, and of each row the bytes on its
    // line: byte j lands in byte column firstColumn + j. A run that reaches
    // past the line's end ends with one blank byte, the one that an element
    // ending at the line's end sends there anyway; the rest is not sent.
    const int64_t firstColumn = x / fw;
    const int64_t firstRow = std::max<int64_t>(0, -int64_t{y});
    const int64_t endRow = std::min<int64_t>(rows, int64_t{Lines()} - y);
    const int64_t firstByte = std::max<int64_t>(0, -firstColumn);
    const int64_t lineEnd = Columns - firstColumn;
    const int64_t endByte = std::min<int64_t>(bytesPerRow, lineEnd);
    const bool closing = bytesPerRow > 0 && bytesPerRow > lineEnd;
    if (bytesPerRow > 0 && firstByte >= endByte) return;  // nothing of a row on its line
    for (int64_t r = firstRow; r < endRow; ++r) {
        const int64_t address = firstColumn + firstByte + (y + r) * Columns + GraphicHome;
        WriteData(static_cast<uint8_t>(address & 0xFF));
        WriteData(static_cast<uint8_t>((address >> 8) & 0xFF));
        WriteCommand(kSetAddressPointer);
        WriteCommand(kSetDataAutoWrite);
        for (int64_t j = firstByte; j < endByte; ++j) {
            uint8_t byte = 0;
            for (int32_t k = 0; k < fw; ++k)
                if (IsOn(image, cutLeft + fw * j + k, cutTop + r)) byte |= static_cast<uint8_t>(1u << (fw - 1 - k));
            WriteData(byte);
        }
        if (closing) WriteData(0x00);
        WriteCommand(kAutoReset);
    }
}

void TT6963CDriver::DrawBitmap(const PixelImage& image, uint32_t seed)
{
    const int32_t fw = FontWidth;
    if (fw <= 0) return;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> threshold(0, 254);
    const int32_t bytesPerRow = settings_.LCD.XPixels / fw;

    WriteData(static_cast<uint8_t>(GraphicHome & 0xFF));
    WriteData(static_cast<uint8_t>((GraphicHome >> 8) & 0xFF));
    WriteCommand(kSetAddressPointer);
    // The rows follow one another byte after byte from GraphicHome; whatever
    // would lie past the graphic area is not sent.
    int32_t room = GraphicBytes;
    for (int32_t i = 0; i < settings_.LCD.YPixels && room > 0; ++i) {
        for (int32_t j = 0; j < bytesPerRow && room > 0; ++j, --room) {
            uint8_t byte = 0;
            for (int32_t k = 0; k < fw; ++k) {
                const int32_t px = fw * j + k;
                const float light = image.Contains(px, i) ? Brightness(image.Pixel(px, i)) : 255.0f;
                byte = static_cast<uint8_t>((byte << 1) | (threshold(random) >= light ? 1 : 0));
            }
            WriteData(byte);
            WriteCommand(kDataWriteIncrement);
        }
    }
}

bool TT6963CDriver::DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed)
{
    const std::unique_ptr<PixelImage> image = load(fileName);
    if (!image) return false;
    DrawBitmap(*image, seed);
    return true;
}

void TT6963CDriver::DrawIcon(const PixelImage& icon, int32_t x, int32_t y)
{
    // Only the pixels on the graphic area are touched: past its edges a
    // pixel's address runs into the next line, the text area or round the
    // controller's memory, onto pixels of the display.
    const int64_t left = std::max<int64_t>(0, -int64_t{x});
    const int64_t top = std::max<int64_t>(0, -int64_t{y});
    const int64_t right = std::min<int64_t>(icon.Width(), int64_t{LineWidth()} - x);
    const int64_t bottom = std::min<int64_t>(icon.Height(), int64_t{Lines()} - y);
    for (int64_t i = top; i < bottom; ++i)
        for (int64_t j = left; j < right; ++j) ResetPixel(int32_t(x + j), int32_t(y + i));
    for (int64_t i = top; i < bottom; ++i)
        for (int64_t j = left; j < right; ++j)
            if (icon.IsOn(int32_t(j), int32_t(i))) SetPixel(int32_t(x + j), int32_t(y + i));
}

TColor TT6963CDriver::FontTextInk() const { return StringToColor(settings_.VLCD.GraphicsColor); }

void TT6963CDriver::DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width)
{
    if (FontWidth > 0) WriteImageRows(bar, x, y, 0, 0, height, width / FontWidth + 1);
}

void TT6963CDriver::DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft)
{
    if (FontWidth > 0)
        WriteImageRows(text, x, y, cutLeft, cutTop, Less(text.Height(), cutTop),
                       Less(text.Width(), cutLeft) / FontWidth + 1);
}

}  // namespace dotvane

#include "lcd/KS0108Driver.h"

#include "lcd/BaseLetter.h"
#include "lcd/Font5x7.h"
#include "lcd/PixelImage.h"
#include "platform/FileNames.h"
#include "platform/HighResolutionClock.h"
#include "platform/RegularFiles.h"

#include <algorithm>
#include <array>

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

void TKS0108Driver::ClearCells(int32_t column, int32_t row, int32_t count)
{
    // No cell lies further right than the module's last column.
    const int64_t cells = std::clamp<int64_t>(count, 0, 128 / kCellWidth + 1);
    SetTextPosition(column, row);
    const std::array<uint8_t, kCellWidth> blank{};
    for (int64_t i = 0; i < cells; ++i) WriteData(blank.data(), kCellWidth);
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

// Pictures on the KS0108: element images in bands of eight rows, and the
// screen bitmap from its fixed one-bit file.
namespace {

// Offset of the pixel array in the 1086-byte bitmap file, and its row length.
constexpr size_t kPixelArray = 62;
constexpr size_t kFileRowBytes = 16;

// How many bands of an element at most reach the module.
constexpr int32_t kVisibleBands = 9;

// The hardware pixel rule at a row that may lie past the 32-bit range.
bool IsOn(const PixelImage& image, int32_t x, int64_t y)
{
    return y < image.Height() && image.IsOn(x, static_cast<int32_t>(y));
}

}  // namespace

void TKS0108Driver::WriteImageBands(const PixelImage& image, int32_t x, int32_t y, int32_t bands, int32_t columns)
{
    // Bands start at image row 1: row 0 never reaches the module. Positions
    // are 32-bit and wrap round at the ends of the range; the module keeps
    // only the low three bits of a page and the low eight of a column, and
    // takes no data past column 127. So band m + 8 covers all that band m
    // wrote, and column c + 256 of a band what column c wrote: only the
    // last bands (nine, enough for an element as high as the display with
    // its extra band) and of each the last 256 columns can still be seen,
    // and of these only the columns that fall on the display are sent.
    const int32_t firstPage = static_cast<int32_t>(static_cast<uint32_t>(y) + 1u) / 8;
    const auto firstBand = static_cast<int32_t>(std::max<int64_t>(0, int64_t{bands} - kVisibleBands));
    const auto firstColumn = static_cast<int32_t>(std::max<int64_t>(0, int64_t{columns} - 256));
    for (int32_t m = firstBand; m < bands; ++m) {
        for (int32_t c = firstColumn; c < columns; ++c) {
            const auto column = static_cast<uint8_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(c));
            if (column > 127) continue;
            uint8_t byte = 0;
            for (int32_t b = 0; b < 8; ++b)
                if (IsOn(image, c, int64_t{8} * m + 1 + b)) byte |= static_cast<uint8_t>(1u << b);
            SetPage(static_cast<uint8_t>(static_cast<uint32_t>(firstPage) + static_cast<uint32_t>(m)));
            SetColumn(column);
            WriteData(&byte, 1);
        }
    }
}

bool TKS0108Driver::DrawBitmapFile(const std::filesystem::path& file)
{
    // Only the fixed size is read, however long the file; a folder, FIFO
    // or device is no bitmap file.
    const platform::FileContents contents = platform::ReadRegularFile(file, FileBuffer.size());
    if (contents.status != platform::FileStatus::Ok && contents.status != platform::FileStatus::TooLarge) return false;
    // A shorter file leaves the rest of the buffer from the file before.
    std::copy(contents.bytes.begin(), contents.bytes.end(), reinterpret_cast<char*>(FileBuffer.data()));

    for (int page = 0; page < 8; ++page) {
        for (int x = 0; x < 128; ++x) {
            uint8_t byte = 0;
            for (int k = 0; k < 8; ++k) {
                const int row = 8 * page + k;
                const uint8_t stored = FileBuffer[kPixelArray + kFileRowBytes * (63 - row) + x / 8];
                if (((stored >> (7 - x % 8)) & 1) == 0) byte |= static_cast<uint8_t>(1u << k);
            }
            PageImage[page * 128 + x] = byte;
        }
    }
    for (int page = 0; page < 8; ++page) {
        SetPage(static_cast<uint8_t>(page));
        SetColumn(0);
        for (int x = 0; x < 128; ++x) WriteData(&PageImage[page * 128 + x], 1);
    }
    return true;
}

// What the renderer hands the KS0108: the screen bitmap from its own file
// format, and icons, bars and font texts as bands of eight rows.
bool TKS0108Driver::DrawScreenBitmap(const std::string& fileName, const PictureLoader&, uint32_t)
{
    return DrawBitmapFile(platform::NativePath(fileName));
}

void TKS0108Driver::DrawIcon(const PixelImage& icon, int32_t x, int32_t y)
{
    WriteImageBands(icon, x, y, icon.Height() / 8, icon.Width());
}

void TKS0108Driver::DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width)
{
    WriteImageBands(bar, x, y, height / 8 + 1, width);
}

void TKS0108Driver::DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t, int32_t)
{
    WriteImageBands(text, x, y, text.Height() / 8 + 1, text.Width());
}

}  // namespace dotvane

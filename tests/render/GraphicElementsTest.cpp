#include "render/BarPicture.h"
#include "tests/render/HardwareFixture.h"
#include "tests/support/FakeSystemInfo.h"

#include <gtest/gtest.h>

#include <limits>

namespace dotvane {
namespace {

using test::Byte;
using test::C;
using test::D;

class GraphicElementsTest : public test::HardwareTest {
protected:
    void SetUp() override
    {
        HardwareTest::SetUp();
        memory.record.MemoryLoad = 57;
    }

    // The columns of a row of the virtual display that are black, as a
    // string of '#' and '.'.
    std::string Row(int y, int x0, int x1) const
    {
        std::string row;
        for (int x = x0; x < x1; ++x) row += At(x, y) == kBlack ? '#' : '.';
        return row;
    }
    static std::string BarRow(int length, int width)
    {
        std::string row;
        for (int x = 0; x < width; ++x) row += (x < length && x % 5 != 4) ? '#' : '.';
        return row;
    }

    test::FakeMemoryStatus memory;
};

TEST_F(GraphicElementsTest, BarIsPaintedAndSentRowByRowToTheT6963C)
{
    UseT6963C(1);
    renderer.DrawGraphicElement("bar(0,56,8,100,memusage)");
    for (int y = 56; y < 64; ++y) EXPECT_EQ(Row(y, 0, 100), BarRow(57, 100)) << y;
    EXPECT_EQ(At(100, 60), kYellow);

    const std::vector<Byte> bytes = Decode(port);
    ASSERT_EQ(bytes.size(), 8u * (4 + 17 + 1));
    for (int r = 0; r < 8; ++r) {
        const size_t at = size_t(r) * 22;
        const int address = 0x200 + (56 + r) * 40;
        EXPECT_EQ(std::vector<Byte>(bytes.begin() + long(at), bytes.begin() + long(at) + 4),
                  (std::vector<Byte>{D(address & 0xFF), D(address >> 8), C(0x24), C(0xB0)}));
        // Pixels 0-3 and 5 are on, the gap at 4 off: 111101.
        EXPECT_EQ(bytes[at + 4], D(0x3D));
        // Columns 54-59: 54 is a gap, 55 and 56 on, the rest beyond the value.
        EXPECT_EQ(bytes[at + 4 + 9], D(0x18));
        EXPECT_EQ(bytes[at + 4 + 16], D(0x00));
        EXPECT_EQ(bytes[at + 21], C(0xB2));
    }
}

TEST_F(GraphicElementsTest, BarValuesOutsideTheBarAndWithoutDigits)
{
    UseT6963C(1);
    test::FakePowerStatus power;
    power.record.ACLineStatus = 1;  // "Online" has no digits
    const std::vector<std::pair<uint32_t, std::string>> cases{
        {0, BarRow(0, 100)}, {250, BarRow(250, 100)}};
    for (const auto& [load, expected] : cases) {
        memory.record.MemoryLoad = load;
        renderer.PrepareVirtualDisplay();
        renderer.DrawGraphicElement("bar(0,0,8,100,memusage)");
        EXPECT_EQ(Row(3, 0, 100), expected) << load;
    }
    for (const char* descriptor : {"bar(0,0,8,100,bat_acline)", "bar(0,0,8,100,$memusage$)",
                                   "bar(0,0,8,100,mbmtemp(0))", "bar(0,0,8,100,unknown)"}) {
        renderer.PrepareVirtualDisplay();
        renderer.DrawGraphicElement(descriptor);
        EXPECT_EQ(Row(3, 0, 100), BarRow(0, 100)) << descriptor;
        EXPECT_EQ(At(50, 3), kYellow) << descriptor;
    }
}

TEST_F(GraphicElementsTest, NegativeBarValueDrawsTheEmptyArea)
{
    UseT6963C(1);
    test::FakePowerStatus power;
    power.record.BatteryLifeTime = static_cast<uint32_t>(-5);
    ScreenTable[0].Graphic[0] = "bar(0,0,8,20,bat_lifetime)";
    renderer.DrawGraphics();
    EXPECT_EQ(Row(0, 0, 20), std::string(20, '.'));
    EXPECT_EQ(Decode(port)[4], D(0x00));
}

TEST_F(GraphicElementsTest, WithoutHardwareOnlyGraphsAreDrawn)
{
    ScreenTable[0].Graphic = {"bar(0,0,8,100,memusage)", "text(0,20,0,\"Hello\")", "graph(0,30,99,60,memusage)"};
    renderer.DrawGraphics();
    for (int y = 0; y < 29; ++y) EXPECT_EQ(Row(y, 0, 128), std::string(128, '.')) << y;
    EXPECT_EQ(At(99, 40), kBlack);
    EXPECT_TRUE(port.Log.empty());
    EXPECT_EQ(memory.queries, 2);  // the bar's variable is still read
}

TEST_F(GraphicElementsTest, ElementsAtXNotOnAByteBoundaryStartAtTheByte)
{
    MainSettings.VLCD.BackColor = "clWhite";
    UseT6963C(1);
    memory.record.MemoryLoad = 100;
    renderer.DrawGraphicElement("bar(13,0,8,4,memusage)");
    const std::vector<Byte> bytes = Decode(port);
    // Byte column 13 div 6 = 2 holds the bar's pixels 0-3 in its left bits.
    EXPECT_EQ(bytes[0], D(2));
    EXPECT_EQ(bytes[4], D(0x3C));
    EXPECT_EQ(bytes[5], C(0xB2));
}

// The data bytes of each row's auto-write run, with the address it starts at.
struct AutoWriteRun {
    int address;
    std::vector<uint8_t> bytes;
};
std::vector<AutoWriteRun> Runs(const std::vector<Byte>& sent)
{
    std::vector<AutoWriteRun> runs;
    for (size_t i = 0; i + 3 < sent.size(); ++i)
        if (sent[i + 2] == C(0x24) && sent[i + 3] == C(0xB0)) {
            AutoWriteRun run{sent[i].Value | (sent[i + 1].Value << 8), {}};
            for (i += 4; i < sent.size() && !sent[i].Command; ++i) run.bytes.push_back(sent[i].Value);
            runs.push_back(run);
        }
    return runs;
}

// Size 4: 128 lines of 16 bytes from 0x300. A bar reaching past every edge
// sends the rows on those lines only, each from the line's start to its end
// and one blank byte.
TEST_F(GraphicElementsTest, T6963CElementsAreSentOnlyOnTheGraphicArea)
{
    UseT6963C(4);
    memory.record.MemoryLoad = 100;
    renderer.DrawGraphicElement("bar(-20,-3,1000,300,memusage)");
    const std::vector<AutoWriteRun> runs = Runs(Decode(port));
    ASSERT_EQ(runs.size(), 128u);
    for (int line = 0; line < 128; ++line) {
        const AutoWriteRun& run = runs[size_t(line)];
        EXPECT_EQ(run.address, 0x300 + 16 * line);
        ASSERT_EQ(run.bytes.size(), 17u) << line;
        // Byte column 0 holds the bar's pixels 16 … 23.
        for (int b = 0; b < 16; ++b) {
            uint8_t expected = 0;
            for (int k = 0; k < 8; ++k) {
                const int column = 16 + 8 * b + k;
                if (column < 100 && column % 5 != 4) expected |= uint8_t(0x80 >> k);
            }
            EXPECT_EQ(run.bytes[size_t(b)], expected) << line << "," << b;
        }
        EXPECT_EQ(run.bytes[16], 0);
    }
}

TEST_F(GraphicElementsTest, AbsurdSizesAndCutsCostNoMoreThanTheDisplay)
{
    UseT6963C(4);
    memory.record.MemoryLoad = 2000000000;
    FontTable[1] = FontEntry{"Any Face", 8, 0, 0, false};
    renderer.DrawGraphicElement("bar(0,60,5000,8,memusage)");
    ASSERT_EQ(Runs(Decode(port)).size(), 68u);

    const auto measure = [this](const std::string& descriptor) {
        port.Log.clear();
        renderer.DrawGraphicElement(descriptor);
        size_t sent = 0;
        for (const AutoWriteRun& run : Runs(Decode(port))) sent += run.bytes.size();
        return sent;
    };
    EXPECT_EQ(measure("bar(0,0,2000000000,2000000000,memusage)"), 128u * 17u);
    EXPECT_EQ(Row(30, 0, 128), BarRow(128, 128));
    FontTable[1].CutTop = -2000000000;
    FontTable[1].CutLeft = -2000000000;
    EXPECT_EQ(measure("text(0,0,1,\"Wq\")"), 128u * 17u);

    UseKS0108();
    renderer.DrawGraphicElement("bar(0,0,2000000000,2000000000,memusage)");
    // Nine bands of the whole width: the last time each page is reached,
    // and the band before it.
    EXPECT_EQ(test::DataBytes(test::DecodeKS0108(port), TKS0108Driver::kLeft).size(), 9u * 64u);
    EXPECT_EQ(test::DataBytes(test::DecodeKS0108(port), TKS0108Driver::kRight).size(), 9u * 64u);
}

TEST_F(GraphicElementsTest, KS0108ElementsAtTheEndOfTheCoordinateRange)
{
    UseKS0108();
    memory.record.MemoryLoad = 100;
    renderer.DrawGraphicElement("bar(2147483647,2147483647,8,2,memusage)");
    // In 32-bit arithmetic the two bands go to pages 0 and 1 ((y + 1) div 8
    // taken as 8 bits) and x + 1 wraps round to column 0; column 255 is past
    // the display and is not addressed at all.
    const std::vector<test::Taken> taken = test::DecodeKS0108(port);
    std::vector<uint8_t> instructions;
    for (const test::Taken& t : taken)
        if (t.Instruction && t.Chip == TKS0108Driver::kRight) instructions.push_back(t.Value);
    EXPECT_EQ(instructions, (std::vector<uint8_t>{0xB8, 0x40, 0xB9, 0x40}));
    EXPECT_EQ(test::DataBytes(taken, TKS0108Driver::kLeft), (std::vector<uint8_t>{0x7F, 0x00}));
}

TEST_F(GraphicElementsTest, TextContentIsALiteralOrAVariable)
{
    FontTable[0].Name = "Any Face";
    FontTable[0].Size = 8;
    UseKS0108();
    renderer.DrawGraphicElement("text(2,20,0,\"Hello, world\")");
    const RgbImage withComma = renderer.VlcdBitmap.image;
    renderer.PrepareVirtualDisplay();
    renderer.DrawGraphicElement("text(2,20,0,\"Hello\")");
    EXPECT_NE(withComma, renderer.VlcdBitmap.image);  // the comma and what follows are drawn

    renderer.PrepareVirtualDisplay();
    renderer.DrawGraphicElement("text(2,20,0,memusage)");
    renderer.DrawGraphicElement("text(2,20,7,\"x\")");
    renderer.DrawGraphicElement("text(2,20,-1,\"x\")");
    for (int y = 0; y < 64; ++y) EXPECT_EQ(Row(y, 0, 128), std::string(128, '.')) << y;

    renderer.DrawGraphicElement("text(2,20,0,$memusage$)");
    bool drawn = false;
    for (int y = 20; y < 40; ++y) drawn |= Row(y, 0, 40).find('#') != std::string::npos;
    EXPECT_TRUE(drawn);
}

TEST_F(GraphicElementsTest, LiteralIsCutAtTheFirstClosingParenthesis)
{
    FontTable[0].Name = "Any Face";
    FontTable[0].Size = 8;
    UseKS0108();
    renderer.DrawGraphicElement("text(0,0,0,\"a(b)\")");
    const RgbImage cut = renderer.VlcdBitmap.image;
    renderer.PrepareVirtualDisplay();
    renderer.DrawGraphicElement("text(0,0,0,\"a(\")");
    EXPECT_EQ(cut, renderer.VlcdBitmap.image);
}

class FontTextTest : public test::HardwareTest {
protected:
    void SetUp() override
    {
        HardwareTest::SetUp();
        FontTable[1] = FontEntry{"Any Face", 8, 0, 0, false};
    }
    // The data bytes of each row's auto-write run.
    std::vector<std::vector<uint8_t>> SentRows() const
    {
        std::vector<std::vector<uint8_t>> rows;
        bool autoWrite = false;
        for (const Byte& b : Decode(port)) {
            if (b == C(0xB0)) rows.emplace_back();
            if (b.Command) autoWrite = b == C(0xB0);
            else if (autoWrite) rows.back().push_back(b.Value);
        }
        return rows;
    }
};

TEST_F(FontTextTest, InvertedTextIsABlackBoxWithTheGlyphsOff)
{
    FontTable[1].Invert = true;
    UseT6963C(4);
    renderer.DrawGraphicElement("text(8,8,1,\"IM\")");
    const auto rows = SentRows();
    ASSERT_GT(rows.size(), 5u);
    // The top row of the box holds no glyph: all of it is on.
    EXPECT_EQ(rows[0][0], 0xFF);
    // Some row crosses the glyphs, which are off inside the box.
    bool glyphOff = false;
    for (const auto& row : rows) glyphOff |= row[0] != 0xFF;
    EXPECT_TRUE(glyphOff);
    // On the virtual display the box is black and the glyphs let the
    // yellow through.
    EXPECT_EQ(At(8, 8), kBlack);
    bool yellowInside = false;
    for (int y = 9; y < 18; ++y)
        for (int x = 9; x < 20; ++x) yellowInside |= At(x, y) == kYellow;
    EXPECT_TRUE(yellowInside);
}

TEST_F(FontTextTest, ColouredTextShowsOnlyOnTheVirtualDisplay)
{
    MainSettings.VLCD.GraphicsColor = "clRed";
    UseT6963C(4);
    renderer.DrawGraphicElement("text(0,0,1,\"Red\")");
    for (const auto& row : SentRows())
        for (uint8_t byte : row) EXPECT_EQ(byte, 0);
    bool red = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 30; ++x) red |= At(x, y) == 0xFF0000;
    EXPECT_TRUE(red);
}

TEST_F(FontTextTest, CutRowsAndColumnsAreDroppedOnTheT6963COnly)
{
    UseT6963C(4);
    renderer.DrawGraphicElement("text(0,0,1,\"Wq\")");
    const auto whole = SentRows();
    const RgbImage uncut = renderer.VlcdBitmap.image;

    FontTable[1].CutTop = 2;
    FontTable[1].CutLeft = 1;
    renderer.PrepareVirtualDisplay();
    port.Log.clear();
    renderer.DrawGraphicElement("text(0,0,1,\"Wq\")");
    const auto cut = SentRows();
    EXPECT_EQ(uncut, renderer.VlcdBitmap.image);
    ASSERT_EQ(cut.size() + 2, whole.size());
    for (size_t r = 0; r < cut.size(); ++r) {
        // Row r of the cut text is row r + 2 of the whole one, one pixel
        // further left.
        for (size_t j = 0; j + 1 < cut[r].size() && j + 1 < whole[r + 2].size(); ++j) {
            const uint8_t shifted = static_cast<uint8_t>((whole[r + 2][j] << 1) | (whole[r + 2][j + 1] >> 7));
            EXPECT_EQ(cut[r][j], shifted) << "row " << r << " byte " << j;
        }
    }
}

TEST_F(FontTextTest, CutsAtTheEndOfTheRangeSendNoPixels)
{
    UseT6963C(4);
    // The row and byte counts are 32-bit and wrap round to negative counts.
    FontTable[1].CutTop = std::numeric_limits<int32_t>::min();
    renderer.DrawGraphicElement("text(0,0,1,\"Wq\")");
    EXPECT_TRUE(Decode(port).empty());

    FontTable[1].CutTop = 0;
    FontTable[1].CutLeft = std::numeric_limits<int32_t>::min();
    renderer.DrawGraphicElement("text(0,0,1,\"Wq\")");
    const auto rows = SentRows();
    EXPECT_FALSE(rows.empty());
    for (const auto& row : rows) EXPECT_TRUE(row.empty());
}

class KS0108BandsTest : public test::PanelTest {
protected:
    void SetUp() override
    {
        OpenPanel(Config(emulator::SimulationConfig::Module::KS0108, 128, 64, 6));
        fixture->MainSettings.LCD.Type = 1;
        fixture->display.Open();
        memory.record.MemoryLoad = 100;
        harness->renderer.PrepareVirtualDisplay();
    }
    test::FakeMemoryStatus memory;
};

TEST_F(KS0108BandsTest, ElementsLoseTheirTopRowAndLandOnPagesFromYPlusOne)
{
    harness->renderer.DrawGraphicElement("bar(0,0,8,4,memusage)");
    harness->renderer.DrawGraphicElement("bar(10,7,8,4,memusage)");
    const emulator::Glass glass = Glass();
    // At y = 0 rows 1 … 7 of the bar land on display rows 0 … 6.
    for (int y = 0; y < 7; ++y) EXPECT_TRUE(glass.At(0, y)) << y;
    EXPECT_FALSE(glass.At(0, 7));
    // At y = 7 they land on rows 8 … 14, where the virtual display has them.
    EXPECT_FALSE(glass.At(10, 7));
    for (int y = 8; y < 15; ++y) EXPECT_TRUE(glass.At(10, y)) << y;
    EXPECT_FALSE(glass.At(10, 15));
    EXPECT_EQ(harness->renderer.VlcdBitmap.image.Pixel(10, 14), 0x000000u);
}

// The KS0108 keeps a page's low three bits and a column's low eight, so an
// element past the bottom or the right edge comes round again on the glass.
// Sending only what can still be seen leaves the glass as sending it all does.
TEST_F(KS0108BandsTest, WrappingElementsLeaveTheGlassAsSendingThemWhole)
{
    const auto sendAll = [this](const PixelImage& image, int32_t x, int32_t y, int32_t bands, int32_t columns) {
        TKS0108Driver& KS0108Driver = fixture->KS0108();
        const auto firstPage = static_cast<uint32_t>(static_cast<int32_t>(static_cast<uint32_t>(y) + 1u) / 8);
        for (int32_t m = 0; m < bands; ++m)
            for (int32_t c = 0; c < columns; ++c) {
                uint8_t byte = 0;
                for (int32_t b = 0; b < 8; ++b)
                    if (image.IsOn(c, 8 * m + 1 + b)) byte |= uint8_t(1u << b);
                KS0108Driver.SetPage(uint8_t(firstPage + uint32_t(m)));
                KS0108Driver.SetColumn(uint8_t(uint32_t(x) + uint32_t(c)));
                KS0108Driver.WriteData(&byte, 1);
            }
    };
    struct Case {
        int32_t x, y, height, width, length;
    };
    const std::vector<Case> cases{{100, 0, 200, 600, 500}, {-300, -50, 30, 500, 450}, {0, 56, 8, 100, 57},
                                  {20, 63, 70, 40, 40}};
    for (const Case& c : cases) {
        const BarPicture bar(c.width, c.height, c.length, clYellow, clBlack);
        OpenPanel(Config(emulator::SimulationConfig::Module::KS0108, 128, 64, 6));
        fixture->MainSettings.LCD.Type = 1;
        fixture->display.Open();
        fixture->KS0108().WriteImageBands(bar, c.x, c.y, c.height / 8 + 1, c.width);
        const emulator::Glass sent = Glass();
        OpenPanel(Config(emulator::SimulationConfig::Module::KS0108, 128, 64, 6));
        fixture->MainSettings.LCD.Type = 1;
        fixture->display.Open();
        sendAll(bar, c.x, c.y, c.height / 8 + 1, c.width);
        EXPECT_EQ(sent, Glass()) << c.x << "," << c.y;
        EXPECT_GT(sent.LitCount(), 0) << c.x << "," << c.y;
    }
}

class T6963CEdgeTest : public test::PanelTest {
protected:
    void SetUp() override
    {
        OpenPanel(Config(emulator::SimulationConfig::Module::T6963C, 128, 64, 8));
        fixture->MainSettings.LCD.Type = 0;
        fixture->MainSettings.T6963C.Size = 4;
        fixture->display.Open();
        memory.record.MemoryLoad = 100;
        harness->renderer.PrepareVirtualDisplay();
    }
    test::FakeMemoryStatus memory;
};

// A bar across the right edge: the part past it used to run on into the
// start of the lines below; now only the closing blank byte lands there.
TEST_F(T6963CEdgeTest, ElementsEndAtTheRightEdge)
{
    harness->renderer.DrawGraphicElement("bar(120,0,8,40,memusage)");
    const emulator::Glass glass = Glass();
    for (int y = 0; y < 8; ++y)
        for (int x = 120; x < 128; ++x) EXPECT_EQ(glass.At(x, y), x != 124) << x << "," << y;
    for (int y = 1; y < 9; ++y)
        for (int x = 0; x < 40; ++x) EXPECT_FALSE(glass.At(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace dotvane

#include "BusDecoders.h"
#include "PortFixture.h"

#include "lcd/T6963CDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace dotvane::test {
namespace {

using Access = RecordingPort::Access;

Access Data(uint32_t value, uint32_t base = 888) { return {true, base, value, 1}; }
Access Control(uint32_t value, uint32_t base = 888) { return {true, base + 2, value, 1}; }

class T6963CDriverTest : public RecordingPortTest {
protected:
    void SetUp() override
    {
        OpenPort();
        T6963CDriver.SetGeometry();
    }
};

TEST_F(T6963CDriverTest, WiringADataAndCommandSequences)
{
    T6963CDriver.WriteData(0x41);
    EXPECT_EQ(port.Log, (std::vector<Access>{Data(0x41), Control(0x00), Control(0x02), Control(0x03),
                                             Control(0x02), Control(0x00)}));
    port.Log.clear();
    T6963CDriver.WriteCommand(0x98);
    EXPECT_EQ(port.Log, (std::vector<Access>{Data(0x98), Control(0x04), Control(0x06), Control(0x07),
                                             Control(0x06), Control(0x00)}));
}

TEST_F(T6963CDriverTest, EveryNonZeroWiringIsWiringB)
{
    for (int32_t wiring : {1, 2, -1}) {
        MainSettings.T6963C.Wiring = wiring;
        port.Log.clear();
        T6963CDriver.WriteData(0x41);
        EXPECT_EQ(port.Log, (std::vector<Access>{Control(0x0C), Control(0x08), Data(0x41), Control(0x09),
                                                 Control(0x08), Control(0x0C)}))
            << "wiring " << wiring;
        port.Log.clear();
        T6963CDriver.WriteCommand(0x24);
        EXPECT_EQ(port.Log, (std::vector<Access>{Control(0x04), Control(0x00), Data(0x24), Control(0x01),
                                                 Control(0x00), Control(0x0C)}))
            << "wiring " << wiring;
    }
}

TEST_F(T6963CDriverTest, BaseIsReadAtEveryByte)
{
    MainSettings.Port.Base = 632;
    T6963CDriver.WriteData(0x12);
    MainSettings.Port.Base = 0x1000A;  // only the low 16 bits count
    T6963CDriver.WriteData(0x34);
    EXPECT_EQ(port.WritesTo(632), (std::vector<uint32_t>{0x12}));
    EXPECT_EQ(port.WritesTo(634).size(), 5u);
    EXPECT_EQ(port.WritesTo(0x0A), (std::vector<uint32_t>{0x34}));
    EXPECT_EQ(port.WritesTo(0x0C).size(), 5u);
}

TEST_F(T6963CDriverTest, TextCodesMapThroughTheCharacterGenerator)
{
    const std::vector<std::pair<std::string, uint8_t>> cases{
        {"A", 0x21}, {" ", 0x00}, {"\x85", 0x65}, {"\x9F", 0x7F}, {"\x0A", 0x00}, {"\xE9", 0x62},
        {"\xA0", 0x00}, {"\x1F", 0x00}, {"~", 0x5E}, {"\x80", 0x60}, {"\x7F", 0x5F},
    };
    for (const auto& [text, code] : cases) {
        port.Log.clear();
        T6963CDriver.WriteText(text);
        EXPECT_EQ(Decode(port), (std::vector<Byte>{D(code), C(0xC0)})) << static_cast<int>(static_cast<uint8_t>(text[0]));
    }
}

// The codes of the Latin-1 characters 160 … 255: the ROM's own accented
// letter or sign at 0x60 … 0x7D where it has one, the base letter's code
// otherwise.
constexpr uint8_t kLatin1Codes[96] = {
    // NBSP ¡ ¢ £ ¤ ¥ ¦ § ¨ © ª « ¬ SHY ® ¯
    0x00, 0x01, 0x7B, 0x7C, 0x0A, 0x7D, 0x5C, 0x33, 0x02, 0x23, 0x41, 0x1C, 0x0D, 0x0D, 0x32, 0x0D,
    // ° ± ² ³ ´ µ ¶ · ¸ ¹ º » ¼ ½ ¾ ¿
    0x4F, 0x0B, 0x12, 0x13, 0x07, 0x55, 0x30, 0x0E, 0x0C, 0x11, 0x4F, 0x1E, 0x05, 0x05, 0x05, 0x1F,
    // À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    0x21, 0x21, 0x21, 0x21, 0x6E, 0x6F, 0x72, 0x60, 0x25, 0x70, 0x25, 0x25, 0x29, 0x29, 0x29, 0x29,
    // Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    0x24, 0x2E, 0x2F, 0x2F, 0x2F, 0x2F, 0x79, 0x58, 0x2F, 0x35, 0x35, 0x35, 0x7A, 0x39, 0x30, 0x53,
    // à á â ã ä å æ ç è é ê ë ì í î ï
    0x65, 0x41, 0x63, 0x41, 0x64, 0x66, 0x71, 0x67, 0x6A, 0x62, 0x68, 0x69, 0x6D, 0x49, 0x6C, 0x6B,
    // ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
    0x44, 0x4E, 0x75, 0x4F, 0x73, 0x4F, 0x74, 0x0F, 0x4F, 0x77, 0x55, 0x76, 0x61, 0x59, 0x50, 0x78,
};

TEST_F(T6963CDriverTest, Latin1CharactersGoAsTheRomLetterOrTheBaseLetter)
{
    std::string text;
    std::vector<Byte> expected;
    for (int code = 160; code < 256; ++code) {
        text += static_cast<char>(code);
        expected.push_back(D(kLatin1Codes[code - 160]));
        expected.push_back(C(0xC0));
    }
    T6963CDriver.WriteText(text);
    EXPECT_EQ(Decode(port), expected);

    // Each of the ROM's accented codes stands for exactly one character.
    for (int code = 0x60; code <= 0x7D; ++code)
        EXPECT_EQ(std::count(std::begin(kLatin1Codes), std::end(kLatin1Codes), code), 1) << code;
}

TEST_F(T6963CDriverTest, WriteTextStopsAtNul)
{
    T6963CDriver.WriteText(std::string_view("AB\0C", 4));
    EXPECT_EQ(Decode(port), (std::vector<Byte>{D(0x21), C(0xC0), D(0x22), C(0xC0)}));
}

TEST_F(T6963CDriverTest, SetPixelAndResetPixelAddressOneBit)
{
    T6963CDriver.SetPixel(13, 2);
    EXPECT_EQ(Decode(port), (std::vector<Byte>{D(0x52), D(0x02), C(0x24), C(0xFC)}));
    port.Log.clear();
    T6963CDriver.ResetPixel(13, 2);
    EXPECT_EQ(Decode(port), (std::vector<Byte>{D(0x52), D(0x02), C(0x24), C(0xF4)}));
    port.Log.clear();
    T6963CDriver.SetPixel(0, 0);  // leftmost pixel of a 6-pixel byte: bit 5
    EXPECT_EQ(Decode(port), (std::vector<Byte>{D(0x00), D(0x02), C(0x24), C(0xFD)}));
}

TEST_F(T6963CDriverTest, SetTextPositionAtSize7)
{
    MainSettings.T6963C.Size = 7;
    T6963CDriver.SetGeometry();
    T6963CDriver.SetTextPosition(5, 3);
    EXPECT_EQ(Decode(port), (std::vector<Byte>{D(0x5F), D(0x00), C(0x24)}));
}

TEST_F(T6963CDriverTest, GeometryOfEverySize)
{
    struct Row {
        int32_t Size, TextCells, GraphicBytes, GraphicHome, Columns, FontWidth;
    };
    const std::vector<Row> rows{
        {1, 320, 2560, 0x200, 40, 6}, {2, 640, 5120, 0x300, 40, 6}, {3, 160, 1280, 0x200, 32, 8},
        {4, 256, 2048, 0x300, 16, 8}, {5, 336, 2731, 0x300, 21, 6}, {6, 320, 2560, 0x300, 20, 8},
        {7, 480, 3840, 0x300, 30, 8},
        // Sizes without a layout fall back to Size 1 instead of leaving
        // everything zero.
        {0, 320, 2560, 0x200, 40, 6}, {8, 320, 2560, 0x200, 40, 6}, {-3, 320, 2560, 0x200, 40, 6},
    };
    for (const Row& row : rows) {
        MainSettings.T6963C.Size = row.Size;
        T6963CDriver.SetGeometry();
        EXPECT_EQ(T6963CDriver.TextCells, row.TextCells) << "size " << row.Size;
        EXPECT_EQ(T6963CDriver.GraphicBytes, row.GraphicBytes) << "size " << row.Size;
        EXPECT_EQ(T6963CDriver.GraphicHome, row.GraphicHome) << "size " << row.Size;
        EXPECT_EQ(T6963CDriver.Columns, row.Columns) << "size " << row.Size;
        EXPECT_EQ(T6963CDriver.FontWidth, row.FontWidth) << "size " << row.Size;
    }
}

TEST_F(T6963CDriverTest, InitControllerSendsTheEightSteps)
{
    MainSettings.T6963C.Size = 4;
    T6963CDriver.SetGeometry();
    T6963CDriver.InitController();
    EXPECT_EQ(Decode(port), (std::vector<Byte>{D(0x00), D(0x00), C(0x40), D(16), D(0x00), C(0x41), D(0x00),
                                               D(0x03), C(0x42), D(16), D(0x00), C(0x43), C(0x80), C(0xA7),
                                               D(0x00), D(0x00), C(0x21), C(0x9D)}));
}

TEST_F(T6963CDriverTest, ClearTextAndClearGraphicsCoverTheirAreas)
{
    MainSettings.T6963C.Size = 2;
    T6963CDriver.SetGeometry();
    T6963CDriver.ClearText();
    std::vector<Byte> expected{D(0x00), D(0x00), C(0x24)};
    for (int i = 0; i < 640; ++i) expected.insert(expected.end(), {D(0x00), C(0xC0)});
    EXPECT_EQ(Decode(port), expected);

    port.Log.clear();
    T6963CDriver.ClearGraphics();
    const std::vector<Byte> bytes = Decode(port);
    ASSERT_EQ(bytes.size(), 3u + 2 * 5120);
    EXPECT_EQ(std::vector<Byte>(bytes.begin(), bytes.begin() + 3), (std::vector<Byte>{D(0x00), D(0x03), C(0x24)}));
    EXPECT_EQ(port.WriteCount(), 6 * (3 + 2 * 5120));
}

TEST_F(T6963CDriverTest, WithoutBusyCheckTheStatusIsNeverRead)
{
    T6963CDriver.InitController();
    T6963CDriver.WriteText("x");
    for (const Access& access : port.Log) {
        EXPECT_TRUE(access.IsWrite);
        EXPECT_NE(access.Port, 888u + 0x402);
    }
}

TEST_F(T6963CDriverTest, BusyCheckPollsTheStatusBeforeEachByte)
{
    MainSettings.T6963C.CheckBusyFlag = true;
    int polls = 0;
    port.Answer = [&](uint32_t p) -> uint32_t {
        if (p == 888 + 0x402) return 0xF5;
        return ++polls < 3 ? 0x01 : 0x03;  // busy twice, then ready
    };
    T6963CDriver.WriteData(0x41);
    const Access readStatus{false, 888, 0, 1};
    std::vector<Access> expected{{false, 888 + 0x402, 0xF5, 1}, {true, 888 + 0x402, 0x35, 1}};
    for (uint32_t status : {0x01u, 0x01u, 0x03u}) {
        Access read = readStatus;
        read.Value = status;
        expected.insert(expected.end(), {Control(0x26), Control(0x2E), read, Control(0x26)});
    }
    expected.insert(expected.end(), {Control(0x00), Data(0x41), Control(0x00), Control(0x02), Control(0x03),
                                     Control(0x02), Control(0x00)});
    EXPECT_EQ(port.Log, expected);
    EXPECT_TRUE(fixture.host.statusHistory.empty());
}

TEST_F(T6963CDriverTest, ModuleThatNeverAnswersIsReportedOnceAndDoesNotStallTheProgram)
{
    MainSettings.T6963C.CheckBusyFlag = true;
    bool answers = false;
    port.Answer = [&](uint32_t) -> uint32_t { return answers ? 0x03 : 0x00; };
    auto statusReads = [&] {
        int reads = 0;
        for (const Access& a : port.Log) reads += !a.IsWrite && a.Port == 888;
        return reads;
    };

    // The first byte waits out its time budget (10 ms of 1 µs clock steps),
    // then goes out anyway.
    T6963CDriver.WriteData(0x41);
    EXPECT_GT(statusReads(), 100);
    EXPECT_LT(statusReads(), 20000);
    EXPECT_EQ(port.WritesTo(888), (std::vector<uint32_t>{0x41}));
    EXPECT_EQ(fixture.host.statusHistory,
              (std::vector<std::string>{"The T6963C display does not answer its busy check."}));

    // Later bytes poll once each and are not reported again.
    port.Log.clear();
    T6963CDriver.WriteData(0x42);
    T6963CDriver.WriteCommand(0xC0);
    EXPECT_EQ(statusReads(), 2);
    EXPECT_EQ(fixture.host.statusHistory.size(), 1u);

    // Once it answers again, a later silence is reported anew.
    answers = true;
    T6963CDriver.WriteData(0x43);
    answers = false;
    T6963CDriver.WriteData(0x44);
    EXPECT_EQ(fixture.host.statusHistory.size(), 2u);
}

TEST_F(T6963CDriverTest, BusyCheckEndsWhenTheClockCannotBeRead)
{
    MainSettings.T6963C.CheckBusyFlag = true;
    fixture.clock.HasCounter = false;
    port.Answer = [](uint32_t) -> uint32_t { return 0x00; };
    T6963CDriver.WriteData(0x41);
    EXPECT_EQ(port.WritesTo(888), (std::vector<uint32_t>{0x41}));
    EXPECT_EQ(fixture.host.statusHistory.size(), 1u);
}

TEST_F(T6963CDriverTest, PixelsBeforeAnyGeometryDoNotDivideByZero)
{
    TT6963CDriver fresh(fixture.component, MainSettings, fixture.host);
    fresh.SetPixel(7, 1);
    fresh.ResetPixel(7, 1);
    EXPECT_EQ(Decode(port).size(), 8u);
}

}  // namespace
}  // namespace dotvane::test

#include "BusDecoders.h"
#include "PortFixture.h"

#include "lcd/BaseLetter.h"
#include "lcd/KS0108Driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotvane::test {
namespace {

using Access = RecordingPort::Access;

constexpr uint8_t kLeft = TKS0108Driver::kLeft;
constexpr uint8_t kRight = TKS0108Driver::kRight;

class KS0108DriverTest : public RecordingPortTest {
protected:
    void SetUp() override { OpenPort(); }
};

TEST_F(KS0108DriverTest, InstructionSequenceIsByteExact)
{
    KS0108Driver.WriteInstruction(0x3F, kRight);
    EXPECT_EQ(port.Log, (std::vector<Access>{{true, 890, 0x0F, 2},
                                             {true, 888, 0x3F, 2},
                                             {true, 890, 0x0E, 2},
                                             {true, 890, 0x0F, 2},
                                             {true, 888, 0x00, 2}}));
}

TEST_F(KS0108DriverTest, DataSequenceLeavesTheDataRegisterSet)
{
    const uint8_t byte = 0xA5;
    KS0108Driver.WriteData(&byte, 1);
    EXPECT_EQ(port.Log, (std::vector<Access>{{true, 890, 0x01, 2},
                                             {true, 888, 0xA5, 2},
                                             {true, 890, 0x00, 2},
                                             {true, 890, 0x01, 2}}));
    EXPECT_EQ(KS0108Driver.Column, 1);
}

TEST_F(KS0108DriverTest, TextHiGoesToTheLeftHalf)
{
    KS0108Driver.SetTextPosition(0, 0);
    port.Log.clear();
    KS0108Driver.WriteText("Hi");
    const std::vector<Taken> taken = DecodeKS0108(port);
    EXPECT_EQ(DataBytes(taken, kLeft),
              (std::vector<uint8_t>{0x7F, 0x08, 0x08, 0x08, 0x7F, 0x00, 0x00, 0x44, 0x7D, 0x40, 0x00, 0x00}));
    EXPECT_EQ(taken.size(), 12u);
    EXPECT_EQ(KS0108Driver.Column, 12);
}

TEST_F(KS0108DriverTest, SpaceOnlyMovesTheColumn)
{
    KS0108Driver.SetColumn(120);
    port.Log.clear();
    KS0108Driver.WriteText(" ");
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0x7F), I(kRight, 0x40 | 62)}));
    EXPECT_EQ(KS0108Driver.Column, 126);
}

TEST_F(KS0108DriverTest, CharactersWithoutGlyphStillFillTheirCell)
{
    KS0108Driver.WriteText("\x0A" "A");
    EXPECT_EQ(DataBytes(DecodeKS0108(port), kLeft),
              (std::vector<uint8_t>{0x7F, 0x41, 0x41, 0x41, 0x7F, 0x00, 0x7E, 0x11, 0x11, 0x11, 0x7E, 0x00}));
}

TEST_F(KS0108DriverTest, Latin1CharactersDrawTheirBaseLetter)
{
    // ö, ß and ° as o, s and o, each in one cell of six columns.
    KS0108Driver.WriteText("\xF6\xDF\xB0");
    EXPECT_EQ(DataBytes(DecodeKS0108(port), kLeft),
              (std::vector<uint8_t>{0x38, 0x44, 0x44, 0x44, 0x38, 0x00, 0x48, 0x54, 0x54, 0x54, 0x20, 0x00,
                                    0x38, 0x44, 0x44, 0x44, 0x38, 0x00}));
    EXPECT_EQ(KS0108Driver.Column, 18);
}

TEST_F(KS0108DriverTest, EveryLatin1CharacterSendsTheBytesOfItsBaseLetter)
{
    for (int code = 161; code < 256; ++code) {
        const uint8_t base = BaseLetter(static_cast<uint8_t>(code));
        KS0108Driver.SetColumn(0);
        port.Log.clear();
        KS0108Driver.WriteText(std::string(1, static_cast<char>(code)));
        const std::vector<Taken> latin1 = DecodeKS0108(port);
        KS0108Driver.SetColumn(0);
        port.Log.clear();
        KS0108Driver.WriteText(std::string(1, static_cast<char>(base)));
        EXPECT_EQ(latin1, DecodeKS0108(port)) << code;
        EXPECT_EQ(DataBytes(latin1, kLeft).size(), 6u) << code;
    }
}

TEST_F(KS0108DriverTest, NoBreakSpaceOnlyMovesTheColumnAsASpaceDoes)
{
    KS0108Driver.SetColumn(120);
    port.Log.clear();
    KS0108Driver.WriteText("\xA0");
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0x7F), I(kRight, 0x40 | 62)}));
    EXPECT_EQ(KS0108Driver.Column, 126);
}

TEST_F(KS0108DriverTest, DataRunsFromTheLeftIntoTheRightHalf)
{
    KS0108Driver.SetColumn(62);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0x40 | 62), I(kRight, 0x40)}));
    port.Log.clear();
    const uint8_t bytes[] = {1, 2, 3, 4};
    KS0108Driver.WriteData(bytes, 4);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{W(kLeft, 1), W(kLeft, 2), W(kRight, 3), W(kRight, 4)}));
}

TEST_F(KS0108DriverTest, DataStopsAfterColumn127)
{
    KS0108Driver.SetColumn(126);
    port.Log.clear();
    const uint8_t bytes[] = {1, 2, 3, 4};
    KS0108Driver.WriteData(bytes, 4);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{W(kRight, 1), W(kRight, 2)}));
    EXPECT_EQ(KS0108Driver.Column, 128);
    port.Log.clear();
    KS0108Driver.WriteData(bytes, 4);
    KS0108Driver.WriteText("A");
    EXPECT_TRUE(port.Log.empty());
    KS0108Driver.SetColumn(0);
    port.Log.clear();
    KS0108Driver.WriteData(bytes, 1);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{W(kLeft, 1)}));
}

TEST_F(KS0108DriverTest, SetColumnAddressesBothHalves)
{
    KS0108Driver.SetColumn(100);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0x7F), I(kRight, 0x64)}));
    port.Log.clear();
    KS0108Driver.SetColumn(5);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0x45), I(kRight, 0x40)}));
    port.Log.clear();
    KS0108Driver.SetColumn(200);  // past the display: the right half's Y wraps, data is dropped
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0x7F), I(kRight, 0x40 | (136 & 0x3F))}));
}

TEST_F(KS0108DriverTest, TextPositionIsSixPixelCellsOnPages)
{
    KS0108Driver.SetTextPosition(2, 9);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0x4C), I(kRight, 0x40), I(kLeft, 0xB9), I(kRight, 0xB9)}));
    EXPECT_EQ(KS0108Driver.Column, 12);
}

TEST_F(KS0108DriverTest, PageValuesNeverBecomeOtherInstructions)
{
    const std::vector<std::pair<int, uint8_t>> cases{{0, 0xB8}, {7, 0xBF}, {8, 0xB8}, {15, 0xBF},
                                                     {63, 0xBF}, {64, 0xB8}, {72, 0xB8}, {255, 0xBF}};
    for (const auto& [page, code] : cases) {
        port.Log.clear();
        KS0108Driver.SetPage(static_cast<uint8_t>(page));
        EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, code), I(kRight, code)})) << "page " << page;
    }
}

TEST_F(KS0108DriverTest, StartLineKeepsSixBits)
{
    KS0108Driver.SetStartLine(0x45);
    EXPECT_EQ(DecodeKS0108(port), (std::vector<Taken>{I(kLeft, 0xC5), I(kRight, 0xC5)}));
}

TEST_F(KS0108DriverTest, ClearSendsEveryByteOfBothHalves)
{
    const int queriesBefore = fixture.clock.FrequencyQueries;
    KS0108Driver.Clear();
    const std::vector<Taken> taken = DecodeKS0108(port);
    int instructions = 0;
    int data = 0;
    for (const Taken& t : taken) (t.Instruction ? instructions : data) += 1;
    EXPECT_EQ(data, 1024);
    EXPECT_EQ(instructions, 34);
    EXPECT_EQ(fixture.clock.FrequencyQueries - queriesBefore, 2124);
    EXPECT_EQ(port.WriteCount(), 1024 * 4 + 34 * 5);
    EXPECT_EQ(DataBytes(taken, kLeft), std::vector<uint8_t>(512, 0));
    EXPECT_EQ(DataBytes(taken, kRight), std::vector<uint8_t>(512, 0));
    EXPECT_EQ(std::vector<Taken>(taken.begin(), taken.begin() + 6),
              (std::vector<Taken>{I(kLeft, 0xC0), I(kRight, 0xC0), I(kLeft, 0xB8), I(kRight, 0xB8), I(kLeft, 0x40),
                                  I(kRight, 0x40)}));
}

TEST_F(KS0108DriverTest, InitControllerSwitchesBothHalvesOnThenClears)
{
    KS0108Driver.InitController();
    const std::vector<Taken> taken = DecodeKS0108(port);
    ASSERT_EQ(taken.size(), 2u + 34 + 1024);
    EXPECT_EQ(taken[0], I(kLeft, 0x3F));
    EXPECT_EQ(taken[1], I(kRight, 0x3F));
}

TEST_F(KS0108DriverTest, DelayWaitsOnTheCounter)
{
    FakeClock& clock = fixture.clock;
    struct Case {
        int32_t Micros;
        int64_t Frequency;
        bool HasFrequency, HasCounter;
        int Reads;
    };
    const std::vector<Case> cases{
        {5, 1'000'000'000, true, true, 6},   // start, then until 5 µs of 1 µs steps
        {0, 1'000'000'000, true, true, 2},   // still one read after the start
        {-4, 1'000'000'000, true, true, 2},
        {5, 999'999, true, true, 2},         // below 1 MHz a microsecond has no ticks
        {5, 1'000'000'000, false, true, 2},  // no frequency: no delay
        {5, 1'000'000'000, true, false, 1},  // no counter: return at once
    };
    for (const Case& c : cases) {
        clock.Frequency = c.Frequency;
        clock.HasFrequency = c.HasFrequency;
        clock.HasCounter = c.HasCounter;
        clock.CounterReads = 0;
        KS0108Driver.DelayMicroseconds(c.Micros);
        EXPECT_EQ(clock.CounterReads, c.Reads) << c.Micros << " µs at " << c.Frequency;
    }
}

TEST_F(KS0108DriverTest, OpenFixesPortsAndCopiesDelay)
{
    MainSettings.LCD.Type = 1;
    MainSettings.Port.Base = 632;
    MainSettings.KS0108.Delay = 3;
    fixture.component.CloseDriver();
    EXPECT_EQ(display.Open(), std::nullopt);
    EXPECT_EQ(KS0108Driver.Delay, 3);
    MainSettings.KS0108.Delay = 50;
    display.SetTextPosition(0, 0);
    display.WriteText("x");
    EXPECT_EQ(KS0108Driver.Delay, 3);
    for (const Access& a : port.Log) {
        EXPECT_TRUE(a.Port == 888 || a.Port == 890) << a.Port;
        EXPECT_EQ(a.Width, 2);
    }
    // Open initialises and then clears again: two full clears.
    EXPECT_EQ(DataBytes(DecodeKS0108(port), kLeft).size(), 2u * 512 + 6);
}

TEST_F(KS0108DriverTest, DelayIsHeldToWhatAModuleCouldNeed)
{
    FakeClock& clock = fixture.clock;
    MainSettings.LCD.Type = 1;
    const std::vector<std::pair<int32_t, int32_t>> cases{
        {2'000'000'000, 1000}, {1001, 1000}, {1000, 1000}, {999, 999}, {0, 0}, {-5, 0}};
    for (const auto& [setting, held] : cases) {
        MainSettings.KS0108.Delay = setting;
        // A second per counter read, so that even an unheld delay opens soon.
        clock.Step = 1'000'000'000;
        fixture.component.CloseDriver();
        display.Open();
        ASSERT_EQ(KS0108Driver.Delay, held) << setting;
        // Then a microsecond per read: the wait ends after `held` of them.
        clock.Step = 1000;
        clock.CounterReads = 0;
        KS0108Driver.Wait();
        EXPECT_EQ(clock.CounterReads, std::max(held, 1) + 1) << setting;
    }
}

}  // namespace
}  // namespace dotvane::test

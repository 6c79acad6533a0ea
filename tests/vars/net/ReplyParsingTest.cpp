#include "vars/net/DottedAddress.h"
#include "vars/net/Pop3Reply.h"
#include "vars/net/ReplyWords.h"
#include "vars/net/SocketErrorText.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

TEST(SocketErrorTextTest, GivesCodeAndDescription)
{
    EXPECT_EQ(SocketErrorText(10061), "10061:Connection refused");
    EXPECT_EQ(SocketErrorText(10004), "10004:Interrupted system call");
    EXPECT_EQ(SocketErrorText(10093), "10093:Successful WSAStartup not yet performed");
    EXPECT_EQ(SocketErrorText(11004), "11004:Valid name, no data record of requested type");
    EXPECT_EQ(SocketErrorText(10049), "10049:Can't assign requested address");
}

TEST(SocketErrorTextTest, CodesOutsideTheTable)
{
    EXPECT_EQ(SocketErrorText(0), "");
    EXPECT_EQ(SocketErrorText(10072), "Unknown Error No. 10072");
    EXPECT_EQ(SocketErrorText(10090), "Unknown Error No. 10090");
    EXPECT_EQ(SocketErrorText(32), "Unknown Error No. 32");
    EXPECT_EQ(SocketErrorText(-1), "Unknown Error No. -1");
}

struct WordCase {
    const char* line;
    size_t index;
    const char* word;
};

class WordTest : public ::testing::TestWithParam<WordCase> {};

TEST_P(WordTest, Splits)
{
    EXPECT_EQ(Word(GetParam().line, GetParam().index), GetParam().word) << "'" << GetParam().line << "'";
}

INSTANTIATE_TEST_SUITE_P(Lines, WordTest,
                         ::testing::Values(WordCase{"+OK 5 2330\r\n", 0, "+OK"}, WordCase{"+OK 5 2330\r\n", 1, "5"},
                                           WordCase{"+OK 5 2330\r\n", 2, "2330"}, WordCase{"+OK 5 2330\r\n", 3, ""},
                                           WordCase{"+OK 5\r\n", 1, "5"}, WordCase{"+OK 5\n", 1, "5"},
                                           WordCase{"  +OK   7  x", 1, "7"}, WordCase{"", 0, ""},
                                           WordCase{"\r\n", 0, ""}, WordCase{"+OK\r\n", 1, ""}));

TEST(PlainIntegerTest, AcceptsOnlyPlainDecimalNumbers)
{
    EXPECT_EQ(PlainInteger("5"), 5);
    EXPECT_EQ(PlainInteger("0042"), 42);
    EXPECT_EQ(PlainInteger("-3"), -3);
    EXPECT_EQ(PlainInteger("+3"), 3);
    EXPECT_EQ(PlainInteger("2147483647"), 2147483647);
    EXPECT_EQ(PlainInteger("2147483648"), 0);
    EXPECT_EQ(PlainInteger(""), 0);
    EXPECT_EQ(PlainInteger("+"), 0);
    EXPECT_EQ(PlainInteger("+-3"), 0);
    EXPECT_EQ(PlainInteger("5x"), 0);
    EXPECT_EQ(PlainInteger("0x10"), 0);
    EXPECT_EQ(PlainInteger("1.5"), 0);
}

struct ReplyCase {
    const char* line;
    bool positive;
    int32_t count;
};

class Pop3ReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(Pop3ReplyTest, ReadsReply)
{
    EXPECT_EQ(IsPositiveReply(GetParam().line), GetParam().positive) << "'" << GetParam().line << "'";
    EXPECT_EQ(StatCount(GetParam().line), GetParam().count) << "'" << GetParam().line << "'";
}

INSTANTIATE_TEST_SUITE_P(Replies, Pop3ReplyTest,
                         ::testing::Values(ReplyCase{"+OK 5 2330\r\n", true, 5}, ReplyCase{"+OK\r\n", true, 0},
                                           ReplyCase{"+OK", true, 0}, ReplyCase{"+OK 0 0\r\n", true, 0},
                                           ReplyCase{"+OK five 2330\r\n", true, 0},
                                           ReplyCase{"+OK 12 100\n", true, 12},
                                           // "+OK" anywhere in the first word counts.
                                           ReplyCase{"x+OKx 3 1\r\n", true, 3},
                                           ReplyCase{"-ERR 5 mailbox locked\r\n", false, 5},
                                           ReplyCase{"OK 1 1\r\n", false, 1}, ReplyCase{"+ok 1 1\r\n", false, 1},
                                           ReplyCase{"Hello +OK\r\n", false, 0}, ReplyCase{"", false, 0}));

TEST(Pop3ReplyTest, ErrorTextDropsTheLineEnd)
{
    EXPECT_EQ(ReplyText("-ERR [AUTH] Authentication failed.\r\n"), "-ERR [AUTH] Authentication failed.");
    EXPECT_EQ(ReplyText("-ERR\n"), "-ERR");
    EXPECT_EQ(ReplyText(""), "");
}

TEST(DottedAddressTest, ReadsFourDecimalParts)
{
    EXPECT_EQ(ParseDottedAddress("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(ParseDottedAddress("192.0.2.7"), 0xC0000207u);
    EXPECT_EQ(ParseDottedAddress("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseDottedAddress("0.0.0.0"), 0u);
}

TEST(DottedAddressTest, AnythingElseIsAName)
{
    for (const char* host : {"", "localhost", "127.0.0", "127.0.0.1.", "127.0.0.1.5", "256.0.0.1", "1.2.3.-4",
                             "1..2.3", "01234.1.1.1", "1.2.3.4 ", "mail.example.org", "1.2.3.4x"})
        EXPECT_FALSE(ParseDottedAddress(host).has_value()) << "'" << host << "'";
}

}  // namespace
}  // namespace dotvane

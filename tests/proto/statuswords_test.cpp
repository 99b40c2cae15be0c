#include "spoolscope/statuswords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StatusWordsTest, FirstTestThatHoldsGivesTheWord)
{
    struct {
        uint8_t flags;
        const char* word;
    } cases[] = {
        {0x00, "OFF-LINE"},  {0x7F, "OFF-LINE"},                  // no 0x80: off-line whatever else is set
        {0x80, "ERROR"},     {0x84, "BUSY"},     {0x8C, "BUSY"},  // busy wins over on-line
        {0x88, "ON-LINE"},   {0xA8, "ON-LINE"},                   // on-line wins over paper out
        {0xA0, "PAPER OUT"}, {0xFF, "BUSY"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(StatusWord(c.flags)), c.word) << std::hex << int(c.flags);
}

TEST(StatusWordsTest, PortTypeZeroIsBidirectionalAnythingElseLpt)
{
    EXPECT_EQ(std::string(PortTypeWord(0)), "Bi-direction");
    EXPECT_EQ(std::string(PortTypeWord(1)), "LPT");
    EXPECT_EQ(std::string(PortTypeWord(0xFF)), "LPT");
}

}  // namespace

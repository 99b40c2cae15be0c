// The simulator's animation and status words, tested without a process.
#include "httppage.h"
#include "printeranimator.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

namespace {

struct StatusCase {
    uint8_t state;
    const char* word;
};

std::ostream& operator<<(std::ostream& out, const StatusCase& c)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", c.state);
    return out << "state " << hex;
}

class StatusWordTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusWordTest, FirstMatchingBitWins)
{
    EXPECT_STREQ(httppage::StatusWord(GetParam().state), GetParam().word);
}

INSTANTIATE_TEST_SUITE_P(States, StatusWordTest,
                         ::testing::Values(StatusCase{0x00, "OFF-LINE"}, StatusCase{0x7F, "OFF-LINE"},
                                           StatusCase{0x84, "BUSY"}, StatusCase{0xAC, "BUSY"},
                                           StatusCase{0x88, "ON-LINE"}, StatusCase{0xA8, "ON-LINE"},
                                           StatusCase{0xA0, "PAPER OUT"}, StatusCase{0x80, "ERROR"},
                                           StatusCase{0x93, "ERROR"}));

struct Step {
    int32_t percent;
    int32_t jobs;
    bool busy;
};

TEST(PrinterAnimatorTest, PrintsJobsThenRefillsThreeSecondsAfterTheLast)
{
    PrinterConfig printer;
    printer.jobs = 2;
    PrinterAnimator animator(printer);
    animator.Start(&printer);
    EXPECT_EQ(printer.state, 0x8C) << "busy from the start";
    const Step steps[] = {{25, 2, true}, {50, 2, true}, {75, 2, true}, {0, 1, true},
                          {25, 1, true}, {50, 1, true}, {75, 1, true}, {0, 0, false},
                          {0, 0, false}, {0, 0, false}, {0, 2, true},  {25, 2, true}};
    for (size_t second = 0; second < std::size(steps); ++second) {
        animator.Tick(&printer);
        EXPECT_EQ(printer.percent, steps[second].percent) << "after second " << second + 1;
        EXPECT_EQ(printer.jobs, steps[second].jobs) << "after second " << second + 1;
        EXPECT_EQ(printer.state, steps[second].busy ? 0x8C : 0x88) << "after second " << second + 1;
    }
}

TEST(PrinterAnimatorTest, PercentAtTheTopOfItsRangeWrapsWithoutOverflow)
{
    PrinterConfig printer;
    printer.jobs = 1;
    printer.percent = INT32_MAX;
    PrinterAnimator animator(printer);
    animator.Tick(&printer);
    EXPECT_EQ(printer.percent, 0);
    EXPECT_EQ(printer.jobs, 0);
}

TEST(PrinterAnimatorTest, PrinterWithoutJobsNeverChanges)
{
    PrinterConfig printer;
    printer.state = 0xAC;
    printer.percent = 40;
    PrinterAnimator animator(printer);
    animator.Start(&printer);
    for (int second = 0; second < 10; ++second)
        animator.Tick(&printer);
    EXPECT_EQ(printer.state, 0xAC);
    EXPECT_EQ(printer.percent, 40);
    EXPECT_EQ(printer.jobs, 0);
}

}  // namespace

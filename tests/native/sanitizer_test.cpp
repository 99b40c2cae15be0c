// The native build runs the platform-free code under AddressSanitizer and
// UndefinedBehaviorSanitizer; these cases fail if the sanitizers are not on.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

namespace {

int ReadPast(const char* data, size_t size)
{
    return data[size];
}

int AddOne(int value)
{
    return value + 1;
}

}  // namespace

TEST(SanitizerDeathTest, ReadPastAHeapBlockIsCaught)
{
    auto block = std::make_unique<char[]>(124);
    std::memset(block.get(), 'x', 124);
    volatile size_t size = 124;
    EXPECT_DEATH(ReadPast(block.get(), size), "heap-buffer-overflow");
}

TEST(SanitizerDeathTest, SignedOverflowIsCaught)
{
    volatile int max = INT_MAX;
    EXPECT_DEATH(AddOne(max), "signed integer overflow");
}

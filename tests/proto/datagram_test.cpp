#include "spoolscope/net/datagram.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

TEST(DatagramTest, ClassifiesByLengthAndTheReplyByte)
{
    struct {
        int length;
        uint8_t first;
        datagram::Kind kind;
    } cases[] = {
        {1, 0x55, datagram::Kind::PresenceReply},
        {1, 0x41, datagram::Kind::Ignored},
        {1, 0x00, datagram::Kind::Ignored},
        {0, 0x55, datagram::Kind::Ignored},
        {-1, 0x55, datagram::Kind::Ignored},  // a failed receive
        {2, 0x55, datagram::Kind::Ignored},
        {8, 0xAA, datagram::Kind::Ignored},  // a probe, the monitor's own included
        {991, 0x00, datagram::Kind::Ignored},
        {992, 0x00, datagram::Kind::StatusTable},
        {992, 0x55, datagram::Kind::StatusTable},
        {993, 0x00, datagram::Kind::Ignored},
        {1024, 0x00, datagram::Kind::Ignored},
    };
    std::vector<uint8_t> buffer(datagram::kReceiveLength, 0);
    for (const auto& c : cases) {
        buffer[0] = c.first;
        EXPECT_EQ(datagram::Classify(buffer.data(), c.length), c.kind)
            << c.length << " bytes, first " << int(c.first);
    }
}

TEST(DatagramTest, ProbeIsAaAndSevenZeros)
{
    uint8_t probe[datagram::kProbeLength];
    memset(probe, 0x77, sizeof(probe));
    datagram::MakeProbe(probe);
    const uint8_t expected[] = {0xAA, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(probe, expected, sizeof(expected)), 0);
}

TEST(DatagramTest, SlotsAre124BytesApartAndEmptyByTheirFirstByte)
{
    std::vector<uint8_t> table(datagram::kTableLength, 0);
    table[124 * 3] = 'P';
    table[124 * 7 + 1] = 'x';  // not the first byte: still empty
    for (int slot = 0; slot < datagram::kSlotCount; ++slot) {
        EXPECT_EQ(datagram::TableSlot(table.data(), slot), table.data() + 124 * slot);
        EXPECT_EQ(datagram::SlotIsEmpty(datagram::TableSlot(table.data(), slot)), slot != 3) << slot;
    }
}

// Each record lives in a heap block of exactly 124 bytes, so that reading
// one byte past it is caught by AddressSanitizer.
std::unique_ptr<PrinterRecord> Record(const std::vector<uint8_t>& bytes)
{
    auto record = std::make_unique<PrinterRecord>();
    memset(record.get(), 0, sizeof(PrinterRecord));
    memcpy(record.get(), bytes.data(), std::min(bytes.size(), sizeof(PrinterRecord)));
    return record;
}

TEST(DatagramTest, NameEndsAtItsTerminatorAndNeverPastTheRecord)
{
    std::vector<uint8_t> normal = {'L', 'a', 's', 'e', 'r', 0, 'j', 'u', 'n', 'k'};
    std::vector<uint8_t> full95(95, 'a');
    std::vector<uint8_t> unterminated96(96, 'N');
    unterminated96.push_back('1');  // byUserIP[0]
    unterminated96.push_back(0);    // byUserIP[1] ends it
    std::vector<uint8_t> noTerminatorAnywhere(124, 'Z');

    struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string expected;
    } cases[] = {
        {"ordinary", normal, "Laser"},
        {"empty", {0}, ""},
        {"95 characters", full95, std::string(95, 'a')},
        {"96 bytes without a terminator run on", unterminated96, std::string(96, 'N') + "1"},
        {"no terminator in the whole record", noTerminatorAnywhere, std::string(124, 'Z')},
    };
    for (const auto& c : cases) {
        auto record = Record(c.bytes);
        EXPECT_EQ(datagram::RecordName(*record), c.expected) << c.name;
    }
}

TEST(DatagramTest, FieldsSitAtTheirWireOffsets)
{
    std::vector<uint8_t> bytes(124, 0);
    bytes[96] = 192, bytes[97] = 168, bytes[98] = 0, bytes[99] = 200;
    bytes[100] = 1;
    bytes[101] = 0xA8;
    const uint8_t percent[] = {0xFB, 0xFF, 0xFF, 0xFF};  // -5, little-endian
    const uint8_t jobs[] = {0x03, 0x01, 0x00, 0x00};     // 259
    memcpy(&bytes[112], percent, 4);
    memcpy(&bytes[116], jobs, 4);
    auto record = Record(bytes);
    EXPECT_EQ(record->byUserIP[0], 192);
    EXPECT_EQ(record->byUserIP[3], 200);
    EXPECT_EQ(record->byType, 1);
    EXPECT_EQ(record->byState, 0xA8);
    EXPECT_EQ(record->nPercent, -5);
    EXPECT_EQ(record->nJobs, 259);
}

}  // namespace

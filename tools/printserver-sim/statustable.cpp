#include "statustable.h"

#include <algorithm>
#include <cstring>

namespace statustable {

namespace {

void PutInt32(uint8_t* at, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

void EncodeRecord(const PrinterConfig& printer, uint8_t* record)
{
    std::memset(record, 0, kRecordSize);
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): the memset above leaves the terminator
    std::memcpy(record + kNameOffset, printer.name.data(), std::min(printer.name.size(), kNameSize - 1));
    std::memcpy(record + kUserIpOffset, printer.ip, 4);
    record[kPortTypeOffset] = printer.portType;
    record[kStateOffset] = printer.state;
    PutInt32(record + kPercentOffset, printer.percent);
    PutInt32(record + kJobsOffset, printer.jobs);
}

void MakeUnterminated(uint8_t* record)
{
    std::memset(record + kNameOffset, 'N', kNameSize);
    for (size_t i = kNameSize; i < kRecordSize; ++i) {
        if (record[i] == 0)
            record[i] = 0xFF;
    }
}

std::vector<uint8_t> Encode(const std::vector<PrinterConfig>& printers)
{
    std::vector<uint8_t> table(kTableSize, 0);
    for (size_t slot = 0; slot < printers.size() && slot < kSlotCount; ++slot)
        EncodeRecord(printers[slot], table.data() + slot * kRecordSize);
    return table;
}

}  // namespace statustable

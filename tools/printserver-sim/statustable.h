// Encoding of the status table a server sends in answer to a query.
#pragma once

#include "printerconfig.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace statustable {

const size_t kRecordSize = 124;
const size_t kSlotCount = 8;
const size_t kTableSize = kRecordSize * kSlotCount;  // 992
const size_t kNameSize = 96;

// Record layout: offsets from the start of a slot.
const size_t kNameOffset = 0;
const size_t kUserIpOffset = 96;
const size_t kPortTypeOffset = 100;
const size_t kStateOffset = 101;
const size_t kPercentOffset = 112;
const size_t kJobsOffset = 116;

// Writes one printer's 124-byte record; the reserved bytes are zero.
void EncodeRecord(const PrinterConfig& printer, uint8_t* record);

// Makes a record hold no NUL byte: the name becomes 96 'N's and every other zero
// byte becomes 0xFF, so a reader relying on a terminator runs off the record.
void MakeUnterminated(uint8_t* record);

// The 992-byte table: printers in slots 0.. (at most 8), empty slots zero.
std::vector<uint8_t> Encode(const std::vector<PrinterConfig>& printers);

}  // namespace statustable

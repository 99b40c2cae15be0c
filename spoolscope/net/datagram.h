// The datagrams between the monitor and the print servers (UDP, port 60000
// at both ends). Platform-free.
#pragma once

#include "spoolscope/printerrecord.h"

#include <cstdint>
#include <string>

namespace datagram {

constexpr uint16_t kPort = 60000;

// Discovery probe, broadcast: 0xAA and seven zero bytes.
constexpr int kProbeLength = 8;
constexpr uint8_t kProbeByte = 0xAA;
// Presence reply (server to monitor) and status query (monitor to server): one byte 0x55.
constexpr uint8_t kReplyByte = 0x55;
constexpr uint8_t kQueryByte = 0x55;
// Status table: eight records.
constexpr int kSlotCount = 8;
constexpr int kRecordLength = static_cast<int>(sizeof(PrinterRecord));
constexpr int kTableLength = kSlotCount * kRecordLength;
static_assert(kTableLength == 992, "");
// Longest datagram the monitor receives whole.
constexpr int kReceiveLength = 1024;

enum class Kind { Ignored, PresenceReply, StatusTable };

// What a received datagram is, by its length alone (a receive result of -1
// included): one byte 0x55, or exactly 992 bytes.
Kind Classify(const uint8_t* pData, int nLength);

void MakeProbe(uint8_t (&probe)[kProbeLength]);

// Slot nSlot (0 to 7) of a status table; empty when its first byte is 0.
inline const uint8_t* TableSlot(const uint8_t* pTable, int nSlot)
{
    return pTable + nSlot * kRecordLength;
}
inline bool SlotIsEmpty(const uint8_t* pSlot)
{
    return pSlot[0] == 0;
}

// The printer's name: a NUL-terminated string from byte 0 of the record that
// never reads past the record's 124 bytes (a name without a terminator runs
// on into the following fields).
std::string RecordName(const PrinterRecord& record);

}  // namespace datagram

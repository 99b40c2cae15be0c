// libFuzzer target: any datagram the monitor can receive goes through the
// steps of the network service; records are kept in blocks of exactly 124
// bytes, so that AddressSanitizer catches any read past one. Every input is
// also laid out as a whole status table, so the record path runs each time.
#include "spoolscope/net/datagram.h"

#include <cstring>
#include <memory>

namespace {

void TakeTable(const uint8_t* pTable)
{
    for (int nSlot = 0; nSlot < datagram::kSlotCount; ++nSlot) {
        const uint8_t* pSlot = datagram::TableSlot(pTable, nSlot);
        if (datagram::SlotIsEmpty(pSlot))
            continue;
        auto record = std::make_unique<PrinterRecord>();
        memcpy(record.get(), pSlot, sizeof(PrinterRecord));
        std::string name = datagram::RecordName(*record);
        if (name.empty() || name.size() > sizeof(PrinterRecord))
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    // The service receives into a 1024-byte buffer; a longer datagram fails.
    uint8_t buffer[datagram::kReceiveLength];
    int nLength = nSize > sizeof(buffer) ? -1 : static_cast<int>(nSize);
    if (nLength > 0)
        memcpy(buffer, pData, nSize);
    if (datagram::Classify(buffer, nLength) == datagram::Kind::StatusTable)
        TakeTable(buffer);

    if (nSize > 0) {
        uint8_t table[datagram::kTableLength];
        for (size_t i = 0; i < sizeof(table); ++i)
            table[i] = pData[i % nSize];
        TakeTable(table);
    }
    return 0;
}

#include "spoolscope/net/datagram.h"

#include <cstring>

namespace datagram {

Kind Classify(const uint8_t* pData, int nLength)
{
    if (nLength == 1 && pData[0] == kReplyByte)
        return Kind::PresenceReply;
    if (nLength == kTableLength)
        return Kind::StatusTable;
    return Kind::Ignored;
}

void MakeProbe(uint8_t (&probe)[kProbeLength])
{
    memset(probe, 0, sizeof(probe));
    probe[0] = kProbeByte;
}

std::string RecordName(const PrinterRecord& record)
{
    const char* p = reinterpret_cast<const char*>(&record);
    const void* pEnd = memchr(p, '\0', sizeof(PrinterRecord));
    size_t nLength = pEnd != nullptr ? static_cast<const char*>(pEnd) - p : sizeof(PrinterRecord);
    return std::string(p, nLength);
}

}  // namespace datagram

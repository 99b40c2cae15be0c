#include "spoolscope/statuswords.h"

const char* StatusWord(uint8_t byState)
{
    if ((byState & 0x80) == 0)
        return "OFF-LINE";
    if (byState & 0x04)
        return "BUSY";
    if (byState & 0x08)
        return "ON-LINE";
    if (byState & 0x20)
        return "PAPER OUT";
    return "ERROR";
}

const char* PortTypeWord(uint8_t byType)
{
    return byType == 0 ? "Bi-direction" : "LPT";
}

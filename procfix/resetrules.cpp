#include "procfix/resetrules.h"

#include <cstring>

namespace resetrules {

uint8_t PlatformKindOf(uint32_t dwPlatformId, uint32_t dwMajorVersion)
{
    if (dwPlatformId == kVersionPlatformWindows)
        return kPlatformWin9x;
    if (dwPlatformId == kVersionPlatformNT && dwMajorVersion == 5)
        return kPlatformNT5;
    return kPlatformUnsupported;
}

PrinterReset PlanPrinterReset(uint8_t byKind, uint32_t dwAttributes, const char* pszPrintProcessor)
{
    PrinterReset reset = {false, dwAttributes, false, false};
    if (byKind == kPlatformNT5) {
        const bool bWinPrint = pszPrintProcessor != nullptr && strcmp(pszPrintProcessor, kWinPrint) == 0;
        if ((dwAttributes & kAttributeRawOnly) && !(dwAttributes & kAttributeEnableBidi) && bWinPrint)
            return reset;
        reset.bNeeded = true;
        reset.dwAttributes = (dwAttributes | kAttributeRawOnly) & ~kAttributeEnableBidi;
        reset.bSetWinPrint = !bWinPrint;
        reset.bSetRawDatatype = !bWinPrint;
    } else if (byKind == kPlatformWin9x) {
        if (!(dwAttributes & kAttributeEnableBidi))
            return reset;
        reset.bNeeded = true;
        reset.dwAttributes = dwAttributes & ~kAttributeEnableBidi;
        reset.bSetRawDatatype = true;
    }
    return reset;
}

}  // namespace resetrules

#include "procfix/procfixmain.h"

#include "procfix/resetrules.h"

BYTE g_byPlatformKind = resetrules::kPlatformUnsupported;

int ProcfixMain(RESET_OUTPUT pfnOutput)
{
    WriteOutput(pfnOutput, "            *********************************************\n");
    WriteOutput(pfnOutput, "            *\t Checking started,please waiting...     *\n");
    WriteOutput(pfnOutput, "            *********************************************\n\n");

    int nResetCount = 0;
    ResetPrintProcessors(&nResetCount, &g_byPlatformKind, pfnOutput);

    WriteOutput(pfnOutput, "Check over...\n");
    if (nResetCount == 0)
        WriteOutput(pfnOutput, "Note: No printer need to be reset !\n");
    if (g_byPlatformKind == resetrules::kPlatformWin9x)
        WriteOutput(pfnOutput,
                    "\nPlease run <Queue Tuner> to check if every print processor is <WinPrint> .\n");
    // The line asks for a key, but nothing is read: the program ends here.
    WriteOutput(pfnOutput, "\nPress any key to exit .\n");
    return 0;
}

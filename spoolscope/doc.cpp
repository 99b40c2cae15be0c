#include "spoolscope/doc.h"

#include "procfix/printprocessorreset.h"

#include <cstdio>

BOOL CDoc::Discover()
{
    return m_NetSrv.Discover();
}

BOOL CDoc::QueryServer(LPCSTR pszAddress)
{
    return m_NetSrv.QueryServer(pszAddress);
}

CStringArray* CDoc::GetServerAddresses()
{
    return m_NetSrv.GetServerAddresses();
}

CArray<PrinterRecord*>* CDoc::GetPrinterRecords()
{
    return m_NetSrv.GetPrinterRecords();
}

// Writes one message of ResetPrintProcessors as a trace line of this unit.
static int TraceResetMessage(const char* pszFormat, va_list args)
{
    char szText[512];
    int nLength = vsnprintf(szText, sizeof(szText), pszFormat, args);
    TRACE("%s", szText);
    return nLength;
}

int CDoc::ResetPrintProcessors(int* pnResetCount)
{
    return ::ResetPrintProcessors(pnResetCount, &m_byPlatformKind, TraceResetMessage);
}

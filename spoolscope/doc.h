// CDoc: the document object through which the main dialog reaches the
// network service; it owns the service. It also carries the print-processor
// check and reset of procfix, which writes its messages as trace lines.
#pragma once

#include "spoolscope/netsrv.h"

class CDoc {
public:
    CDoc() = default;

    BOOL Discover();
    BOOL QueryServer(LPCSTR pszAddress);
    CStringArray* GetServerAddresses();
    CArray<PrinterRecord*>* GetPrinterRecords();

    // procfix's check and reset, with the platform kind kept in this document.
    int ResetPrintProcessors(int* pnResetCount);

private:
    CNetSrv m_NetSrv;

protected:
    BYTE m_byPlatformKind = 0;  // set by ResetPrintProcessors

private:
    CDoc(const CDoc&) = delete;
    CDoc& operator=(const CDoc&) = delete;
};

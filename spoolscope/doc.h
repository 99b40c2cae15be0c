// CDoc: the document object through which the main dialog reaches the
// network service; it owns the service.
#pragma once

#include "spoolscope/netsrv.h"

class CDoc {
public:
    CDoc() = default;

    BOOL Discover();
    BOOL QueryServer(LPCSTR pszAddress);
    CStringArray* GetServerAddresses();
    CArray<PrinterRecord*>* GetPrinterRecords();

private:
    CNetSrv m_NetSrv;

    CDoc(const CDoc&) = delete;
    CDoc& operator=(const CDoc&) = delete;
};

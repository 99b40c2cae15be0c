#include "spoolscope/doc.h"

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

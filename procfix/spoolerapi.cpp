#include "procfix/spoolerapi.h"

const SpoolerApi& RealSpooler()
{
    static const SpoolerApi api = {
        ::GetVersionExA, ::RegOpenKeyExA, ::RegEnumKeyA, ::RegCloseKey,
        ::OpenPrinterA,  ::GetPrinterA,   ::SetPrinterA, ::ClosePrinter,
    };
    return api;
}

static const SpoolerApi* s_pApi = nullptr;

const SpoolerApi& Spooler()
{
    return s_pApi != nullptr ? *s_pApi : RealSpooler();
}

const SpoolerApi* SetSpoolerApi(const SpoolerApi* pApi)
{
    const SpoolerApi* pOld = s_pApi;
    s_pApi = pApi;
    return pOld;
}

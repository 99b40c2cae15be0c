// A minimal application on the framework's WinMain, started by the tests as
// a process: it writes what the framework gave it to the file named first on
// its command line, then ends as its second word asks.
#include "afx/afx.h"

#include <cstdio>
#include <cstring>

class CProbeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        SetRegistryKey("Local AppWizard-Generated Applications");
        char szOut[MAX_PATH] = {};
        char szMode[16] = {};
        sscanf(m_lpCmdLine, "%259s %15s", szOut, szMode);
        FILE* f = fopen(szOut, "w");
        if (f != nullptr) {
            fprintf(f, "app=%s\nexe=%s\nkey=%s\nprofile=%s\n", m_pszAppName, m_pszExeName, m_pszRegistryKey,
                    m_pszProfileName);
            fclose(f);
        }
        if (strcmp(szMode, "run") == 0) {
            ::PostQuitMessage(3);
            return TRUE;  // Run's loop ends with WM_QUIT's code
        }
        return FALSE;
    }
};

CProbeApp theApp;

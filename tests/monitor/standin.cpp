// Stands in for a companion program the monitor starts: writes its working
// directory and its command line to the file named by SPOOLSCOPE_STANDIN_OUT.
#include "afx/winheaders.h"

#include <cstdio>
#include <cstdlib>

int main()
{
    const char* pszOut = getenv("SPOOLSCOPE_STANDIN_OUT");
    if (pszOut == nullptr)
        return 1;
    char szDir[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, szDir);
    FILE* f = fopen(pszOut, "a");
    if (f == nullptr)
        return 1;
    fprintf(f, "%s|%s\n", szDir, ::GetCommandLineA());
    fclose(f);
    return 0;
}

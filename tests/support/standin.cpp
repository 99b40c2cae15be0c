// Stands in for a program that the monitor starts (procfix.exe,
// qinstall.exe): appends to launches.txt in its own folder one line
//   <its file name> cwd=<working directory> args=<arguments> show=<show command>
// and ends. The show command is -1 when the starter gave none.
#include <windows.h>

#include <string>

namespace {

// The command line after the program's own name.
std::string Arguments()
{
    const char* p = ::GetCommandLineA();
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; ++p) {
        }
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char szPath[MAX_PATH] = {};
    char szCwd[MAX_PATH] = {};
    std::string path(szPath, ::GetModuleFileNameA(nullptr, szPath, MAX_PATH));
    std::string cwd(szCwd, ::GetCurrentDirectoryA(MAX_PATH, szCwd));
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    ::GetStartupInfoA(&si);
    int nShow = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;

    size_t slash = path.find_last_of('\\');
    std::string line = path.substr(slash + 1) + " cwd=" + cwd + " args=" + Arguments() +
                       " show=" + std::to_string(nShow) + "\n";
    std::string log = path.substr(0, slash + 1) + "launches.txt";
    HANDLE hFile = ::CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    DWORD nWritten = 0;
    BOOL bWritten = ::WriteFile(hFile, line.data(), static_cast<DWORD>(line.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
    return bWritten ? 0 : 1;
}

// The framework's WinMain and CWinApp, seen from outside: a probe application
// runs as its own process.
#include "afx/cstring.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

CString TestFolder()
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    CString path(szPath);
    return path.Left(path.ReverseFind('\\') + 1);
}

// Runs the probe; returns its exit code, or -1 when it did not end in time.
DWORD RunProbe(const CString& args)
{
    CString cmd = "\"" + TestFolder() + "afx_app_probe.exe\" " + args;
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    std::string buffer(cmd);
    if (!::CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return static_cast<DWORD>(-2);
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &code);
    else
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}

std::string ReadFile(const CString& path)
{
    std::ifstream in(static_cast<const char*>(path));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(AppTest, InitInstanceFalseEndsTheProgramWithCodeZero)
{
    CString out = TestFolder() + "app_probe_once.txt";
    ::DeleteFileA(out);
    EXPECT_EQ(RunProbe(out + " once and more words"), 0u);
    EXPECT_EQ(ReadFile(out), "app=afx_app_probe\nexe=afx_app_probe\n"
                             "key=Local AppWizard-Generated Applications\nprofile=afx_app_probe\n");

    HKEY hKey = nullptr;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Local AppWizard-Generated Applications", 0,
                              KEY_READ, &hKey),
              ERROR_FILE_NOT_FOUND)
        << "SetRegistryKey only names the key";
    if (hKey != nullptr)
        ::RegCloseKey(hKey);
}

TEST(AppTest, InitInstanceTrueRunsTheMessageLoopUntilWmQuit)
{
    CString out = TestFolder() + "app_probe_run.txt";
    EXPECT_EQ(RunProbe(out + " run"), 3u);
}

}  // namespace

#include "support/simprocess.h"

#include "afx/winheaders.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string ReadWholeFile(const std::string& windowsPath)
{
    std::ifstream in(windowsPath, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WaitFor(const std::function<bool()>& done, unsigned timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return done();
        ::Sleep(20);
    }
    return true;
}

}  // namespace

bool StartNative(const std::string& unixPath, const std::string& args)
{
    std::string cmd = "\"" + WindowsPath(unixPath) + "\" " + args;
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // Wine gives no usable handle for a native process; nothing to wait on.
    if (pi.hThread != nullptr)
        ::CloseHandle(pi.hThread);
    if (pi.hProcess != nullptr)
        ::CloseHandle(pi.hProcess);
    return true;
}

SimProcess::SimProcess(const std::string& args)
{
    static int s_nCount = 0;
    // cppcheck-suppress useInitializationList ; numbered by the counter above
    m_unixDir =
        "/tmp/spoolscope-sim-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++s_nCount);
    m_windowsDir = WindowsPath(m_unixDir);
    ::CreateDirectoryA(m_windowsDir.c_str(), nullptr);
    ::DeleteFileA((m_windowsDir + "\\ready").c_str());
    ::DeleteFileA((m_windowsDir + "\\log").c_str());

    std::string simArgs = "--quiet --exit-with-parent --lifetime 120 --ready-file " + m_unixDir + "/ready" +
                          " --pidfile " + m_unixDir + "/pid --log " + m_unixDir + "/log " + args;
    if (!StartNative(SIM_PATH, simArgs))
        return;
    std::string ready = m_windowsDir + "\\ready";
    m_bRunning =
        WaitFor([&] { return ::GetFileAttributesA(ready.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000);
}

SimProcess::~SimProcess()
{
    Stop();
}

void SimProcess::Stop()
{
    if (!m_bRunning)
        return;
    m_bRunning = false;
    std::string pid = ReadWholeFile(m_windowsDir + "\\ready");
    pid.erase(pid.find_last_not_of(" \r\n") + 1);
    std::string pidFile = m_windowsDir + "\\pid";
    if (!pid.empty() && StartNative("/bin/kill", pid))
        WaitFor([&] { return ::GetFileAttributesA(pidFile.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000);
}

std::string SimProcess::ReadLog() const
{
    return ReadWholeFile(m_windowsDir + "\\log");
}

bool SimProcess::WaitForLog(const std::string& text, unsigned timeoutMs) const
{
    return WaitFor([&] { return ReadLog().find(text) != std::string::npos; }, timeoutMs);
}

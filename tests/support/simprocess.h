// Starts the native print-server simulator from a Windows test under Wine
// and stops it again. Its files live in a fresh folder under /tmp.
#pragma once

#include <string>

class SimProcess {
public:
    // Starts printserver-sim with args (simulator syntax) and waits until its
    // sockets are bound. IsRunning() tells whether that worked.
    explicit SimProcess(const std::string& args);
    ~SimProcess();

    bool IsRunning() const { return m_bRunning; }
    // The datagram log: one line per datagram the servers received.
    std::string ReadLog() const;
    // Waits until the log has a line containing text; false after the deadline.
    bool WaitForLog(const std::string& text, unsigned timeoutMs = 3000) const;
    void Stop();

private:
    std::string m_unixDir;
    std::string m_windowsDir;
    bool m_bRunning = false;
};

// Runs a native program (a Unix path and its arguments) without waiting for it.
bool StartNative(const std::string& unixPath, const std::string& args);

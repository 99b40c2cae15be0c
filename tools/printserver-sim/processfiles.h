// The pid file and the ready file that let scripts and tests follow the process.
#pragma once

#include <string>

class ProcessFiles {
public:
    ProcessFiles(const std::string& pidFile, const std::string& readyFile);

    // At start: writes the pid file and removes a ready file left by an
    // earlier run, so that no one mistakes it for this run's.
    bool Begin(std::string* error);

    // Once every socket is bound: writes the ready file.
    bool Ready(std::string* error);

    // At exit: removes the pid file.
    void End();

private:
    // Writes "<pid>\n" to path.tmp and renames it, so readers never see a partial file.
    static bool WritePid(const std::string& path, std::string* error);

    std::string pidFile_;
    std::string readyFile_;
};

#include "processfiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

ProcessFiles::ProcessFiles(const std::string& pidFile, const std::string& readyFile)
    : pidFile_(pidFile), readyFile_(readyFile)
{
}

bool ProcessFiles::Begin(std::string* error)
{
    if (!readyFile_.empty() && ::unlink(readyFile_.c_str()) != 0 && errno != ENOENT) {
        *error = "cannot remove the old ready file " + readyFile_ + ": " + std::strerror(errno);
        return false;
    }
    return pidFile_.empty() || WritePid(pidFile_, error);
}

bool ProcessFiles::Ready(std::string* error)
{
    return readyFile_.empty() || WritePid(readyFile_, error);
}

void ProcessFiles::End()
{
    if (!pidFile_.empty())
        ::unlink(pidFile_.c_str());
}

bool ProcessFiles::WritePid(const std::string& path, std::string* error)
{
    std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr) {
        *error = "cannot write " + temporary + ": " + std::strerror(errno);
        return false;
    }
    bool written = std::fprintf(file, "%ld\n", static_cast<long>(::getpid())) > 0;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

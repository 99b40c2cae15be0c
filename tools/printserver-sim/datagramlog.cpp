#include "datagramlog.h"

#include <arpa/inet.h>
#include <fcntl.h>

#include <cerrno>
#include <cstring>

bool DatagramLog::Open(const std::string& path, std::string* error)
{
    fd_.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (!fd_.valid()) {
        *error = "cannot open log " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

namespace {

std::string FormatLine(long long ms, const std::string& server, const sockaddr_in& from, const uint8_t* data,
                       size_t size)
{
    static const char kHex[] = "0123456789abcdef";
    char source[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &from.sin_addr, source, sizeof source);
    std::string line = std::to_string(ms) + " " + server + " " + source + ":" +
                       std::to_string(ntohs(from.sin_port)) + " " + std::to_string(size) + " ";
    line.reserve(line.size() + 2 * size + 1);
    for (size_t i = 0; i < size; ++i) {
        line += kHex[data[i] >> 4];
        line += kHex[data[i] & 0x0F];
    }
    line += '\n';
    return line;
}

}  // namespace

void DatagramLog::Write(long long ms, const std::string& server, const sockaddr_in& from, const uint8_t* data,
                        size_t size)
{
    if (!fd_.valid())
        return;
    // One write() per line: O_APPEND keeps lines whole and nothing is buffered.
    std::string line = FormatLine(ms, server, from, data, size);
    const char* at = line.data();
    size_t left = line.size();
    while (left > 0) {
        ssize_t written = ::write(fd_.get(), at, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        at += written;
        left -= static_cast<size_t>(written);
    }
}

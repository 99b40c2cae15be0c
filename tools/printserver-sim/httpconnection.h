// One accepted connection to a server's status page.
#pragma once

#include "uniquefd.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

class HttpConnection {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr size_t kMaxRequestHead = 8192;
    static constexpr int kRequestTimeoutMs = 5000;
    static constexpr int kLingerMs = 1000;

    HttpConnection(UniqueFd fd, size_t server, Clock::time_point now);

    int fd() const { return fd_.get(); }
    size_t server() const { return server_; }
    Clock::time_point deadline() const { return deadline_; }

    // Reads what has arrived. Once the request head is complete the response
    // is sent and the connection lingers until the client closes it, so that
    // closing never resets the connection under the unread response. Returns
    // false when the connection is finished.
    bool OnReadable(const std::function<std::string()>& page, Clock::time_point now);

private:
    void Answer(const std::string& response);

    UniqueFd fd_;
    size_t server_;
    Clock::time_point deadline_;
    std::string request_;
    bool answered_ = false;
};

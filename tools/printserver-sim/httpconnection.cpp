#include "httpconnection.h"

#include "httppage.h"

#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>

HttpConnection::HttpConnection(UniqueFd fd, size_t server, Clock::time_point now)
    : fd_(std::move(fd)), server_(server), deadline_(now + std::chrono::milliseconds(kRequestTimeoutMs))
{
    // The response is small; a client that does not read it must not stall the loop.
    timeval timeout = {1, 0};
    setsockopt(fd_.get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

bool HttpConnection::OnReadable(const std::function<std::string()>& page, Clock::time_point now)
{
    char buffer[4096];
    ssize_t received = ::recv(fd_.get(), buffer, sizeof buffer, MSG_DONTWAIT);
    if (received < 0)
        return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK;
    if (received == 0)
        return false;
    if (answered_)
        return true;
    request_.append(buffer, static_cast<size_t>(received));
    bool complete =
        request_.find("\r\n\r\n") != std::string::npos || request_.find("\n\n") != std::string::npos;
    if (!complete && request_.size() <= kMaxRequestHead)
        return true;
    Answer(httppage::Response(request_, page()));
    answered_ = true;
    deadline_ = now + std::chrono::milliseconds(kLingerMs);
    return true;
}

void HttpConnection::Answer(const std::string& response)
{
    const char* at = response.data();
    size_t left = response.size();
    while (left > 0) {
        ssize_t sent = ::send(fd_.get(), at, left, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            break;
        at += sent;
        left -= static_cast<size_t>(sent);
    }
    ::shutdown(fd_.get(), SHUT_WR);
}

// The --http status page of each server.
#include "simprocess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Sends a request to 127.0.0.x:port and reads until the server closes.
std::string Fetch(const std::string& ip, int port, const std::string& request)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
    EXPECT_EQ(ntohl(address.sin_addr.s_addr) >> 24, 127u) << "tests only talk to loopback";
    std::string response;
    if (ntohl(address.sin_addr.s_addr) >> 24 == 127 &&
        connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        pollfd fds = {fd, POLLIN, 0};
        char buffer[4096];
        ssize_t received = 0;
        while (poll(&fds, 1, 5000) > 0 && (received = recv(fd, buffer, sizeof buffer, 0)) > 0)
            response.append(buffer, static_cast<size_t>(received));
    } else {
        ADD_FAILURE() << "cannot connect to " << ip << ":" << port;
    }
    close(fd);
    return response;
}

TEST(SimHttpTest, GetServesThePageOfThatServer)
{
    SimProcess sim;
    int httpPort = FreePort(SOCK_STREAM);
    ASSERT_TRUE(sim.Start(
        {"--server", "127.0.0.2", "--printer", "A&B <Laser>,ip=10.0.0.7,type=1,state=0x88,jobs=3,percent=50",
         "--printer", "Plain,state=0x00", "--server", "127.0.0.3", "--printer", "Other", "--port",
         std::to_string(FreePort(SOCK_DGRAM)), "--http", std::to_string(httpPort), "--quiet"}));

    std::string response = Fetch("127.0.0.2", httpPort, "GET / HTTP/1.0\r\nHost: x\r\n\r\n");
    size_t headEnd = response.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos) << "no complete response (waited up to 5 s per read):\n"
                                          << response;
    std::string head = response.substr(0, headEnd + 2);
    std::string body = response.substr(headEnd + 4);
    EXPECT_EQ(head.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nContent-Type: text/html\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nConnection: close\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nContent-Length: " + std::to_string(body.size()) + "\r\n"), std::string::npos)
        << head;
    for (const char* part : {"127.0.0.2", "<td>A&amp;B &lt;Laser&gt;</td>", "<td>10.0.0.7</td>",
                             "<td>LPT</td>", "<td>ON-LINE</td>", "<td>3</td>", "<td>50</td>",
                             "<td>Plain</td>", "<td>Bi-direction</td>", "<td>OFF-LINE</td>"})
        EXPECT_NE(body.find(part), std::string::npos) << "missing " << part << " in\n" << body;
    EXPECT_EQ(body.find("Other"), std::string::npos) << "another server's printer on the page";

    std::string other = Fetch("127.0.0.3", httpPort, "GET /status HTTP/1.1\r\n\r\n");
    EXPECT_NE(other.find("<td>Other</td>"), std::string::npos) << other;
}

}  // namespace

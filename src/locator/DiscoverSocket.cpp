#include "locator/DiscoverSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace vantrel::locator {

DiscoverSocket::~DiscoverSocket() {
    if (fd_ >= 0) close(fd_);
}

std::optional<std::string> DiscoverSocket::Open(uint16_t port) {
    port_ = port;
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return std::string("Could not create socket.");
    int on = 1;
    std::optional<std::string> error;
    if (setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on)) != 0)
        error = "Could not allow broadcasts on the socket.\n";
    // Shares the port with other sockets that ask for it too: a responder or a second locator
    // on the same machine also listens on 19020, and replies sent as broadcasts reach all.
    else if (setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) != 0)
        error = "Could not share the port of the socket.\n";
    else if (int flags = fcntl(fd_, F_GETFL);
             flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0)
        error = "Could not make the socket non-blocking.\n";
    else {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(port);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
            char text[64];
            std::snprintf(text, sizeof(text), "Could not bind the socket to port %u.\n",
                          static_cast<unsigned>(port));
            error = text;
        }
    }
    if (error) {
        close(fd_);
        fd_ = -1;
    }
    return error;
}

bool DiscoverSocket::Broadcast(std::span<const uint8_t> datagram) {
    if (fd_ < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    to.sin_port = htons(port_);
    ssize_t sent = sendto(fd_, datagram.data(), datagram.size(), 0,
                          reinterpret_cast<sockaddr*>(&to), sizeof(to));
    return sent == static_cast<ssize_t>(datagram.size());
}

std::optional<std::size_t> DiscoverSocket::Receive(std::span<uint8_t> buffer, uint32_t waitMs) {
    if (fd_ < 0) return std::nullopt;
    // Waits in poll() instead of spinning on the non-blocking socket: the window keeps its
    // length without burning a core.
    // An interrupted wait returns nothing; the caller looks at its clock and waits again.
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(waitMs)) <= 0) return std::nullopt;
    ssize_t n = recv(fd_, buffer.data(), buffer.size(), MSG_TRUNC);
    if (n < 0) return std::nullopt;
    return std::min(static_cast<std::size_t>(n), buffer.size());
}

} // namespace vantrel::locator

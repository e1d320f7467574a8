// nxt-sim: answers the locator's discover broadcast like a Vantrel 5 NXT, for tests and demos.
// It listens on UDP port 19020 (shared with other listeners on the same machine) and answers
// every discover request with --count replies after --delay milliseconds. Replies go to the
// broadcast address 255.255.255.255:19020, so that the locator gets them even when it shares
// its machine, and its port, with several responders; --reply-to-sender sends them to the
// address and port the request came from instead.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "ReplyEncoder.h"

namespace {

using vantrel::nxtsim::ReplyFields;

constexpr uint16_t kPort = 19020;
std::atomic<bool> stopRequested{false};

void RequestStop(int) {
    stopRequested.store(true);
}

std::string ParseIp(const std::string& text, std::array<uint8_t, 4>& ip) {
    in_addr a{};
    if (inet_pton(AF_INET, text.c_str(), &a) != 1) return "not an IPv4 address: " + text;
    std::memcpy(ip.data(), &a, 4); // network order: the first number first
    return {};
}

std::string ParseMac(const std::string& text, std::array<uint8_t, 6>& mac) {
    unsigned b[6];
    char extra;
    if (std::sscanf(text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x%c", &b[0], &b[1], &b[2], &b[3], &b[4],
                    &b[5], &extra) != 6)
        return "not a MAC address (six hex bytes with colons): " + text;
    for (int i = 0; i < 6; ++i)
        mac[i] = static_cast<uint8_t>(b[i]);
    return {};
}

struct Options {
    ReplyFields reply;
    unsigned delayMs = 0;
    unsigned count = 1;
    bool toSender = false;
    unsigned requests = 0;  // 0: no limit
    unsigned exitAfter = 0; // seconds; 0: no limit
};

int OpenSocket() {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int on = 1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(kPort);
    if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on)) != 0 ||
        bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void Answer(int fd, const Options& o, const sockaddr_in& requester) {
    if (o.delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(o.delayMs));
    sockaddr_in to = requester;
    if (!o.toSender) {
        to = {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        to.sin_port = htons(kPort);
    }
    auto reply = vantrel::nxtsim::EncodeReply(o.reply);
    for (unsigned i = 0; i < o.count; ++i)
        if (sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&to),
                   sizeof(to)) < 0)
            std::perror("nxt-sim: sendto");
}

int Serve(const Options& o) {
    int fd = OpenSocket();
    if (fd < 0) {
        std::perror("nxt-sim: cannot listen on UDP port 19020");
        return 1;
    }
    std::printf("nxt-sim: answering discover requests on port %u\n", kPort);
    std::fflush(stdout);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(o.exitAfter);
    unsigned answered = 0;
    while (!stopRequested.load()) {
        if (o.exitAfter && std::chrono::steady_clock::now() >= deadline) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        uint8_t buffer[1500];
        sockaddr_in from{};
        socklen_t fromLength = sizeof(from);
        ssize_t n = recvfrom(fd, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from),
                             &fromLength);
        // Everything but a request (our own and our peers' replies among them) is ignored.
        if (n <= 0 || !vantrel::nxtsim::IsDiscoverRequest(buffer, static_cast<std::size_t>(n)))
            continue;
        Answer(fd, o, from);
        if (o.requests && ++answered >= o.requests) break;
    }
    close(fd);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"nxt-sim: answers the locator's discover broadcast like a Vantrel 5 NXT"};
    Options o;
    std::string ip = "192.168.1.50", mac = "00:1A:2B:3C:4D:5E";
    app.add_option("--product", o.reply.product, "product name (32 characters leave no 0)")
        ->capture_default_str();
    app.add_option("--nickname", o.reply.nickname, "nickname (32 characters leave no 0)")
        ->capture_default_str();
    app.add_option("--serial", o.reply.serial, "serial number")->capture_default_str();
    app.add_option("--firmware", o.reply.firmware, "firmware version, decimal MMmmRR")
        ->capture_default_str();
    app.add_option("--ip", ip, "IPv4 address put in the reply")->capture_default_str();
    app.add_option("--mac", mac, "MAC address put in the reply")->capture_default_str();
    app.add_option("--delay", o.delayMs, "milliseconds to wait before answering")
        ->check(CLI::Range(0u, 60000u));
    app.add_option("--count", o.count, "replies sent to each request")
        ->check(CLI::Range(1u, 1000u))
        ->capture_default_str();
    app.add_option("--length", o.reply.length,
                   "bytes sent of each reply (below 128 cuts it short, above pads with 0)")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1400}))
        ->capture_default_str();
    app.add_option("--magic", o.reply.magic,
                   "the text the reply begins with; anything but \"5NXT Found\" makes a "
                   "foreign datagram")
        ->capture_default_str();
    app.add_flag("--reply-to-sender", o.toSender,
                 "reply to the request's address and port instead of broadcasting");
    app.add_option("--requests", o.requests, "end after answering this many requests");
    app.add_option("--exit-after", o.exitAfter, "end after this many seconds");
    CLI11_PARSE(app, argc, argv);
    if (auto error = ParseIp(ip, o.reply.ip); !error.empty()) {
        std::fprintf(stderr, "nxt-sim: %s\n", error.c_str());
        return 2;
    }
    if (auto error = ParseMac(mac, o.reply.mac); !error.empty()) {
        std::fprintf(stderr, "nxt-sim: %s\n", error.c_str());
        return 2;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    return Serve(o);
}

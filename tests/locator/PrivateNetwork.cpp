#include "PrivateNetwork.h"

#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrel::test {
namespace {

std::string Failed(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

sockaddr_in Ipv4(in_addr_t address) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = address;
    return a;
}

std::string SetUpLoopback() {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Failed("socket");
    std::string why;
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
    if (ioctl(fd, SIOCGIFFLAGS, &ifr) != 0) why = Failed("reading the flags of lo");
    ifr.ifr_flags |= IFF_UP;
    if (why.empty() && ioctl(fd, SIOCSIFFLAGS, &ifr) != 0) why = Failed("setting lo up");
    // ip route add 255.255.255.255/32 dev lo
    rtentry route{};
    auto dst = Ipv4(INADDR_BROADCAST), mask = Ipv4(INADDR_BROADCAST);
    std::memcpy(&route.rt_dst, &dst, sizeof(dst));
    std::memcpy(&route.rt_genmask, &mask, sizeof(mask));
    route.rt_flags = RTF_UP | RTF_HOST;
    char device[] = "lo";
    route.rt_dev = device;
    if (why.empty() && ioctl(fd, SIOCADDRT, &route) != 0 && errno != EEXIST)
        why = Failed("adding the broadcast route to lo");
    close(fd);
    return why;
}

} // namespace

std::string EnterPrivateNetwork() {
    static const std::string result = [] {
        if (unshare(CLONE_NEWNET) != 0) return Failed("unshare(CLONE_NEWNET)");
        return SetUpLoopback();
    }();
    return result;
}

bool OnlyLoopbackVisible() {
    struct if_nameindex* names = if_nameindex();
    if (!names) return false;
    bool onlyLoopback = true;
    for (struct if_nameindex* n = names; n->if_index != 0; ++n)
        if (std::strcmp(n->if_name, "lo") != 0) onlyLoopback = false;
    if_freenameindex(names);
    return onlyLoopback;
}

} // namespace vantrel::test

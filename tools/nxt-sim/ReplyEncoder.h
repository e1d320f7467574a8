#pragma once
// The reply a simulated Vantrel 5 NXT sends to a discover request: the text "5NXT Found",
// then little-endian fields at fixed offsets (IPv4 at 16, MAC at 32, serial number at 48,
// firmware version at 52, product name at 64, nickname at 96), unused bytes 0. A name fills
// its 32-byte field with at most 32 characters; one of 32 leaves no terminating 0.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::nxtsim {

struct ReplyFields {
    std::string magic = "5NXT Found"; // anything else makes a foreign datagram
    std::string product = "Vantrel 5 NXT";
    std::string nickname = "NXT";
    uint32_t serial = 1001;
    uint32_t firmware = 20003; // decimal MMmmRR
    std::array<uint8_t, 4> ip = {192, 168, 1, 50};
    std::array<uint8_t, 6> mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::size_t length = 128; // bytes sent: shorter cuts the reply, longer pads it with 0
};

std::vector<uint8_t> EncodeReply(const ReplyFields& fields);

// True for a datagram that begins with "5NXT Discover" and its terminating 0.
bool IsDiscoverRequest(const uint8_t* data, std::size_t length);

} // namespace vantrel::nxtsim

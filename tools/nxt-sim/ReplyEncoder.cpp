#include "ReplyEncoder.h"

#include <algorithm>
#include <cstring>

namespace vantrel::nxtsim {
namespace {

void PutU32(std::vector<uint8_t>& out, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutText(std::vector<uint8_t>& out, std::size_t at, const std::string& text,
             std::size_t width) {
    std::memcpy(out.data() + at, text.data(), std::min(text.size(), width));
}

} // namespace

std::vector<uint8_t> EncodeReply(const ReplyFields& f) {
    std::vector<uint8_t> reply(std::max<std::size_t>(128, f.length), 0);
    PutText(reply, 0, f.magic, 16);
    std::copy(f.ip.begin(), f.ip.end(), reply.begin() + 16);
    std::copy(f.mac.begin(), f.mac.end(), reply.begin() + 32);
    PutU32(reply, 48, f.serial);
    PutU32(reply, 52, f.firmware);
    PutText(reply, 64, f.product, 32);
    PutText(reply, 96, f.nickname, 32);
    reply.resize(f.length);
    return reply;
}

bool IsDiscoverRequest(const uint8_t* data, std::size_t length) {
    static const char text[] = "5NXT Discover"; // compared with its terminating 0
    return length >= sizeof(text) && std::memcmp(data, text, sizeof(text)) == 0;
}

} // namespace vantrel::nxtsim

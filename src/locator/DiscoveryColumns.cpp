#include "locator/DiscoveryColumns.h"

#include <cstdio>

namespace vantrel::locator {

const std::array<DiscoveryColumn, kColumnCount> kDiscoveryColumns = {{
    {"#", 20, ColumnAlign::Left},
    {"Product", 138, ColumnAlign::Left},
    {"Nickname", 75, ColumnAlign::Left},
    {"SN", 75, ColumnAlign::Left},
    {"IP address", 90, ColumnAlign::Left},
    {"MAC address", 115, ColumnAlign::Left},
    {"Ping", 45, ColumnAlign::Centre},
}};

RowTexts DiscoveryRowTexts(std::size_t index, const DiscoveryEntry& e) {
    // Large enough for every text below: a name of 31 characters and the longest numbers.
    char buffer[64];
    RowTexts row;
    std::snprintf(buffer, sizeof(buffer), "%d", static_cast<int>(index + 1));
    row[0] = buffer;
    // The revision (the last two digits) is not shown.
    std::snprintf(buffer, sizeof(buffer), "%s V%d.%.2d", e.product,
                  static_cast<int>(e.version / 10000 % 100),
                  static_cast<int>(e.version / 100 % 100));
    row[1] = buffer;
    row[2] = e.nickname;
    // The serial number is an unsigned 32-bit value: shown unsigned so that numbers from
    // 2147483648 up do not come out negative.
    std::snprintf(buffer, sizeof(buffer), "%u", static_cast<unsigned>(e.serial));
    row[3] = buffer;
    std::snprintf(buffer, sizeof(buffer), "%d.%d.%d.%d", e.ip[0], e.ip[1], e.ip[2], e.ip[3]);
    row[4] = buffer;
    std::snprintf(buffer, sizeof(buffer), "%.2X:%.2X:%.2X:%.2X:%.2X:%.2X", e.mac[0], e.mac[1],
                  e.mac[2], e.mac[3], e.mac[4], e.mac[5]);
    row[5] = buffer;
    std::snprintf(buffer, sizeof(buffer), "%u ms", static_cast<unsigned>(e.pingMs));
    row[6] = buffer;
    return row;
}

} // namespace vantrel::locator

#include "locator/ConsoleRounds.h"

#include "locator/DiscoverRounds.h"
#include "locator/DiscoverSocket.h"
#include "locator/DiscoveryColumns.h"
#include "platform/SteadyClock.h"

namespace vantrel::locator {
namespace {

void AppendLine(std::string& text, const RowTexts& columns) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c) text += '\t';
        for (unsigned char ch : columns[c])
            text += (ch < 0x20 || ch == 0x7F) ? '.' : static_cast<char>(ch);
    }
    text += '\n';
}

} // namespace

std::string ConsoleTableText(const DiscoveryTable& table) {
    RowTexts titles;
    for (std::size_t c = 0; c < kColumnCount; ++c)
        titles[c] = kDiscoveryColumns[c].title;
    std::string text;
    AppendLine(text, titles);
    for (std::size_t i = 0; i < table.Count(); ++i)
        AppendLine(text, DiscoveryRowTexts(i, table[i]));
    return text;
}

int RunConsoleRounds(unsigned rounds, const std::atomic<bool>& stop, std::FILE* out) {
    DiscoverSocket socket;
    if (auto error = socket.Open()) {
        std::fputs(error->c_str(), out);
        std::fflush(out);
        return kConsoleSocketFailed;
    }
    SteadyClock clock;
    DiscoverRounds discover(socket, clock, out);
    auto end = discover.Run(stop, rounds, [out](const DiscoveryTable& table) {
        std::fputs(ConsoleTableText(table).c_str(), out);
        std::fflush(out);
    });
    return end == RoundsEnd::SendFailed ? kConsoleSendFailed : kConsoleOk;
}

} // namespace vantrel::locator

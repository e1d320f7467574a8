#pragma once
// The locator's console mode, for scripts and tests: the same rounds as the dialog, and after
// each round the list as text lines, one header line with the column titles and one line per
// row, the column texts separated by tabs. Control characters in names from the network are
// shown as '.', so that a row stays one line and reaches the terminal as plain text.
#include <atomic>
#include <cstdio>
#include <string>

#include "locator/DiscoverDatagrams.h"

namespace vantrel::locator {

std::string ConsoleTableText(const DiscoveryTable& table);

// Exit codes of the console mode.
enum ConsoleExit { kConsoleOk = 0, kConsoleSocketFailed = 1, kConsoleSendFailed = 2 };

// Runs `rounds` rounds (0: until `stop` is set) and prints to `out`.
int RunConsoleRounds(unsigned rounds, const std::atomic<bool>& stop, std::FILE* out = stdout);

} // namespace vantrel::locator

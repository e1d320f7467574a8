#pragma once
// The target configuration sent with every status poll: where the selected banks lie, how to
// reach the target, its ID bytes, the session, the protected addresses, the bank list and the
// algorithm's extras, in the programmer's byte layout.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

class DeviceSelection;
struct ProgramOptions;

// The programmer takes at most this many bytes in one configuration.
inline constexpr std::size_t kMaxTargetConfigSize = 250;

// The configuration for the current selection. `sessionField` is what goes into the session
// slot: the new session identifier while no session is valid, 0 while one is. Returns nullopt
// with `reason` set when the configuration would be longer than the programmer takes.
std::optional<std::vector<uint8_t>> BuildTargetConfig(const DeviceSelection& selection,
                                                      const ProgramOptions& options,
                                                      uint32_t sessionField, std::string& reason);

} // namespace vantrel

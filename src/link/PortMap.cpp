#include "link/PortMap.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>

#include "link/DeviceRoot.h"

namespace vantrel {

namespace {

struct Adapter {
    int kind;           // 0: ttyUSB, 1: ttyACM
    std::string number; // its digits without leading zeros
    std::string name;
};

// ttyUSB<digits> or ttyACM<digits>; nullopt for every other name.
std::optional<Adapter> AdapterOf(const std::string& name) {
    static constexpr const char* kPrefixes[] = {"ttyUSB", "ttyACM"};
    for (int kind = 0; kind < 2; ++kind) {
        std::string prefix = kPrefixes[kind];
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        std::string digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
        return Adapter{kind, digits, name};
    }
    return std::nullopt;
}

// Numeric order without converting: a shorter number (leading zeros gone) is the smaller one.
bool Before(const Adapter& a, const Adapter& b) {
    return std::forward_as_tuple(a.kind, a.number.size(), a.number, a.name) <
           std::forward_as_tuple(b.kind, b.number.size(), b.number, b.name);
}

} // namespace

std::vector<std::string> UsbSerialDevices(const std::string& root) {
    namespace fs = std::filesystem;
    std::vector<Adapter> found;
    std::error_code error;
    for (fs::directory_iterator it(UnderRoot(root, "/dev"), error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory(error)) continue;
        if (auto adapter = AdapterOf(it->path().filename().string())) found.push_back(*adapter);
    }
    std::sort(found.begin(), found.end(), Before);
    std::vector<std::string> paths;
    for (const Adapter& adapter : found)
        paths.push_back("/dev/" + adapter.name);
    return paths;
}

ComPortMap MapComPorts(const PortEntryLookup& fromSettings, const std::string& root) {
    ComPortMap ports;
    // Compared with their links followed: a by-id name and its ttyUSB node are one device.
    auto same = [&root](const std::string& path) {
        return ResolveUnderRoot(path, root).value_or(path);
    };
    std::set<std::string> named;
    for (int n = 1; n <= kMaxComPort; ++n) {
        ComPortMapping& port = ports[static_cast<std::size_t>(n - 1)];
        port.comNumber = n;
        if (auto path = fromSettings(n)) {
            port.path = *path;
            port.source = PortSource::Settings;
            named.insert(same(*path));
        }
    }
    std::vector<std::string> adapters = UsbSerialDevices(root);
    auto next = adapters.begin();
    for (ComPortMapping& port : ports) {
        if (port.source != PortSource::None) continue;
        while (next != adapters.end() && named.count(same(*next)) != 0)
            ++next;
        if (next == adapters.end()) break;
        port.path = *next++;
        port.source = PortSource::UsbList;
    }
    return ports;
}

ComPortMap MapComPorts(SettingsFile& settings, const std::string& root) {
    return MapComPorts([&settings](int n) { return PortDevicePath(settings, n); }, root);
}

} // namespace vantrel

#include "ui/console/PortListing.h"

#include <algorithm>
#include <vector>

#include "settings/Ini.h"

namespace vantrel {

namespace {

using Row = std::vector<std::string>;

std::string OrDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

Row RowOf(const ComPortMapping& port, const std::string& root) {
    std::string com = "COM" + std::to_string(port.comNumber);
    if (port.source == PortSource::None) return {com, "-", "not mapped"};
    PortDetails details = DescribePort(port.path, root);
    std::string device = port.path;
    if (!details.device.empty() && details.device != port.path) device += " -> " + details.device;
    std::string ids = details.vendorId.empty() || details.productId.empty()
                          ? ""
                          : details.vendorId + ":" + details.productId;
    return {com,
            device,
            port.source == PortSource::Settings ? "[Ports]" : "USB list",
            OrDash(ids),
            OrDash(details.serialNumber),
            OrDash(details.product),
            details.usable ? "ok" : details.problem};
}

} // namespace

std::string PortTable(const ComPortMap& ports, const std::string& root) {
    std::vector<Row> rows{{"COM", "Device", "Source", "USB id", "Serial", "Product", "State"}};
    for (const ComPortMapping& port : ports)
        rows.push_back(RowOf(port, root));
    std::vector<std::size_t> widths;
    for (const Row& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    std::string table;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        table += line + "\n";
    }
    return table;
}

std::string PortListing(SettingsFile& settings, const std::string& root) {
    std::string head = "Settings file: " + INI_SettingsPath(settings) + "\n";
    return head + PortTable(MapComPorts(settings, root), root);
}

} // namespace vantrel

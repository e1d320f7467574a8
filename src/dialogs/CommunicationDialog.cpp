#include "dialogs/CommunicationDialog.h"

#include <algorithm>

#include "app/App.h"
#include "app/LinkControl.h"
#include "app/SettingsApply.h"

namespace vantrel {

std::vector<std::string> ComPortItems(const ComPortMap& ports, const std::string& root) {
    std::vector<std::string> items{"AUTO (every mapped port)"};
    for (const ComPortMapping& port : ports) {
        std::string item = "COM" + std::to_string(port.comNumber) + "  ";
        if (port.source == PortSource::None) {
            item += "not mapped";
        } else {
            item += port.path;
            const PortDetails details = DescribePort(port.path, root);
            if (!details.device.empty() && details.device != port.path)
                item += " -> " + details.device;
        }
        items.push_back(item);
    }
    return items;
}

CommunicationDialog::CommunicationDialog(App& app) : app_(app) {
    items_ = ComPortItems(MapComPorts(app.settings, app.deviceRoot), app.deviceRoot);
    Select(app.options.comPort);
}

void CommunicationDialog::Select(int index) {
    selected_ = std::clamp(index, 0, static_cast<int>(items_.size()) - 1);
}

void CommunicationDialog::Ok() {
    LINK_Stop(app_);
    app_.options.comPort = selected_;
    LINK_Start(app_); // reports error 218 itself
    SaveSettings(app_);
}

} // namespace vantrel

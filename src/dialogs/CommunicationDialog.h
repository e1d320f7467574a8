#pragma once
// The "Communication parameters" dialog without a toolkit: combo 1008 lists AUTO and COM1 to
// COM20, each with the device path this machine maps it to (as `vantrel-cli --ports` shows
// it); the item index is the COM number (0 = AUTO). OK stops the link, takes the chosen port,
// starts the link again (a port that cannot be opened is reported as error 218 and the choice
// is kept) and saves all settings at once.
#include <string>
#include <vector>

#include "link/PortMap.h"

namespace vantrel {

struct App;

inline constexpr int kCommunicationComboId = 1008;
inline constexpr const char* kBaudrateLabel = "&Baudrate is fixed to 115200 baud";

// The combo's 21 texts: "AUTO (every mapped port)", then "COMn  <path>" or "COMn  not mapped".
std::vector<std::string> ComPortItems(const ComPortMap& ports, const std::string& root);

class CommunicationDialog {
  public:
    explicit CommunicationDialog(App& app); // the ports as mapped now, the port in use
    const std::vector<std::string>& Items() const { return items_; }
    int Selected() const { return selected_; }
    void Select(int index);
    void Ok();

  private:
    App& app_;
    std::vector<std::string> items_;
    int selected_ = 1;
};

} // namespace vantrel

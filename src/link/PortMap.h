#pragma once
// Which device path each COM number stands for on this machine, and what is known about it.
//
// COMn is the [Ports] entry "COMn" of the settings file when there is one. The COM numbers
// without an entry take the USB serial adapters in order: first /dev/ttyUSB*, then
// /dev/ttyACM*, each in numeric order (ttyUSB2 before ttyUSB10); the lowest free COM number
// gets the first adapter. An adapter that a [Ports] entry names already (also through a link
// such as /dev/serial/by-id/...) is not handed out a second time. With no [Ports] entries COMn
// is simply the n-th adapter. Built-in UARTs (/dev/ttyS*) are used only when [Ports] names
// them: they exist without hardware, and on a virtual machine ttyS0 is the system console.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/PortsSection.h"

namespace vantrel {

struct SettingsFile;

enum class PortSource { None, Settings, UsbList };

struct ComPortMapping {
    int comNumber = 0;
    std::string path; // empty when the COM number stands for no device
    PortSource source = PortSource::None;
};

using ComPortMap = std::array<ComPortMapping, kMaxComPort>;
// The [Ports] entry of a COM number, if any.
using PortEntryLookup = std::function<std::optional<std::string>(int comNumber)>;

// The existing /dev/ttyUSB* and /dev/ttyACM* under `root`, in the order the COM numbers take
// them (see above).
std::vector<std::string> UsbSerialDevices(const std::string& root = "/");

// COM1 to COM20 (index 0 to 19), from the [Ports] entries and the adapters under `root`.
ComPortMap MapComPorts(const PortEntryLookup& fromSettings, const std::string& root = "/");
// The same with the [Ports] entries of the settings file (a malformed one is reported there).
ComPortMap MapComPorts(SettingsFile& settings, const std::string& root = "/");

struct PortDetails {
    std::string device;    // the path with its links followed ("/dev/ttyUSB0")
    bool exists = false;   // the device is there
    bool usable = false;   // this user may open it for reading and writing
    std::string problem;   // why it cannot be used; empty when usable
    std::string vendorId;  // the USB device's ids, serial number and product name, where the
    std::string productId; // kernel tells them; empty otherwise
    std::string serialNumber;
    std::string product;
};

// What the kernel tells of the device `path` (absolute), looked up under `root`: its links
// followed, whether it is there and may be opened (a look at the permissions only: nothing is
// opened), and for a USB adapter the attributes of the USB device it belongs to, found by
// walking up from sys/class/tty/<name>/device to the first folder that has an idVendor.
PortDetails DescribePort(const std::string& path, const std::string& root = "/");

} // namespace vantrel

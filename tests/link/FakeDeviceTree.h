#pragma once
// A device tree in a temporary folder, laid out as the kernel and udev lay out /dev and /sys:
// two USB serial adapters (ttyUSB2, ttyUSB10) of one kind, a CDC-ACM programmer (ttyACM0),
// a built-in UART (ttyS0) and the links udev makes. Plain files stand in for the device nodes.
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace vantrel::test {

struct FakeDeviceTree {
    TempDir root;

    // The links udev makes to ttyUSB10 (by its serial number) and to ttyACM0 (by its place).
    static constexpr const char* kById = "/dev/serial/by-id/usb-KORVID_Vantrel_4_A1B2-if00-port0";
    static constexpr const char* kByPath = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:3:1.0";

    FakeDeviceTree() {
        for (const char* node : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0"})
            File("dev/" + std::string(node));
        Link(kById, "../../ttyUSB10");
        Link(kByPath, "/dev/ttyACM0"); // absolute: must stay inside the tree
        UsbSerial("ttyUSB10", "1-2",
                  {{"idVendor", "0403\n"},
                   {"idProduct", "6001\n"},
                   {"serial", "A1B2\n"},
                   {"product", "Vantrel 4\n"}});
        UsbSerial(
            "ttyUSB2", "1-4",
            {{"idVendor", "10c4\n"}, {"idProduct", "ea60\n"}, {"product", "Dual\tUART \r\n"}});
        // CDC-ACM: the tty's device is the USB interface itself.
        std::string acm = "sys/devices/pci0000:00/usb1/1-3";
        Attributes(acm, {{"idVendor", "1fc9\n"},
                         {"idProduct", "0083\n"},
                         {"serial", "NX9\n"},
                         {"product", "Vantrel 5 NXT\n"}});
        std::filesystem::create_directories(Path(acm + "/1-3:1.0/tty/ttyACM0"));
        Link("/sys/class/tty/ttyACM0", "../../devices/pci0000:00/usb1/1-3/1-3:1.0/tty/ttyACM0");
        Link("/sys/devices/pci0000:00/usb1/1-3/1-3:1.0/tty/ttyACM0/device", "../../../1-3:1.0");
        // The UART: a platform device, nothing above it has USB ids.
        std::filesystem::create_directories(Path("sys/devices/platform/serial8250/tty/ttyS0"));
        Link("/sys/class/tty/ttyS0", "../../devices/platform/serial8250/tty/ttyS0");
        Link("/sys/devices/platform/serial8250/tty/ttyS0/device", "../../../serial8250");
    }

    std::string Root() const { return root.Path().string(); }
    std::filesystem::path Path(const std::string& relative) const { return root.Path() / relative; }
    void File(const std::string& relative, const std::string& content = "") const {
        std::filesystem::create_directories(Path(relative).parent_path());
        WriteFile(Path(relative), content);
    }
    // A symbolic link at the absolute system path `at` (inside the tree) to `target`.
    void Link(const std::string& at, const std::string& target) const {
        std::filesystem::path link = Path(at.substr(1));
        std::filesystem::create_directories(link.parent_path());
        std::filesystem::create_symlink(target, link);
    }

  private:
    void Attributes(const std::string& folder,
                    std::initializer_list<std::pair<const char*, const char*>> attributes) const {
        for (const auto& [name, value] : attributes)
            File(folder + "/" + name, value);
    }
    // A USB serial adapter: USB device `usb` on bus 1, its interface, the tty below it.
    void UsbSerial(const std::string& tty, const std::string& usb,
                   std::initializer_list<std::pair<const char*, const char*>> attributes) const {
        std::string device = "sys/devices/pci0000:00/usb1/" + usb;
        Attributes(device, attributes);
        std::string port = device + "/" + usb + ":1.0/" + tty;
        std::filesystem::create_directories(Path(port + "/tty/" + tty));
        Link("/sys/class/tty/" + tty, "../../" + port.substr(4) + "/tty/" + tty);
        Link("/" + port + "/tty/" + tty + "/device", "../../../" + tty);
    }
};

} // namespace vantrel::test

// COM numbers and device paths over a fake device tree (plain files, never opened): the order
// of the USB adapters, [Ports] entries taking precedence without a device showing up twice,
// built-in UARTs only when named, and what the kernel tells of each device.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "FakeDeviceTree.h"
#include "link/DeviceRoot.h"
#include "link/PortMap.h"

namespace vantrel {
namespace {

// "COMn path (source)" for every mapped COM number, in order.
std::string Shown(const ComPortMap& ports) {
    std::string text;
    for (const ComPortMapping& port : ports) {
        if (port.source == PortSource::None) {
            EXPECT_EQ(port.path, "") << "COM" << port.comNumber;
            continue;
        }
        text += "COM" + std::to_string(port.comNumber) + " " + port.path +
                (port.source == PortSource::Settings ? " [Ports]; " : " list; ");
    }
    return text;
}

TEST(PortMap, UsbAdaptersComeInNumericOrderUsbBeforeAcm) {
    test::TempDir root;
    std::filesystem::create_directories(root.Path() / "dev/ttyUSB9"); // a folder, no device
    for (const char* name : {"ttyACM1", "ttyUSB10", "ttyUSB2", "ttyUSB", "ttyUSB1a", "ttyS0",
                             "ttyACM0", "ttyUSB007", "console", "ttyusb3"})
        test::WriteFile(root.Path() / "dev" / name, "");
    std::vector<std::string> expected{"/dev/ttyUSB2", "/dev/ttyUSB007", "/dev/ttyUSB10",
                                      "/dev/ttyACM0", "/dev/ttyACM1"};
    EXPECT_EQ(UsbSerialDevices(root.Path().string()), expected);
    EXPECT_TRUE(UsbSerialDevices((root.Path() / "missing").string()).empty());
}

TEST(PortMap, PortsEntriesComeFirstAndTheRestTakeTheAdaptersLeft) {
    test::FakeDeviceTree tree;
    struct Case {
        const char* name;
        std::map<int, std::string> entries; // [Ports]
        std::string expected;
    };
    const Case cases[] = {
        {"no entries: the adapters in order, the UART never",
         {},
         "COM1 /dev/ttyUSB2 list; COM2 /dev/ttyUSB10 list; COM3 /dev/ttyACM0 list; "},
        {"a named UART takes its number, the adapters the free ones",
         {{2, "/dev/ttyS0"}},
         "COM1 /dev/ttyUSB2 list; COM2 /dev/ttyS0 [Ports]; COM3 /dev/ttyUSB10 list; "
         "COM4 /dev/ttyACM0 list; "},
        {"an adapter named through its by-id link is not handed out again",
         {{1, test::FakeDeviceTree::kById}},
         std::string("COM1 ") + test::FakeDeviceTree::kById +
             " [Ports]; COM2 /dev/ttyUSB2 list; COM3 /dev/ttyACM0 list; "},
        {"an adapter named directly is not handed out again",
         {{5, "/dev/ttyUSB2"}, {6, test::FakeDeviceTree::kByPath}},
         std::string("COM1 /dev/ttyUSB10 list; COM5 /dev/ttyUSB2 [Ports]; COM6 ") +
             test::FakeDeviceTree::kByPath + " [Ports]; "},
        {"an entry naming a missing device stays, the list is unchanged",
         {{20, "/dev/ttyUSB7"}},
         "COM1 /dev/ttyUSB2 list; COM2 /dev/ttyUSB10 list; COM3 /dev/ttyACM0 list; "
         "COM20 /dev/ttyUSB7 [Ports]; "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPortMap ports = MapComPorts(
            [&c](int n) -> std::optional<std::string> {
                auto it = c.entries.find(n);
                if (it == c.entries.end()) return std::nullopt;
                return it->second;
            },
            tree.Root());
        for (std::size_t i = 0; i < ports.size(); ++i)
            EXPECT_EQ(ports[i].comNumber, static_cast<int>(i) + 1);
        EXPECT_EQ(Shown(ports), c.expected);
    }
}

TEST(PortMap, LinksAreFollowedInsideTheRoot) {
    test::FakeDeviceTree tree;
    tree.Link("/dev/loop-a", "loop-b");
    tree.Link("/dev/loop-b", "/dev/loop-a");
    struct Case {
        const char* path;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {test::FakeDeviceTree::kById, "/dev/ttyUSB10"},
        {test::FakeDeviceTree::kByPath, "/dev/ttyACM0"}, // absolute target, under the root
        {"/sys/class/tty/ttyUSB10/device", "/sys/devices/pci0000:00/usb1/1-2/1-2:1.0/ttyUSB10"},
        {"/dev/../../../dev/./ttyS0", "/dev/ttyS0"},
        {"/dev/nothing/../ttyS0", "/dev/ttyS0"},
        {"/dev/loop-a", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ResolveUnderRoot(c.path, tree.Root()), c.expected);
    }
}

TEST(PortMap, DescribesWhatTheKernelTellsOfADevice) {
    test::FakeDeviceTree tree;
    std::filesystem::create_directories(tree.Path("dev/serial/by-id"));
    tree.Link("/dev/loop", "loop");
    const char* kAbsolute = "needs an absolute path, such as /dev/ttyUSB0";
    struct Case {
        const char* path;
        PortDetails expected;
    };
    const Case cases[] = {
        {"/dev/ttyUSB10", {"/dev/ttyUSB10", true, true, "", "0403", "6001", "A1B2", "Vantrel 4"}},
        {test::FakeDeviceTree::kById,
         {"/dev/ttyUSB10", true, true, "", "0403", "6001", "A1B2", "Vantrel 4"}},
        // No serial number; a tab in the product name is not shown as one.
        {"/dev/ttyUSB2", {"/dev/ttyUSB2", true, true, "", "10c4", "ea60", "", "Dual?UART"}},
        {test::FakeDeviceTree::kByPath,
         {"/dev/ttyACM0", true, true, "", "1fc9", "0083", "NX9", "Vantrel 5 NXT"}},
        {"/dev/ttyS0", {"/dev/ttyS0", true, true, "", "", "", "", ""}},
        {"/dev/ttyUSB7", {"/dev/ttyUSB7", false, false, "not present", "", "", "", ""}},
        {"/dev/serial/by-id",
         {"/dev/serial/by-id", true, false, "a folder, not a device", "", "", "", ""}},
        {"/dev/loop", {"/dev/loop", false, false, std::strerror(ELOOP), "", "", "", ""}},
        {"ttyUSB2", {"", false, false, kAbsolute, "", "", "", ""}},
        {"", {"", false, false, kAbsolute, "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        PortDetails d = DescribePort(c.path, tree.Root());
        const PortDetails& e = c.expected;
        EXPECT_EQ(d.device, e.device);
        EXPECT_EQ(d.exists, e.exists);
        EXPECT_EQ(d.usable, e.usable);
        EXPECT_EQ(d.problem, e.problem);
        EXPECT_EQ(d.vendorId, e.vendorId);
        EXPECT_EQ(d.productId, e.productId);
        EXPECT_EQ(d.serialNumber, e.serialNumber);
        EXPECT_EQ(d.product, e.product);
    }
}

TEST(PortMap, ADeviceThisUserMayNotOpenSaysHowToGetIn) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may open every device";
    test::FakeDeviceTree tree;
    ASSERT_EQ(::chmod(tree.Path("dev/ttyUSB2").c_str(), 0400), 0); // readable only
    PortDetails d = DescribePort("/dev/ttyUSB2", tree.Root());
    EXPECT_TRUE(d.exists);
    EXPECT_FALSE(d.usable);
    EXPECT_EQ(d.problem.rfind("Can not open com-port: no permission for /dev/ttyUSB2 (group ", 0),
              0u)
        << d.problem;
    EXPECT_NE(d.problem.find("Run \"sudo "), std::string::npos) << d.problem;
}

} // namespace
} // namespace vantrel

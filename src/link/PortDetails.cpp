// DescribePort: what the kernel tells of one serial device.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "link/DeviceRoot.h"
#include "link/PortMap.h"
#include "platform/TermiosSerialPort.h"

namespace vantrel {

namespace {

constexpr std::size_t kMaxAttribute = 128;
constexpr int kMaxLevels = 16; // from the tty up to its USB device: a handful of folders

// The first line of a sysfs attribute file, printable characters only; empty when missing.
std::string ReadAttribute(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.pop_back();
    if (line.size() > kMaxAttribute) line.resize(kMaxAttribute);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) c = '?';
    return line;
}

std::string Parent(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

bool Exists(const std::string& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0;
}

// The USB device's attributes, from the first folder above the tty that has an idVendor.
void ReadUsbAttributes(const std::string& name, const std::string& root, PortDetails& details) {
    if (name.empty() || name == "." || name == "..") return;
    std::string link = "/sys/class/tty/" + name + "/device";
    if (!Exists(UnderRoot(root, link))) return;
    std::optional<std::string> folder = ResolveUnderRoot(link, root);
    for (int level = 0; folder && *folder != "/" && *folder != "/sys" && level < kMaxLevels;
         ++level, folder = Parent(*folder)) {
        std::string here = UnderRoot(root, *folder) + "/";
        if (!Exists(here + "idVendor")) continue;
        details.vendorId = ReadAttribute(here + "idVendor");
        details.productId = ReadAttribute(here + "idProduct");
        details.serialNumber = ReadAttribute(here + "serial");
        details.product = ReadAttribute(here + "product");
        return;
    }
}

} // namespace

PortDetails DescribePort(const std::string& path, const std::string& root) {
    PortDetails details;
    if (path.empty() || path.front() != '/') {
        details.problem = "needs an absolute path, such as /dev/ttyUSB0";
        return details;
    }
    std::optional<std::string> device = ResolveUnderRoot(path, root);
    if (!device) {
        details.device = path;
        details.problem = std::strerror(ELOOP);
        return details;
    }
    details.device = *device;
    std::string file = UnderRoot(root, *device);
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        details.problem = errno == ENOENT ? "not present" : std::strerror(errno);
        return details;
    }
    details.exists = true;
    ReadUsbAttributes(BaseName(*device), root, details);
    if (S_ISDIR(st.st_mode)) {
        details.problem = "a folder, not a device";
    } else if (::access(file.c_str(), R_OK | W_OK) != 0) {
        int error = errno;
        details.problem = error == EACCES ? NoPermissionText(*device, file) : std::strerror(error);
    } else {
        details.usable = true;
    }
    return details;
}

} // namespace vantrel

#pragma once
// A pseudo-terminal pair for the tests that need a serial line: the program opens the slave
// path (through a [Ports] entry), the test holds the master end. Nothing the test does with it
// ever touches a real serial device.
#include <pty.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vantrel::test {

class PtyPair {
  public:
    PtyPair() {
        char name[128] = "";
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) path_ = name;
    }
    ~PtyPair() {
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return path_; }
    int Master() const { return master_; }

  private:
    int master_ = -1;
    int slave_ = -1; // kept open so the line stays up between the program's opens
    std::string path_;
};

// Names `path` as COMn in section [Ports] of the settings file in `dir`: an earlier entry of
// that COM number is replaced, every other line kept.
inline void MapComPort(const std::filesystem::path& dir, int comNumber, const std::string& path) {
    const std::filesystem::path file = dir / "vantrel.ini";
    std::string text;
    {
        std::ifstream in(file, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string key = "COM" + std::to_string(comNumber) + "=";
    std::string kept;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(at, end - at);
        if (line.rfind(key, 0) != 0) kept += line;
        at = end;
    }
    const std::string entry = key + "\"" + path + "\"\r\n";
    const std::size_t section = kept.find("[Ports]\r\n");
    if (section == std::string::npos)
        kept += "[Ports]\r\n" + entry;
    else
        kept.insert(section + 9, entry);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << kept;
}

} // namespace vantrel::test

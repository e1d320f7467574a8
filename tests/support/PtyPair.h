#pragma once
// A pseudo-terminal pair for the tests that need a serial line: the program opens the slave
// path (through a [Ports] entry), the test holds the master end. Nothing the test does with it
// ever touches a real serial device.
#include <pty.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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

// Appends "[Ports]" with COMn naming `path` to the settings file in `dir`.
inline void MapComPort(const std::filesystem::path& dir, int comNumber, const std::string& path) {
    std::ofstream ini(dir / "vantrel.ini", std::ios::app | std::ios::binary);
    ini << "[Ports]\r\nCOM" << comNumber << "=\"" << path << "\"\r\n";
}

} // namespace vantrel::test

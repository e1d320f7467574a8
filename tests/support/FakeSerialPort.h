#pragma once
// In-memory serial devices: a test plugs devices in by path, queues what the programmer sends
// and reads what went out. Ports made by FakeSerialLine::MakePort open those devices; a device
// that is unplugged is lost to the port that had it open.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SerialPort.h"

namespace vantrel::test {

struct FakeDevice {
    bool present = true;
    std::deque<uint8_t> incoming; // sent by the programmer, not read yet
    std::vector<uint8_t> written; // everything the port wrote
    int openCount = 0;            // successful opens
    int openTries = 0;
    int flushCount = 0;
    bool open = false;
    uint64_t generation = 0; // a re-plug makes a new device: old handles stay lost
};

class FakeSerialLine {
  public:
    FakeDevice& Plug(const std::string& path) {
        FakeDevice& device = devices[path];
        device.present = true;
        ++device.generation;
        return device;
    }
    void Unplug(const std::string& path) {
        FakeDevice& device = devices.at(path);
        device.present = false;
        device.open = false;
        device.incoming.clear();
    }
    std::unique_ptr<SerialPort> MakePort();

    std::map<std::string, FakeDevice> devices;
};

class FakeSerialPort final : public SerialPort {
  public:
    explicit FakeSerialPort(FakeSerialLine& line) : line_(line) {}
    ~FakeSerialPort() override { Close(); }

    std::optional<std::string> Open(const std::string& path) override {
        Close();
        auto it = line_.devices.find(path);
        if (it == line_.devices.end()) return "Can not open com-port";
        ++it->second.openTries;
        if (!it->second.present || it->second.open) return "Can not open com-port";
        device_ = &it->second;
        generation_ = device_->generation;
        device_->open = true;
        ++device_->openCount;
        return std::nullopt;
    }
    bool IsOpen() const override { return device_ != nullptr; }
    void Close() override {
        if (device_ && !Lost()) device_->open = false;
        device_ = nullptr;
    }
    Transfer Read(uint8_t* buffer, std::size_t size) override {
        if (!device_ || Lost()) return {0, true};
        std::size_t n = 0;
        while (n < size && !device_->incoming.empty()) {
            buffer[n++] = device_->incoming.front();
            device_->incoming.pop_front();
        }
        return {n, false};
    }
    Transfer Write(const uint8_t* data, std::size_t size) override {
        if (!device_ || Lost()) return {0, true};
        device_->written.insert(device_->written.end(), data, data + size);
        return {size, false};
    }
    void Flush() override {
        if (!device_ || Lost()) return;
        device_->incoming.clear();
        ++device_->flushCount;
    }
    bool WaitForInput(int) override { return device_ && !Lost() && !device_->incoming.empty(); }

  private:
    bool Lost() const { return !device_->present || device_->generation != generation_; }

    FakeSerialLine& line_;
    FakeDevice* device_ = nullptr;
    uint64_t generation_ = 0;
};

inline std::unique_ptr<SerialPort> FakeSerialLine::MakePort() {
    return std::make_unique<FakeSerialPort>(*this);
}

} // namespace vantrel::test

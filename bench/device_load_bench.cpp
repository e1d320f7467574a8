// Reads the device database of a program directory as start-up does (the CSV list, then the
// description files) and prints the time it took and the number of devices.
//   device_load_bench <program directory>
#include <chrono>
#include <cstdio>
#include <string>

#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "ui/console/ConsoleUi.h"

int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc != 2) {
        std::fprintf(stderr, "usage: device_load_bench <program directory>\n");
        return 2;
    }
    ConsoleUi ui;
    DeviceTable devices;
    const std::string programDirectory = std::string(argv[1]) + "/";
    auto start = std::chrono::steady_clock::now();
    ReadDeviceCsv(ui, devices, programDirectory);
    LoadDeviceFiles(ui, devices, programDirectory);
    auto end = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(end - start).count();
    std::printf("%.1f ms %d devices\n", ms, DeviceCount(devices));
    return 0;
}

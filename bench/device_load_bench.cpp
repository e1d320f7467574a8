// Reads the device database of a program directory as start-up does (the CSV list, then the
// description files) and prints the time it took and the number of devices.
//   device_load_bench <program directory>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/App.h"
#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "platform/SteadyClock.h"
#include "ui/console/ConsoleUi.h"

int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc != 2) {
        std::fprintf(stderr, "usage: device_load_bench <program directory>\n");
        return 2;
    }
    SteadyClock clock;
    ConsoleUi ui;
    App app(ui, clock);
    app.programDirectory = std::string(argv[1]) + "/";
    auto start = std::chrono::steady_clock::now();
    ReadDeviceCsv(app);
    LoadDeviceFiles(app);
    auto end = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(end - start).count();
    std::printf("%.1f ms %d devices\n", ms, DeviceCount(app.devices));
    return 0;
}

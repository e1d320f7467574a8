#pragma once
// vantrel-cli --ports: the COM numbers as this machine maps them, for finding out which one a
// programmer is on and why a port cannot be used. Reads the settings file, changes nothing.
#include <string>

#include "link/PortMap.h"

namespace vantrel {

struct SettingsFile;

// One aligned line per COM number (a heading first): the COM number, the device path (with
// the device it links to), where the mapping comes from, the USB vendor:product ids, serial
// number and product name where known, and "ok" or why the port cannot be opened.
std::string PortTable(const ComPortMap& ports, const std::string& root);

// The settings file's path, then the table of the ports it and the devices under `root` give.
std::string PortListing(SettingsFile& settings, const std::string& root);

} // namespace vantrel

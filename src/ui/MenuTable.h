#pragma once
// The main window's menu bar as data: every popup with its items in their order, each item
// with its text and command id (texts as the menus show them, "&" before the access key and
// "\t" before the accelerator's name). A front end builds its menus from this table; the
// Target items that come and go with the device (Clear All, Clear Chip, Download File to
// Vantrel) are inserted and removed at run time and are not in it.
#include <span>

#include "base/CommandIds.h"

namespace vantrel {

struct MenuItem {
    const char* text;
    int command;
};

struct MenuPopup {
    const char* text;
    std::span<const MenuItem> items;
};

std::span<const MenuPopup> MainMenu();

// The keys of the main window ("Ctrl+O", "F7", in the notation Qt and the menu texts share)
// with their commands: those of the menu items and those without one (Save, the first two
// recent files, the two checksum keys that have no operation).
struct Accelerator {
    const char* key;
    int command;
};
std::span<const Accelerator> MainAccelerators();

// The recent-file entries of the File menu: commands kRecentFile .. kRecentFile + 9.
inline constexpr int kRecentFileLast = cmd::kRecentFile + 9;

} // namespace vantrel

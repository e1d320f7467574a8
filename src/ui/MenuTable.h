#pragma once
// The main window's menu bar as data: every popup with its items in their order, each item
// with its text and command id (texts as the menus show them, "&" before the access key and
// "\t" before the accelerator's name). A front end builds its menus from this table; the
// Target items that come and go with the device (Clear All, Clear Chip, Download File to
// Vantrel) are inserted and removed at run time and are not in it.
#include <span>

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

} // namespace vantrel

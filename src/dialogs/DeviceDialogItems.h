#pragma once
// What a combo box or a check-mark list of the device dialogs holds, as the models fill them
// and the toolkit draws them.
#include <string>
#include <vector>

namespace vantrel {

struct DialogItem {
    std::string text;
    int data = 0;
};

struct DialogCombo {
    std::vector<DialogItem> items;
    int current = -1; // the item shown; -1 for none
    bool enabled = false;
};

struct CheckLine {
    std::string text;
    bool checked = false;
};

struct CheckList {
    std::vector<CheckLine> lines;
    bool enabled = false;
};

} // namespace vantrel

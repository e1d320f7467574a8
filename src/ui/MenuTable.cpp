#include "ui/MenuTable.h"

#include "base/CommandIds.h"

namespace vantrel {
namespace {

constexpr MenuItem kFile[] = {
    {"&Open...\tCtrl+O", cmd::kOpenFile},
    {"&Reload", cmd::kReload},
    {"&Merge", cmd::kMerge},
    {"Save &As", cmd::kSaveAs},
    {"Recent File", cmd::kRecentFile},
    {"E&xit\tALT-F4", cmd::kExit},
};
constexpr MenuItem kEdit[] = {
    {"Relocate...", cmd::kRelocate},
    {"Copy Passcode into loaded file", cmd::kCopyPasscode},
    {"Set Passcode from loaded file", cmd::kSetPasscode},
    {"Delete Range", cmd::kDelRange},
};
constexpr MenuItem kView[] = {
    {"&List Mode", cmd::kListMode},
    {"&Dump mode", cmd::kDumpMode},
};
constexpr MenuItem kTarget[] = {
    {"&Blank check\tF2", cmd::kCheckBlank},
    {"&Verify\tF4", cmd::kVerify},
    {"&Clear\tF6", cmd::kClear},
    {"&Program && Verify\tF7", cmd::kProgramVerify},
    {"Program\tF8", cmd::kProgram},
    {"&Read memory", cmd::kReadBack},
    {"&Start application\tF9", cmd::kStart},
};
constexpr MenuItem kOptions[] = {
    {"&Communication...", cmd::kCommunication},
    {"&Device...", cmd::kDevice},
    {"&Filling && Misc...", cmd::kFilling},
    {"&Passcode...", cmd::kPassword},
    {"&Setup...", cmd::kSetup},
    {"Download &Firmware", cmd::kDownloadFirmware},
};
constexpr MenuItem kHelp[] = {
    {"&Contents\tF1", cmd::kHelpContents},
    {"&How to Use Help", cmd::kHelpHowTo},
    {"&About VANTREL...", cmd::kAbout},
};

constexpr MenuPopup kMenu[] = {
    {"&File", kFile},     {"&Edit", kEdit},       {"&View", kView},
    {"&Target", kTarget}, {"&Options", kOptions}, {"&Help", kHelp},
};

// "Reads the checksum of the target memory" and "Verify checksum of user area": keys without
// an operation, never enabled.
constexpr int kReadChecksum = 32782, kVerifyChecksum = 32777;

constexpr Accelerator kAccelerators[] = {
    {"Ctrl+O", cmd::kOpenFile},   {"Ctrl+S", cmd::kFileSave},
    {"Ctrl+1", cmd::kRecentFile}, {"Ctrl+2", cmd::kRecentFile + 1},
    {"Alt+F4", cmd::kExit},       {"F1", cmd::kHelpContents},
    {"F2", cmd::kCheckBlank},     {"F3", kReadChecksum},
    {"F4", cmd::kVerify},         {"F5", kVerifyChecksum},
    {"F6", cmd::kClear},          {"F7", cmd::kProgramVerify},
    {"F8", cmd::kProgram},        {"F9", cmd::kStart},
};

} // namespace

std::span<const MenuPopup> MainMenu() {
    return kMenu;
}

std::span<const Accelerator> MainAccelerators() {
    return kAccelerators;
}

} // namespace vantrel

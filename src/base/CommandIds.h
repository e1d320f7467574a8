#pragma once
// Every command id of the program in one place: the menu items, the accelerators, the commands
// without a menu item and the command-line options all name their command by these numbers.
// The menus are built from ui/MenuTable, which uses the same names.
namespace vantrel::cmd {

// File
inline constexpr int kOpenFile = 57601, kFileSave = 57603, kReload = 32807, kMerge = 32805,
                     kSaveAs = 32787, kRecentFile = 57616, kExit = 57665;
// Edit
inline constexpr int kRelocate = 32783, kCopyPasscode = 32794, kSetPasscode = 32842,
                     kDelRange = 32806;
// View
inline constexpr int kListMode = 32802, kDumpMode = 32801;
// Target (the first three are inserted and removed by the menu adaptation)
inline constexpr int kCheckBlank = 32773, kClearAll = 32774, kClearChip = 32775, kClear = 32776,
                     kVerify = 32778, kProgram = 32779, kProgramVerify = 32780, kReadBack = 32785,
                     kStart = 32803, kDownload = 32819, kUpload = 32818;
// Options
inline constexpr int kCommunication = 32771, kDevice = 32824, kFilling = 32796, kPassword = 32772,
                     kSetup = 32800, kDownloadFirmware = 32809;
// Help
inline constexpr int kHelpContents = 32810, kHelpHowTo = 32811, kAbout = 57664;
// Without a menu item: the device list exports.
inline constexpr int kExportHtml = 32828, kExportCsv = 32829;
// Command-line options only.
inline constexpr int kSetArea = 32822, kSelBanks = 32826, kSetACBP = 32830, kSetCOD = 32831,
                     kSetACRP = 32832, kSetDNVBP = 32833, kClearACBP = 32834, kClearCOD = 32835,
                     kClearACRP = 32836, kClearDNVBP = 32837, kSelMultiple = 32838,
                     kSetFill = 32839, kClearDE = 32840, kSetDE = 32841, kSetIfASync = 32843;

} // namespace vantrel::cmd

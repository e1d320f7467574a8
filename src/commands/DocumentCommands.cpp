#include "commands/DocumentCommands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <strings.h>

#include "app/App.h"
#include "app/DeviceSeam.h"
#include "commands/DocumentFiles.h"
#include "commands/PasscodeCommands.h"
#include "dialogs/AddressRangeDialog.h"
#include "dialogs/ProgramFileDialogs.h"
#include "dialogs/RelocationDialog.h"
#include "image/BinaryFile.h"
#include "image/CArrayFile.h"
#include "image/FileIo.h"
#include "image/IntelHexFile.h"
#include "image/SRecordFile.h"
#include "image/TextLoader.h"

namespace vantrel {
namespace {

constexpr std::size_t kMaxSaveAsName = 260;
constexpr std::size_t kMaxFullPath = 200;

bool IsBatch(const App& app) {
    return CMDLINE_IsBatchRunning(app);
}

// A message of the document framework: in a batch run it also stops the batch (the
// framework alone would let a batch go on as if the file had been read or written).
void ReportFileProblem(App& app, int32_t batchCode, const std::string& text) {
    if (IsBatch(app))
        APP_ReportError(app, batchCode, text);
    else
        app.ui.MessageBox(text, "VANTREL", MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
}

std::string FullPath(const std::string& path) {
    std::error_code error;
    auto full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

bool FileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

class ReadFile {
  public:
    explicit ReadFile(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        error_ = errno;
        struct stat st;
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            error_ = EISDIR;
        }
    }
    ~ReadFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    int Fd() const { return fd_; }
    int Error() const { return error_; }

  private:
    int fd_ = -1;
    int error_ = 0;
};

// Opens a program file for reading, or reports why it cannot be opened.
bool OpenForReading(App& app, const std::string& path, ReadFile& file) {
    if (file.Fd() >= 0) return true;
    std::string text;
    switch (file.Error()) {
    case ENOENT:
        text = path + " was not found.";
        break;
    case EACCES:
        text = "Access to " + path + " was denied.";
        break;
    default:
        text = "Could not open source file\r\n" + path + "\r\n" + std::strerror(file.Error());
    }
    ReportFileProblem(app, 210, text);
    return false;
}

// Reads binary when the dialogs' filter index is 2, else as S-record or Intel HEX text.
bool ReadProgramFile(App& app, ReadFile& file) {
    FdSource source(file.Fd());
    app.doc.overwriteOnOverlap = false;
    LoadSeams seams = ProgramFileLoadSeams(app);
    return app.doc.filterIndex == 2 ? LoadBinaryFile(seams, app.doc, source)
                                    : LoadTextFile(seams, app.doc, source);
}

void ShowFailedToOpen(App& app) {
    app.ui.MessageBox("Failed to open document.", "VANTREL", MsgButtons::Ok, MsgIcon::Warning,
                      MsgAnswer::Ok);
}

// FROM-TO of -delrange and of -saveas NAME.bin,FROM-TO; false after the error was reported.
bool ReadBatchRange(App& app, ParamReader& param, AddressRange& range) {
    auto from = static_cast<uint32_t>(CMDLINE_GetHexValue(param));
    if (CMDLINE_HasParseError(param)) return false;
    if (CMDLINE_GetChar(param) != '-') {
        APP_ReportError(app, 213, "Separator has to be -");
        return false;
    }
    auto to = static_cast<uint32_t>(CMDLINE_GetHexValue(param));
    if (CMDLINE_HasParseError(param)) return false;
    if (from > to) {
        APP_ReportError(app, 211, "Start address has to be <= End address !");
        return false;
    }
    range = {from, to};
    return true;
}

AddressRange ImageRange(const App& app) {
    LockedImage image = app.doc.Lock();
    return {static_cast<uint32_t>(image->StartAddress()),
            static_cast<uint32_t>(image->EndAddress())};
}

// The range an export covers; false when a batch range was refused.
bool ExportRange(App& app, ParamReader& param, AddressRange& range) {
    if (app.doc.fileType == kFileBinary) {
        if (IsBatch(app)) {
            if (CMDLINE_GetChar(param) == ',') return ReadBatchRange(app, param, range);
            range = ImageRange(app);
            return true;
        }
        range = SelectedBanksSpan(app).value_or(ImageRange(app));
    } else {
        range = ImageRange(app);
    }
    // Cancel keeps the default range and the file is still written.
    if (RunAddressRangeDialog(app.ui, app.reporter, range)) app.pm.MarkImageDirty();
    return true;
}

} // namespace

void SetDocumentPath(App& app, const std::string& path, bool listed) {
    app.doc.path = FullPath(path);
    app.ui.SetDocumentTitle(app.doc.path);
    if (listed) app.ui.AddRecentFile(app.doc.path);
}

LoadSeams ProgramFileLoadSeams(App& app) {
    return {app.reporter, app.ui, CMDLINE_IsBatchRunning(app), [&app] {
                // The main window answers before the report returns (Yes at once when the
                // batch ends with -exit).
                APP_ReportError(app, 231);
                return app.mainWindow && app.mainWindow->OverwriteAnswer() == MsgAnswer::Yes;
            }};
}

uint32_t FileTypeForSaveAsName(const std::string& name) {
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 4 != name.size()) return kFileNone;
    const char* extension = name.c_str() + dot + 1;
    if (strcasecmp(extension, "hex") == 0) return kFileIntelHex;
    if (strcasecmp(extension, "mot") == 0) return kFileSRecord;
    if (strcasecmp(extension, "bin") == 0) return kFileBinary;
    return kFileNone;
}

bool OpenDocumentFile(App& app, const std::string& path) {
    ReadFile file(path);
    if (!OpenForReading(app, path, file)) return false;
    app.doc.ClearImage();
    if (!ReadProgramFile(app, file)) {
        app.doc.ClearImage();
        ShowFailedToOpen(app);
        return false;
    }
    app.doc.SetModifiedFlag(false);
    return true;
}

bool SaveDocumentFile(App& app, const std::string& path, ParamReader* param) {
    CHEXDoc& doc = app.doc;
    doc.isCurrent = true;
    uint32_t type = doc.fileType;
    if (type < kFileSRecord || type > kFileCArray) {
        app.ui.MessageBox("INTERNAL Error: Unknown file type ...", "VANTREL", MsgButtons::Ok,
                          MsgIcon::Warning, MsgAnswer::Ok);
        return false;
    }
    AddressRange range;
    ParamReader noParam;
    if ((type == kFileBinary || type == kFileCArray) &&
        !ExportRange(app, param ? *param : noParam, range))
        return false;

    OutputFile out(app.fileWriteChecks);
    if (out.Open(path)) {
        uint8_t fill = ImageFillByte(app);
        {
            LockedImage image = doc.Lock();
            switch (type) {
            case kFileSRecord:
                WriteSRecordFile(image.Image(), out);
                break;
            case kFileIntelHex:
                WriteIntelHexFile(image.Image(), out);
                break;
            case kFileBinary:
                WriteBinaryRange(image.Image(), range.first, range.last, fill, out);
                break;
            default:
                WriteCArrayFile(image.Image(), range.first, range.last, fill, CArrayName(path),
                                out);
                break;
            }
        }
        if (out.Commit()) {
            doc.SetModifiedFlag(false);
            return true;
        }
    }
    ReportFileProblem(app, 221, "Can not write " + path + "\r\n" + out.Error());
    return false;
}

// The file to read: in a batch the name given on the command line (221 when it does not
// exist), else the user's choice in the open dialog. False when there is none.
bool ChooseFileToRead(App& app, const std::string& batchName, std::string& path) {
    if (IsBatch(app)) {
        path = batchName;
        if (FileExists(path)) return true;
        APP_ReportError(app, 221, "File not found: " + path);
        return false;
    }
    app.doc.filterIndex = 1;
    return app.ui.OpenFileDialog(kOpenDialogTitle, OpenFileFilters(), app.doc.filterIndex, path);
}

void OnFileOpen(App& app) {
    CHEXDoc& doc = app.doc;
    std::string path;
    if (!ChooseFileToRead(app, doc.batchOpenName, path)) return;
    if (!IsBatch(app) && !SaveModified(app)) return;
    // Files read as binary are not put in the recent-file list.
    if (OpenDocumentFile(app, path)) SetDocumentPath(app, path, doc.filterIndex <= 1);
    app.ui.Repaint();
}

void OnFileMerge(App& app, ParamReader* param) {
    CHEXDoc& doc = app.doc;
    std::string path;
    if (!ChooseFileToRead(app, param ? param->Param() : std::string(), path)) return;
    ReadFile file(path);
    if (!OpenForReading(app, path, file)) return;
    if (ReadProgramFile(app, file)) {
        doc.SetModifiedFlag(false);
        SetDocumentPath(app, path, true);
    } else {
        doc.ClearImage(); // also what was loaded before the merge
        ShowFailedToOpen(app);
    }
    doc.MarkCrcStale();
    app.ui.Repaint();
}

void OnFileReload(App& app) {
    OpenDocumentFile(app, app.doc.path);
    app.ui.Repaint();
}

void OnFileSave(App& app) {
    if (app.doc.path.empty()) {
        OnFileSaveAs(app);
        return;
    }
    if (SaveDocumentFile(app, app.doc.path)) SetDocumentPath(app, app.doc.path, true);
}

void OnFileSaveAs(App& app, ParamReader* batchParam) {
    CHEXDoc& doc = app.doc;
    std::string path;
    if (IsBatch(app)) {
        ParamReader noParam;
        ParamReader& param = batchParam ? *batchParam : noParam;
        // The name ends at a comma: ",FROM-TO" is left for the binary writer.
        std::string name = CMDLINE_GetString(param, kMaxSaveAsName);
        if (CMDLINE_HasParseError(param)) return;
        uint32_t type = FileTypeForSaveAsName(name);
        if (type == kFileNone) {
            APP_ReportError(app, 220);
            return;
        }
        path = FullPath(name);
        if (path.empty() || path.size() > kMaxFullPath) {
            APP_ReportError(app, 221);
            return;
        }
        // As for -relocate, a file counts as loaded once a load has started in this run: a
        // load that failed has stopped the batch, so an empty image that was read from a file
        // is saved, while an image that nothing was read into never replaces a file.
        if (!doc.isCurrent) {
            APP_ReportError(app, 229, "Can not save,\r\nbecause no file was loaded!");
            return;
        }
        doc.fileType = type;
    } else {
        if (doc.filterIndex < 1) doc.filterIndex = 1;
        path = NameForSaveFilter(doc.path, doc.filterIndex);
        if (!app.ui.SaveFileDialog(kSaveDialogTitle, SaveFileFilters(), doc.filterIndex, path,
                                   NameForSaveFilter))
            return;
        int index = doc.filterIndex;
        doc.fileType = index >= 2 && index <= 4 ? static_cast<uint32_t>(index) : kFileSRecord;
    }
    if (SaveDocumentFile(app, path, batchParam)) SetDocumentPath(app, path, true);
}

void OnEditDeleteRange(App& app, ParamReader* param) {
    CHEXDoc& doc = app.doc;
    AddressRange range = doc.lastDeleteRange;
    if (IsBatch(app)) {
        ParamReader noParam;
        if (!ReadBatchRange(app, param ? *param : noParam, range)) return;
    } else if (!RunAddressRangeDialog(app.ui, app.reporter, range)) {
        return;
    }
    doc.lastDeleteRange = range;
    doc.RemoveRange(range.first, uint64_t{range.last} - range.first + 1);
    doc.MarkCrcStale();
    doc.SetModifiedFlag(false);
    app.ui.Repaint();
}

void OnEditRelocate(App& app) {
    int32_t offset = 0;
    if (!RunRelocationDialog(app.ui, app.reporter, offset)) return;
    app.doc.Relocate(offset);
    app.ui.Repaint();
}

void RelocateFromCommandLine(App& app, ParamReader& param) {
    int32_t offset = CMDLINE_GetHexValue(param);
    if (CMDLINE_HasParseError(param)) {
        APP_ReportError(app, 212, "-relocate needs 1 Hex parameter ");
        return;
    }
    if (!app.doc.isCurrent) {
        APP_ReportError(app, 229, "Can not relocate,\r\nbecause no file was loaded!");
        return;
    }
    app.doc.Relocate(offset);
    app.ui.Repaint();
}

bool DocumentCommandEnabled(const App& app, int command) {
    switch (command) {
    case cmd::kMerge:
    case cmd::kReload:
    case cmd::kRelocate:
    case cmd::kDelRange:
        return !app.doc.Lock()->Empty();
    case cmd::kCopyPasscode:
    case cmd::kSetPasscode:
        return PasscodeCommandsEnabled(app);
    default:
        return true;
    }
}

void RegisterDocumentCommands(App& app) {
    CommandTable& window = app.commands;
    window.SetPlain(cmd::kOpenFile, [&app] { OnFileOpen(app); });
    window.SetPlain(cmd::kReload, [&app] { OnFileReload(app); });
    window.Set(cmd::kMerge, [&app](ParamReader* param) { OnFileMerge(app, param); });
    window.Set(cmd::kSaveAs, [&app](ParamReader* param) { OnFileSaveAs(app, param); });
    window.SetPlain(cmd::kFileSave, [&app] { OnFileSave(app); });
    window.Set(cmd::kDelRange, [&app](ParamReader* param) { OnEditDeleteRange(app, param); });
    // Relocate: the menu asks for the offset, batch mode reads it from the command line.
    window.Set(cmd::kRelocate, [&app](ParamReader* param) {
        if (param)
            RelocateFromCommandLine(app, *param);
        else
            OnEditRelocate(app);
    });
    window.SetPlain(cmd::kCopyPasscode, [&app] { OnEditCopyPasscode(app); });
    window.SetPlain(cmd::kSetPasscode, [&app] { OnEditSetPasscode(app); });
}

} // namespace vantrel

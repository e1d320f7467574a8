#include "ops/Operations.h"

#include <array>

#include "app/App.h"
#include "app/DeviceSeam.h"
#include "base/CommandIds.h"
#include "ops/OperationSteps.h"

namespace vantrel {

namespace {

constexpr const char* kErased = "Target chip has been successfully erased !";

constexpr std::array<OperationRow, 11> kOperations = {{
    {Operation::BlankCheck, "blank check", cmd::kCheckBlank, false, job::kBlankCheck,
     "Blank checking", "Target is blank !", false},
    {Operation::Clear, "clear", cmd::kClear, false, job::kClear, "Clearing Flash", kErased, true},
    {Operation::ClearChip, "clear chip", cmd::kClearChip, false, job::kClearChip,
     "Clearing entire target chip", kErased, true},
    {Operation::ClearAll, "clear all", cmd::kClearAll, false, job::kClearAll,
     "Program all zeroes, Clearing whole Flash", kErased, true},
    {Operation::Verify, "verify", cmd::kVerify, true, job::kVerify, "Verifying",
     "All loaded bytes verified O.K. !", false},
    {Operation::Program, "program", cmd::kProgram, true, job::kProgram, "Programming",
     "All bytes programmed O.K. !", false},
    {Operation::ProgramVerify, "program and verify", cmd::kProgramVerify, true, job::kProgramVerify,
     "Programming", "All bytes programmed and verified O.K. !", false},
    {Operation::ReadChip, "read chip", cmd::kReadBack, false, job::kReadChip, "Reading chip", "",
     false},
    {Operation::Upload, "upload", cmd::kUpload, false, job::kReadBack, "Uploading", "", false},
    {Operation::DownloadOnly, "download only", cmd::kDownload, true, job::kDownload, "Downloading",
     "All bytes downloaded O.K. !", false},
    {Operation::StartApplication, "start application", cmd::kStart, false, job::kStartApplication,
     "Starting application program", "Application program started", false},
}};

const OperationRow& Row(Operation operation) {
    for (const OperationRow& row : kOperations)
        if (row.operation == operation) return row;
    return kOperations[0];
}

// Counts the operation as running while it lives.
class Running {
  public:
    explicit Running(App& app) : app_(app) { ++app_.operationsRunning; }
    ~Running() { app_.operationsRunning = 0; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

  private:
    App& app_;
};

bool Batch(const App& app) {
    return CMDLINE_IsBatchRunning(app);
}

// The clear-all question; true when the user goes on.
bool ConfirmClearAll(App& app) {
    if (Batch(app)) return true;
    std::string text = "Clear readout protection erases entire target CPU.\r\n";
    const DeviceRecord* device = app.selection.SelectedDevice();
    if (app.selection.SelectedProtectedCount() > 0 && device && device->chipSpecifics.empty())
        text += "You will loose calibration data.\r\n";
    text += "\r\nContinue ?";
    return app.ui.MessageBox(text, "VANTREL", MsgButtons::YesNo, MsgIcon::Question,
                             MsgAnswer::No) == MsgAnswer::Yes;
}

bool HasData(const App& app) {
    return !app.doc.Lock()->Empty();
}

// The operations that send the image refuse data outside the device (error 6).
bool DataFitDevice(App& app) {
    if (!HasData(app) || PM_Status(app.pm).state != kStateReady) return true;
    if (AreasInsideDevice(app)) return true;
    APP_ReportError(app, 6);
    return false;
}

void RunSequence(App& app, const OperationRow& row, bool& cancelled) {
    if (row.operation == Operation::ClearAll && !ConfirmClearAll(app)) return;
    if (row.downloadFirst && !DataFitDevice(app)) return;
    if (OP_CheckSupply(app)) return;
    Running running(app);
    PM_ClearMessage(app.pm);
    if (row.downloadFirst && OP_Download(app)) return; // the download reported its error
    PM_QueueJob(app.pm, row.job);
    const bool programs =
        row.operation == Operation::Program || row.operation == Operation::ProgramVerify;
    const char* caption = programs && app.options.enableAC ? "Clearing target" : row.caption;
    if (OP_WaitOperation(app, caption)) {
        PM_QueueJob(app.pm, job::kCancel);
        cancelled = true;
        if (!row.goesOnAfterCancel) return;
    }
    OP_ShowTime(app);
    const int32_t result = ResultCode(app);
    if (result == 0) {
        OP_Success(app, row.success);
        return;
    }
    if (row.operation == Operation::Program && (result == 55 || result == 56))
        PM_SetImageDirty(app.pm);
    OP_Fail(app, result);
}

// Read chip (the programmer reads the target first) and upload (its memory as it is).
void RunReadBack(App& app, bool readChip, bool& cancelled) {
    if (readChip && OP_CheckSupply(app)) return;
    Running running(app);
    PM_ClearMessage(app.pm);
    app.doc.ClearImage();
    app.doc.beingReadBack = true;
    bool upload = !readChip;
    if (readChip) {
        PM_QueueJob(app.pm, job::kReadChip);
        if (OP_WaitOperation(app, "Reading chip")) {
            PM_QueueJob(app.pm, job::kCancel);
            cancelled = true;
            OP_Fail(app, 207);
        } else if (const int32_t result = ResultCode(app); result != 0) {
            OP_Fail(app, result);
        } else {
            upload = true;
        }
    }
    if (upload) {
        PM_QueueJob(app.pm, job::kReadBack);
        // What came from the target is the document now: it may be saved like a loaded file.
        if (!OP_WaitJobs(app, "Uploading")) app.doc.isCurrent = true;
    }
    app.doc.SetModifiedFlag(false);
    app.ui.Repaint();
    app.doc.beingReadBack = false;
}

void RunDownloadOnly(App& app) {
    if (!DataFitDevice(app)) return;
    Running running(app);
    PM_SetImageDirty(app.pm);
    const bool failed = OP_Download(app);
    OP_ShowTime(app);
    const int32_t result = ResultCode(app);
    if (!failed && result == 0) {
        OP_Success(app, "All bytes downloaded O.K. !");
        return;
    }
    if (result != 0 && !PM_GetMessage(app.pm))
        OP_Fail(app, result);
    else
        APP_ReportError(app, 0, "File not downloaded to Vantrel !");
    PM_SetImageDirty(app.pm);
}

void RunStartApplication(App& app, bool& cancelled) {
    Running running(app);
    PM_ClearMessage(app.pm);
    PM_QueueJob(app.pm, job::kStartApplication);
    if (OP_WaitOperation(app, "Starting application program")) {
        PM_QueueJob(app.pm, job::kCancel);
        cancelled = true;
        return;
    }
    if (ResultCode(app) != 0)
        OP_Fail(app, 208);
    else
        OP_Success(app, "Application program started");
}

} // namespace

bool RunSteps(App& app, Operation operation);

std::span<const OperationRow> OperationTable() {
    return kOperations;
}

const OperationRow* FindOperation(int command) {
    for (const OperationRow& row : kOperations)
        if (row.command == command) return &row;
    return nullptr;
}

void RunOperation(App& app, Operation operation) {
    const OperationRow& row = Row(operation);
    const uint32_t errorsBefore = app.errorCount;
    const uint32_t start = app.clock.Milliseconds();
    app.lastCrcComparison = {};
    OperationEvent begin;
    begin.name = row.name;
    app.ui.Operation(begin);
    const bool cancelled = RunSteps(app, operation);
    OperationEvent end;
    end.kind = OperationEvent::Kind::End;
    end.name = row.name;
    if (app.errorCount != errorsBefore) {
        end.result = GetLastErrorCode(app);
        end.text = app.lastErrorText;
    } else if (cancelled) {
        end.result = 7; // the programmer's own code for it
        end.text = "Canceled";
    } else {
        end.text = row.success;
    }
    end.elapsedMs = app.clock.Milliseconds() - start;
    end.crcCompared = app.lastCrcComparison.made;
    end.imageCrc = app.lastCrcComparison.image;
    end.programmerCrc = app.lastCrcComparison.programmer;
    app.ui.Operation(end);
}

bool RunSteps(App& app, Operation operation) {
    bool cancelled = false;
    switch (operation) {
    case Operation::ReadChip:
        RunReadBack(app, true, cancelled);
        break;
    case Operation::Upload:
        RunReadBack(app, false, cancelled);
        break;
    case Operation::DownloadOnly:
        RunDownloadOnly(app);
        break;
    case Operation::StartApplication:
        RunStartApplication(app, cancelled);
        break;
    default:
        RunSequence(app, Row(operation), cancelled);
        break;
    }
    return cancelled;
}

bool OperationCommandEnabled(const App& app, int command) {
    const OperationRow* row = FindOperation(command);
    if (!row) return true;
    const ProgrammerStatus status = PM_Status(app.pm);
    const bool ready = status.state == kStateReady;
    switch (row->operation) {
    case Operation::Verify:
    case Operation::Program:
    case Operation::ProgramVerify:
    case Operation::DownloadOnly:
        return ready && HasData(app) && AreasInsideDevice(app);
    case Operation::StartApplication:
        return ready && status.hardwareVersion >= 300;
    default:
        return ready && (status.hardwareVersion < 500 || status.hardwareVariant <= 4);
    }
}

} // namespace vantrel

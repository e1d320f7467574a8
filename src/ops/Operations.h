#pragma once
// The target operations: each a row of one table (its command, whether the image goes to the
// programmer first, its job, the caption of its wait, its success text, what a cancel does),
// run by one runner over the shared steps; read chip, upload, download only and start
// application have sequences of their own. Each runs whole on the main thread: queue, wait,
// report.
#include <span>

namespace vantrel {

struct App;

enum class Operation {
    BlankCheck,
    Clear,
    ClearChip,
    ClearAll,
    Verify,
    Program,
    ProgramVerify,
    ReadChip,
    Upload,
    DownloadOnly,
    StartApplication
};

struct OperationRow {
    Operation operation;
    const char* name; // for the event stream
    int command;
    bool downloadFirst;
    unsigned job;
    const char* caption; // of the wait; program's depends on EnableAC
    const char* success;
    bool goesOnAfterCancel; // the clears still show the time and evaluate the result
};

std::span<const OperationRow> OperationTable();
const OperationRow* FindOperation(int command);

void RunOperation(App& app, Operation operation);

// Whether the command of an operation may run now (the menus grey it out otherwise).
bool OperationCommandEnabled(const App& app, int command);

} // namespace vantrel

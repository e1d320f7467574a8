#include "commands/OperationCommands.h"

#include "app/App.h"
#include "ops/Operations.h"

namespace vantrel {

void RegisterOperationCommands(App& app) {
    for (const OperationRow& row : OperationTable()) {
        const Operation operation = row.operation;
        app.commands.SetPlain(row.command, [&app, operation] { RunOperation(app, operation); });
    }
}

} // namespace vantrel

#pragma once
// The Target menu's operations as commands: each command id runs its operation.
namespace vantrel {

struct App;

void RegisterOperationCommands(App& app);

} // namespace vantrel

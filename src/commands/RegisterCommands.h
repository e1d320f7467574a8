#pragma once
// Puts every command handler of the commands layer into the application's command table.
namespace vantrel {

struct App;

void RegisterCommands(App& app);

} // namespace vantrel

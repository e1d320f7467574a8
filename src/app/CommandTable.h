#pragma once
// The handlers of the program's commands, by command id. The menus, the accelerators and batch
// mode all run a command through here: a menu passes no parameter, batch mode a reader over the
// command's own queue entry. The commands layer registers the handlers at start-up.
#include <functional>
#include <map>

#include "base/ParamReader.h"

namespace vantrel {

class CommandTable {
  public:
    using Handler = std::function<void(ParamReader* param)>;

    void Set(int command, Handler handler) { handlers_[command] = std::move(handler); }
    // A command that reads no parameter.
    void SetPlain(int command, std::function<void()> handler) {
        Set(command, [handler = std::move(handler)](ParamReader*) { handler(); });
    }
    bool Has(int command) const { return handlers_.contains(command); }
    // False when no handler is registered for the command.
    bool Run(int command, ParamReader* param = nullptr) {
        auto it = handlers_.find(command);
        if (it == handlers_.end() || !it->second) return false;
        it->second(param);
        return true;
    }

  private:
    std::map<int, Handler> handlers_;
};

} // namespace vantrel

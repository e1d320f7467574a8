#pragma once
// Changes the programmer's status as the link thread does, through the protocol manager:
// `status->hardwareVersion = 510;` takes a copy, changes it and puts it back at the end of the
// statement.
#include "link/ProtocolManager.h"

namespace vantrel::test {

class StatusRef {
  public:
    explicit StatusRef(ProtocolManager& pm) : pm_(pm) {}

    struct Edit {
        ProtocolManager& pm;
        ProgrammerStatus status;
        ~Edit() { pm.SetStatus(status); }
        ProgrammerStatus* operator->() { return &status; }
    };
    Edit operator->() { return Edit{pm_, pm_.Status()}; }

  private:
    ProtocolManager& pm_;
};

} // namespace vantrel::test

#pragma once
// The reporting seam as the application implements it: every report goes the program's one
// error path, APP_ReportError.
#include "base/Reporter.h"

namespace vantrel {

struct App;

class AppReporter : public Reporter {
  public:
    explicit AppReporter(App& app) : app_(app) {}
    using Reporter::Report;
    void Report(int32_t code, const char* text = nullptr) override;

  private:
    App& app_;
};

} // namespace vantrel

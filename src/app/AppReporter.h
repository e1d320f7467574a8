#pragma once
// The reporting seam over the program's one error path, APP_ReportError: what the file
// readers and the dialog models report through.
#include <cstdint>

#include "base/Reporter.h"

namespace vantrel {

struct App;

class AppReporter final : public Reporter {
  public:
    explicit AppReporter(App& app) : app_(app) {}
    using Reporter::Report;
    void Report(int32_t code, const char* text = nullptr) override;

  private:
    App& app_;
};

} // namespace vantrel

#pragma once
// The reporting seam over the program's error path.
#include "base/Reporter.h"

namespace vantrel {

struct App;
void APP_ReportError(App& app, int32_t code, const char* text);

class AppReporter : public Reporter {
  public:
    explicit AppReporter(App& app) : app_(app) {}
    using Reporter::Report;
    void Report(int32_t code, const char* text = nullptr) override {
        APP_ReportError(app_, code, text);
    }

  private:
    App& app_;
};

} // namespace vantrel

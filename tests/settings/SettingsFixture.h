#pragma once
// An application context whose program directory is a fresh temporary directory (so its
// settings file is "<dir>/vantrel.ini"), with helpers to lay down and read that file and to
// point XDG_CONFIG_HOME somewhere for the duration of a test.
#include <cstdlib>
#include <optional>
#include <string>

#include "support/AppFixture.h"

namespace vantrel::test {

// Sets (or, with nullopt, removes) an environment variable and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class SettingsFixture : public AppFixture {
  protected:
    std::filesystem::path IniPath() const { return dir / "vantrel.ini"; }
    void WriteIni(const std::string& text) { WriteFile(IniPath(), text); }
    std::string ReadIni() const { return ReadFile(IniPath()); }
    std::vector<std::string> Messages() const { return ui.Messages(); }
};

} // namespace vantrel::test
